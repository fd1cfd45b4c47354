// The edit history against the simulated processor: steps as a person makes them, undo and
// redo through the setters and the pending scan (or whole blocks), and new histories.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/LittleEndian.h"
#include "connection/LinkRig.h"
#include "history/EditHistory.h"
#include "history/UnitWrites.h"
#include "presets/PresetController.h"
#include "tuning/PanelCommands.h"

namespace vantor::testing {
namespace {

using sim::SimFrameRecord;

// The part of each output record that travels to the device.
bool SameOutputBlocks(const rec::StateRecord& a, const rec::StateRecord& b) {
  for (int c = 0; c < rec::kOutputCount; ++c) {
    const auto at = static_cast<std::ptrdiff_t>(rec::OutputOffset(c));
    if (!std::equal(a.begin() + at, a.begin() + at + rec::kOutputBlockSize, b.begin() + at)) {
      return false;
    }
  }
  return true;
}

class History : public ::testing::Test {
 protected:
  void GoLive() {
    ASSERT_TRUE(rig.ConnectLive());
    ASSERT_TRUE(rig.Drained());
    rig.unit->ClearFrameLog();
  }

  std::vector<SimFrameRecord> Writes() const { return UnitWrites(*rig.unit); }

  // The live record, the global blocks and the unit's copy of them all agree.
  void ExpectUnitHolds(const rec::StateRecord& live) {
    EXPECT_TRUE(SameOutputBlocks(rig.unit->Record(0), live));
    rig.unit->Inspect([&](const ProgramState& unit) {
      EXPECT_TRUE(std::ranges::equal(unit.SpeakerTypes(), rig.State().SpeakerTypes()));
      EXPECT_TRUE(std::ranges::equal(unit.LimiterBlock(), rig.State().LimiterBlock()));
      EXPECT_EQ(le::GetI16(unit.SystemBlock(), rec::kSysMasterVolume), rig.Model().MasterVolume());
    });
  }

