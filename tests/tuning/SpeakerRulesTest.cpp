#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "tuning/SpeakerPositions.h"
#include "tuning/SpeakerTypeMenu.h"

namespace vantor {
namespace {

using Types = std::array<std::uint8_t, 8>;

TEST(SpeakerTypeMenu, TypesInUseAreTickedAndTakenOnce) {
  const Types types = {1, 7, 0, 0, 0, 24, 0, 0};
  const SpeakerTypeMenuState m = SpeakerTypeMenuFor(types, 0);
  for (int t : {1, 7, 24}) {
    EXPECT_TRUE(m.ticked[static_cast<std::size_t>(t)]) << t;
    EXPECT_FALSE(m.enabled[static_cast<std::size_t>(t)]) << t;
  }
  // "None" stays open however many outputs have it.
  EXPECT_FALSE(m.ticked[0]);
  EXPECT_TRUE(m.enabled[0]);
  // Output 1's front-right tweeter rules out the full-range and mid-high fronts.
  for (int t : {4, 6, 10, 12}) EXPECT_FALSE(m.enabled[static_cast<std::size_t>(t)]) << t;
  // The sub on output 5 rules out the left and right subs.
  EXPECT_FALSE(m.enabled[22]);
  EXPECT_FALSE(m.enabled[23]);
  EXPECT_TRUE(m.enabled[2]);
  EXPECT_TRUE(m.enabled[19]);
}

TEST(SpeakerTypeMenu, AFrontFullRangeSpeakerClosesTheFrontBandsForEveryOtherOutput) {
  const Types types = {0, 0, 6, 0, 0, 0, 0, 0};
  for (int channel : {0, 1, 3, 7}) {
    const SpeakerTypeMenuState m = SpeakerTypeMenuFor(types, channel);
    for (int t : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}) {
      EXPECT_FALSE(m.enabled[static_cast<std::size_t>(t)])
          << "channel " << channel << " type " << t;
    }
    EXPECT_TRUE(m.enabled[12]);  // the other side's full range is still free
    EXPECT_TRUE(m.enabled[13]);
  }
  // The output that has the speaker may change to any other front type.
  const SpeakerTypeMenuState own = SpeakerTypeMenuFor(types, 2);
  for (int t : {1, 2, 3, 4, 5, 7, 12}) EXPECT_TRUE(own.enabled[static_cast<std::size_t>(t)]) << t;
  EXPECT_FALSE(own.enabled[6]);
  EXPECT_TRUE(own.ticked[6]);
}

TEST(SpeakerTypeMenu, RearCentreAndSubRules) {
  auto menu = [](std::uint8_t t) { return SpeakerTypeMenuFor(Types{0, t, 0, 0, 0, 0, 0, 0}, 0); };
  EXPECT_FALSE(menu(14).enabled[15]);
  EXPECT_FALSE(menu(14).enabled[18]);
  EXPECT_TRUE(menu(14).enabled[16]);
  EXPECT_FALSE(menu(18).enabled[13]);
  EXPECT_FALSE(menu(18).enabled[17]);
  EXPECT_FALSE(menu(20).enabled[21]);
  EXPECT_FALSE(menu(21).enabled[19]);
  EXPECT_FALSE(menu(21).enabled[20]);
  EXPECT_FALSE(menu(23).enabled[24]);
  EXPECT_TRUE(menu(23).enabled[22]);
  // Custom types are outside the menu and rule nothing out.
  const SpeakerTypeMenuState custom = menu(25);
  for (bool e : custom.enabled) EXPECT_TRUE(e);
}

TEST(SpeakerPositions, ButtonsSelectTheFirstOrLastOutputOfTheirTypes) {
  const Types types = {4, 10, 2, 2, 13, 24, 13, 0};
  EXPECT_EQ(PositionButtonOutput(2700, types), 0);  // type 1 or 4, first
  EXPECT_EQ(PositionButtonOutput(2701, types), 1);
  EXPECT_EQ(PositionButtonOutput(2702, types), 3);  // type 2, last
  EXPECT_EQ(PositionButtonOutput(2706, types), 6);  // type 13, last
  EXPECT_EQ(PositionButtonOutput(2713, types), 5);
  EXPECT_EQ(PositionButtonOutput(2704, types), -1);  // no front-left woofer
  EXPECT_EQ(PositionButtonOutput(2707, types), 5);   // output 5 directly
  EXPECT_EQ(PositionButtonOutput(2710, types), -1);

  EXPECT_TRUE(PositionButtonInUse(2702, types));
  EXPECT_FALSE(PositionButtonInUse(2704, types));
  EXPECT_FALSE(PositionButtonInUse(2707, types));
  EXPECT_FALSE(PositionButtonInUse(2710, types));
}

TEST(SpeakerPositions, EveryMenuTypeHasOneButton) {
  EXPECT_EQ(PositionButtonOfType(0), -1);
  EXPECT_EQ(PositionButtonOfType(25), -1);
  EXPECT_EQ(PositionButtonOfType(6), 2704);
  EXPECT_EQ(PositionButtonOfType(18), 2711);
  EXPECT_EQ(PositionButtonOfType(19), 2717);
  for (int t = 1; t <= 24; ++t) {
    const int b = PositionButtonOfType(t);
    ASSERT_GE(b, 2700) << t;
    Types one{};
    one[3] = static_cast<std::uint8_t>(t);
    EXPECT_EQ(PositionButtonOutput(b, one), 3) << t;
  }
}

}  // namespace
}  // namespace vantor
