// A/B comparison against the simulated processor: what a switch sends, copying between the
// sides, the other side's curve, and where a comparison starts afresh.

#include <gtest/gtest.h>

#include "base/LittleEndian.h"
#include "compare/ProgramComparison.h"
#include "connection/LinkRig.h"
#include "history/EditHistory.h"
#include "history/UnitWrites.h"

namespace vantor::testing {
namespace {

using sim::SimFrameRecord;

class Comparison : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.ConnectLive());
    ASSERT_TRUE(rig.Drained());
    rig.unit->ClearFrameLog();
  }

  std::vector<SimFrameRecord> Writes() const { return UnitWrites(*rig.unit); }

  // Edits two outputs and the speaker types while A plays, and lets them reach the unit.
  void EditSideA() {
    rig.Model().Output(1).Filter(7).SetGainIndex(290);
    rig.Model().Output(1).SetDelayCode(480);
    rig.Model().Output(4).LowPass().SetFrequency(3000, true);
    ASSERT_TRUE(rig.Drained());
    rig.unit->ClearFrameLog();
  }

  rec::StateRecord UnitLive() const { return rig.unit->Record(0); }

  std::span<const std::uint8_t> Block(const rec::StateRecord& r, int c) const {
    return std::span(r).subspan(rec::OutputOffset(c), rec::kOutputBlockSize);
  }

  LinkRig rig;
  ProgramComparison ab{rig.Model(), rig.Controller().Queue()};
};

TEST_F(Comparison, BothSidesStartAsTheCurrentProgramAndASwitchThenSendsNothing) {
  EXPECT_EQ(ab.Active(), ComparisonSide::kA);
  EXPECT_FALSE(ab.Differs());
  const ApplyResult r = ab.Toggle();
  EXPECT_FALSE(r.Changed());
  EXPECT_EQ(ab.Active(), ComparisonSide::kB);
  ASSERT_TRUE(rig.Drained());
  EXPECT_TRUE(Writes().empty());
}

TEST_F(Comparison, ASwitchSendsOnlyTheBlocksOfTheOutputsThatDiffer) {
  const rec::StateRecord original = UnitLive();
  ab.Active();  // both sides hold the program as it is now
  EditSideA();
  const rec::StateRecord edited = UnitLive();
  ASSERT_TRUE(ab.Differs());

  const ApplyResult r = ab.Select(ComparisonSide::kB);
  EXPECT_TRUE(r.outputs[1]);
  EXPECT_TRUE(r.outputs[4]);
  EXPECT_EQ(std::count(r.outputs.begin(), r.outputs.end(), true), 2);
  ASSERT_TRUE(rig.Drained());
  // Both outputs silenced, both blocks, both back on; nothing item by item.
  auto writes = Writes();
  ASSERT_EQ(writes.size(), 6U);
  for (int i : {0, 1, 4, 5})
    EXPECT_EQ(writes[static_cast<std::size_t>(i)].item, rec::kItemSettings);
  EXPECT_EQ(writes[0].payload[0], 0);
  EXPECT_EQ(writes[1].payload[0], 0);
  EXPECT_EQ(writes[2].index, 1);
  EXPECT_EQ(writes[3].index, 4);
  EXPECT_EQ(writes[2].payload.size(), rec::kOutputBlockSize);
  EXPECT_EQ(writes[3].payload.size(), rec::kOutputBlockSize);
  for (int c = 0; c < rec::kOutputCount; ++c) {
    EXPECT_TRUE(std::ranges::equal(Block(UnitLive(), c), Block(original, c))) << "output " << c;
  }
  EXPECT_EQ(rig.Model().Output(1).DelayCode(), le::GetI16(Block(original, 1), rec::kOutDelay));

  rig.unit->ClearFrameLog();
  ab.Select(ComparisonSide::kA);
  ASSERT_TRUE(rig.Drained());
  writes = Writes();
  EXPECT_EQ(writes.size(), 6U);
  for (int c = 0; c < rec::kOutputCount; ++c) {
    EXPECT_TRUE(std::ranges::equal(Block(UnitLive(), c), Block(edited, c))) << "output " << c;
  }
  EXPECT_EQ(rig.Model().Output(4).LowPass().Frequency(), 3000);
}

