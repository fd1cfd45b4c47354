#include "model/ValueScales.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/NumberFormat.h"

namespace vantor {
namespace {

constexpr int kAttackFineCodes = 7;  // codes 0..6 step 0.1 ms
constexpr std::array<int, 6> kReleaseFactors = {2, 4, 6, 8, 16, 32};

}  // namespace

int DelayCodeOfMs(double ms) {
  const long code = std::lround(ms * kDelayStepsPerMs);
  return static_cast<int>(std::clamp<long>(code, 0, kDelayCodeMax));
}

double DelayMetres(int code, double celsius) {
  return DelayMs(code) / 1000.0 * SpeedOfSound(celsius);
}

double MsOfMetres(double metres, double celsius) { return metres / SpeedOfSound(celsius) * 1000.0; }

double LimiterAttackMs(int code) {
  return code < kAttackFineCodes ? (code + 3) * 0.1 : static_cast<double>(code - 6);
}

std::string LimiterAttackText(int code) {
  if (code < kAttackFineCodes) return FormatFixedUnsignedZero((code + 3) * 0.1, 1) + "ms";
  return std::to_string(code - 6) + "ms";
}

int LimiterReleaseFactor(int releaseCode) {
  if (releaseCode < 0 || releaseCode >= static_cast<int>(kReleaseFactors.size())) return 0;
  return kReleaseFactors[static_cast<std::size_t>(releaseCode)];
}

std::string FormatFixedUnsignedZero(double value, int decimals) {
  std::string s = FormatFixed(value, decimals);
  if (!s.empty() && s.front() == '-' && s.find_first_not_of("0.", 1) == std::string::npos) {
    s.erase(0, 1);
  }
  return s;
}

}  // namespace vantor
