#include "model/EditConversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "dsp/FilterCodes.h"
#include "model/ValueScales.h"

namespace vantor {
namespace {

constexpr std::string_view kOffText = "OFF";
constexpr std::string_view kOffTextChinese = "关闭";
constexpr double kDelayMaxMs = 50.0;
constexpr double kAttackMinMs = 0.3;
constexpr double kAttackFineMaxMs = 0.9;
constexpr double kAttackWholeMinMs = 1.0;
constexpr int kAttackWholeOffset = 6;
constexpr double kOffGainDb = -60.0;
constexpr double kOffThresholdDbu = 20.0;
constexpr double kQMin = 0.404;   // Q table entry 295
constexpr double kQMax = 16.027;  // Q table entry 4
constexpr double kQShownOffset = 0.025;
constexpr int kQTableLast = static_cast<int>(kQTableSize) - 1;
// A typed decimal is the decimal the user sees; products of decimals land a hair below the
// whole number they stand for ((−29.8 + 30)·10 = 1.99999…), so they are nudged before
// truncation. Far below any step a code represents.
constexpr double kTruncTolerance = 1e-6;
constexpr double kRangeTolerance = 1e-9;

std::string_view SkipBlanks(std::string_view text) {
  const auto at = text.find_first_not_of(" \t\r\n");
  return at == std::string_view::npos ? std::string_view{} : text.substr(at);
}

bool IsOff(std::string_view text) { return text == kOffText || text == kOffTextChinese; }

int Clamp(long long v, int lo, int hi) {
  if (hi < lo) std::swap(lo, hi);
  return static_cast<int>(std::clamp<long long>(v, lo, hi));
}

double DistanceUnitsPerMetre(int mode) { return mode == kEditDelayCm ? 100.0 : kInchesPerMetre; }

EditResult Code(long long code, const EditScale& e) {
  return {Clamp(code, e.minimum, e.maximum), false};
}
EditResult Unchanged() { return {}; }
EditResult Unreadable() { return {std::nullopt, true}; }

// Whether code lies in the edit's range (out-of-range results of GetValue change nothing).
EditResult CodeIfInRange(long long code, const EditScale& e) {
  if (code < e.minimum || code > e.maximum) return Unchanged();
  return {static_cast<int>(code), false};
}

int FirstQIndexAtOrBelow(double q) {
  for (int i = 0; i <= kQTableLast; ++i) {
    if (kQTable[static_cast<std::size_t>(i)] <= q) return i;
  }
  return kQTableLast;
}

long long TruncScaled(double v) { return static_cast<long long>(std::trunc(v + kTruncTolerance)); }

// The shared conversion; clamp selects the commit behaviour, else the GetValue one.
EditResult Convert(const EditScale& e, std::string_view text, bool clamp) {
  const int mode = e.mode;

  if (mode == kEditEqFrequency || mode == kEditCrossoverFrequency) {
    if (!clamp && mode == kEditCrossoverFrequency) return Unchanged();
    if (text == kOffText) return Unchanged();
    const auto v = ParseLeadingInteger(text);
    if (!v) return Unreadable();
    return clamp ? Code(*v, e) : CodeIfInRange(*v, e);
  }
  if (mode == kEditLimiterValue) {
    const auto v = ParseLeadingInteger(text);
    if (!v) return Unreadable();
    return Code(*v, e);
  }
  if (mode == kEditLimiterOffsetValue) {
    if (!clamp) return Unchanged();
    const auto v = ParseLeadingInteger(text);
    if (!v) return Unreadable();
    const long long off = std::llround(e.offset);
    const long long lo = e.minimum + off;
    const long long hi = e.maximum + off;
    return Code(std::clamp(*v, std::min(lo, hi), std::max(lo, hi)) - off, e);
  }
  if (mode == kEditLimiterList) return Unchanged();

  // Decimal modes.
  std::optional<double> value;
  if (clamp && IsOff(text)) {
    if (mode == kEditGainDb) value = kOffGainDb;
    if (mode == kEditLimiterThreshold) value = kOffThresholdDbu;
  }
  if (!value) value = ParseLeadingDecimal(text);
  if (!value) return Unreadable();
  double v = *value;

  switch (mode) {
    case kEditDelayMs:
    case kEditDelayCm:
    case kEditDelayInch: {
      const double ms = mode == kEditDelayMs
                            ? v
                            : MsOfMetres(v / DistanceUnitsPerMetre(mode), e.temperature - 50.0);
      if (ms < 0.0) return clamp ? Code(e.minimum, e) : Unchanged();
      if (ms > kDelayMaxMs) return clamp ? Code(e.maximum, e) : Unchanged();
      const long long code = std::llround(ms * kDelayStepsPerMs);
      return clamp ? Code(code, e) : CodeIfInRange(code, e);
    }
    case kEditLimiterAttack: {
      // The top code stands for (maximum - 6) ms. Read without clamping, whole milliseconds
      // up to `maximum` are taken; those above the top code's time would give a code past
      // the range and read as the top code.
      const double top = e.maximum - kAttackWholeOffset;
      const double accepted = clamp ? top : e.maximum;
      if (v < kAttackMinMs) {
        if (!clamp) return Unchanged();
        v = kAttackMinMs;
      }
      if (v > accepted + kRangeTolerance) {
        if (!clamp) return Unchanged();
        v = top;
      }
      long long code;
      if (v <= kAttackFineMaxMs) {
        code = std::llround((v - kAttackMinMs) / 0.1);
      } else if (v >= kAttackWholeMinMs) {
        code = static_cast<long long>(std::trunc(v)) + kAttackWholeOffset;
      } else {
        return Unchanged();  // between 0.9 and 1 ms: no code
      }
      return Code(code, e);
    }
    case kEditEqGain:
    case kEditLimiterThreshold:
    case kEditGainDb: {
      const double lo = -e.offset;
      const double hi = e.maximum * e.scale - e.offset;
      if (v < lo - kRangeTolerance || v > hi + kRangeTolerance) {
        if (!clamp) return Unchanged();
        v = std::clamp(v, lo, hi);
      }
      if (e.scale == 0.0) return Unchanged();
      const long long code = TruncScaled((v + e.offset) * 10.0 / (e.scale * 10.0));
      return clamp ? Code(code, e) : CodeIfInRange(code, e);
    }
    case kEditBandwidthQ: {
      if (v < kQMin || v > kQMax) {
        if (!clamp) return Unchanged();
        v = std::clamp(v, kQMin, kQMax);
      }
      const int code = FirstQIndexAtOrBelow(v);
      return clamp ? Code(code, e) : CodeIfInRange(code, e);
    }
    case kEditMixerLevel: {
      const double lo = e.minimum * e.scale;
      const double hi = e.maximum * e.scale;
      if (v < lo - kRangeTolerance || v > hi + kRangeTolerance) {
        if (!clamp) return Unchanged();
        v = std::clamp(v, lo, hi);
      }
      const long long code = TruncScaled(v * e.scale);
      return clamp ? Code(code, e) : CodeIfInRange(code, e);
    }
    default:
      break;
  }
  // A mode nobody uses: take the number as the code.
  const long long code = std::llround(v);
  return clamp ? Code(code, e) : CodeIfInRange(code, e);
}

}  // namespace

std::optional<double> ParseLeadingDecimal(std::string_view text) {
  std::string_view s = SkipBlanks(text);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  // Only plain decimals: from_chars would also take "inf" and "nan".
  const std::size_t first = (!s.empty() && s.front() == '-') ? 1 : 0;
  if (s.size() <= first) return std::nullopt;
  const char c = s[first];
  const bool digitNext = first + 1 < s.size() && s[first + 1] >= '0' && s[first + 1] <= '9';
  if (!((c >= '0' && c <= '9') || (c == '.' && digitNext))) return std::nullopt;
  double v = 0.0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
  if (r.ec != std::errc() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long long> ParseLeadingInteger(std::string_view text) {
  std::string_view s = SkipBlanks(text);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  long long v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc()) return std::nullopt;
  return v;
}

std::string FormatEditCode(const EditScale& e, int code) {
  switch (e.mode) {
    case kEditDelayMs:
      return FormatFixedUnsignedZero(DelayMs(code), 3);
    case kEditDelayCm:
    case kEditDelayInch:
      return FormatFixedUnsignedZero(
          DelayMetres(code, e.temperature - 50.0) * DistanceUnitsPerMetre(e.mode), 0);
    case kEditEqFrequency:
      return std::to_string(code);
    case kEditCrossoverFrequency:
      return std::to_string(code) + "Hz";
    case kEditLimiterAttack:
      return LimiterAttackText(code);
    case kEditEqGain:
      return FormatFixedUnsignedZero(code * e.scale - e.offset, 1);
    case kEditBandwidthQ:
      return FormatFixedUnsignedZero(QOfBandwidthIndex(code) + kQShownOffset, 3);
    case kEditMixerLevel:
      return std::to_string(static_cast<long long>(std::trunc(code * e.scale + kTruncTolerance)));
    case kEditLimiterThreshold:
      return FormatFixedUnsignedZero(code * e.scale - e.offset, 1) + "dBu";
    case kEditGainDb:
      return FormatFixedUnsignedZero(code * e.scale - e.offset, 0) + "dB";
    case kEditLimiterValue:
      return std::to_string(code);
    case kEditLimiterOffsetValue:
      return std::to_string(code + std::llround(e.offset));
    case kEditLimiterList:
      return {};
    default:
      break;
  }
  return std::to_string(code);
}

EditResult CommitEditText(const EditScale& edit, std::string_view text) {
  return Convert(edit, text, true);
}

EditResult ReadEditText(const EditScale& edit, std::string_view text) {
  return Convert(edit, text, false);
}

}  // namespace vantor
