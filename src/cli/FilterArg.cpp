#include "cli/FilterArg.h"

#include <array>
#include <charconv>
#include <cmath>
#include <set>

#include "dsp/FilterCodes.h"

namespace vantor::cli {
namespace {

std::optional<int> ParseInt(std::string_view s) {
  int v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<double> ParseDouble(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  // from_chars also reads "nan" and "inf", which pass any range check.
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> Lookup(std::string_view value, std::initializer_list<std::string_view> names) {
  int i = 0;
  for (std::string_view n : names) {
    if (n == value) return i;
    ++i;
  }
  return std::nullopt;
}

bool IsCrossover(int type) { return type == kHighPass || type == kLowPass; }

}  // namespace

std::optional<FilterArg> ParseFilterArg(std::string_view text, std::string& error) {
  const std::string where = "filter '" + std::string(text) + "': ";
  if (text.empty()) {
    error = where + "empty filter";
    return std::nullopt;
  }
  FilterArg filter;
  std::set<std::string, std::less<>> seen;
  std::optional<double> gainDb;
  std::optional<int> bandwidth;
  std::optional<int> family;
  std::optional<int> reduced;

  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string_view pair = text.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    start = comma == std::string_view::npos ? text.size() + 1 : comma + 1;

    const std::size_t eq = pair.find('=');
    if (pair.empty() || eq == std::string_view::npos || eq == 0 || eq + 1 == pair.size()) {
      error = where + "'" + std::string(pair) + "' is not key=value";
      return std::nullopt;
    }
    const std::string_view key = pair.substr(0, eq);
    const std::string_view value = pair.substr(eq + 1);
    if (!seen.insert(std::string(key)).second) {
      error = where + "key '" + std::string(key) + "' given twice";
      return std::nullopt;
    }
    auto bad = [&](std::string_view expected) {
      error = where + "bad " + std::string(key) + " '" + std::string(value) + "' (expected " +
              std::string(expected) + ")";
      return std::nullopt;
    };

    if (key == "type") {
      const auto t = Lookup(value, {"peak", "lowshelf", "highshelf", "highpass", "lowpass"});
      if (!t) return bad("peak, lowshelf, highshelf, highpass or lowpass");
      filter.type = *t;
    } else if (key == "freq") {
      const auto f = ParseInt(value);
      if (!f || *f < kFrequencyMin || *f > kFrequencyMax) return bad("an integer 20..20000");
      filter.frequency = *f;
    } else if (key == "gain") {
      const auto g = ParseDouble(value);
      // Gains go in 0.1 dB steps; a number between two steps is refused, not cut.
      const double steps = g ? (*g + 20.0) * 10.0 : 0.0;
      if (!g || *g < -20.0 || *g > 20.0 || std::abs(steps - std::round(steps)) > 1e-6)
        return bad("dB in -20.0..20.0, in 0.1 dB steps");
      gainDb = *g;
    } else if (key == "bw") {
      const auto b = ParseInt(value);
      if (!b || *b < 0 || *b > kBandwidthIndexMax) return bad("0..295");
      bandwidth = *b;
    } else if (key == "slope") {
      const auto s = ParseInt(value);
      if (!s || *s < 0 || *s > 7) return bad("0..1 for shelves, 0..7 for crossovers");
      filter.slope = *s;
    } else if (key == "family") {
      const auto k = Lookup(value, {"linkwitz", "bessel", "butterworth"});
      if (!k) return bad("linkwitz, bessel or butterworth");
      family = *k;
    } else if (key == "reduced") {
      const auto r = ParseInt(value);
      if (!r || (*r != 0 && *r != 1)) return bad("0 or 1");
      reduced = *r;
    } else {
      error = where + "unknown key '" + std::string(key) + "'";
      return std::nullopt;
    }
  }

  // Keys that mean nothing for the type are refused: they are almost always a typo.
  const bool crossover = IsCrossover(filter.type);
  auto refuse = [&](const char* key, const char* applies) {
    error = where + key + " applies to " + applies + " only";
    return std::nullopt;
  };
  if (gainDb && crossover) return refuse("gain", "peak and shelf filters");
  if (bandwidth && filter.type != kPeaking) return refuse("bw", "peak filters");
  if (family && !crossover) return refuse("family", "highpass and lowpass filters");
  if (reduced && !crossover) return refuse("reduced", "highpass and lowpass filters");
  if (filter.type == kPeaking && filter.slope >= 0)
    return refuse("slope", "shelf and crossover filters");

  if (gainDb) filter.gainIndex = GainIndexFromDb(*gainDb);
  if (bandwidth) filter.bandwidthIndex = *bandwidth;
  if (family) filter.family = *family;
  if (reduced) filter.reduced = *reduced;
  // Default slopes: 24 dB/Oct for crossovers (index 1 on the reduced list), 6 dB/Oct shelves.
  if (filter.slope < 0) filter.slope = crossover ? (filter.reduced == 1 ? 1 : 2) : 0;
  if (filter.type == kLowShelf || filter.type == kHighShelf) {
    if (filter.slope > 1) {
      error =
          where + "bad slope '" + std::to_string(filter.slope) + "' (expected 0..1 for shelves)";
      return std::nullopt;
    }
  }
  if (crossover && filter.reduced == 1 && filter.slope > 1) {
    error = where + "bad slope '" + std::to_string(filter.slope) +
            "' (expected 0..1 with the reduced list)";
    return std::nullopt;
  }
  return filter;
}

}  // namespace vantor::cli
