#include "measure/ResponseRows.h"

#include <cmath>
#include <string>

#include "measure/DecimalField.h"

namespace vantor {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A row starts with a digit, or a sign or decimal mark followed by one.
bool BeginsWithNumber(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (i < s.size() && (s[i] == '.' || s[i] == ',')) ++i;
  return i < s.size() && IsDigit(s[i]);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsComment(std::string_view line) { return !line.empty() && line.front() == '*'; }

// The comma is the decimal mark when no row holds a '.', some row holds a comma between two
// digits, and the rows separate their fields with something else.
bool CommaIsDecimal(const std::vector<std::string_view>& lines) {
  bool commaInNumber = false;
  bool otherSeparator = false;
  for (std::string_view raw : lines) {
    const std::string_view line = Trim(raw);
    if (IsComment(line) || !BeginsWithNumber(line)) continue;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '.') return false;
      if (c == ';' || IsBlank(c)) otherSeparator = true;
      if (c == ',' && i > 0 && i + 1 < line.size() && IsDigit(line[i - 1]) &&
          IsDigit(line[i + 1])) {
        commaInNumber = true;
      }
    }
  }
  return commaInNumber && otherSeparator;
}

// Fields of a row. Semicolons (and commas when they separate) each end a field, so two in a
// row leave an empty one; runs of blanks separate fields too.
std::vector<std::string_view> SplitFields(std::string_view line, bool commaDecimal) {
  std::vector<std::string_view> fields;
  auto hard = [commaDecimal](char c) { return c == ';' || (c == ',' && !commaDecimal); };
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && !hard(line[i])) continue;
    std::string_view segment = line.substr(start, i - start);
    bool any = false;
    while (!segment.empty()) {
      std::size_t n = 0;
      while (n < segment.size() && IsBlank(segment[n])) ++n;
      segment.remove_prefix(n);
      if (segment.empty()) break;
      std::size_t len = 0;
      while (len < segment.size() && !IsBlank(segment[len])) ++len;
      fields.push_back(segment.substr(0, len));
      segment.remove_prefix(len);
      any = true;
    }
    if (!any) fields.emplace_back();  // an empty field between separators
    start = i + 1;
  }
  return fields;
}

}  // namespace

std::optional<std::vector<ResponseRow>> ReadResponseRows(std::string_view text, TextLines mode,
                                                         MeasureError& error) {
  const std::vector<std::string_view> lines = SplitLines(text);
  const bool commaDecimal = CommaIsDecimal(lines);
  std::vector<ResponseRow> rows;
  auto fail = [&error](MeasureErrorKind kind, int line) {
    error = {kind, line};
    return std::nullopt;
  };
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const int lineNo = static_cast<int>(n) + 1;
    const std::string_view line = Trim(lines[n]);
    if (line.empty() || IsComment(line)) continue;
    if (!BeginsWithNumber(line)) {
      if (mode == TextLines::kSkipped || rows.empty()) continue;
      return fail(MeasureErrorKind::kBadNumber, lineNo);
    }
    const auto fields = SplitFields(line, commaDecimal);
    if (fields.size() < 2 || fields[0].empty() || fields[1].empty()) {
      return fail(MeasureErrorKind::kMissingField, lineNo);
    }
    const auto frequency = ParseDecimalField(fields[0], commaDecimal);
    const auto level = ParseDecimalField(fields[1], commaDecimal);
    if (!frequency || !level || std::abs(*level) > kLargestLevelDb) {
      return fail(MeasureErrorKind::kBadNumber, lineNo);
    }
    if (*frequency <= 0.0 || (!rows.empty() && *frequency <= rows.back().frequency)) {
      return fail(MeasureErrorKind::kFrequencyNotRising, lineNo);
    }
    rows.push_back({lineNo, *frequency, *level});
  }
  return rows;
}

}  // namespace vantor
