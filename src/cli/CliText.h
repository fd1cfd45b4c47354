#pragma once
// The tool's own one-line texts in the language chosen with --lang.

#include <string>
#include <string_view>

namespace vantor::cli {

inline std::string Say2(bool chinese, std::string_view zh, std::string_view en) {
  return std::string(chinese ? zh : en);
}

}  // namespace vantor::cli
