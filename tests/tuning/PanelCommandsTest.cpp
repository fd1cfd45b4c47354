#include <gtest/gtest.h>

#include <vector>

#include "model/ProgramState.h"
#include "tuning/PanelCommands.h"

namespace vantor {
namespace {

struct Sent {
  int type, index, item;
  std::vector<std::uint8_t> payload;
};

class PanelCommandsTest : public ::testing::Test {
 protected:
  PanelCommandsTest() { model.LoadOutputs(); }

  void Connect() {
    state.connected = true;
    state.liveSync = true;
  }

  std::vector<Sent> Drain() {
    std::vector<Sent> out;
    while (CSendData* c = queue.Head()) {
      auto f = c->Frame();
      out.push_back(Sent{f[7], f[8], f[9], {f.begin() + 14, f.end() - 2}});
      queue.PopHead();
    }
    return out;
  }

  ProgramState state;
  CKTV_Data model{state};
  CKTVCommand queue{state};
  PanelCommands panel{model, queue};
};

TEST_F(PanelCommandsTest, MasterSliderSwitchesMasterOnAndLeavesTheWriteToTheScan) {
  Connect();
  model.SetMasterOn(0);
  const int before = model.MasterVolume();
  EXPECT_FALSE(panel.SetMasterVolumeFromSlider(before));  // unchanged: nothing
  EXPECT_EQ(model.MasterOn(), 0);
  EXPECT_TRUE(panel.SetMasterVolumeFromSlider(40));
  EXPECT_EQ(model.MasterVolume(), 40);
  EXPECT_EQ(model.MasterOn(), 1);
  EXPECT_TRUE(model.MasterVolumeChanged());
  EXPECT_TRUE(Drain().empty());
  EXPECT_FALSE(panel.SetMasterVolumeFromSlider(67));
}

TEST_F(PanelCommandsTest, MasterEditQueuesTheSystemBlockOnce) {
  Connect();
  model.SetMasterOn(0);
  EXPECT_TRUE(panel.SetMasterVolumeFromEdit(30));
  const auto sent = Drain();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].type, 4);
  EXPECT_EQ(sent[0].index, 144);
  EXPECT_EQ(sent[0].payload[2], 30);          // master volume, low byte
  EXPECT_EQ(sent[0].payload[5], 1);           // master on
  EXPECT_FALSE(model.MasterVolumeChanged());  // the scan does not send it again
}

TEST_F(PanelCommandsTest, MasterSwitchQueuesOnlyWhenConnected) {
  model.SetMasterOn(1);
  EXPECT_EQ(panel.ToggleMasterOn(), 0);
  EXPECT_EQ(model.MasterOn(), 0);
  EXPECT_TRUE(Drain().empty());
  Connect();
  EXPECT_EQ(panel.ToggleMasterOn(), 1);
  const auto sent = Drain();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].payload[5], 1);
}

TEST_F(PanelCommandsTest, EqResetWritesTheOutputBetweenMuteAndUnmuteOfItsGroup) {
  Connect();
  model.Links().SetGroup(3, 2);  // outputs 2 and 3 linked
  model.Output(2).Filter(4).SetGainIndex(300);
  model.Output(2).SetOutputOn(1);
  model.Output(3).SetOutputOn(1);
  Drain();
  const auto result = panel.ResetEq(2);
  EXPECT_TRUE(result.Queued());
  EXPECT_EQ(model.Output(2).Filter(4).GainIndex(), 200);
  const auto sent = Drain();
  ASSERT_EQ(sent.size(), 5u);
  // Both outputs of the group go silent, the block is written, both come back.
  EXPECT_EQ(sent[0].index, 2);
  EXPECT_EQ(sent[0].item, 31);
  EXPECT_EQ(sent[0].payload[0], 0);
  EXPECT_EQ(sent[1].index, 3);
  EXPECT_EQ(sent[1].payload[0], 0);
  EXPECT_EQ(sent[2].type, 3);
  EXPECT_EQ(sent[2].index, 2);
  EXPECT_EQ(sent[2].payload.size(), 296u);
  EXPECT_EQ(sent[3].item, 31);
  EXPECT_EQ(sent[3].payload[0], 1);
  EXPECT_EQ(sent[4].index, 3);
  EXPECT_EQ(sent[4].payload[0], 1);
  EXPECT_EQ(model.Output(2).OutputOn(), 1);
  EXPECT_FALSE(model.Output(2).Changed(OutputChange::Settings));
}

TEST_F(PanelCommandsTest, EqResetWithoutADeviceChangesOnlyTheModel) {
  model.Output(5).Filter(0).SetGainIndex(50);
  const auto result = panel.ResetEq(5);
  EXPECT_EQ(result.status, SequenceStatus::kNotConnected);
  EXPECT_EQ(model.Output(5).Filter(0).GainIndex(), 200);
  EXPECT_TRUE(Drain().empty());
}

}  // namespace
}  // namespace vantor
