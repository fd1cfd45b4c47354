#include "exchange/FilterLineParser.h"

#include <cctype>
#include <vector>

#include "exchange/ExchangeValues.h"

namespace vantor {
namespace {

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Tokens(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    const std::size_t start = i;
    while (i < s.size() && !IsSpace(s[i])) ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

// A number, with its unit either attached ("1000Hz", "6dB") or in the next token. Returns the
// value in the unit's base (kHz becomes Hz) and how many tokens it used.
struct Quantity {
  double value = 0.0;
  std::size_t used = 0;
};

std::optional<Quantity> ReadQuantity(const std::vector<std::string_view>& t, std::size_t i,
                                     std::string_view unit) {
  if (i >= t.size()) return std::nullopt;
  std::string_view number = t[i];
  std::string attached;
  const std::string upper = Upper(number);
  for (std::string_view u :
       {std::string_view("KHZ"), std::string_view("HZ"), std::string_view("DB")}) {
    if (upper.size() > u.size() && upper.ends_with(u)) {
      attached = std::string(u);
      number = number.substr(0, number.size() - u.size());
      break;
    }
  }
  const auto v = ParseExchangeNumber(number);
  if (!v) return std::nullopt;
  std::size_t used = 1;
  std::string given = attached;
  if (given.empty() && !unit.empty() && i + 1 < t.size()) {
    const std::string next = Upper(t[i + 1]);
    if (next == "HZ" || next == "KHZ" || next == "DB") {
      given = next;
      used = 2;
    }
  }
  if (!given.empty()) {
    const bool wantsHz = unit == "HZ";
    if (wantsHz != (given == "HZ" || given == "KHZ")) return std::nullopt;
  }
  return Quantity{given == "KHZ" ? *v * 1000.0 : *v, used};
}

std::optional<ParsedFilter> ReadFilter(std::string_view body) {
  const auto t = Tokens(body);
  if (t.empty()) return std::nullopt;
  ParsedFilter f;
  const std::string state = Upper(t[0]);
  if (state != "ON" && state != "OFF") return std::nullopt;
  f.on = state == "ON";
  if (t.size() < 2) return std::nullopt;
  f.type = Upper(t[1]);
  std::size_t i = 2;
  // A slope after a shelf type: "LS 6dB", "LSC 12 dB".
  if (i < t.size() && Upper(t[i]) != "FC") {
    const auto slope = ReadQuantity(t, i, "DB");
    if (slope && (Upper(t[i]).ends_with("DB") || (i + 1 < t.size() && Upper(t[i + 1]) == "DB"))) {
      f.shelfSlopeDb = slope->value;
      i += slope->used;
    }
  }
  while (i < t.size()) {
    const std::string key = Upper(t[i]);
    std::optional<Quantity> v;
    if (key == "FC") {
      v = ReadQuantity(t, i + 1, "HZ");
      if (v) f.frequency = v->value;
    } else if (key == "GAIN") {
      v = ReadQuantity(t, i + 1, "DB");
      if (v) f.gainDb = v->value;
    } else if (key == "Q") {
      v = ReadQuantity(t, i + 1, "");
      if (v) f.q = v->value;
    } else if (key == "BW" && i + 1 < t.size() && Upper(t[i + 1]) == "OCT") {
      v = ReadQuantity(t, i + 2, "");
      if (v) {
        f.bandwidthOctaves = v->value;
        ++v->used;
      }
    }
    if (!v) return std::nullopt;
    i += 1 + v->used;
  }
  return f;
}

}  // namespace

ParsedLine ParseExchangeLine(std::string_view line) {
  ParsedLine out;
  std::string_view s = Trim(line);
  if (s.empty()) return out;
  if (s.front() == '#') {
    out.kind = LineKind::kComment;
    return out;
  }
  const auto colon = s.find(':');
  if (colon == std::string_view::npos) {
    out.kind = LineKind::kComment;
    return out;
  }
  const std::string_view head = Trim(s.substr(0, colon));
  const auto words = Tokens(head);
  // "Filter", "Filter 3" or "Filter3" before the colon.
  const std::string first = words.empty() ? std::string() : Upper(words[0]);
  bool isFilter = false;
  if (first == "FILTER") {
    isFilter = words.size() == 1 || (words.size() == 2 && ParseExchangeNumber(words[1]));
  } else if (first.starts_with("FILTER") && words.size() == 1) {
    isFilter = ParseExchangeNumber(std::string_view(words[0]).substr(6)).has_value();
  }
  if (isFilter) {
    const auto filter = ReadFilter(s.substr(colon + 1));
    out.kind = filter ? LineKind::kFilter : LineKind::kMalformed;
    if (filter) out.filter = *filter;
    return out;
  }
  // A command is one word before its colon, as in "Preamp: -6 dB" or "Channel: L"; a
  // colon inside free text ("Dated: 1 May 2024 10:15") counts as the same shape.
  if (words.size() == 1 && std::isalpha(static_cast<unsigned char>(words[0][0])) != 0) {
    out.kind = LineKind::kCommand;
    out.command = std::string(words[0]);
    return out;
  }
  out.kind = LineKind::kComment;
  return out;
}

}  // namespace vantor
