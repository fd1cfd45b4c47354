// The output channel dialog's rules without a window: band edits and who follows them,
// the crossover rules of the dialog, all-bypass with its "still all flat" rule, the EQ mode
// switch, and the whole-channel transfer as it reaches the queue.

#include <gtest/gtest.h>

#include <vector>

#include "dsp/KTVEQ.h"
#include "model/ProgramState.h"
#include "tuning/BandTableTravel.h"
#include "tuning/CrossoverLists.h"
#include "tuning/OutputChannelEditor.h"

namespace vantor {
namespace {

constexpr CrossoverSide kHp = CrossoverSide::kHighPass;
constexpr CrossoverSide kLp = CrossoverSide::kLowPass;

struct Sent {
  int type, index, item;
  bool busyEnd;
  std::vector<std::uint8_t> payload;
  bool Item31(int channel, int on) const {
    return type == rec::kBlockOutput && index == channel && item == rec::kItemSettings &&
           payload.size() == rec::kItemSize && payload[0] == on;
  }
  bool Block(int channel) const {
    return type == rec::kBlockOutput && index == channel && payload.size() == rec::kOutputBlockSize;
  }
};

class OutputChannelEditorTest : public ::testing::Test {
 protected:
  OutputChannelEditorTest() {
    model.LoadOutputs();
    state.liveSync = true;
  }

  void Connect() { state.connected = true; }

  std::vector<Sent> Drain() {
    std::vector<Sent> out;
    while (CSendData* c = queue.Head()) {
      auto f = c->Frame();
      out.push_back(Sent{f[7], f[8], f[9], c->BusyEnd(), {f.begin() + 14, f.end() - 2}});
      queue.PopHead();
    }
    return out;
  }

  CFilter& Band(int channel, int band) { return model.Output(channel).Filter(band); }
  CFilter& Hp(int channel) { return model.Output(channel).HighPass(); }
  CFilter& Lp(int channel) { return model.Output(channel).LowPass(); }