  LinkRig rig;
  EditHistory history{rig.Model(), rig.Controller().Queue()};
};

TEST_F(History, ADragIsOneStepAndUndoPutsTheRecordAndTheUnitBackByteForByte) {
  GoLive();
  const rec::StateRecord before = rig.State().Live();
  CFilter& band = rig.Model().Output(2).Filter(5);
  const int gainBefore = band.GainIndex();

  // The graph opens the gesture on press; every notice's handler brackets its own setter
  // calls, which join the gesture.
  history.Begin(TextId::StepGraphDrag);
  for (int i = 0; i < 50; ++i) {
    EditStep notice(history, TextId::StepBand);
    band.SetGainIndex(200 + 2 * i + 1);
    band.SetFrequency(100 + 40 * i, true);
  }
  history.Commit();
  ASSERT_TRUE(rig.Drained());
  const rec::StateRecord dragged = rig.State().Live();
  ASSERT_FALSE(SameOutputBlocks(dragged, before));
  EXPECT_EQ(history.UndoCount(), 1U);
  EXPECT_EQ(history.UndoText(false), "Undo graph drag");
  EXPECT_EQ(history.UndoText(true), "撤销 曲线拖动");
  EXPECT_EQ(history.RedoText(false), "Redo");

  rig.unit->ClearFrameLog();
  ASSERT_TRUE(history.Undo());
  ASSERT_TRUE(rig.Drained());
  EXPECT_EQ(rig.State().Live(), before);
  ExpectUnitHolds(before);
  // Through the scan: band writes of that band only, the frequency an octave at a time.
  const auto writes = Writes();
  ASSERT_FALSE(writes.empty());
  for (const auto& f : writes) {
    EXPECT_EQ(f.block, rec::kBlockOutput);
    EXPECT_EQ(f.index, 2);
    EXPECT_EQ(f.item, 5);
  }
  EXPECT_EQ(band.GainIndex(), gainBefore);

  ASSERT_TRUE(history.Redo());
  ASSERT_TRUE(rig.Drained());
  EXPECT_EQ(rig.State().Live(), dragged);
  ExpectUnitHolds(dragged);
}

TEST_F(History, EveryKindOfEditGoesBackAndForthThroughOneMechanism) {
  GoLive();
  const rec::StateRecord start = rig.State().Live();
  const auto systemStart = rig.State().SystemArea();
  const int highPassStart = rig.Model().Output(4).HighPass().Frequency();
  CommandSequences& sequences = rig.Controller().Sequences();
  PanelCommands panel(rig.Model(), rig.Controller().Queue());
  CKTV_OutData& out = rig.Model().Output(4);
  auto step = [&](TextId name, auto&& edit) {
    EditStep s(history, name);
    edit();
  };
  step(TextId::StepCrossover, [&] { out.HighPass().SetFrequency(2500, true); });
  step(TextId::StepCrossover, [&] { out.LowPass().SetSlope(5, true); });
  step(TextId::StepGain, [&] { out.SetGainCode(41); });
  step(TextId::StepPhase, [&] { out.SetPhase(1); });
  step(TextId::StepOutputOn, [&] { out.SetOutputOn(0); });
  step(TextId::StepDelay, [&] { out.SetDelayCode(1234); });
  step(TextId::StepMixer, [&] {
    MixerRow row = out.Mixer();
    row[9] = 77;
    out.SetMixerHigh(row);
  });
  step(TextId::StepLimiter, [&] { out.SetThresholdCode(123); });
  step(TextId::StepChannelName, [&] { ASSERT_EQ(out.SetNameText("Door"), NameResult::Ok); });
  step(TextId::StepSpeakerType, [&] { sequences.SetSpeakerType(4, 20); });
  step(TextId::StepMasterLevel, [&] { panel.SetMasterVolumeFromSlider(33); });
  step(TextId::StepBand, [&] { out.Filter(30).SetEqType(2); });
  ASSERT_TRUE(rig.Drained());
  EXPECT_EQ(history.UndoCount(), 12U);
  const rec::StateRecord edited = rig.State().Live();
  const auto systemEdited = rig.State().SystemArea();
  ExpectUnitHolds(edited);

  while (history.Undo()) {
  }
  ASSERT_TRUE(rig.Drained());
  EXPECT_EQ(history.RedoCount(), 12U);
  EXPECT_TRUE(SameOutputBlocks(rig.State().Live(), start));
  EXPECT_EQ(rig.State().SystemArea(), systemStart);
  EXPECT_EQ(out.HighPass().Frequency(), highPassStart);
  ExpectUnitHolds(start);

  while (history.Redo()) {
  }
  ASSERT_TRUE(rig.Drained());
  EXPECT_TRUE(SameOutputBlocks(rig.State().Live(), edited));
  EXPECT_EQ(rig.State().SystemArea(), systemEdited);
  EXPECT_EQ(out.NameText(), "Door");
  ExpectUnitHolds(edited);
}

TEST_F(History, AWholeChannelActionIsOneStepAndGoesBackAsWholeBlocks) {
  GoLive();
  CKTV_OutData& out = rig.Model().Output(3);
  {
    EditStep s(history, TextId::StepBand);
    for (int b = 0; b < 10; ++b) out.Filter(b).SetGainIndex(250 + b);
  }
  ASSERT_TRUE(rig.Drained());
  const rec::StateRecord shaped = rig.State().Live();
  PanelCommands panel(rig.Model(), rig.Controller().Queue());
  {
    EditStep s(history, TextId::StepEqReset, StepTransfer::kWholeBlocks);
    ASSERT_TRUE(panel.ResetEq(3).Queued());
  }
  ASSERT_TRUE(rig.Drained());
  EXPECT_EQ(history.UndoCount(), 2U);
  EXPECT_EQ(history.UndoName(), TextId::StepEqReset);

  rig.unit->ClearFrameLog();
  ASSERT_TRUE(history.Undo());
  ASSERT_TRUE(rig.Drained());
  // Silenced, the whole output, switched back on: nothing item by item.
  const auto writes = Writes();
  ASSERT_EQ(writes.size(), 3U);
  EXPECT_EQ(writes[0].item, rec::kItemSettings);
  EXPECT_EQ(writes[0].payload[rec::kOutOn - rec::ItemOffset(rec::kItemSettings)], 0);
  EXPECT_EQ(writes[1].payload.size(), rec::kOutputBlockSize);
  EXPECT_EQ(writes[1].index, 3);
  EXPECT_EQ(writes[2].item, rec::kItemSettings);
  EXPECT_EQ(writes[2].payload[rec::kOutOn - rec::ItemOffset(rec::kItemSettings)], 1);
  EXPECT_EQ(rig.State().Live(), shaped);
  ExpectUnitHolds(shaped);
  EXPECT_EQ(out.Filter(9).GainIndex(), 259);
}

TEST_F(History, RedoIsGoneAfterANewEdit) {
  CKTV_OutData& out = rig.Model().Output(0);
  for (int code : {10, 20, 30}) {
    EditStep s(history, TextId::StepGain);
    out.SetGainCode(code);
  }
  ASSERT_TRUE(history.Undo());
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(out.GainCode(), 10);
  EXPECT_EQ(history.RedoCount(), 2U);
  EXPECT_EQ(history.RedoName(), TextId::StepGain);
  {
    EditStep s(history, TextId::StepDelay);
    out.SetDelayCode(48);
  }
  EXPECT_FALSE(history.CanRedo());
  EXPECT_FALSE(history.Redo());
  EXPECT_EQ(history.UndoCount(), 2U);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(out.DelayCode(), 0);
  EXPECT_EQ(out.GainCode(), 10);
}

TEST_F(History, AReadBackARecallAndAFileLoadEachBeginANewHistory) {
  GoLive();
  CKTV_OutData& out = rig.Model().Output(1);
  {
    EditStep s(history, TextId::StepGain);
    out.SetGainCode(44);
  }
  ASSERT_TRUE(history.CanUndo());
  ASSERT_TRUE(rig.Controller().StartReadBack(0, true));
  ASSERT_TRUE(rig.Until([&] { return rig.Controller().Phase() == ConnectionPhase::kLive; }));
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.UndoCount(), 0U);
  EXPECT_FALSE(history.Undo());
  EXPECT_EQ(history.UndoText(false), "Undo");

