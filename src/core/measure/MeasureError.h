#pragma once
// Why a measurement, a target curve, a measurement file or an automatic EQ was refused: a
// kind and, for text files, the line it was found on. The words come from the text catalogue.

#include <string>

namespace vantor {

enum class MeasureErrorKind {
  kFileUnreadable,
  kFileTooLarge,
  kBadNumber,           // a field that is not a finite decimal number
  kMissingField,        // a row without both a frequency and a level
  kFrequencyNotRising,  // a frequency at or below the row before it (or not above 0)
  kTooFewRows,          // fewer than 10 rows between 10 Hz and 24 kHz
  kTooFewTargetPoints,  // a house curve of fewer than two points
  kBadSideFile,         // a measurement file line that does not belong there
  kSideFileVersion,     // a measurement file of a later format version
  kCannotWrite,
  kNoMeasurement,  // automatic EQ asked for an output without a measurement
  kNoFreeBand,     // every band of the output is switched off
  kEmptyRange,     // the fitting range holds no measured grid point
};

struct MeasureError {
  MeasureErrorKind kind = MeasureErrorKind::kFileUnreadable;
  int line = 0;  // 1-based; 0 when the error belongs to no line
};

// "line 12: frequencies must ..." / "第 12 行：频率..."; without the line part when line is 0.
std::string MeasureErrorText(const MeasureError& error, bool chinese);

}  // namespace vantor
