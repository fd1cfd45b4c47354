// The numbers under the exchange: crossover sections and their matching, the Q to
// bandwidth mapping, shelf Q values, the grid snap and number reading.

#include <gtest/gtest.h>

#include <cmath>

#include "dsp/CrossoverTables.h"
#include "dsp/FilterCodes.h"
#include "exchange/CrossoverMatcher.h"
#include "exchange/CrossoverSections.h"
#include "exchange/ExchangeValues.h"

namespace vantor {
namespace {

TEST(CrossoverSections, EveryCrossoverIsFoundAgainFromItsSections) {
  for (int type : {kHighPass, kLowPass}) {
    for (int family : {kLinkwitzRiley, kBessel, kButterworth}) {
      for (int slope = 0; slope < kCrossoverSlopes; ++slope) {
        const auto sections = CrossoverSections(type, family, slope, false, 250.0);
        ASSERT_FALSE(sections.empty());
        const auto match = MatchCrossover(type, sections);
        ASSERT_TRUE(match.has_value()) << type << " " << family << " " << slope;
        if (type == kHighPass && family == kBessel && slope == 0) {
          // One second-order section of Q 0.71: a Butterworth at the section's frequency.
          EXPECT_EQ(match->family, kButterworth);
          EXPECT_NEAR(match->frequency, 250.0 / kBesselHighPassDivisor[0], 1e-6);
          continue;
        }
        EXPECT_EQ(match->family, family) << type << " " << slope;
        EXPECT_EQ(match->slope, slope) << type << " " << family;
        EXPECT_NEAR(match->frequency, 250.0, 1e-6);
      }
    }
  }
}

TEST(CrossoverSections, SectionsComeFromTheTables) {
  const auto lr24 = CrossoverSections(kHighPass, kLinkwitzRiley, 2, false, 80.0);
  ASSERT_EQ(lr24.size(), 2U);
  EXPECT_EQ(lr24[0], (CrossoverSection{2, 80.0, 1.0 / (2.0 * 0.70422535211)}));
  const auto bw18 = CrossoverSections(kLowPass, kButterworth, 1, false, 1000.0);
  ASSERT_EQ(bw18.size(), 2U);
  EXPECT_EQ(bw18[0].order, 1);
  EXPECT_DOUBLE_EQ(bw18[0].frequency, 1000.0);
  EXPECT_DOUBLE_EQ(bw18[1].q, 1.0);
  // Bessel low-pass 12 dB/Oct: 1/(1 + s + s²/3) at 1000/1.3616541287 Hz.
  const auto bessel = CrossoverSections(kLowPass, kBessel, 0, false, 1000.0);
  ASSERT_EQ(bessel.size(), 1U);
  EXPECT_NEAR(bessel[0].frequency, 1000.0 / 1.3616541287 / std::sqrt(0.3333333333), 1e-9);
  EXPECT_NEAR(bessel[0].q, std::sqrt(0.3333333333), 1e-12);
  // The reduced list's index 1 is 24 dB/Oct; "OFF" has no sections.
  EXPECT_EQ(CrossoverSections(kHighPass, kButterworth, 1, true, 100.0).size(), 2U);
  EXPECT_TRUE(CrossoverSections(kHighPass, kButterworth, kSlopeOff, false, 100.0).empty());
}

TEST(CrossoverSections, SectionsOfNoCrossoverMatchNothing) {
  EXPECT_FALSE(MatchCrossover(kHighPass, {{2, 100.0, 3.0}}).has_value());
  // Right Q values at frequencies an octave apart.
  EXPECT_FALSE(MatchCrossover(kHighPass, {{2, 100.0, 0.71}, {2, 200.0, 0.71}}).has_value());
  EXPECT_FALSE(MatchCrossover(kLowPass, {}).has_value());
}

TEST(BandwidthFromQ, EveryTableQMapsBackToItsIndexAndTheEndsHold) {
  for (int i = kBandwidthIndexNarrowest; i <= kBandwidthIndexMax; ++i) {
    EXPECT_EQ(BandwidthIndexFromQ(kQTable[static_cast<std::size_t>(i)]), i);
  }
  // Indexes 0..3 read back as 0.09 octave, so no Q maps to them.
  EXPECT_EQ(BandwidthIndexFromQ(28.852), kBandwidthIndexNarrowest);
  EXPECT_EQ(BandwidthIndexFromQ(0.1), kBandwidthIndexMax);
  EXPECT_EQ(BandwidthIndexFromQ(1.41), 95);  // 1.414 is nearer than 1.400
  EXPECT_EQ(BandwidthIndexFromQ(0.0), -1);
  EXPECT_EQ(BandwidthIndexFromQ(-1.0), -1);
  EXPECT_EQ(BandwidthIndexFromQ(std::nan("")), -1);
}

TEST(ShelfQ, BothSlopesSurviveTheirQAtAnyGain) {
  for (int slope : {0, 1}) {
    const double s = slope == 0 ? 0.5 : 1.3;
    for (int gain = -200; gain <= 200; gain += 5) {
      if (gain == 0) continue;
      const double db = gain / 10.0;
      const double q = std::round(ShelfQFromSlope(db, s) * 1000.0) / 1000.0;
      EXPECT_EQ(ShelfSlopeFromQ(db, q), slope) << db << " dB, Q " << q;
    }
  }
  EXPECT_EQ(ShelfSlopeFromQ(6.0, 0.7071), 1);  // the usual shelf Q is the steeper slope
  EXPECT_EQ(ShelfSlopeFromQ(6.0, 5.0), 1);     // too steep for any S
  EXPECT_EQ(ShelfSlopeFromDb(6.0), 0);
  EXPECT_EQ(ShelfSlopeFromDb(12.0), 1);
  EXPECT_FALSE(ShelfSlopeFromDb(18.0).has_value());
}

TEST(GridSnap, FrequenciesLandOnTheGridPointTheCurveUses) {
  EXPECT_EQ(SnapFrequencyToGrid(1010), 1000);
  EXPECT_EQ(SnapFrequencyToGrid(1015), 1030);  // a tie goes to the upper point
  EXPECT_EQ(SnapFrequencyToGrid(100), 99);     // 99.2 Hz
  EXPECT_EQ(SnapFrequencyToGrid(80), 81);      // 81.0 Hz is nearer than 78.7 Hz
  EXPECT_EQ(SnapFrequencyToGrid(19.6), 20);    // 19.7 Hz, stored as whole hertz
  EXPECT_EQ(SnapFrequencyToGrid(20200), 20000);
  EXPECT_FALSE(SnapFrequencyToGrid(19.0).has_value());
  EXPECT_FALSE(SnapFrequencyToGrid(20400).has_value());
  EXPECT_FALSE(SnapFrequencyToGrid(std::nan("")).has_value());
}

TEST(ExchangeNumbers, ReadWithPointOrCommaAndNothingElse) {
  EXPECT_EQ(ParseExchangeNumber("3.5"), 3.5);
  EXPECT_EQ(ParseExchangeNumber("3,5"), 3.5);
  EXPECT_EQ(ParseExchangeNumber("-12"), -12.0);
  EXPECT_EQ(ParseExchangeNumber("+2"), 2.0);
  for (const char* bad :
       {"", "+", "1.2.3", "1,2,3", "1.2,3", "nan", "inf", "1e3", "3 dB", "0x10"}) {
    EXPECT_FALSE(ParseExchangeNumber(bad).has_value()) << bad;
  }
  EXPECT_EQ(FormatExchangeFrequency(80.0), "80");
  EXPECT_EQ(FormatExchangeFrequency(62.998), "63");
  EXPECT_EQ(FormatExchangeFrequency(183.47), "183.5");
}

}  // namespace
}  // namespace vantor
