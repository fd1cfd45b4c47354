// Checks every filter's response against an independent oracle: the analogue prototype of
// each section, taken to the z-plane with the bilinear transform and evaluated as a
// complex number, the cascade multiplied rather than summed in dB. Only the constants and
// tables are shared knowledge; a wrong sign, a swapped table value or a mis-ordered
// section in the engine shows up as a mismatch.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "dsp/Filter.h"
#include "dsp/ResponseGrid.h"

namespace vantor {
namespace {

using cd = std::complex<double>;

// The tables again, typed independently of the engine's.
constexpr double kLR[7][4] = {{1.0, 0, 0, 0},
                              {1.0, 0.70422535211, 0, 0},
                              {0.70422535211, 0.70422535211, 0, 0},
                              {1.0, 0.62, 0.62, 0},
                              {1.0, 0.5, 0.5, 0},
                              {1.0, 0.453134315, 0.92592592593, 0.453134315},
                              {0.92592592593, 0.373134315, 0.92592592593, 0.373134315}};
constexpr double kBW[7][4] = {{0.70422535, 0, 0, 0},
                              {1.0, 0.5, 0, 0},
                              {0.92592593, 0.38167939, 0, 0},
                              {1.0, 0.8064616129, 0.3086417953, 0},
                              {0.96153846, 0.70422535211, 0.2590673575, 0},
                              {1.0, 0.90909090909, 0.625, 0.2222222222},
                              {0.98039126, 0.83333333, 0.55555556, 0.1953125}};
constexpr double kBesHP[7][4] = {{0.70422535, 0, 0, 0},
                                 {0.756, 0.72463768, 0, 0},
                                 {0.96153846, 0.61728395, 0, 0},
                                 {0.6656, 0.8928571428, 0.54347826, 0},
                                 {0.980392156, 0.819672131, 0.490196, 0},
                                 {0.5937, 0.943396226415, 0.757575757576, 0.4424778761},
                                 {0.98039216, 0.89285714, 0.70422535, 0.40650406}};
constexpr double kBesHPDiv[7] = {1.2683112435, 1.2854981442, 1.5006420029, 1.3854981442,
                                 1.5554981442, 1.5554981442, 1.679120141};
constexpr double kBesLP[7][4][2] = {
    {{1.0, 0.3333333333}},
    {{0.5693712514, 0.154812441}, {0.430628846, 0}},
    {{0.369, 0.087858766}, {0.6278294896, 0.109408}},
    {{0.6656, 0}, {1.1402, 0.4128}, {0.6216, 0.3245}},
    {{1.2217, 0.3887}, {0.9686, 0.3505}, {0.5131, 0.2756}},
    {{0.5937, 0}, {1.0944, 0.3395}, {0.8304, 0.3011}, {0.4332, 0.2381}},
    {{0.117235677, 0.02064747},
     {0.226516664, 0.0259273886},
     {0.3067559, 0.0294683265},
     {0.3494916166, 0.031272257}}};
constexpr double kBesLPDiv[7] = {1.3616541287, 1.75567236868, 2.1139176749, 1.0,
                                 1.0,          1.0,           3.17961723751};

struct Params {
  int type = 0;
  int freq = 1000;
  double gain = 0.0;
  double octaves = 0.2;
  int family = 2;
  int slope = 2;
  bool reduced = false;
};

// Bilinear variable at grid frequency f for a section whose design angle is w:
// s = (1/tan(w/2))·(1 − z⁻¹)/(1 + z⁻¹) with z = e^{jω}, which is j·tan(ω/2)/tan(w/2).
cd Bilinear(double f, double w) {
  const double omega = 6.2831852 * f / 96000.0;
  return {0.0, std::tan(omega / 2.0) / std::tan(w / 2.0)};
}

double Db(cd h) { return 20.0 * std::log10(std::abs(h)); }

double OracleDb(const Params& p, double f) {
  if (p.type == 0) {
    const double f0 = kResponseGrid[GridIndexOf(p.freq)];
    const double w0 = f0 * 6.544985e-05;
    const double a = std::pow(10.0, p.gain / 40.0);
    const double alpha = std::sin(w0) * std::sinh(0.69314718 * p.octaves * w0 / std::sin(w0));
    const double invQ = 2.0 * alpha / std::sin(w0);
    const cd s = Bilinear(f, w0);
    return Db((s * s + s * (invQ * a) + 1.0) / (s * s + s * (invQ / a) + 1.0));
  }
  if (p.type == 1 || p.type == 2) {
    if (p.gain == 0.0) return 0.0;
    double k;
    double shelfS;
    if (p.type == 1) {
      k = p.slope == 0 ? 2.0 : 1.2727272727;
    } else {
      k = p.slope == 0 ? 0.4545454546 : 0.76923076923;
    }
    shelfS = p.slope == 0 ? 0.5 : 1.3;
    const double w0 = p.freq * 5.544985e-05 * k;
    const double a = std::pow(10.0, p.gain / 40.0);
    const double invQ = std::sqrt((a + 1.0 / a) * (1.0 / shelfS - 1.0) + 2.0);
    const double m = std::sqrt(a) * invQ;
    const cd s = Bilinear(f, w0);
    if (p.type == 1) return Db(a * (s * s + m * s + a) / (a * s * s + m * s + 1.0));
    return Db(a * (a * s * s + m * s + 1.0) / (s * s + m * s + a));
  }
  // Crossovers.
  if (p.slope == 7) return 0.0;
  if (p.type == 3 && p.freq == 20) return 0.0;
  if (p.type == 4 && p.freq == 20000) return 0.0;
  const int s = (p.reduced && p.slope == 1) ? 2 : p.slope;
  const bool hp = p.type == 3;
  double fc = p.freq;
  if (p.family == 1) fc /= hp ? kBesHPDiv[s] : kBesLPDiv[s];
  const double w = fc * 5.544985e-05;
  const cd sv = Bilinear(f, w);
  cd h = 1.0;
  if (!hp && p.family == 1) {
    for (const auto& sec : kBesLP[s]) {
      if (sec[0] == 0.0) continue;
      h *= 1.0 / (1.0 + sec[0] * sv + sec[1] * sv * sv);
    }
    return Db(h);
  }
  const double(&q)[4] = p.family == 0 ? kLR[s] : p.family == 2 ? kBW[s] : kBesHP[s];
  const bool firstOrder = s == 1 || s == 3 || s == 5;
  for (int k = 0; k < 4; ++k) {
    if (q[k] == 0.0) continue;
    if (k == 0 && firstOrder) {
      h *= hp ? sv / (sv + q[0]) : 1.0 / (1.0 + q[0] * sv);
    } else {
      const cd den = sv * sv + 2.0 * q[k] * sv + 1.0;
      h *= hp ? sv * sv / den : 1.0 / den;
    }
  }
  return Db(h);
}

void Configure(CFilter& f, const Params& p) {
  if (p.type >= 3) {
    f.SetBandFlag(0);
    f.SetType(p.type);
    f.SetFamily(p.family, false);
    f.SetReducedSlopes(p.reduced ? 1 : 0);
    f.SetSlope(p.slope, false);
    f.SetFrequency(p.freq, false);
    return;
  }
  f.SetFrequency(p.freq, false);
  f.SetType(p.type);
  f.SetSlope(p.slope, false);
  f.SetBandwidthIndex(static_cast<int>((p.octaves - 0.05) / 0.01 + 0.05));
  f.SetGainIndex(static_cast<int>((p.gain + 20.0) * 10.0 + 0.5));
}

// 1e-9 dB while both the grid point and the filter's design frequency are at 100 Hz or
// above. Below, the direct form cancels (cos ω → 1 in the evaluation, cos w → 1 in the
// coefficients), so its rounding grows as 1/f²; the allowance grows the same way
// (2.6e-8 dB at 19.7 Hz) and stays far below any real fault.
double Tolerance(double gridHz, const Params& p) {
  double designHz = p.freq;
  if (p.type >= 3 && p.family == 1) designHz /= 3.2;  // the largest Bessel divisor
  const double lowest = std::min(gridHz, designHz);
  const double r = lowest < 100.0 ? 100.0 / lowest : 1.0;
  return 1e-9 * r * r;
}

void ExpectMatchesOracle(const Params& p) {
  CFilter f;
  Configure(f, p);
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double expected = OracleDb(p, kResponseGrid[i]);
    ASSERT_NEAR(f.ResponseDb()[i], expected, Tolerance(kResponseGrid[i], p))
        << "type " << p.type << " freq " << p.freq << " gain " << p.gain << " N " << p.octaves
        << " family " << p.family << " slope " << p.slope << " reduced " << p.reduced << " at grid "
        << kResponseGrid[i];
  }
}

const int kFrequencies[] = {20, 31, 80, 250, 1000, 1015, 3150, 8000, 16000, 20000};

TEST(ResponseOracle, PeakingBands) {
  for (int freq : kFrequencies) {
    for (double gain : {-20.0, -6.5, 0.1, 3.0, 12.0, 20.0}) {
      for (double octaves : {0.09, 0.2, 1.0, 3.0}) ExpectMatchesOracle({0, freq, gain, octaves});
    }
  }
}

TEST(ResponseOracle, Shelves) {
  for (int type : {1, 2}) {
    for (int slope : {0, 1}) {
      for (int freq : kFrequencies) {
        for (double gain : {-20.0, -3.0, 0.5, 9.0, 20.0}) {
          Params p{type, freq, gain};
          p.slope = slope;
          ExpectMatchesOracle(p);
        }
      }
    }
  }
}

TEST(ResponseOracle, CrossoversOfEveryFamilyAndSlope) {
  for (int type : {3, 4}) {
    for (int family : {0, 1, 2}) {
      for (int slope = 0; slope <= 7; ++slope) {
        for (int freq : kFrequencies) {
          Params p{type, freq};
          p.family = family;
          p.slope = slope;
          ExpectMatchesOracle(p);
        }
      }
    }
  }
}

TEST(ResponseOracle, ReducedSlopeListDrawsTwentyFourForIndexOne) {
  for (int type : {3, 4}) {
    for (int family : {0, 1, 2}) {
      Params reduced{type, 500};
      reduced.family = family;
      reduced.slope = 1;
      reduced.reduced = true;
      ExpectMatchesOracle(reduced);

      CFilter a;
      Configure(a, reduced);
      Params full = reduced;
      full.reduced = false;
      full.slope = 2;
      CFilter b;
      Configure(b, full);
      EXPECT_EQ(a.ResponseDb(), b.ResponseDb());
    }
  }
}

// The slope tables must rise in steps of 6 dB/Oct: far into the stop band each extra
// order adds about 6 dB per octave. Catches rows swapped between slopes.
TEST(ResponseOracle, StopBandSteepnessFollowsTheSlopeIndex) {
  for (int family : {0, 1, 2}) {
    for (int slope = 0; slope <= 6; ++slope) {
      CFilter hp;
      Configure(hp, Params{3, 8000, 0, 0.2, family, slope});
      // 24 grid points = one octave: 250 Hz against 500 Hz (indexes 88 and 112).
      const double perOctave = hp.ResponseDb()[112] - hp.ResponseDb()[88];
      EXPECT_NEAR(perOctave, 12.0 + 6.0 * slope, 1.0)
          << "high-pass family " << family << " slope " << slope;
      CFilter lp;
      Configure(lp, Params{4, 100, 0, 0.2, family, slope});
      // 4 kHz against 8 kHz (indexes 184 and 208); the bilinear warp adds a little.
      const double lpPerOctave = lp.ResponseDb()[184] - lp.ResponseDb()[208];
      EXPECT_NEAR(lpPerOctave, 12.0 + 6.0 * slope, 2.0)
          << "low-pass family " << family << " slope " << slope;
    }
  }
}

TEST(ResponseOracle, PeakReachesItsGainAtTheSnappedCentre) {
  CFilter f;
  Configure(f, Params{0, 1010, 6.0, 0.5});
  // Centred on grid point 136 (1000 Hz); the two angle constants differ by a hair.
  EXPECT_NEAR(f.ResponseDb()[136], 6.0, 0.01);
  EXPECT_GT(f.ResponseDb()[136], f.ResponseDb()[137]);
  EXPECT_GT(f.ResponseDb()[136], f.ResponseDb()[135]);
}

}  // namespace
}  // namespace vantor