TEST_F(Comparison, GlobalItemsGoWithTheProgramButTheListenersSystemBlockStays) {
  ab.Active();
  const std::uint8_t type = rig.State().SpeakerTypes()[2];
  rig.Controller().Sequences().SetSpeakerType(2, 19);
  ASSERT_TRUE(rig.Model().SetMasterVolume(40));
  ASSERT_TRUE(rig.Drained());
  rig.unit->ClearFrameLog();

  ab.Toggle();
  ASSERT_TRUE(rig.Drained());
  const auto writes = Writes();
  ASSERT_EQ(writes.size(), 1U);
  EXPECT_EQ(writes[0].block, rec::kBlockSystem);
  EXPECT_EQ(writes[0].index, rec::kSysItemSpeakerTypes);
  EXPECT_EQ(rig.State().SpeakerTypes()[2], type);
  EXPECT_EQ(rig.Model().MasterVolume(), 40);
  rig.unit->Inspect([&](const ProgramState& unit) { EXPECT_EQ(unit.SpeakerTypes()[2], type); });
}

TEST_F(Comparison, CopyingIntoTheSideThatPlaysSendsIntoTheOtherSendsNothing) {
  ab.Active();
  EditSideA();
  ab.CopyAToB();  // A plays: B just takes A's program
  ASSERT_TRUE(rig.Drained());
  EXPECT_TRUE(Writes().empty());
  EXPECT_FALSE(ab.Differs());

  rig.Model().Output(6).SetPhase(1);
  ASSERT_TRUE(rig.Drained());
  rig.unit->ClearFrameLog();
  ASSERT_TRUE(ab.Differs());
  const ApplyResult r = ab.CopyBToA();  // A plays and takes B's program
  EXPECT_TRUE(r.outputs[6]);
  ASSERT_TRUE(rig.Drained());
  EXPECT_EQ(Writes().size(), 3U);
  EXPECT_EQ(rig.Model().Output(6).Phase(), 0);
  EXPECT_FALSE(ab.Differs());
  EXPECT_EQ(ab.Active(), ComparisonSide::kA);
}

TEST_F(Comparison, TheOtherSidesCurveIsTheOneThatSwitchingWouldShow) {
  ab.Active();
  EditSideA();
  const Response otherWhileA = ab.OtherCurveDb(1);
  Response playing{};
  const CKTVEQ& set = rig.Model().Output(1).Filters();
  for (int e = 0; e < set.Count(); ++e) {
    for (std::size_t i = 0; i < playing.size(); ++i) playing[i] += set.At(e).ResponseDb()[i];
  }
  EXPECT_NE(otherWhileA, playing);

  ab.Toggle();
  Response nowPlaying{};
  for (int e = 0; e < set.Count(); ++e) {
    for (std::size_t i = 0; i < nowPlaying.size(); ++i) {
      nowPlaying[i] += set.At(e).ResponseDb()[i];
    }
  }
  EXPECT_EQ(otherWhileA, nowPlaying);
  EXPECT_EQ(ab.OtherCurveDb(1), playing);

  // The graph's points of the other side are those the output draws once it plays.
  const Rect plot{0, 0, 600, 300};
  const auto points = ab.OtherCurvePoints(1, plot);
  ab.Toggle();
  rig.Model().Output(1).Layout(plot);
  const auto& drawn = rig.Model().Output(1).CurveF();
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].x, drawn[i].x);
    EXPECT_EQ(points[i].y, drawn[i].y) << "grid point " << i;
  }
}

TEST_F(Comparison, ASwitchBeginsANewHistoryAndAReadBackANewComparison) {
  EditHistory history(rig.Model(), rig.Controller().Queue());
  ab.Active();
  {
    EditStep s(history, TextId::StepGain);
    rig.Model().Output(0).SetGainCode(30);
  }
  ASSERT_TRUE(history.CanUndo());
  ab.Toggle();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_TRUE(ab.Differs());

  ASSERT_TRUE(rig.Controller().StartReadBack(0, true));
  ASSERT_TRUE(rig.Until([&] { return rig.Controller().Phase() == ConnectionPhase::kLive; }));
  EXPECT_EQ(ab.Active(), ComparisonSide::kA);
  EXPECT_FALSE(ab.Differs());
}

}  // namespace
}  // namespace vantor::testing
