// The window's one channel selection: the current output, its partners while linking is
// active, the curves drawn behind it, and the listeners that follow it.

#include <gtest/gtest.h>

#include <vector>

#include "model/KTV_Data.h"
#include "tuning/ChannelSelection.h"

namespace vantor {
namespace {

class ChannelSelectionTest : public ::testing::Test {
 protected:
  ChannelSelectionTest() {
    selection.Listen([this](ChannelSelection::Change c) { heard.push_back(c); });
  }

  ProgramState state;
  CKTV_Data data{state};
  ChannelSelection selection{state, data.Links()};
  std::vector<ChannelSelection::Change> heard;
};

TEST_F(ChannelSelectionTest, SelectingTellsEveryListenerEvenForTheSameOutput) {
  int second = 0;
  selection.Listen([&](ChannelSelection::Change) { ++second; });
  EXPECT_TRUE(selection.Select(3));
  EXPECT_EQ(selection.Current(), 3);
  EXPECT_EQ(state.currentOutput.load(), 3);
  EXPECT_TRUE(selection.Select(3));
  EXPECT_EQ(heard,
            (std::vector{ChannelSelection::Change::kCurrent, ChannelSelection::Change::kCurrent}));
  EXPECT_EQ(second, 2);
  EXPECT_FALSE(selection.Select(8));
  EXPECT_FALSE(selection.Select(-1));
  EXPECT_EQ(selection.Current(), 3);
  EXPECT_EQ(heard.size(), 2u);
}

TEST_F(ChannelSelectionTest, PartnersAreSelectedOnlyWhileLinking) {
  data.Links().SetGroup(5, 4);
  selection.Select(4);
  EXPECT_TRUE(selection.IsSelected(4));
  EXPECT_FALSE(selection.IsSelected(5));
  selection.SetLinkingActive(true);
  EXPECT_TRUE(selection.IsSelected(5));
  EXPECT_FALSE(selection.IsSelected(3));
  EXPECT_EQ(heard.back(), ChannelSelection::Change::kLinking);
  heard.clear();
  selection.SetLinkingActive(true);  // no change, nothing told
  EXPECT_TRUE(heard.empty());
  selection.SetLinkingActive(false);
  EXPECT_FALSE(selection.IsSelected(5));
}

TEST_F(ChannelSelectionTest, TheCurrentCurveIsAlwaysShownAndCannotBeSwitched) {
  selection.Select(2);
  heard.clear();
  EXPECT_FALSE(selection.ToggleCurve(2));
  EXPECT_TRUE(selection.CurveShown(2));
  EXPECT_FALSE(selection.CurveFlag(2));
  EXPECT_TRUE(heard.empty());

  EXPECT_TRUE(selection.ToggleCurve(6));
  EXPECT_TRUE(selection.CurveShown(6));
  EXPECT_EQ(heard, std::vector{ChannelSelection::Change::kCurves});
  // Leaving an output shows its own flag again.
  selection.Select(6);
  EXPECT_FALSE(selection.CurveShown(2));
  EXPECT_TRUE(selection.CurveFlag(6));
  EXPECT_TRUE(selection.ToggleCurve(2));
  EXPECT_TRUE(selection.CurveShown(2));
  EXPECT_FALSE(selection.ToggleCurve(9));
}

}  // namespace
}  // namespace vantor
