#pragma once
// A filter written on the command line as comma-separated key=value pairs, e.g.
// "type=peak,freq=1000,gain=6,bw=15".

#include <optional>
#include <string>
#include <string_view>

namespace vantor::cli {

struct FilterArg {
  int type = 0;  // 0 peak, 1 low shelf, 2 high shelf, 3 high-pass, 4 low-pass
  int frequency = 1000;
  int gainIndex = 200;  // 0 dB
  int bandwidthIndex = 15;
  int slope = -1;  // -1: the type's default
  int family = 2;
  int reduced = 0;
};

// Parses one filter. On failure returns nothing and sets error to a one-line reason that
// names the offending part.
std::optional<FilterArg> ParseFilterArg(std::string_view text, std::string& error);

}  // namespace vantor::cli
