// Time alignment from distances: worked examples in centimetres and inches, the 50 ms limit,
// the distance texts, and delays set through the outputs' setters.

#include <gtest/gtest.h>

#include "measure/TimeAlignment.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

OutputDistances Distances(std::initializer_list<std::pair<int, double>> metres) {
  OutputDistances d{};
  for (const auto& [output, m] : metres) d[static_cast<std::size_t>(output)] = m;
  return d;
}

TEST(TimeAlignment, WorkedExamples) {
  // 120 cm and 95 cm: the nearer speaker waits 0.25 m / 346 m/s = 0.7225 ms = 34.68 steps.
  auto p = AlignFromDistances(Distances({{0, 1.20}, {1, 0.95}}));
  EXPECT_EQ(p.delayCodes[0], 0);
  EXPECT_EQ(p.delayCodes[1], 35);
  EXPECT_FALSE(p.delayCodes[2].has_value());

  // A car: front left 95 cm, front right 130 cm, rear 150 cm, subwoofer 180 cm.
  // 85 cm → 2.4566 ms → 117.92; 50 cm → 1.4451 ms → 69.36; 30 cm → 0.8671 ms → 41.62.
  p = AlignFromDistances(Distances({{0, 0.95}, {1, 1.30}, {2, 1.50}, {5, 1.80}}));
  EXPECT_EQ(p.delayCodes[0], 118);
  EXPECT_EQ(p.delayCodes[1], 69);
  EXPECT_EQ(p.delayCodes[2], 42);
  EXPECT_EQ(p.delayCodes[5], 0);

  // 100 in and 50 in: 50 in = 1.270015 m → 3.670564 ms → 176.19 steps.
  p = AlignFromDistances(Distances({{3, *ParseDistance("100in")}, {4, *ParseDistance("50in")}}));
  EXPECT_EQ(p.delayCodes[3], 0);
  EXPECT_EQ(p.delayCodes[4], 176);
}

TEST(TimeAlignment, DelaysPast50MsAreHeldAtTheLargestCode) {
  // 17.3 m is 50 ms; 20 m would be 57.8 ms.
  const auto p = AlignFromDistances(Distances({{0, 20.0}, {1, 0.0}, {2, 2.7}}));
  EXPECT_EQ(p.delayCodes[1], 2400);
  EXPECT_TRUE(p.clamped[1]);
  EXPECT_EQ(p.delayCodes[2], 2400);  // 17.3 m → exactly 50.0 ms: within
  EXPECT_FALSE(p.clamped[2]);
  EXPECT_FALSE(p.clamped[0]);
}

TEST(TimeAlignment, DistanceTexts) {
  EXPECT_DOUBLE_EQ(*ParseDistance("120cm"), 1.2);
  EXPECT_DOUBLE_EQ(*ParseDistance("47.5 in"), 47.5 / 39.3696);
  EXPECT_DOUBLE_EQ(*ParseDistance("0cm"), 0.0);
  for (const char* bad : {"120", "120 mm", "-3cm", "cm", "nancm", "infin", "1,5cm", "12 cm x"}) {
    EXPECT_FALSE(ParseDistance(bad).has_value()) << bad;
  }
}

TEST(TimeAlignment, ApplyingSetsTheChangedDelaysThroughTheSetters) {
  ProgramState state;
  CKTV_Data model{state};
  model.LoadOutputs();
  model.Output(6).SetDelayCode(500);
  state.liveSync = true;
  model.Output(1).SetDelayCode(35);
  model.Output(1).ClearChanges();
  ApplyAlignment(model, AlignFromDistances(Distances({{0, 1.20}, {1, 0.95}, {2, 1.0}})));
  EXPECT_EQ(model.Output(0).DelayCode(), 0);
  EXPECT_EQ(model.Output(1).DelayCode(), 35);
  EXPECT_EQ(model.Output(2).DelayCode(), 28);   // 20 cm → 0.578 ms → 27.75
  EXPECT_EQ(model.Output(6).DelayCode(), 500);  // no distance given: kept
  EXPECT_TRUE(model.Output(2).Changed(OutputChange::Settings));
  EXPECT_FALSE(model.Output(1).Changed(OutputChange::Settings));  // unchanged: nothing sent
}

}  // namespace
}  // namespace vantor
