#include "exchange/ExchangeValues.h"

#include <charconv>
#include <cmath>

#include "base/NumberFormat.h"
#include "dsp/FilterCodes.h"
#include "dsp/FilterDesign.h"
#include "dsp/ResponseGrid.h"

namespace vantor {
namespace {

// Half a grid step (1/48 octave) beyond either end still snaps to it.
constexpr double kHalfStep = 1.0145453349375237;  // 2^(1/48)
constexpr double kSteepestShelfDb = 12.0;
// Slopes up to here read as the 6 dB/Oct shelf, above as the 12 dB/Oct one.
constexpr double kShelfSlopeSplitDb = 9.0;

double Amplitude(double gainDb) { return std::pow(10.0, gainDb / 40.0); }

}  // namespace

std::optional<double> ParseExchangeNumber(std::string_view text) {
  std::string t(text);
  const auto comma = t.find(',');
  if (comma != std::string::npos) {
    if (t.find('.') != std::string::npos || t.find(',', comma + 1) != std::string::npos) {
      return std::nullopt;
    }
    t[comma] = '.';
  }
  std::size_t start = 0;
  if (!t.empty() && t[0] == '+') start = 1;
  if (start == t.size()) return std::nullopt;
  double v = 0.0;
  const char* first = t.data() + start;
  const char* last = t.data() + t.size();
  const auto r = std::from_chars(first, last, v, std::chars_format::fixed);
  if (r.ec != std::errc() || r.ptr != last || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::string FormatExchangeFrequency(double hz) {
  const double whole = std::round(hz);
  if (std::abs(hz - whole) < 0.05) return FormatFixed(whole, 0);
  return FormatFixed(hz, 1);
}

std::optional<int> SnapFrequencyToGrid(double hz) {
  if (!std::isfinite(hz) || hz < kResponseGrid.front() / kHalfStep ||
      hz > kResponseGrid.back() * kHalfStep) {
    return std::nullopt;
  }
  const long snapped = std::lround(kResponseGrid[static_cast<std::size_t>(GridIndexOf(hz))]);
  if (snapped < kFrequencyMin) return kFrequencyMin;
  if (snapped > kFrequencyMax) return kFrequencyMax;
  return static_cast<int>(snapped);
}

double ShelfQFromSlope(double gainDb, double s) {
  const double a = Amplitude(gainDb);
  return 1.0 / std::sqrt((a + 1.0 / a) * (1.0 / s - 1.0) + 2.0);
}

int ShelfSlopeFromQ(double gainDb, double q) {
  const double a = Amplitude(gainDb);
  const double d = (1.0 / (q * q) - 2.0) / (a + 1.0 / a) + 1.0;
  // A Q too high for any S (d ≤ 0) is steeper than either slope: the steeper one.
  const double s = d > 0.0 ? 1.0 / d : INFINITY;
  const double split = std::sqrt(ShelfSlopeParameter(0) * ShelfSlopeParameter(1));
  return s < split ? 0 : 1;
}

std::optional<int> ShelfSlopeFromDb(double dbPerOctave) {
  if (!(dbPerOctave > 0.0) || dbPerOctave > kSteepestShelfDb + 0.05) return std::nullopt;
  return dbPerOctave <= kShelfSlopeSplitDb ? 0 : 1;
}

}  // namespace vantor
