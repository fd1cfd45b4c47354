#pragma once
// The rows of a frequency-response text file, as measurement programs and house curves
// write them: "frequency level [more fields]" per line, fields separated by spaces, tabs,
// commas or semicolons, comment lines beginning with '*'.

#include <optional>
#include <string_view>
#include <vector>

#include "measure/MeasureError.h"

namespace vantor {

// A level further from 0 dB than this is no measurement; refusing it keeps every sum and
// interpolation of levels finite.
inline constexpr double kLargestLevelDb = 1000.0;

struct ResponseRow {
  int line = 0;  // 1-based line of the file
  double frequency = 0.0;
  double level = 0.0;
};

// What a line that does not begin with a number means.
enum class TextLines {
  kHeaderAtTop,  // headers before the first row; after it such a line is a bad row
  kSkipped,      // skipped wherever it stands (house curves)
};

// Reads every row in file order. Frequencies must be above 0 and rise from row to row.
// Where the rows hold no '.', use ',' between digits and separate their fields otherwise
// (semicolons, tabs or spaces), ',' is their decimal mark. Fields after the second are not
// read; a level beyond ±kLargestLevelDb is a bad number. On the first bad row nothing is
// returned and `error` names it and its line.
std::optional<std::vector<ResponseRow>> ReadResponseRows(std::string_view text, TextLines lines,
                                                         MeasureError& error);

}  // namespace vantor
