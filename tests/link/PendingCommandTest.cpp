#include <gtest/gtest.h>

#include "LinkTestUtil.h"
#include "base/LittleEndian.h"
#include "link/PendingCommand.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

using test::Bytes;

struct Sent {
  int type, index, item, link;
  Bytes payload;
};

Sent Decode(const std::unique_ptr<CSendData>& c) {
  EXPECT_NE(c, nullptr);
  auto f = c->Frame();
  EXPECT_EQ(f[4], 0xB3);
  return Sent{f[7], f[8], f[9], f[10], Bytes(f.begin() + 14, f.end() - 2)};
}

bool IsStatusPoll(const std::unique_ptr<CSendData>& c) {
  auto f = c->Frame();
  return c->Length() == 24 && f[4] == 0xB4 && f[7] == 4 && f[8] == 3;
}

class PendingScan : public ::testing::Test {
 protected:
  PendingScan() { model.LoadOutputs(); }
  ProgramState state;
  CKTV_Data model{state};
};

TEST_F(PendingScan, NothingPendingMeansAStatusPoll) {
  state.liveSync = true;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(IsStatusPoll(NextPendingCommand(model)));
}

TEST_F(PendingScan, ALargeFrequencyMoveGoesOutAnOctaveAtATime) {
  CFilter& band = model.Output(2).Filter(5);
  band.SetFrequency(100, true);  // not live: nothing pending, sent frequency 100
  ASSERT_TRUE(IsStatusPoll(NextPendingCommand(model)));
  state.liveSync = true;
  band.SetFrequency(1000, true);

  std::vector<int> sent;
  for (int i = 0; i < 5; ++i) {
    const Sent s = Decode(NextPendingCommand(model));
    EXPECT_EQ(s.type, 3);
    EXPECT_EQ(s.index, 2);
    EXPECT_EQ(s.item, 5);
    sent.push_back(le::GetI16(s.payload, 0));
  }
  EXPECT_EQ(sent, (std::vector<int>{200, 400, 800, 1000, 1000}));
  EXPECT_EQ(band.Pending(), 0);
  EXPECT_TRUE(IsStatusPoll(NextPendingCommand(model)));
}

TEST_F(PendingScan, OrderSystemThenOutputsChannelItemsBeforeBands) {
  state.liveSync = true;
  model.Output(4).Filter(0).SetGainIndex(250);
  model.Output(1).SetMixerHigh(MixerRow{});
  model.Output(1).SetGainCode(0);
  model.Output(1).SetNameText("Door");
  ASSERT_TRUE(model.SetHiddenLevel(0, 150));
  ASSERT_TRUE(model.SetMasterVolume(40));

  Sent s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.type, 4);
  EXPECT_EQ(s.index, 144);
  EXPECT_EQ(le::GetI16(s.payload, 2), 40);
  s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.index, 146);
  EXPECT_EQ(le::GetI16(s.payload, 0), 150);

  s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.item, 36);
  EXPECT_EQ(Bytes(s.payload.begin() + 2, s.payload.begin() + 6), test::Text("Door"));
  s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.item, 31);
  EXPECT_EQ(le::GetI16(s.payload, 2), 0) << "muted sends gain 0";
  s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.item, 34);
  s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.index, 4);
  EXPECT_EQ(s.item, 0);
  EXPECT_EQ(le::GetI16(s.payload, 2), 250 + 400);
  EXPECT_TRUE(IsStatusPoll(NextPendingCommand(model)));
}

TEST_F(PendingScan, LinkedOutputsFlagBandsButNotItem31) {
  model.Links().SetGroup(6, 3);
  state.liveSync = true;
  model.Output(3).SetPhase(1);  // item 31, propagates to output 6
  model.Output(3).Filter(7).SetGainIndex(100);

  Sent s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.index, 3);
  EXPECT_EQ(s.item, 31);
  EXPECT_EQ(s.link, 0);
  s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.item, 7);
  EXPECT_EQ(s.link, 1);
  s = Decode(NextPendingCommand(model));
  EXPECT_EQ(s.index, 6);
  EXPECT_EQ(s.item, 31);
}

TEST_F(PendingScan, EditsWhileNotLiveAreNeverSent) {
  state.liveSync = false;
  model.Output(0).SetGainCode(10);
  model.Output(0).Filter(3).SetGainIndex(300);
  EXPECT_TRUE(IsStatusPoll(NextPendingCommand(model)));
}

}  // namespace
}  // namespace vantor
