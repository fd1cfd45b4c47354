// The limiter and routing dialog's rules: a level reaches its output as the whole row
// through the item that carries its source, the limiter block's three values with their
// ranges and the release list, and what reaches a simulated processor.

#include <gtest/gtest.h>

#include "connection/LinkRig.h"
#include "history/UnitWrites.h"
#include "model/ProgramState.h"
#include "tuning/LimiterRoutingEditor.h"

namespace vantor {
namespace {

class LimiterRoutingTest : public ::testing::Test {
 protected:
  LimiterRoutingTest() {
    model.LoadOutputs();
    state.liveSync = true;
  }

  int Queued() {
    int n = 0;
    while (queue.Head() != nullptr) {
      ++n;
      queue.PopHead();
    }
    return n;
  }

  ProgramState state;
  CKTV_Data model{state};
  CKTVCommand queue{state};
  PanelCommands commands{model, queue};
  LimiterRoutingEditor editor{model};
};

TEST_F(LimiterRoutingTest, ALevelGivesTheWholeRowThroughTheItemOfItsSource) {
  CKTV_OutData& out = model.Output(2);
  out.ClearChanges();
  const MixerRow before = out.Mixer();
  ASSERT_TRUE(editor.SetLevel({2, 9}, 64));
  EXPECT_TRUE(out.Changed(OutputChange::MixerHigh));
  EXPECT_FALSE(out.Changed(OutputChange::MixerLow));
  MixerRow expected = before;
  expected[9] = 64;
  EXPECT_EQ(out.Mixer(), expected);
  EXPECT_EQ(editor.Level({2, 9}), 64);

  out.ClearChanges();
  ASSERT_TRUE(editor.SetLevel({2, 7}, 5));
  EXPECT_TRUE(out.Changed(OutputChange::MixerLow));
  EXPECT_FALSE(out.Changed(OutputChange::MixerHigh));
  EXPECT_EQ(out.MixerLevel(9), 64);  // the rest of the row stays

  // The same level again, one outside 0..100 or a cell outside the grid: nothing marked.
  out.ClearChanges();
  EXPECT_FALSE(editor.SetLevel({2, 7}, 5));
  EXPECT_FALSE(editor.SetLevel({2, 7}, 101));
  EXPECT_FALSE(editor.SetLevel({2, 7}, -1));
  EXPECT_FALSE(editor.SetLevel({8, 0}, 5));
  EXPECT_FALSE(editor.SetLevel({0, 14}, 5));
  EXPECT_FALSE(out.Changed(OutputChange::MixerLow));
  EXPECT_FALSE(out.Changed(OutputChange::MixerHigh));
  EXPECT_EQ(out.MixerLevel(7), 5);
  for (int c = 0; c < rec::kOutputCount; ++c) {
    if (c != 2) {
      EXPECT_FALSE(model.Output(c).Changed(OutputChange::MixerHigh));
    }
  }
}

TEST_F(LimiterRoutingTest, CellsAreNumberedByRowAndEnterWrapsFromTheLastToTheFirst) {
  EXPECT_EQ(RoutingIndexOf({2, 9}), 37);
  EXPECT_EQ(RoutingCellAt(37), (RoutingCell{2, 9}));
  EXPECT_EQ(NextRoutingIndex(13), 14);  // on to the next row
  EXPECT_EQ(RoutingCellAt(NextRoutingIndex(13)), (RoutingCell{1, 0}));
  EXPECT_EQ(NextRoutingIndex(kRoutingCellCount - 1), 0);
  EXPECT_EQ(kRoutingCellCount, 112);
}

TEST_F(LimiterRoutingTest, LimiterValuesKeepTheirRangesAndQueueOnlyChanges) {
  state.connected = true;
  EXPECT_TRUE(editor.SetLimiterValue(commands, 0, 48));
  EXPECT_EQ(Queued(), 1);
  EXPECT_FALSE(editor.SetLimiterValue(commands, 0, 48));  // the same value: nothing
  EXPECT_EQ(Queued(), 0);
  EXPECT_FALSE(editor.SetLimiterValue(commands, 0, 49));
  EXPECT_FALSE(editor.SetLimiterValue(commands, 1, 19));
  EXPECT_FALSE(editor.SetLimiterValue(commands, 2, 6));
  EXPECT_FALSE(editor.SetLimiterValue(commands, 3, 0));
  EXPECT_EQ(Queued(), 0);
  EXPECT_TRUE(editor.SetLimiterValue(commands, 1, 18));
  EXPECT_EQ(state.LimiterBlock()[0], 48);
  EXPECT_EQ(state.LimiterBlock()[1], 18);
  EXPECT_EQ(Queued(), 1);

  // Byte 1 is shown five higher than it is stored.
  EXPECT_EQ(FormatEditCode(LimiterFieldScale(1), 18), "23");
  EXPECT_EQ(CommitEditText(LimiterFieldScale(1), "10").code, 5);
  EXPECT_EQ(CommitEditText(LimiterFieldScale(1), "99").code, 18);
  EXPECT_EQ(FormatEditCode(LimiterFieldScale(0), 48), "48");

  // Without a device the value is stored and nothing queued.
  state.connected = false;
  EXPECT_TRUE(editor.SetLimiterValue(commands, 0, 3));
  EXPECT_EQ(state.LimiterBlock()[0], 3);
  EXPECT_EQ(Queued(), 0);
}

TEST_F(LimiterRoutingTest, TheReleaseListStoresItsEntryAndHasNoneForCodeFive) {
  ASSERT_EQ(LimiterReleaseEntries().size(), 5u);
  EXPECT_EQ(LimiterReleaseEntries()[4], "ATK*32");
  EXPECT_TRUE(editor.ChooseReleaseEntry(commands, 4));
  EXPECT_EQ(state.LimiterBlock()[2], 4);
  EXPECT_EQ(editor.ReleaseEntry(), 4);
  EXPECT_FALSE(editor.ChooseReleaseEntry(commands, 4));
  EXPECT_FALSE(editor.ChooseReleaseEntry(commands, 5));
  EXPECT_TRUE(editor.SetLimiterValue(commands, 2, 5));  // the field's spin reaches code 5
  EXPECT_EQ(editor.ReleaseEntry(), -1);
}

TEST(LimiterRoutingOnTheUnit, TheUnitReceivesTheRowAsItem34AndTheLimiterBlockOnce) {
  testing::LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  ASSERT_TRUE(rig.Drained());
  rig.unit->ClearFrameLog();
  LimiterRoutingEditor editor(rig.Model());
  PanelCommands commands(rig.Model(), rig.Controller().Queue());

  ASSERT_TRUE(editor.SetLevel({2, 9}, 71));
  ASSERT_TRUE(editor.ChooseReleaseEntry(commands, 4));
  ASSERT_TRUE(rig.Drained());
  const auto writes = testing::UnitWrites(*rig.unit);
  ASSERT_EQ(writes.size(), 2u);
  const auto& mixer = writes[0].block == rec::kBlockOutput ? writes[0] : writes[1];
  const auto& limiter = writes[0].block == rec::kBlockOutput ? writes[1] : writes[0];
  EXPECT_EQ(mixer.index, 2);
  EXPECT_EQ(mixer.item, rec::kItemMixerHigh);
  // Item 34 carries sources 8..13 at its start: every level of the row reached the unit.
  const rec::StateRecord unit = rig.unit->Record(0);
  const MixerRow row = rig.Model().Output(2).Mixer();
  for (std::size_t s = 0; s < row.size(); ++s) {
    EXPECT_EQ(unit[rec::OutputOffset(2) + rec::kOutMixer + s], row[s]) << s;
  }
  EXPECT_EQ(row[9], 71);
  for (std::size_t s = 8; s < row.size(); ++s) EXPECT_EQ(mixer.payload[s - 8], row[s]) << s;
  EXPECT_EQ(limiter.index, rec::kSysItemLimiter);
  EXPECT_EQ(limiter.payload[2], 4);
  rig.unit->Inspect([](const ProgramState& u) { EXPECT_EQ(u.LimiterBlock()[2], 4); });
}

}  // namespace
}  // namespace vantor
