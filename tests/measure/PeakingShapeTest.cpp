// The fit's peaking band: the processor's own response at whole codes, and derivatives that
// agree with the response they belong to.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "dsp/Filter.h"
#include "measure/BandFitter.h"
#include "measure/PeakingShape.h"

namespace vantor {
namespace {

TEST(PeakingShape, EqualsTheFilterAtWholeCodes) {
  struct Case {
    int centre;
    int gainIndex;
    int width;
  };
  for (const Case c : {Case{136, 260, 15}, Case{16, 100, 4}, Case{240, 330, 295},
                       Case{77, 199, 120}, Case{200, 0, 37}}) {
    CFilter f;
    f.SetFrequency(BandFrequencyOfCentre(c.centre), false);
    f.SetBandwidthIndex(c.width);
    f.SetGainIndex(c.gainIndex);
    Response shape{};
    PeakingShape(
        {GainDbFromIndex(c.gainIndex), static_cast<double>(c.centre), static_cast<double>(c.width)},
        shape);
    for (std::size_t i = 0; i < kGridPoints; ++i) {
      // The closed form only rounds differently from the filter's normalised sections.
      EXPECT_NEAR(shape[i], f.ResponseDb()[i], 1e-7) << "centre " << c.centre << " point " << i;
    }
    const Response coded = BandResponse(f.Frequency(), c.gainIndex, c.width);
    EXPECT_EQ(coded, f.ResponseDb());
  }
}

TEST(PeakingShape, DerivativesMatchDifferences) {
  for (const PeakingParams p : {PeakingParams{6.0, 136.3, 15.0}, PeakingParams{-12.0, 40.7, 150.0},
                                PeakingParams{3.0, 230.2, 6.0}}) {
    Response db{};
    PeakingGradient g;
    PeakingShape(p, db, &g);
    auto difference = [&p](auto change, double h) {
      PeakingParams up = p;
      PeakingParams down = p;
      change(up, h);
      change(down, -h);
      Response a{}, b{};
      PeakingShape(up, a);
      PeakingShape(down, b);
      Response d{};
      for (std::size_t i = 0; i < kGridPoints; ++i) d[i] = (a[i] - b[i]) / (2.0 * h);
      return d;
    };
    const Response dGain = difference([](PeakingParams& q, double h) { q.gainDb += h; }, 1e-5);
    const Response dCentre = difference([](PeakingParams& q, double h) { q.centre += h; }, 1e-5);
    const Response dWidth = difference([](PeakingParams& q, double h) { q.width += h; }, 1e-4);
    for (std::size_t i = 0; i < kGridPoints; ++i) {
      const double scale = 1.0 + std::abs(dCentre[i]);
      EXPECT_NEAR(g.dGain[i], dGain[i], 1e-5) << i;
      EXPECT_NEAR(g.dCentre[i], dCentre[i], 1e-4 * scale) << i;
      EXPECT_NEAR(g.dWidth[i], dWidth[i], 1e-5) << i;
    }
  }
}

TEST(PeakingShape, CentreFrequencyFollowsTheStoredGrid) {
  EXPECT_DOUBLE_EQ(CentreFrequency(137.0), 1030.0);
  EXPECT_NEAR(CentreFrequency(136.5), std::sqrt(1000.0 * 1030.0), 1e-9);
  EXPECT_DOUBLE_EQ(CentreFrequency(240.0), 20000.0);
  EXPECT_DOUBLE_EQ(CentreFrequency(-3.0), kResponseGrid[0]);
}

TEST(BandFrequencyOfCentre, EveryReachableGridPointHasAWholeFrequencyOnIt) {
  int reachable = 0;
  for (int i = 0; i < static_cast<int>(kGridPoints); ++i) {
    const int hz = BandFrequencyOfCentre(i);
    if (hz == 0) continue;
    ++reachable;
    EXPECT_EQ(GridIndexOf(hz), i);
    EXPECT_GE(hz, 20);
    EXPECT_LE(hz, 20000);
  }
  EXPECT_EQ(BandFrequencyOfCentre(136), 1000);
  EXPECT_EQ(BandFrequencyOfCentre(137), 1030);
  EXPECT_EQ(BandFrequencyOfCentre(240), 20000);
  EXPECT_EQ(BandFrequencyOfCentre(0), 0);  // 19.7 Hz lies below the lowest band frequency
  EXPECT_GT(reachable, 220);
  // From about 30 Hz up, points are more than 1 Hz apart: every one is reachable.
  for (int i = 16; i < static_cast<int>(kGridPoints); ++i) EXPECT_NE(BandFrequencyOfCentre(i), 0);
}

}  // namespace
}  // namespace vantor
