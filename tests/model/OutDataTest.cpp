// Output objects: construction, setters and their change flags, the muted rule, the EQ mode,
// propagation inside a link group, and the EQ reset.

#include <gtest/gtest.h>

#include "dsp/KTVEQ.h"
#include "model/KTV_Data.h"

namespace vantor {
namespace {

struct Model {
  ProgramState state;
  CKTV_Data data{state};
};

TEST(OutputConstruction, RouteBuildsChannelsFromTheChannelTable) {
  Model m;
  const std::array<const char*, 8> tags = {"FL", "FR", "SL", "SR", "Center", "ULF", "CH7", "CH8"};
  const std::array<int, 8> limits = {9, 8, 7, 9, 8, 7, 7, 7};
  for (int c = 0; c < 8; ++c) {
    SCOPED_TRACE(c);
    CKTV_OutData& o = m.data.Output(c);
    EXPECT_EQ(o.Channel(), c);
    EXPECT_EQ(o.NameGbk(), tags[c]);
    ASSERT_EQ(o.Filters().Count(), 33);
    EXPECT_EQ(o.BandCount(), 31);
    EXPECT_EQ(&o.HighPass(), &o.Filter(31));
    EXPECT_EQ(&o.LowPass(), &o.Filter(32));
    EXPECT_EQ(o.HighPass().LimitMode(), limits[c]);
    EXPECT_EQ(o.LowPass().LimitMode(), limits[c]);
    EXPECT_EQ(o.HighPass().BandNumber(), 32);
    EXPECT_EQ(m.data.Links().Output(c), &o);
    EXPECT_EQ(m.data.Links().Group(c), c);
  }
  EXPECT_EQ(m.data.Output(0).Colour(), (Rgb{255, 14, 198}));
  EXPECT_EQ(m.data.Output(7).SmoothColour(), 0xFF2DF4EBU);
  EXPECT_EQ(ChannelLabel(0), "CH1");
  EXPECT_EQ(ChannelLabel(7), "CH8");
}

TEST(OutputConstruction, ObjectsStartWithConstructionValuesAndRecordMixer) {
  Model m;
  const CKTV_OutData& o = m.data.Output(2);
  EXPECT_EQ(o.OutputOn(), 0);
  EXPECT_EQ(o.Phase(), 0);
  EXPECT_EQ(o.GainCode(), 60);
  EXPECT_FALSE(o.Muted());
  EXPECT_EQ(o.ThresholdCode(), 300);
  EXPECT_EQ(o.AttackCode(), 106);
  EXPECT_EQ(o.ReleaseCode(), 5);
  EXPECT_EQ(o.MixerLevel(0), 100);  // taken from the record
  EXPECT_EQ(o.MixerLevel(1), 0);
  EXPECT_EQ(o.Filter(1).Frequency(), 25);
  for (int k = 0; k < kOutputChangeCount; ++k)
    EXPECT_FALSE(o.Changed(static_cast<OutputChange>(k)));
}

TEST(OutputConstruction, AfterStartupUnpackOutputsHoldTheRecordsValues) {
  Model m;
  m.data.LoadOutputs();
  for (int c = 0; c < 8; ++c) {
    const CKTV_OutData& o = m.data.Output(c);
    EXPECT_EQ(o.ThresholdCode(), 360);
    EXPECT_EQ(o.OutputOn(), 1);
    EXPECT_EQ(o.Filter(1).Frequency(), 26);
    EXPECT_EQ(o.Filter(2).Frequency(), 33);
    EXPECT_EQ(o.NameGbk(), "");  // seven blanks trimmed
    EXPECT_EQ(o.Filter(5).Pending(), 0);
  }
}

TEST(OutputSetters, ChangeFlagsFollowTheLiveSyncFlag) {
  Model m;
  CKTV_OutData& o = m.data.Output(1);
  // While live-sync is clear nothing becomes pending.
  o.SetOutputOn(0);
  o.SetDelayCode(100);
  o.SetThresholdCode(200);
  o.SetMixerLow(MixerRow{});
  o.SetMixerHigh(MixerRow{});
  o.SetNameGbk("X");
  for (int k = 0; k < kOutputChangeCount; ++k)
    EXPECT_FALSE(o.Changed(static_cast<OutputChange>(k)));
  EXPECT_EQ(o.DelayCode(), 100);
  EXPECT_EQ(o.ThresholdCode(), 200);

  m.state.liveSync = true;
  o.SetDelayCode(120);
  EXPECT_TRUE(o.Changed(OutputChange::Settings));
  EXPECT_FALSE(o.Changed(OutputChange::Limiter));
  o.SetAttackCode(3);
  EXPECT_TRUE(o.Changed(OutputChange::Limiter));
  o.SetMixerLow(MixerRow{});
  EXPECT_TRUE(o.Changed(OutputChange::MixerLow));
  EXPECT_FALSE(o.Changed(OutputChange::MixerHigh));
  o.SetMixerHigh(MixerRow{});
  EXPECT_TRUE(o.Changed(OutputChange::MixerHigh));
  o.SetNameGbk("Y");
  EXPECT_TRUE(o.Changed(OutputChange::Name));

  // Test-and-clear.
  EXPECT_TRUE(o.TakeChange(OutputChange::Settings));
  EXPECT_FALSE(o.TakeChange(OutputChange::Settings));

  // A setter while live-sync is clear takes a set flag back down.
  m.state.liveSync = false;
  o.SetReleaseCode(2);
  EXPECT_FALSE(o.Changed(OutputChange::Limiter));
  EXPECT_EQ(ItemOfChange(OutputChange::Name), 36);
  EXPECT_EQ(ItemOfChange(OutputChange::MixerLow), 33);
  EXPECT_EQ(ItemOfChange(OutputChange::Settings), 31);
  EXPECT_EQ(ItemOfChange(OutputChange::Limiter), 35);
  EXPECT_EQ(ItemOfChange(OutputChange::MixerHigh), 34);
}

TEST(OutputSetters, GainZeroMutesAndAnyOtherCodeUnmutes) {
  Model m;
  CKTV_OutData& o = m.data.Output(0);
  o.SetGainCode(0);
  EXPECT_TRUE(o.Muted());
  o.PackSettings();
  const auto out = std::span<const std::uint8_t>(m.state.Live()).subspan(rec::OutputOffset(0));
  EXPECT_EQ(out[rec::kOutGain], 0);
  EXPECT_EQ(out[rec::kOutGain + 1], 0);
  o.SetGainCode(1);
  EXPECT_FALSE(o.Muted());
  o.PackSettings();
  EXPECT_EQ(out[rec::kOutGain], 1);
}

TEST(OutputSetters, EqModeIsEveryBandsGraphicFlag) {
  Model m;
  CKTV_OutData& o = m.data.Output(4);
  o.SetEqMode(1);
  for (int b = 0; b < 31; ++b) {
    EXPECT_EQ(o.Filter(b).GraphicMode(), 1) << b;
    EXPECT_NE(o.Filter(b).LabelText().find("GEQ"), std::string::npos) << b;
  }
  EXPECT_EQ(o.HighPass().GraphicMode(), 0);
  o.SetEqMode(0);
  for (int b = 0; b < 31; ++b) EXPECT_EQ(o.Filter(b).GraphicMode(), 0);
}

TEST(OutputLinking, PhaseCopiesGainModeAndAuxButNotThePhase) {
  Model m;
  m.state.liveSync = true;
  CKTV_OutData& a = m.data.Output(0);
  CKTV_OutData& b = m.data.Output(1);
  CKTV_OutData& other = m.data.Output(2);
  m.data.Links().SetGroup(1, 0);
  EXPECT_TRUE(m.data.IsLinked(0));
  EXPECT_TRUE(m.data.IsLinked(1));
  EXPECT_FALSE(m.data.IsLinked(2));

  a.SetGainCode(0);  // propagates: b muted too
  EXPECT_EQ(b.GainCode(), 0);
  EXPECT_TRUE(b.Muted());
  b.ClearChanges();

  a.SetAuxLevel(77);  // does not propagate by itself
  EXPECT_EQ(b.AuxLevel(), 0);
  a.SetGainCode(45);
  a.SetEqMode(1);
  b.SetPhase(0);  // b's own phase; propagates b's values back to a
  b.ClearChanges();
  a.SetPhase(1);
  EXPECT_EQ(a.Phase(), 1);
  EXPECT_EQ(b.Phase(), 0);
  EXPECT_EQ(b.GainCode(), 45);
  EXPECT_FALSE(b.Muted());
  EXPECT_EQ(b.EqMode(), 1);
  EXPECT_EQ(b.Filter(10).GraphicMode(), 1);
  EXPECT_EQ(b.AuxLevel(), 77);
  EXPECT_TRUE(b.Changed(OutputChange::Settings));
  EXPECT_FALSE(b.Changed(OutputChange::Limiter));
  // The ungrouped output is untouched.
  EXPECT_EQ(other.GainCode(), 60);
  EXPECT_EQ(other.EqMode(), 0);
  EXPECT_FALSE(other.Changed(OutputChange::Settings));
}

TEST(OutputLinking, LimiterSettersCopyAllThreeCodes) {
  Model m;
  m.state.liveSync = true;
  m.data.Links().SetGroup(5, 3);
  m.data.Links().SetGroup(6, 3);
  CKTV_OutData& src = m.data.Output(3);
  src.SetReleaseCode(1);  // propagates threshold 300, attack 106, release 1
  for (int c : {5, 6}) {
    EXPECT_EQ(m.data.Output(c).ThresholdCode(), 300);
    EXPECT_EQ(m.data.Output(c).AttackCode(), 106);
    EXPECT_EQ(m.data.Output(c).ReleaseCode(), 1);
    EXPECT_TRUE(m.data.Output(c).Changed(OutputChange::Limiter));
    EXPECT_FALSE(m.data.Output(c).Changed(OutputChange::Settings));
  }
  // Delay and output on never propagate.
  src.SetDelayCode(999);
  src.SetOutputOn(0);
  EXPECT_EQ(m.data.Output(5).DelayCode(), 0);
  EXPECT_EQ(m.data.Output(5).OutputOn(), 0);  // construction value, untouched
  EXPECT_FALSE(m.data.Output(4).Changed(OutputChange::Limiter));
  // Partners' flags take the live-sync value too.
  m.data.Output(5).ClearChanges();
  m.state.liveSync = false;
  src.SetThresholdCode(10);
  EXPECT_EQ(m.data.Output(5).ThresholdCode(), 10);
  EXPECT_FALSE(m.data.Output(5).Changed(OutputChange::Limiter));
  // Ungrouping stops it.
  m.data.Links().Reset();
  src.SetThresholdCode(20);
  EXPECT_EQ(m.data.Output(5).ThresholdCode(), 10);
  EXPECT_FALSE(m.data.IsLinked(3));
}

TEST(LinkTableBounds, ChannelsOutsideTheTableAreNeverLinked) {
  LinkTable t;
  EXPECT_EQ(t.Group(-1), -1);
  EXPECT_EQ(t.Group(8), -1);
  t.SetGroup(8, 0);
  EXPECT_FALSE(t.IsLinked(0));
  EXPECT_FALSE(t.IsLinked(8));
  EXPECT_FALSE(t.AreLinked(2, 2));
  EXPECT_EQ(t.Output(9), nullptr);
}

TEST(OutputReset, BandsReturnToTheBuilderFrequenciesFlat) {
  Model m;
  m.data.LoadOutputs();
  CKTV_OutData& o = m.data.Output(0);
  o.Filter(1).SetGainIndex(300);
  o.Filter(1).SetBandwidthIndex(100);
  o.Filter(3).SetEqType(2);  // low shelf 12 dB/Oct
  o.Filter(3).SetGainIndex(150);
  o.ResetEq();
  for (int b = 0; b < 31; ++b) {
    SCOPED_TRACE(b);
    const CFilter& f = o.Filter(b);
    EXPECT_EQ(f.Frequency(), kOutputBandFrequencies[b]);
    EXPECT_EQ(f.SentFrequency(), kOutputBandFrequencies[b]);
    EXPECT_DOUBLE_EQ(f.Bandwidth(), 0.2);
    EXPECT_EQ(f.Flat(), 1);
    EXPECT_EQ(f.GainIndex(), 200);
  }
  EXPECT_EQ(o.Filter(1).Frequency(), 25);
  EXPECT_EQ(o.Filter(2).Frequency(), 32);
  // Types and slopes stay.
  EXPECT_EQ(o.Filter(3).Type(), kLowShelf);
  EXPECT_EQ(o.Filter(3).Slope(), 1);
  EXPECT_TRUE(o.AllFlat());
}

TEST(OutputNames, TextIsStoredAsGbkAndShownAsUtf8) {
  Model m;
  CKTV_OutData& o = m.data.Output(0);
  EXPECT_EQ(o.SetNameText("中文"), NameResult::Ok);
  EXPECT_EQ(o.NameGbk(), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(o.NameText(), "中文");
  EXPECT_EQ(o.SetNameText("\xF0\x9F\x98\x80"), NameResult::NotEncodable);
  EXPECT_EQ(o.NameText(), "中文");
}

}  // namespace
}  // namespace vantor
