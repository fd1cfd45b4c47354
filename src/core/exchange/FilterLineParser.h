#pragma once
// One line of a REW filter settings file or an Equalizer APO configuration, read by the
// formats' own rules: "Filter [N]: ON|OFF TYPE [slope] [Fc F Hz] [Gain G dB] [Q Q | BW Oct B]",
// other "Command: ..." lines, comments and blank lines. Numbers take '.' or ',' as decimal
// mark and never depend on the locale.

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

struct ParsedFilter {
  bool on = true;
  std::string type;                    // upper case: PK, LSC, HS, HPQ, LP1, ...
  std::optional<double> shelfSlopeDb;  // "LS 6dB", "LSC 12 dB"
  std::optional<double> frequency;     // Hz
  std::optional<double> gainDb;
  std::optional<double> q;
  std::optional<double> bandwidthOctaves;
};

enum class LineKind {
  kBlank,      // empty, or only white space
  kComment,    // '#' ..., or text that is no command
  kFilter,     // a filter line that could be read
  kMalformed,  // a filter line that could not be read
  kCommand,    // another "Command: ..." line (Preamp, Channel, Notes, ...)
};

struct ParsedLine {
  LineKind kind = LineKind::kBlank;
  ParsedFilter filter;  // kFilter only
  std::string command;  // kCommand only: the word before the colon
};

ParsedLine ParseExchangeLine(std::string_view line);

}  // namespace vantor
