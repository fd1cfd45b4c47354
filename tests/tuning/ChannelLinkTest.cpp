// The channel link: pairs from the speaker types, the copy of one side into the other, the
// mute / block / un-mute sequence on the queue and on a simulated processor, unlinking, and
// what linked outputs share afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "connection/LinkRig.h"
#include "history/UnitWrites.h"
#include "model/ProgramState.h"
#include "tuning/ChannelLink.h"
#include "tuning/CrossoverEditor.h"

namespace vantor {
namespace {

using testing::RecordingScreen;

// Speaker types for outputs 0..7 (bytes 8..11 of the table left as they are).
void SetTypes(ProgramState& state, std::initializer_list<int> types) {
  auto table = state.SpeakerTypes();
  std::size_t i = 0;
  for (int t : types) table[i++] = static_cast<std::uint8_t>(t);
  for (; i < rec::kSpeakerTypes; ++i) table[i] = 0;
}

// An output with values everywhere, so that a copy shows what moved and what stayed.
void Shape(CKTV_OutData& out, int seed) {
  for (int b = 0; b < out.BandCount(); ++b) {
    out.Filter(b).SetGainIndex(210 + seed + b);
    out.Filter(b).SetBandwidthIndex(20 + seed + b);
    out.Filter(b).SetFrequency(100 + 30 * b + seed, false);
  }
  out.Filter(4).SetFlat(1);
  out.HighPass().SetFrequency(60 + seed, false);
  out.HighPass().SetFamily(seed % 3, true);
  out.HighPass().SetSlope(seed % 7, true);
  out.LowPass().SetFrequency(9000 + seed, false);
  out.SetGainCode(40 + seed);
  out.SetPhase(seed % 2);
  out.SetDelayCode(100 + seed);
  out.SetEqMode(seed % 2);
  out.SetThresholdCode(200 + seed);
  out.SetOutputOn(1);
  MixerRow row{};
  row[static_cast<std::size_t>(seed % 14)] = 77;
  out.SetMixerLow(row);
}

bool SameFilterValues(const CKTV_OutData& a, const CKTV_OutData& b) {
  for (int i = 0; i < a.Filters().Count(); ++i) {
    const CFilter& x = a.Filter(i);
    const CFilter& y = b.Filter(i);
    if (x.Frequency() != y.Frequency() || x.GainIndex() != y.GainIndex() ||
        x.BandwidthIndex() != y.BandwidthIndex() || x.Flat() != y.Flat() ||
        x.Bypass() != y.Bypass() || x.Type() != y.Type() || x.Family() != y.Family() ||
        x.Slope() != y.Slope()) {
      return false;
    }
  }
  return true;
}

TEST(LinkPairs, FoundFromTheSpeakerTypesOfTheEightOutputsOnly) {
  LinkPairs pairs;
  // Front high left on 0 and again on 3 (the later one counts), its right on 5, a left sub
  // without its right, and stray bytes beyond the outputs that would name outputs 8..11.
  const std::array<std::uint8_t, rec::kSpeakerTypesSize> types{1, 0, 22, 1,  0, 7,
                                                               0, 0, 7,  23, 1, 7};
  EXPECT_EQ(pairs.Build(types), 1);
  EXPECT_TRUE(pairs.Pair(0).active);
  EXPECT_EQ(pairs.Pair(0).left, 3);
  EXPECT_EQ(pairs.Pair(0).right, 5);
  EXPECT_FALSE(pairs.Pair(9).active);
  EXPECT_EQ(pairs.Pair(9).left, 2);
  EXPECT_EQ(pairs.Pair(9).right, -1);
  EXPECT_EQ(pairs.PartnerOf(5), 3);
  EXPECT_EQ(pairs.PartnerOf(3), 5);
  EXPECT_EQ(pairs.PartnerOf(0), -1);
  EXPECT_EQ(pairs.PartnerOf(2), -1);  // a pair without its right side links nothing

  // Every kind pairs its own two types; building again forgets the earlier pairs.
  for (int k = 0; k < kLinkPairCount; ++k) {
    std::array<std::uint8_t, rec::kSpeakerTypesSize> one{};
    one[6] = static_cast<std::uint8_t>(LinkPairKinds()[static_cast<std::size_t>(k)].rightType);
    one[1] = static_cast<std::uint8_t>(LinkPairKinds()[static_cast<std::size_t>(k)].leftType);
    ASSERT_EQ(pairs.Build(one), 1) << k;
    EXPECT_EQ(pairs.Pair(k).left, 1);
    EXPECT_EQ(pairs.Pair(k).right, 6);
    EXPECT_EQ(pairs.Pair(k).Receiver(LinkSide::kRight), 1);
    EXPECT_EQ(pairs.Pair(k).Receiver(LinkSide::kLeft), 6);
  }
  pairs.Clear();
  EXPECT_EQ(pairs.ActiveCount(), 0);
}

class ChannelLinkTest : public ::testing::Test {
 protected:
  ChannelLinkTest() {
    model.LoadOutputs();
    for (int c = 0; c < rec::kOutputCount; ++c) Shape(model.Output(c), 3 * c + 1);
  }

