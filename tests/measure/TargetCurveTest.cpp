// Target curves: the built-in "flat" and "car" curves at hand-computed points, house-curve
// files, and their names in both languages.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "StoredGridIndex.h"
#include "measure/TargetCurve.h"

namespace vantor {
namespace {

using testing::GridIndexOfStored;

TEST(TargetCurve, FlatIsZeroEverywhere) {
  for (double v : FlatTarget().db) EXPECT_EQ(v, 0.0);
}

TEST(TargetCurve, CarCurveAtItsCornersAndBetween) {
  const Response car = CarTarget().db;
  EXPECT_DOUBLE_EQ(car[0], 9.0);  // 19.7 Hz: held below 20 Hz
  EXPECT_DOUBLE_EQ(car[GridIndexOfStored(40.5)], 9.0);
  EXPECT_DOUBLE_EQ(car[GridIndexOfStored(59.0)], 9.0);
  // 100 Hz region: 9·(1 − log(102/60)/log(160/60)).
  EXPECT_NEAR(car[GridIndexOfStored(102.0)],
              9.0 * (1.0 - std::log(102.0 / 60.0) / std::log(160.0 / 60.0)), 1e-12);
  EXPECT_NEAR(car[GridIndexOfStored(158.0)],
              9.0 * (1.0 - std::log(158.0 / 60.0) / std::log(160.0 / 60.0)), 1e-12);
  EXPECT_DOUBLE_EQ(car[GridIndexOfStored(162.0)], 0.0);
  EXPECT_DOUBLE_EQ(car[GridIndexOfStored(1000.0)], 0.0);
  EXPECT_DOUBLE_EQ(car[GridIndexOfStored(2997.0)], 0.0);
  // 10 kHz region: −6·log(10079/3000)/log(20000/3000).
  EXPECT_NEAR(car[GridIndexOfStored(10079.0)],
              -6.0 * std::log(10079.0 / 3000.0) / std::log(20000.0 / 3000.0), 1e-12);
  EXPECT_DOUBLE_EQ(car[kGridPoints - 1], -6.0);
}

TEST(TargetCurve, HouseCurveSkipsTextInterpolatesAndHoldsItsEnds) {
  MeasureError error;
  const auto t = HouseCurveFromText(
      "My house curve\n"
      "Freq dB\n"
      "100 4\n"
      "# a remark\n"
      "400 -2\n"
      "remark after the rows\n"
      "1600 -2\n",
      error);
  ASSERT_TRUE(t.has_value()) << MeasureErrorText(error, false);
  EXPECT_EQ(t->kind, TargetKind::kFile);
  EXPECT_DOUBLE_EQ(t->db[0], 4.0);
  EXPECT_DOUBLE_EQ(t->db[kGridPoints - 1], -2.0);
  // 200 Hz region: halfway in octaves between 100 and 400 Hz.
  EXPECT_NEAR(t->db[GridIndexOfStored(198.0)], 4.0 - 6.0 * std::log(198.0 / 100.0) / std::log(4.0),
              1e-12);
  EXPECT_DOUBLE_EQ(t->db[GridIndexOfStored(1000.0)], -2.0);
  // Semicolons with comma decimals, as for measurements.
  const auto comma = HouseCurveFromText("100;4,0\n400;-2,0\n1600;-2,0\n", error);
  ASSERT_TRUE(comma.has_value());
  EXPECT_EQ(comma->db, t->db);
}

TEST(TargetCurve, HouseCurveRefusals) {
  MeasureError error;
  EXPECT_FALSE(HouseCurveFromText("only text\n100 3\n", error).has_value());
  EXPECT_EQ(error.kind, MeasureErrorKind::kTooFewTargetPoints);
  EXPECT_FALSE(HouseCurveFromText("100 3\n90 2\n", error).has_value());
  EXPECT_EQ(error.kind, MeasureErrorKind::kFrequencyNotRising);
  EXPECT_EQ(error.line, 2);
  EXPECT_FALSE(HouseCurveFromText("100 3\n200 nan\n", error).has_value());
  EXPECT_EQ(error.kind, MeasureErrorKind::kBadNumber);
  EXPECT_EQ(error.line, 2);
}

TEST(TargetCurve, NamesInBothLanguages) {
  EXPECT_EQ(TargetName(FlatTarget(), false), "flat");
  EXPECT_EQ(TargetName(CarTarget(), false), "car");
  EXPECT_EQ(TargetName(CarTarget(), true), "汽车");
  TargetCurve file{TargetKind::kFile, "house.txt", {}};
  EXPECT_EQ(TargetName(file, true), "house.txt");
}

}  // namespace
}  // namespace vantor