  ProgramState state;
  CKTV_Data model{state};
  CKTVCommand queue{state};
  PanelCommands commands{model, queue};
  OutputChannelEditor editor{model};
};

TEST_F(OutputChannelEditorTest, GainIndex200SwitchesTheBandOff) {
  ASSERT_TRUE(editor.SetBandGain(3, 7, 260));
  EXPECT_FALSE(editor.Band(3, 7).off);
  EXPECT_EQ(editor.Band(3, 7).gain, 260);
  EXPECT_FALSE(editor.AllFlat(3));
  ASSERT_TRUE(editor.SetBandGain(3, 7, kGainIndexFlat));
  EXPECT_TRUE(editor.Band(3, 7).off);
  EXPECT_EQ(editor.Band(3, 7).gain, kGainIndexFlat);
  EXPECT_TRUE(editor.AllFlat(3));
}

TEST_F(OutputChannelEditorTest, BandEditsReachEveryLinkedOutput) {
  model.Links().SetGroup(1, 0);
  model.Links().SetGroup(7, 0);
  ASSERT_TRUE(editor.SetBandFrequency(0, 10, 180));
  ASSERT_TRUE(editor.SetBandBandwidth(0, 10, 40));
  ASSERT_TRUE(editor.SetBandGain(0, 10, 250));
  for (int c : {1, 7}) {
    EXPECT_EQ(Band(c, 10).Frequency(), 180) << c;
    EXPECT_EQ(Band(c, 10).BandwidthIndex(), 40) << c;
    EXPECT_EQ(Band(c, 10).GainIndex(), 250) << c;
    EXPECT_EQ(Band(c, 10).Pending(), 1) << c;
  }
  EXPECT_EQ(Band(2, 10).Frequency(), 201);  // not linked: untouched
  EXPECT_EQ(Band(0, 11).Frequency(), 251);
}

TEST_F(OutputChannelEditorTest, AnUnchangedValueChangesNothing) {
  const BandShown before = editor.Band(4, 3);
  EXPECT_FALSE(editor.SetBandFrequency(4, 3, before.frequency));
  EXPECT_FALSE(editor.SetBandBandwidth(4, 3, before.bandwidth));
  EXPECT_FALSE(editor.SetBandGain(4, 3, before.gain));
  EXPECT_EQ(Band(4, 3).Pending(), 0);
  EXPECT_FALSE(editor.SetGain(4, model.Output(4).GainCode()));
  EXPECT_FALSE(editor.SetRelease(4, model.Output(4).ReleaseCode()));
  EXPECT_FALSE(model.Output(4).Changed(OutputChange::Settings));
  EXPECT_FALSE(model.Output(4).Changed(OutputChange::Limiter));
  // Values no field offers are refused.
  EXPECT_FALSE(editor.SetBandFrequency(4, 3, 19));
  EXPECT_FALSE(editor.SetBandGain(4, 31, 300));
  EXPECT_FALSE(editor.SetRelease(4, 6));
}

TEST_F(OutputChannelEditorTest, TheBandOffButtonAndItsLinkedBands) {
  model.Links().SetGroup(3, 2);
  editor.SetBandGain(2, 5, 300);
  EXPECT_TRUE(editor.ToggleBandOff(2, 5, false));
  EXPECT_TRUE(Band(3, 5).EffectivelyOff());
  EXPECT_EQ(editor.Band(2, 5).gain, kGainIndexFlat);
  EXPECT_FALSE(editor.ToggleBandOff(2, 5, true));
  EXPECT_EQ(editor.Band(2, 5).gain, 300);  // its gain comes back
  EXPECT_FALSE(Band(3, 5).EffectivelyOff());
  // A band at 0 dB has nothing to switch on: it stays off.
  EXPECT_TRUE(editor.ToggleBandOff(2, 6, true));
}

TEST_F(OutputChannelEditorTest, ABandMovedOnTheGraphGoesToTheLinkedOutputs) {
  model.Links().SetGroup(5, 4);
  Band(4, 20).SetFrequency(2300, true);
  Band(4, 20).SetGainIndex(150);
  Band(4, 20).SetBandwidthIndex(60);
  editor.BandFromGraph(4, 20);
  EXPECT_EQ(Band(5, 20).Frequency(), 2300);
  EXPECT_EQ(Band(5, 20).GainIndex(), 150);
  EXPECT_EQ(Band(5, 20).BandwidthIndex(), 60);
  EXPECT_EQ(Band(6, 20).Frequency(), 2001);
}

TEST_F(OutputChannelEditorTest, CrossoverEditsFollowTheDialogsLinkRules) {
  CrossoverEditor& x = editor.Crossovers();
  model.Links().SetGroup(1, 0);
  x.ChooseFamily(0, kHp, kBessel);
  EXPECT_EQ(Hp(1).Family(), kBessel);
  x.ChooseSlope(0, kLp, 5);
  EXPECT_EQ(Lp(1).Slope(), 5);

  // Output 5 keeps its crossovers to itself.
  model.Links().SetGroup(5, 4);
  x.ChooseFamily(5, kHp, kLinkwitzRiley);
  EXPECT_EQ(Hp(5).Family(), kLinkwitzRiley);
  EXPECT_NE(Hp(4).Family(), kLinkwitzRiley);
  // ... but takes them from its partner.
  x.ChooseFamily(4, kHp, kLinkwitzRiley);
  EXPECT_EQ(Hp(4).Family(), kLinkwitzRiley);

  // Output 7 never takes them; an edit on it reaches its partners among 0..6.
  model.Links().SetGroup(7, 6);
  x.SetFrequency(6, kHp, 250, 20000);
  EXPECT_EQ(Hp(6).Frequency(), 250);
  EXPECT_EQ(Hp(7).Frequency(), 20);
  x.SetFrequency(7, kLp, 9000, 20);
  EXPECT_EQ(Lp(6).Frequency(), 9000);

  // The crossover panel's rules give output 5's edits to its partner.
  CrossoverEditor panel(model);
  panel.ChooseFamily(5, kLp, kBessel);
  EXPECT_EQ(Lp(4).Family(), kBessel);
}

TEST_F(OutputChannelEditorTest, OutputFivesHighPassStaysAtOrBelow100Hz) {
  CrossoverEditor& x = editor.Crossovers();
  EXPECT_EQ(x.SetFrequency(5, kHp, 150, 20000), 100);
  EXPECT_EQ(Hp(5).Frequency(), 100);
  EXPECT_EQ(x.SetFrequency(5, kHp, 60, 20000), 60);
  // Below 100 Hz the low-pass is the limit.
  EXPECT_EQ(x.SetFrequency(5, kHp, 150, 80), 80);
  // Another output only stays under its low-pass.
  EXPECT_EQ(x.SetFrequency(0, kHp, 150, 80), 80);
  EXPECT_EQ(x.SetFrequency(0, kHp, 150, 20000), 150);
  // The crossover panel has no such limit.
  CrossoverEditor panel(model);
  EXPECT_EQ(panel.SetFrequency(5, kHp, 150, 20000), 150);
}

TEST_F(OutputChannelEditorTest, AllBypassRewritesTheOutputBetweenItsItem31Writes) {
  Connect();
  model.Output(3).SetOutputOn(1);
  editor.SetBandGain(3, 12, 280);
  Drain();

  const auto on = editor.ToggleAllBypass(commands, 3, false);
  EXPECT_TRUE(on.allFlat);
  EXPECT_FALSE(on.keptOn);
  EXPECT_TRUE(on.transfer.Queued());
  EXPECT_TRUE(Band(3, 12).Bypass());
  const auto sent = Drain();
  ASSERT_EQ(sent.size(), 5u);
  EXPECT_TRUE(sent[0].Item31(3, 0));  // silent
  EXPECT_TRUE(sent[1].Item31(3, 0));
  EXPECT_TRUE(sent[2].Block(3));
  EXPECT_TRUE(sent[3].Item31(3, 0));
  EXPECT_TRUE(sent[4].Item31(3, 1));  // back on
  // The block carries the band as off (gain code 600).
  EXPECT_EQ(sent[2].payload[12 * 8 + 2] | (sent[2].payload[12 * 8 + 3] << 8), 600);
  EXPECT_FALSE(sent[2].busyEnd);

  const auto off = editor.ToggleAllBypass(commands, 3, false);
  EXPECT_FALSE(off.allFlat);
  EXPECT_EQ(editor.Band(3, 12).gain, 280);
  EXPECT_EQ(Drain().size(), 5u);
  EXPECT_EQ(model.Output(3).OutputOn(), 1);
}

TEST_F(OutputChannelEditorTest, AllBypassOffOnAFlatOutputStaysOn) {
  Connect();
  ASSERT_TRUE(editor.AllFlat(6));
  const auto outcome = editor.ToggleAllBypass(commands, 6, false);
  EXPECT_TRUE(outcome.keptOn);
  EXPECT_TRUE(outcome.allFlat);
  EXPECT_TRUE(editor.AllFlat(6));
  EXPECT_TRUE(Band(6, 0).Bypass());
  EXPECT_TRUE(Drain().empty());
}

TEST_F(OutputChannelEditorTest, AllBypassGivesTheLinkedOutputsTheSameBypass) {
  Connect();
  model.Links().SetGroup(3, 2);
  editor.SetBandGain(2, 0, 300);
  Drain();
  const auto outcome = editor.ToggleAllBypass(commands, 2, false);
  ASSERT_TRUE(outcome.allFlat);
  EXPECT_TRUE(Band(3, 0).Bypass());
  EXPECT_TRUE(Band(3, 30).Bypass());
  EXPECT_FALSE(Band(4, 0).Bypass());
  const auto sent = Drain();
  ASSERT_EQ(sent.size(), 10u);
  EXPECT_TRUE(sent[0].Item31(2, 0));
  EXPECT_TRUE(sent[1].Item31(3, 0));
  EXPECT_TRUE(sent[3].Block(2));
  EXPECT_TRUE(sent[6].Block(3));
  EXPECT_TRUE(sent[8].Item31(2, 1));
  EXPECT_TRUE(sent[9].Item31(3, 1));
}

TEST_F(OutputChannelEditorTest, SwitchingTheEqModeResetsTheGroupAndSendsIt) {
  Connect();
  model.Links().SetGroup(1, 0);
  editor.SetBandGain(1, 4, 330);
  editor.SetBandFrequency(1, 4, 47);
  editor.SetBandBandwidth(0, 9, 90);
  Drain();
  const SequenceResult r = editor.SwitchEqMode(commands, 1, true, false);
  EXPECT_TRUE(r.Queued());
  for (int c : {0, 1}) {
    EXPECT_EQ(model.Output(c).EqMode(), 1) << c;
    for (int b = 0; b < kOutputBandCount; ++b) {
      const CFilter& f = Band(c, b);
      EXPECT_EQ(f.Frequency(), kOutputBandFrequencies[static_cast<std::size_t>(b)]);
      EXPECT_EQ(f.BandwidthIndex(), 15);
      EXPECT_EQ(f.GainIndex(), kGainIndexFlat);
      EXPECT_EQ(f.GraphicMode(), 1);
    }
  }
  EXPECT_TRUE(editor.Graphic(0));
  const auto sent = Drain();
  ASSERT_EQ(sent.size(), 6u);
  EXPECT_TRUE(sent[2].Block(0));
  EXPECT_TRUE(sent[3].Block(1));
  EXPECT_EQ(sent[3].payload[rec::kOutEqMode], 1);
  EXPECT_EQ(sent[5].payload[rec::kOutEqMode - rec::kOutOn], 1);  // item 31 carries it
  // The item-31 writes carry the mode: the scan need not send it again.
  EXPECT_FALSE(model.Output(0).Changed(OutputChange::Settings));
  EXPECT_FALSE(model.Output(1).Changed(OutputChange::Settings));
}

TEST_F(OutputChannelEditorTest, WhileLinkingOutputOnesBlockEndsTheBusyState) {
  Connect();
  model.Links().SetGroup(1, 0);
  editor.ResetEq(commands, 0, true);
  EXPECT_TRUE(state.busy.load());
  auto sent = Drain();
  ASSERT_EQ(sent.size(), 6u);
  EXPECT_FALSE(sent[2].busyEnd);
  EXPECT_TRUE(sent[3].Block(1));
  EXPECT_TRUE(sent[3].busyEnd);

  state.busy = false;
  editor.ResetEq(commands, 0, false);
  EXPECT_FALSE(state.busy.load());
  for (const Sent& s : Drain()) EXPECT_FALSE(s.busyEnd);
}

TEST_F(OutputChannelEditorTest, WithoutADeviceTheActionsChangeOnlyTheModel) {
  editor.SetBandGain(2, 8, 100);
  const SequenceResult r = editor.ResetEq(commands, 2, false);
  EXPECT_EQ(r.status, SequenceStatus::kNotConnected);
  EXPECT_EQ(Band(2, 8).GainIndex(), kGainIndexFlat);
  editor.SetBandGain(2, 8, 100);
  EXPECT_TRUE(editor.ToggleAllBypass(commands, 2, false).allFlat);
  EXPECT_TRUE(Drain().empty());
}

TEST(OutputChannelLists, SlopesAndReleaseTimes) {
  EXPECT_EQ(FullSlopeEntries()[0], "12dB/Oct");
  EXPECT_EQ(FullSlopeEntries()[6], "48dB/Oct");
  EXPECT_EQ(FullSlopeEntryOf(3), 3);
  EXPECT_EQ(FullSlopeEntryOf(kSlopeOff), -1);
  EXPECT_EQ(ReleaseEntries()[0], "Atk × 2");
  EXPECT_EQ(ReleaseEntries()[5], "Atk × 32");
}

TEST(BandTableTravel, EnterRunsAlongTheRowsAndOn) {
  using R = BandRow;
  EXPECT_EQ(NextCellOnEnter({R::kFrequency, 4}, false), (BandCell{R::kFrequency, 5}));
  EXPECT_EQ(NextCellOnEnter({R::kFrequency, 30}, false), (BandCell{R::kBandwidth, 0}));
  EXPECT_EQ(NextCellOnEnter({R::kBandwidth, 30}, false), (BandCell{R::kGain, 0}));
  EXPECT_EQ(NextCellOnEnter({R::kGain, 30}, false), (BandCell{R::kFrequency, 0}));
  // Graphic mode: only the gains can take the focus.
  EXPECT_EQ(NextCellOnEnter({R::kGain, 30}, true), (BandCell{R::kGain, 0}));
  EXPECT_EQ(NextCellOnEnter({R::kGain, 9}, true), (BandCell{R::kGain, 10}));
}

TEST(BandTableTravel, LeftAndRightWrapBetweenTheSliders) {
  EXPECT_EQ(NextSlider(0, -1), 30);
  EXPECT_EQ(NextSlider(30, 1), 0);
  EXPECT_EQ(NextSlider(12, 1), 13);
  EXPECT_EQ(NextSlider(12, -1), 11);
}

}  // namespace
}  // namespace vantor
