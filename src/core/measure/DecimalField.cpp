#include "measure/DecimalField.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vantor {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseDecimalField(std::string_view field, bool commaDecimal) {
  std::string text(field);
  if (commaDecimal) {
    // A comma-decimal field never holds a '.' of its own; one would be a second mark.
    if (text.find('.') != std::string::npos) return std::nullopt;
    for (char& c : text) {
      if (c == ',') c = '.';
    }
  }
  std::string_view s = text;
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  // Only plain decimals may start the field: from_chars would also take "inf" and "nan".
  const std::size_t at = (!s.empty() && s.front() == '-') ? 1 : 0;
  if (s.size() <= at) return std::nullopt;
  const bool digitAfterMark = at + 1 < s.size() && IsDigit(s[at + 1]);
  if (!IsDigit(s[at]) && !(s[at] == '.' && digitAfterMark)) return std::nullopt;
  double value = 0.0;
  const char* end = s.data() + s.size();
  const auto result = std::from_chars(s.data(), end, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace vantor
