#pragma once
// Codes and the physical values they stand for. Pure functions; the numeric edits
// (EditConversion.h) format and parse through these.

#include <string>

#include "dsp/FilterCodes.h"

namespace vantor {

// Code ranges the panels give their controls.
inline constexpr int kOutputGainCodeMax = 60;
inline constexpr int kMasterVolumeCodeMax = 66;
inline constexpr int kDelayCodeMax = 2400;
inline constexpr int kThresholdCodeMax = 360;
inline constexpr int kAttackCodeMax = 106;
inline constexpr int kReleaseCodeMax = 5;
inline constexpr int kMixerLevelMax = 100;

// Output gain and master volume: code − 60 dB (code 0 of an output is muted).
inline double OutputGainDb(int code) { return code - 60.0; }
inline double MasterVolumeDb(int code) { return code - 60.0; }
// Auxiliary level: value − 80 dB.
inline double AuxLevelDb(int value) { return value - 80.0; }
// EQ gain index 0..400: 0.1 dB steps from −20 dB.
inline double EqGainDb(int gainIndex) { return gainIndex * 0.1 - 20.0; }

// Delay: one step is one sample at 48 kHz.
inline constexpr double kDelayStepsPerMs = 48.0;
inline double DelayMs(int code) { return code / kDelayStepsPerMs; }
// The nearest code to a time, clamped to 0..2400.
int DelayCodeOfMs(double ms);

// Delay as distance: c = 331 + 0.6·T m/s; the controls hold T = 25 °C (346 m/s).
inline constexpr double kDefaultTemperatureC = 25.0;
inline constexpr double kInchesPerMetre = 3.2808 * 12.0;  // 39.3696
inline double SpeedOfSound(double celsius) { return 331.0 + 0.6 * celsius; }
double DelayMetres(int code, double celsius = kDefaultTemperatureC);
inline double DelayCm(int code, double celsius = kDefaultTemperatureC) {
  return DelayMetres(code, celsius) * 100.0;
}
inline double DelayInch(int code, double celsius = kDefaultTemperatureC) {
  return DelayMetres(code, celsius) * kInchesPerMetre;
}
// Milliseconds sound needs for a distance.
double MsOfMetres(double metres, double celsius = kDefaultTemperatureC);

// Limiter threshold: code · 0.1 − 30 dBu.
inline double LimiterThresholdDbu(int code) { return code * 0.1 - 30.0; }
// Limiter attack: codes 0..6 are 0.3..0.9 ms, codes 7 and above (code − 6) ms.
double LimiterAttackMs(int code);
// "0.7ms" / "100ms".
std::string LimiterAttackText(int code);
// Limiter release: the attack time × 2, 4, 6, 8, 16 or 32 for codes 0..5 (0 outside).
int LimiterReleaseFactor(int releaseCode);
inline double LimiterReleaseMs(int attackCode, int releaseCode) {
  return LimiterAttackMs(attackCode) * LimiterReleaseFactor(releaseCode);
}

// A fixed-point text that never reads "-0.0": a value that rounds to zero is written
// without a sign.
std::string FormatFixedUnsignedZero(double value, int decimals);

}  // namespace vantor
