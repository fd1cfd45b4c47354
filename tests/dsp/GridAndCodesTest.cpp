// The response grid, the Q table, the codes and the plot mapping.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "dsp/FilterCodes.h"
#include "dsp/PlotMapping.h"
#include "dsp/ResponseGrid.h"

namespace vantor {
namespace {

TEST(ResponseGrid, HasTheStoredShape) {
  ASSERT_EQ(kResponseGrid.size(), 241U);
  EXPECT_DOUBLE_EQ(kResponseGrid.front(), 19.7);
  EXPECT_DOUBLE_EQ(kResponseGrid.back(), 20000.0);
  EXPECT_DOUBLE_EQ(kResponseGrid[136], 1000.0);
  for (std::size_t i = 1; i < kResponseGrid.size(); ++i) {
    EXPECT_LT(kResponseGrid[i - 1], kResponseGrid[i]) << "at index " << i;
  }
}

TEST(ResponseGrid, HoldsTheFifteenStoredExceptions) {
  const std::map<int, double> exceptions = {{16, 31.3},   {72, 158},    {76, 179},   {99, 344},
                                            {105, 409},   {137, 1030},  {138, 1060}, {139, 1090},
                                            {140, 1123},  {142, 1190},  {182, 3776}, {192, 5000},
                                            {217, 10374}, {222, 11987}, {240, 20000}};
  for (const auto& [i, f] : exceptions) EXPECT_DOUBLE_EQ(kResponseGrid[i], f) << "index " << i;
}

TEST(ResponseGrid, OtherEntriesFollowTheTwentyFourthOctaveRule) {
  const std::map<int, double> exceptions = {{16, 0},  {72, 0},  {76, 0},  {99, 0},  {105, 0},
                                            {137, 0}, {138, 0}, {139, 0}, {140, 0}, {142, 0},
                                            {182, 0}, {192, 0}, {217, 0}, {222, 0}, {240, 0}};
  for (int i = 0; i < 241; ++i) {
    if (exceptions.count(i) != 0) continue;
    const double exact = 1000.0 * std::pow(2.0, (i - 136) / 24.0);
    const double expected = exact < 100.0 ? std::round(exact * 10.0) / 10.0 : std::round(exact);
    EXPECT_DOUBLE_EQ(kResponseGrid[i], expected) << "index " << i;
  }
}

TEST(GridIndexOf, SnapsToTheNearestPointWithTiesGoingUp) {
  EXPECT_EQ(GridIndexOf(1000), 136);
  EXPECT_EQ(GridIndexOf(1010), 136);
  EXPECT_EQ(GridIndexOf(1015), 137);  // equidistant between 1000 and 1030
  EXPECT_EQ(GridIndexOf(1014.9), 136);
  EXPECT_EQ(GridIndexOf(0), 0);
  EXPECT_EQ(GridIndexOf(19.7), 0);
  // 20 Hz lies 0.3 Hz from 19.7 and from 20.3: a tie goes up.
  EXPECT_EQ(GridIndexOf(20), 1);
  EXPECT_EQ(GridIndexOf(20000), 240);
  EXPECT_EQ(GridIndexOf(30000), 240);
}

TEST(QTable, MatchesTheBandwidthFormula) {
  ASSERT_EQ(kQTable.size(), 296U);
  EXPECT_DOUBLE_EQ(kQTable[0], 28.852);
  EXPECT_DOUBLE_EQ(kQTable[4], 16.027);
  EXPECT_DOUBLE_EQ(kQTable[295], 0.404);
  for (int i = 0; i < 296; ++i) {
    const double n = 0.05 + 0.01 * i;
    const double q = std::sqrt(std::pow(2.0, n)) / (std::pow(2.0, n) - 1.0);
    EXPECT_NEAR(kQTable[i], q, 0.0005 + 1e-12) << "index " << i;
  }
}

TEST(FilterCodes, GainIndexCoversMinusToPlusTwentyDb) {
  EXPECT_EQ(GainIndexFromDb(-20.0), 0);
  EXPECT_EQ(GainIndexFromDb(0.0), 200);
  EXPECT_EQ(GainIndexFromDb(20.0), 400);
  EXPECT_EQ(GainIndexFromDb(2.3), 223);
  EXPECT_EQ(GainIndexFromDb(-19.9), 1);
  for (int i = 0; i <= 400; ++i) EXPECT_EQ(GainIndexFromDb(GainDbFromIndex(i)), i);
}

TEST(FilterCodes, BandwidthIndexRoundTripsFromFourUp) {
  for (int i = 4; i <= 295; ++i) {
    EXPECT_EQ(BandwidthIndexFromOctaves(OctavesFromBandwidthIndex(i)), i);
  }
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(OctavesFromBandwidthIndex(i), 0.09);
  EXPECT_DOUBLE_EQ(OctavesFromBandwidthIndex(295), 3.0);
  EXPECT_EQ(BandwidthIndexFromOctaves(0.2), 15);
}

TEST(PlotMapping, SpansThreeDecadesAndFortyDecibels) {
  const int w = 900;  // 300 pixels a decade
  const int h = 400;
  EXPECT_EQ(PlotX(20, w), 0);
  EXPECT_EQ(PlotX(200, w), 300);
  EXPECT_EQ(PlotX(20000, w), 900);
  EXPECT_EQ(PlotX(19.7, w), -1);  // truncation toward zero, not down
  EXPECT_EQ(PlotY(20, h), 0);
  EXPECT_EQ(PlotY(0, h), 200);
  EXPECT_EQ(PlotY(-20, h), 400);
  EXPECT_EQ(PlotY(25, h), -49);  // (10)(−5)+0.5 = −49.5 truncated toward zero
  EXPECT_EQ(FrequencyOfX(0, w), 20);
  EXPECT_EQ(FrequencyOfX(300, w), 200);
  EXPECT_EQ(FrequencyOfX(-50, w), 20);
  EXPECT_EQ(FrequencyOfX(5000, w), 20000);
  EXPECT_EQ(FrequencyOfX(10, 2), 20);  // a plot narrower than three pixels
}

TEST(PlotMapping, WidthIsDividedIntoWholeDecadesFirst) {
  // W div 3 is integer division: 901 behaves like 900.
  EXPECT_EQ(PlotX(2000, 901), PlotX(2000, 900));
  EXPECT_EQ(PlotX(2000, 902), PlotX(2000, 900));
  EXPECT_EQ(PlotX(2000, 903), 602);
}

}  // namespace
}  // namespace vantor