  // A gesture over which a program arrives leaves no step either.
  history.Begin(TextId::StepGraphDrag);
  out.SetGainCode(12);
  rig.Model().Load(-1);
  history.Commit();
  EXPECT_FALSE(history.CanUndo());

  // Nor does undo reach back over a recall or a file load made after the step.
  PresetController presets(rig.Controller());
  auto edit = [&](int code) {
    EditStep s(history, TextId::StepGain);
    out.SetGainCode(code);
  };
  edit(50);
  ASSERT_TRUE(history.CanUndo());
  ASSERT_TRUE(presets.Recall(2).Ok());
  ASSERT_TRUE(rig.Until([&] { return rig.Controller().Phase() == ConnectionPhase::kLive; }));
  EXPECT_FALSE(history.CanUndo());

  const auto file = rig.dir.Path() / "saved.dsps";
  ASSERT_TRUE(presets.SaveSinglePresetFile(file).Ok());
  edit(51);
  ASSERT_TRUE(history.CanUndo());
  ASSERT_TRUE(presets.LoadSinglePresetFile(file).loaded);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.UndoCount(), 0U);
}

TEST_F(History, KeepsAtLeastFiveHundredStepsAndDropsTheOldestBeyondItsBound) {
  CKTV_OutData& out = rig.Model().Output(6);
  for (int i = 1; i <= 600; ++i) {
    EditStep s(history, TextId::StepDelay);
    out.SetDelayCode(i);
  }
  EXPECT_GE(history.MaxSteps(), 500U);
  EXPECT_EQ(history.UndoCount(), 600U);
  for (int i = 0; i < 600; ++i) ASSERT_TRUE(history.Undo());
  EXPECT_EQ(out.DelayCode(), 0);

  EditHistory small(rig.Model(), rig.Controller().Queue(), 3);
  for (int i = 1; i <= 5; ++i) {
    EditStep s(small, TextId::StepDelay);
    out.SetDelayCode(100 * i);
  }
  EXPECT_EQ(small.UndoCount(), 3U);
  while (small.Undo()) {
  }
  EXPECT_EQ(out.DelayCode(), 200);
}

TEST_F(History, AnEditThatChangesNothingIsNoStepAndUndoWaitsForTheGestureToEnd) {
  CKTV_OutData& out = rig.Model().Output(0);
  {
    EditStep s(history, TextId::StepGain);
    out.SetGainCode(out.GainCode());
  }
  EXPECT_FALSE(history.CanUndo());
  {
    EditStep s(history, TextId::StepGain);
    out.SetGainCode(7);
  }
  history.Begin(TextId::StepGraphDrag);
  EXPECT_TRUE(history.Recording());
  EXPECT_FALSE(history.Undo());
  EXPECT_EQ(out.GainCode(), 7);
  history.Commit();
  EXPECT_TRUE(history.Undo());
  EXPECT_NE(out.GainCode(), 7);
}

TEST_F(History, ABandSwitchedOffComesBackWithTheGainItKept) {
  CFilter& band = rig.Model().Output(5).Filter(12);
  band.SetGainIndex(260);
  {
    EditStep s(history, TextId::StepBand);
    band.SetFlat(1);
  }
  ASSERT_EQ(band.GainIndex(), 200);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(band.Flat(), 0);
  EXPECT_EQ(band.GainIndex(), 260);
  ASSERT_TRUE(history.Redo());
  EXPECT_EQ(band.Flat(), 1);
  EXPECT_DOUBLE_EQ(band.Gain(), 6.0);

  // All-bypass keeps the gains too, and its saved state.
  {
    EditStep s(history, TextId::StepAllBypass, StepTransfer::kWholeBlocks);
    band.SetBypass(1);
    rig.Model().Output(5).Filter(3).SetGainIndex(150);
    rig.Model().Output(5).Filter(3).SetBypass(1);
  }
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(band.Bypass(), 0);
  EXPECT_EQ(rig.Model().Output(5).Filter(3).Bypass(), 0);
  EXPECT_EQ(rig.Model().Output(5).Filter(3).GainIndex(), 200);
  ASSERT_TRUE(history.Redo());
  EXPECT_EQ(rig.Model().Output(5).Filter(3).Bypass(), 1);
  EXPECT_EQ(rig.Model().Output(5).Filter(3).Settings().gainIndex, 150);
}

}  // namespace
}  // namespace vantor::testing