  void Connect() {
    state.connected = true;
    state.liveSync = true;
  }

  struct Sent {
    int index, item, link;
    std::vector<std::uint8_t> payload;
    bool busyEnd;
  };
  std::vector<Sent> Drain() {
    std::vector<Sent> out;
    while (CSendData* c = queue.Head()) {
      auto f = c->Frame();
      out.push_back(Sent{f[8], f[9], f[10], {f.begin() + 14, f.end() - 2}, c->BusyEnd()});
      queue.PopHead();
    }
    return out;
  }

  ProgramState state;
  CKTV_Data model{state};
  CKTVCommand queue{state};
  PanelCommands commands{model, queue};
  ChannelSelection selection{state, model.Links()};
  ChannelLink link{model, selection};
  RecordingScreen screen;
};

TEST_F(ChannelLinkTest, TheRightSidesDataGoesToTheLeftAndTheLeftKeepsItsOwnSettings) {
  SetTypes(state, {1, 7});
  CKTV_OutData& left = model.Output(0);
  const CKTV_OutData& right = model.Output(1);
  const int phase = left.Phase();
  const int delay = left.DelayCode();
  const int threshold = left.ThresholdCode();
  const MixerRow mixer = left.Mixer();
  ASSERT_FALSE(SameFilterValues(left, right));
  ASSERT_NE(left.EqMode(), right.EqMode());
  left.SetGainCode(0);  // muted: the copy unmutes it
  ASSERT_TRUE(left.Muted());

  const LinkOutcome outcome = link.Link(commands, LinkSide::kRight, &screen);
  EXPECT_EQ(outcome.pairs, 1);
  EXPECT_EQ(outcome.transfer.status, SequenceStatus::kNotConnected);
  EXPECT_TRUE(Drain().empty());  // without a device only the model changes

  EXPECT_TRUE(SameFilterValues(left, right));
  EXPECT_EQ(left.GainCode(), right.GainCode());
  EXPECT_FALSE(left.Muted());
  EXPECT_EQ(left.EqMode(), right.EqMode());
  EXPECT_EQ(left.Filter(7).GraphicMode(), right.EqMode());
  EXPECT_EQ(left.Phase(), phase);
  EXPECT_EQ(left.DelayCode(), delay);
  EXPECT_EQ(left.ThresholdCode(), threshold);
  EXPECT_EQ(left.Mixer(), mixer);
  EXPECT_EQ(left.OutputOn(), 1);
  // The curve was summed again from the copied filters.
  EXPECT_EQ(left.Curve(), right.Curve());

  EXPECT_TRUE(link.Active());
  EXPECT_TRUE(model.Links().AreLinked(0, 1));
  selection.Select(1);
  EXPECT_TRUE(selection.IsSelected(0));
  EXPECT_EQ(selection.Partner(), 0);
  EXPECT_TRUE(screen.transferShown.empty());
}

TEST_F(ChannelLinkTest, WithoutAPairNothingIsLinked) {
  SetTypes(state, {1, 2, 3, 13, 22});  // left sides only
  const rec::StateRecord before = state.Live();
  const int gain = model.Output(0).GainCode();
  const LinkOutcome outcome = link.Link(commands, LinkSide::kRight, &screen);
  EXPECT_FALSE(outcome.Linked());
  EXPECT_FALSE(link.Active());
  EXPECT_FALSE(selection.LinkingActive());
  for (int c = 1; c < rec::kOutputCount; ++c) EXPECT_FALSE(model.Links().AreLinked(0, c));
  EXPECT_EQ(model.Output(0).GainCode(), gain);
  EXPECT_EQ(state.Live(), before);
  EXPECT_EQ(selection.Partner(), -1);
}

TEST_F(ChannelLinkTest, TwoPairsAreLinkedInOnePressEachTakingTheChosenSide) {
  SetTypes(state, {0, 23, 7, 0, 22, 1, 0, 0});  // subs on 4 / 1, front high on 5 / 2
  const LinkOutcome outcome = link.Link(commands, LinkSide::kLeft, &screen);
  EXPECT_EQ(outcome.pairs, 2);
  EXPECT_TRUE(SameFilterValues(model.Output(2), model.Output(5)));
  EXPECT_TRUE(SameFilterValues(model.Output(1), model.Output(4)));
  EXPECT_EQ(model.Output(2).GainCode(), model.Output(5).GainCode());
  EXPECT_EQ(model.Output(1).GainCode(), model.Output(4).GainCode());
  // The left sides kept their own data.
  EXPECT_EQ(model.Output(5).GainCode(), 40 + 16);
  EXPECT_EQ(model.Output(4).GainCode(), 40 + 13);
  EXPECT_TRUE(model.Links().AreLinked(2, 5));
  EXPECT_TRUE(model.Links().AreLinked(1, 4));
  EXPECT_FALSE(model.Links().AreLinked(1, 2));
  EXPECT_FALSE(model.Links().IsLinked(0));
}

TEST_F(ChannelLinkTest, LinkedOutputsShareEditsUntilUnlinked) {
  SetTypes(state, {1, 7});
  link.Link(commands, LinkSide::kRight, &screen);
  CrossoverEditor panel(model);
  panel.SetFrequency(1, CrossoverSide::kHighPass, 150, 8000);
  EXPECT_EQ(model.Output(0).HighPass().Frequency(), 150);
  model.Output(0).SetGainCode(33);
  EXPECT_EQ(model.Output(1).GainCode(), 33);

  link.Unlink();
  EXPECT_FALSE(link.Active());
  EXPECT_FALSE(model.Links().IsLinked(0));
  EXPECT_EQ(link.Pairs().ActiveCount(), 0);
  EXPECT_EQ(model.Output(0).GainCode(), 33);  // the outputs keep their values
  panel.SetFrequency(1, CrossoverSide::kHighPass, 200, 8000);
  EXPECT_EQ(model.Output(0).HighPass().Frequency(), 150);
  EXPECT_TRUE(Drain().empty());  // nothing is sent for unlinking
}

// What a redo of the link's copy relies on: the groups come back without a copy or a frame.
TEST_F(ChannelLinkTest, RegroupingLinksThePairsAgainWithoutCopyingOrSending) {
  Connect();
  SetTypes(state, {0, 23, 7, 0, 22, 1, 0, 0});
  const rec::StateRecord before = state.Live();
  ASSERT_TRUE(link.Regroup());
  EXPECT_TRUE(link.Active());
  EXPECT_TRUE(model.Links().AreLinked(2, 5));
  EXPECT_TRUE(model.Links().AreLinked(1, 4));
  EXPECT_FALSE(model.Links().AreLinked(1, 2));
  EXPECT_EQ(state.Live(), before);
  EXPECT_TRUE(Drain().empty());
  // From now on an edit reaches the partner.
  model.Output(5).SetGainCode(21);
  EXPECT_EQ(model.Output(2).GainCode(), 21);

  link.Unlink();
  SetTypes(state, {1, 2, 3});  // left sides only
  EXPECT_FALSE(link.Regroup());
  EXPECT_FALSE(link.Active());
  EXPECT_FALSE(model.Links().IsLinked(0));
}

TEST_F(ChannelLinkTest, EachReceivingOutputIsWrittenWhileSilentAndOutputOneEndsTheBusyState) {
  Connect();
  state.busy = false;
  // The start-up types: front high 0/1, front mid-low 2/3, rear full range 4/5.
  const LinkOutcome outcome = link.Link(commands, LinkSide::kLeft, &screen);
  ASSERT_EQ(outcome.pairs, 3);
  EXPECT_TRUE(outcome.transfer.Queued());
  EXPECT_TRUE(outcome.busyEnd);
  EXPECT_TRUE(state.busy.load());
  ASSERT_EQ(screen.transferShown.size(), 1u);
  EXPECT_EQ(screen.transferShown[0], TransferOwner::kView);

  const auto sent = Drain();
  ASSERT_EQ(sent.size(), 9u);
  constexpr std::size_t kOn = rec::kOutOn - rec::ItemOffset(rec::kItemSettings);
  // Per pair the right side goes silent and takes its block; then all are switched back on.
  const std::array<int, 3> receivers{1, 3, 5};
  for (std::size_t p = 0; p < receivers.size(); ++p) {
    const Sent& mute = sent[2 * p];
    const Sent& block = sent[2 * p + 1];
    EXPECT_EQ(mute.index, receivers[p]);
    EXPECT_EQ(mute.item, rec::kItemSettings);
    EXPECT_EQ(mute.payload[kOn], 0);
    EXPECT_EQ(block.index, receivers[p]);
    ASSERT_EQ(block.payload.size(), rec::kOutputBlockSize);
    EXPECT_EQ(block.link, 1);
    EXPECT_EQ(block.busyEnd, receivers[p] == 1);
    const Sent& unmute = sent[6 + p];
    EXPECT_EQ(unmute.index, receivers[p]);
    EXPECT_EQ(unmute.item, rec::kItemSettings);
    EXPECT_EQ(unmute.payload[kOn], 1);
  }
  // The block carries the left side's filters and gain, and the right side's own phase; it
  // went out silent, the record holds the output switched on again.
  std::vector<std::uint8_t> block = sent[1].payload;
  EXPECT_EQ(block[rec::kOutOn], 0);
  block[rec::kOutOn] = 1;
  const auto at = static_cast<std::ptrdiff_t>(rec::OutputOffset(1));
  EXPECT_TRUE(std::equal(block.begin(), block.end(), state.Live().begin() + at));
  EXPECT_EQ(block[rec::kOutGain], model.Output(0).GainCode());
  EXPECT_EQ(block[rec::kOutPhase], model.Output(1).Phase());
  EXPECT_EQ(model.Output(1).OutputOn(), 1);
}

TEST_F(ChannelLinkTest, ThePartnerOfTheCurrentOutputIsKnownOnlyWhileLinking) {
  SetTypes(state, {0, 0, 0, 22, 0, 0, 23, 0});
  selection.Select(6);
  EXPECT_EQ(selection.Partner(), -1);
  link.Link(commands, LinkSide::kRight, &screen);
  EXPECT_EQ(selection.Partner(), 3);
  selection.Select(3);
  EXPECT_EQ(selection.Partner(), 6);
  selection.Select(0);
  EXPECT_EQ(selection.Partner(), -1);
  link.Unlink();
  selection.Select(6);
  EXPECT_EQ(selection.Partner(), -1);
}

// Against the simulated processor: the frames of a link and what the unit holds afterwards.
TEST(ChannelLinkOnTheUnit, MuteBlockUnmuteWithNothingBetweenAndTheUnitHoldsTheModel) {
  testing::LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  SetTypes(rig.State(), {1, 7});
  Shape(rig.Model().Output(1), 9);
  ASSERT_TRUE(rig.Drained());
  rig.unit->ClearFrameLog();

  PanelCommands commands(rig.Model(), rig.Controller().Queue());
  ChannelSelection selection(rig.State(), rig.Model().Links());
  ChannelLink link(rig.Model(), selection);
  const LinkOutcome outcome = link.Link(commands, LinkSide::kRight, &rig.Screen());
  ASSERT_TRUE(outcome.transfer.Queued());
  EXPECT_FALSE(outcome.busyEnd);
  ASSERT_TRUE(rig.Drained());

  const auto writes = testing::UnitWrites(*rig.unit);
  ASSERT_EQ(writes.size(), 3u);
  constexpr std::size_t kOn = rec::kOutOn - rec::ItemOffset(rec::kItemSettings);
  EXPECT_EQ(writes[0].index, 0);
  EXPECT_EQ(writes[0].item, rec::kItemSettings);
  EXPECT_EQ(writes[0].payload[kOn], 0);
  EXPECT_EQ(writes[1].index, 0);
  EXPECT_EQ(writes[1].payload.size(), rec::kOutputBlockSize);
  EXPECT_EQ(writes[1].link, 1);
  EXPECT_EQ(writes[2].index, 0);
  EXPECT_EQ(writes[2].item, rec::kItemSettings);
  EXPECT_EQ(writes[2].payload[kOn], 1);
  // Nothing else reached the unit between them: the frames follow each other.
  std::vector<std::uint64_t> numbers;
  for (const auto& f : rig.unit->FrameLog()) {
    if (f.number >= writes[0].number && f.number <= writes[2].number) numbers.push_back(f.number);
  }
  EXPECT_EQ(numbers.size(), 3u);

  // The unit's output 0 is what the objects pack, byte for byte.
  std::array<std::uint8_t, rec::kOutputRecordSize> packed{};
  rig.Model().Output(0).PackInto(packed);
  const rec::StateRecord unit = rig.unit->Record(0);
  const auto at = static_cast<std::ptrdiff_t>(rec::OutputOffset(0));
  EXPECT_TRUE(
      std::equal(packed.begin(), packed.begin() + rec::kOutputBlockSize, unit.begin() + at));
  EXPECT_TRUE(SameFilterValues(rig.Model().Output(0), rig.Model().Output(1)));
}

}  // namespace
}  // namespace vantor
