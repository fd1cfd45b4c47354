#include "base/NumberFormat.h"

#include <charconv>

namespace vantor {

std::string FormatFixed(double value, int decimals) {
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return {};
  return std::string(buf, r.ptr);
}

std::string FormatShortest(double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  if (r.ec != std::errc()) return {};
  return std::string(buf, r.ptr);
}

}  // namespace vantor
