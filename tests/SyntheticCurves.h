#pragma once
// Measurements made up from known bands, for the fit and prediction tests and the benchmark.

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "base/NumberFormat.h"
#include "measure/BandFitter.h"
#include "measure/Measurement.h"
#include "measure/TargetCurve.h"

namespace vantor::testing {

struct KnownBand {
  int hz;
  int gainIndex;
  int widthIndex;
};

// Five peaking bands on grid frequencies, boosts and cuts, narrow and wide.
inline constexpr std::array<KnownBand, 5> kFiveBands = {{
    {63, 250, 40},     // +5 dB
    {250, 140, 20},    // −6 dB
    {1000, 240, 60},   // +4 dB
    {3150, 120, 30},   // −8 dB
    {10000, 230, 80},  // +3 dB
}};

// target − the bands: a measurement that the bands, set as they are, correct exactly.
inline Measurement TargetMinusBands(const TargetCurve& target) {
  Measurement m;
  m.db = target.db;
  for (const KnownBand& b : kFiveBands) {
    const Response r = BandResponse(b.hz, b.gainIndex, b.widthIndex);
    for (std::size_t i = 0; i < kGridPoints; ++i) m.db[i] -= r[i];
  }
  return m;
}

// Uniform noise within ±amplitude dB, the same on every platform for a seed.
inline void AddNoise(Measurement& m, double amplitude, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (double& v : m.db) v += amplitude * (2.0 * (random() / 4294967295.0) - 1.0);
}

// The measurement as a text export: a comment header, then "frequency level" at the grid
// frequencies from 20 Hz up.
inline std::string MeasurementText(const Measurement& m) {
  std::string text = "* made-up measurement\n* Freq(Hz) SPL(dB)\n";
  for (std::size_t i = 1; i < kGridPoints; ++i) {
    text += FormatShortest(kResponseGrid[i]) + " " + FormatFixed(80.0 + m.db[i], 9) + "\n";
  }
  return text;
}

}  // namespace vantor::testing
