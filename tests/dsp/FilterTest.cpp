// CFilter: parameter operations, the sent-frequency stepping, serialisation, handles and
// labels, all through the public operations.

#include <gtest/gtest.h>

#include <vector>

#include "base/ByteArchive.h"
#include "base/LittleEndian.h"
#include "dsp/Filter.h"
#include "dsp/FilterControl.h"

namespace vantor {
namespace {

bool IsFlat(const Response& r) {
  for (double v : r) {
    if (v != 0.0) return false;
  }
  return true;
}

class RecordingControl : public FilterControl {
 public:
  void ShowFrequency(int hz) override { frequencies.push_back(hz); }
  void ShowGainIndex(int index) override { gains.push_back(index); }
  std::vector<int> frequencies;
  std::vector<int> gains;
};

// A band as the output builder makes it, with a plot laid out.
struct Band {
  LiveSyncFlag live{false};
  CFilter f{&live};
  Band() { f.Layout({0, 0, 900, 400}); }
};

struct Crossover {
  LiveSyncFlag live{false};
  CFilter f{&live};
  explicit Crossover(int type) {
    f.SetBandFlag(0);
    f.SetType(type);
    f.SetPending(0);
    f.Layout({0, 0, 900, 400});
  }
};

TEST(FilterConstruction, StartsAsAFlatPeakingBandAtOneKilohertz) {
  CFilter f;
  EXPECT_EQ(f.Type(), kPeaking);
  EXPECT_EQ(f.Frequency(), 1000);
  EXPECT_EQ(f.SentFrequency(), 20);
  EXPECT_EQ(f.LimitMode(), 0);
  EXPECT_EQ(f.Gain(), 0.0);
  EXPECT_EQ(f.Flat(), 1);
  EXPECT_EQ(f.Bypass(), 0);
  EXPECT_DOUBLE_EQ(f.Bandwidth(), 0.2);
  EXPECT_EQ(f.Family(), kButterworth);
  EXPECT_EQ(f.Slope(), 2);
  EXPECT_EQ(f.BandFlag(), 1);
  EXPECT_EQ(f.Pending(), 0);
  EXPECT_EQ(f.ReducedSlopes(), 0);
  EXPECT_EQ(f.GraphicMode(), 0);
  EXPECT_EQ(f.GainIndex(), 200);
  EXPECT_EQ(f.BandwidthIndex(), 15);
  EXPECT_TRUE(IsFlat(f.ResponseDb()));
}

// --- Frequency and the sent frequency --------------------------------------------------

TEST(FilterFrequency, WithoutTheUserFlagBothFrequenciesMove) {
  Band b;
  b.live = true;
  b.f.SetFrequency(4000, false);
  EXPECT_EQ(b.f.Frequency(), 4000);
  EXPECT_EQ(b.f.SentFrequency(), 4000);
  EXPECT_EQ(b.f.Pending(), 0);
}

TEST(FilterFrequency, UserMoveWhileOfflineIsSentAtOnce) {
  Band b;
  b.f.SetFrequency(100, false);
  b.f.SetFrequency(1000, true);
  EXPECT_EQ(b.f.SentFrequency(), 1000);
  EXPECT_EQ(b.f.Pending(), 0);  // the pending flag follows the clear live-sync flag
}

TEST(FilterFrequency, LiveUpwardMoveIsSentOneOctaveAtATime) {
  Band b;
  b.f.SetFrequency(100, false);
  b.live = true;
  b.f.SetFrequency(1000, true);
  EXPECT_EQ(b.f.Frequency(), 1000);
  EXPECT_EQ(b.f.SentFrequency(), 100);
  EXPECT_EQ(b.f.Pending(), 1);

  std::vector<int> sent;
  for (int i = 0; i < 4; ++i) {
    b.f.StepSentFrequency(0);
    sent.push_back(b.f.SentFrequency());
    EXPECT_EQ(b.f.Pending(), 1);
  }
  EXPECT_EQ(sent, (std::vector<int>{200, 400, 800, 1000}));
  b.f.StepSentFrequency(0);
  EXPECT_EQ(b.f.SentFrequency(), 1000);
  EXPECT_EQ(b.f.Pending(), 0);
}

TEST(FilterFrequency, LiveMoveBelowAnOctaveIsSentAtOnce) {
  Band b;
  b.f.SetFrequency(1000, false);
  b.live = true;
  b.f.SetFrequency(1900, true);  // 1900 div 1000 = 1
  EXPECT_EQ(b.f.SentFrequency(), 1900);
  b.f.SetFrequency(100, true);  // downward: 100 div 1900 = 0
  EXPECT_EQ(b.f.SentFrequency(), 100);
  EXPECT_EQ(b.f.Pending(), 1);
  b.f.StepSentFrequency(0);
  EXPECT_EQ(b.f.Pending(), 0);
}

TEST(FilterFrequency, SentFrequencyFarAboveTheTargetHalves) {
  // Making a filter a low-pass puts its sent frequency at 20000, above its frequency.
  Crossover lp(kHighPass);
  lp.f.SetFrequency(1000, false);
  lp.f.SetType(kLowPass);
  ASSERT_EQ(lp.f.SentFrequency(), 20000);
  std::vector<int> sent;
  while (lp.f.SentFrequency() != lp.f.Frequency()) {
    lp.f.StepSentFrequency(0);
    sent.push_back(lp.f.SentFrequency());
    ASSERT_LT(sent.size(), 10U);
  }
  EXPECT_EQ(sent, (std::vector<int>{10000, 5000, 2500, 1250, 1000}));
}

TEST(FilterFrequency, StepKeepsTheGivenPendingValueOnceArrived) {
  Band b;
  b.f.SetFrequency(500, false);
  b.f.SetPending(1);
  b.f.StepSentFrequency(1);
  EXPECT_EQ(b.f.Pending(), 1);
  b.f.StepSentFrequency(0);
  EXPECT_EQ(b.f.Pending(), 0);
}

TEST(FilterFrequency, DamagedZeroSentFrequencyDoesNotDivideByZero) {
  Band b;
  ByteArchive out;
  b.f.Serialize(out);
  std::vector<std::uint8_t> image = out.Bytes();
  le::PutI32(image, 4, 100);  // frequency
  le::PutI32(image, 8, 0);    // sent frequency
  ByteArchive in(image);
  ASSERT_TRUE(b.f.Serialize(in));
  b.f.StepSentFrequency(0);
  EXPECT_EQ(b.f.SentFrequency(), 40);
  EXPECT_EQ(b.f.Pending(), 1);
}

TEST(FilterFrequency, CrossoverUserMoveTellsTheAttachedControl) {
  Crossover hp(kHighPass);
  RecordingControl control;
  hp.f.SetAttachedControl(&control);
  hp.live = true;
  hp.f.SetFrequency(80, true);
  EXPECT_EQ(control.frequencies, std::vector<int>{80});
  EXPECT_EQ(hp.f.Pending(), 1);
  hp.f.SetFrequency(90, false);
  EXPECT_EQ(control.frequencies, std::vector<int>{80});
  EXPECT_EQ(hp.f.SentFrequency(), 90);
}

TEST(FilterFrequency, CrossoverUserMoveKeepsTheSentFrequencyForLargeSteps) {
  Crossover hp(kHighPass);
  hp.f.SetFrequency(20, false);
  hp.live = true;
  hp.f.SetFrequency(200, true);
  EXPECT_EQ(hp.f.SentFrequency(), 20);
  hp.f.StepSentFrequency(0);
  EXPECT_EQ(hp.f.SentFrequency(), 40);
}

// Offline there is no scan to step it: a saved program would keep the old frequency.
TEST(FilterFrequency, CrossoverUserMoveWithoutLiveSyncIsSentAsItIs) {
  Crossover hp(kHighPass);
  hp.f.SetFrequency(20, false);
  hp.f.SetFrequency(200, true);
  EXPECT_EQ(hp.f.SentFrequency(), 200);
  EXPECT_EQ(hp.f.Pending(), 0);
}

TEST(FilterFrequency, LowPassTypeStartsSendingFromTwentyKilohertz) {
  CFilter f;
  f.SetType(kLowPass);
  EXPECT_EQ(f.SentFrequency(), 20000);
}

// --- Gain, bandwidth, types ------------------------------------------------------------

TEST(FilterGain, GainIndexTwoHundredIsFlatWhateverTheBandwidth) {
  Band b;
  b.f.SetBandwidthIndex(295);
  b.f.SetGainIndex(260);
  EXPECT_EQ(b.f.Flat(), 0);
  EXPECT_FALSE(IsFlat(b.f.ResponseDb()));
  b.f.SetGainIndex(200);
  EXPECT_EQ(b.f.Flat(), 1);
  EXPECT_TRUE(IsFlat(b.f.ResponseDb()));
  EXPECT_EQ(b.f.GainIndex(), 200);
}

TEST(FilterGain, NonZeroGainSwitchesTheBandOnAndMarksItWhileLive) {
  Band b;
  b.f.SetGainIndex(300);
  b.f.SetBypass(1);
  EXPECT_EQ(b.f.GainIndex(), 200);  // bypassed bands report 0 dB
  b.live = true;
  b.f.SetGainIndex(150);
  EXPECT_EQ(b.f.Bypass(), 0);
  EXPECT_EQ(b.f.Flat(), 0);
  EXPECT_EQ(b.f.GainIndex(), 150);
  EXPECT_DOUBLE_EQ(b.f.Gain(), -5.0);
  EXPECT_EQ(b.f.Pending(), 1);
}

TEST(FilterBandwidth, LowIndexesAllMeanNinetyHundredthsOfAnOctave) {
  Band b;
  for (int i = 0; i < 4; ++i) {
    b.f.SetBandwidthIndex(i);
    EXPECT_DOUBLE_EQ(b.f.Bandwidth(), 0.09);
    EXPECT_EQ(b.f.BandwidthIndex(), 4);
  }
  b.f.SetBandwidthIndex(295);
  EXPECT_DOUBLE_EQ(b.f.Bandwidth(), 3.0);
  b.f.SetGainIndex(260);
  EXPECT_EQ(b.f.LabelText(), "G:6.0-F:1000-Q:0.404");
}

TEST(FilterType, ShelvesKeepToTheirSideOfTwoKilohertz) {
  Band b;
  b.f.SetFrequency(5000, false);
  b.f.SetEqType(2);
  EXPECT_EQ(b.f.Type(), kLowShelf);
  EXPECT_EQ(b.f.Slope(), 1);
  EXPECT_EQ(b.f.Frequency(), 2000);
  EXPECT_EQ(b.f.EqType(), 2);

  b.f.SetFrequency(100, false);
  b.f.SetEqType(3);
  EXPECT_EQ(b.f.Type(), kHighShelf);
  EXPECT_EQ(b.f.Slope(), 0);
  EXPECT_EQ(b.f.Frequency(), 2000);
  EXPECT_EQ(b.f.EqType(), 3);

  EXPECT_EQ(b.f.SentFrequency(), 2000) << "nothing steps it there while edits are not sent";

  b.f.SetFrequency(300, false);
  b.f.SetEqType(1);  // a low shelf below 2 kHz stays where it is
  EXPECT_EQ(b.f.Frequency(), 300);
  b.f.SetEqType(0);
  EXPECT_EQ(b.f.Type(), kPeaking);
  EXPECT_EQ(b.f.EqType(), 0);
}

TEST(FilterType, PeakingCentreSnapsToTheNearestGridPoint) {
  auto responseAt = [](int hz) {
    Band b;
    b.f.SetFrequency(hz, false);
    b.f.SetGainIndex(300);
    return b.f.ResponseDb();
  };
  EXPECT_EQ(responseAt(1010), responseAt(1000));
  EXPECT_EQ(responseAt(1015), responseAt(1030));
  EXPECT_NE(responseAt(1014), responseAt(1030));
}

TEST(FilterType, UnknownTypeKeepsItsLastResponse) {
  Band b;
  b.f.SetGainIndex(300);
  const Response before = b.f.ResponseDb();
  b.f.SetType(9);
  b.f.SetGainIndex(100);
  EXPECT_EQ(b.f.ResponseDb(), before);
}

// --- Switching off -----------------------------------------------------------------------

TEST(FilterFlat, SwitchingOffAndOnABoostedBand) {
  Band b;
  b.f.SetGainIndex(300);
  b.live = true;
  b.f.SetPending(0);
  b.f.SetFlat(1);
  EXPECT_EQ(b.f.Flat(), 1);
  EXPECT_TRUE(IsFlat(b.f.ResponseDb()));
  EXPECT_EQ(b.f.Pending(), 1);
  EXPECT_EQ(b.f.LabelText(), "G:0.0-F:1000-Q:7.208");

  b.f.SetPending(0);
  b.f.SetFlat(1);  // already off: nothing happens
  EXPECT_EQ(b.f.Pending(), 0);

  b.f.SetFlat(0);
  EXPECT_EQ(b.f.Flat(), 0);
  EXPECT_FALSE(IsFlat(b.f.ResponseDb()));
}

TEST(FilterFlat, ABandAtZeroDecibelsCannotBeSwitchedOn) {
  Band b;
  b.live = true;
  b.f.SetFlat(0);
  EXPECT_EQ(b.f.Flat(), 1);
  EXPECT_EQ(b.f.Pending(), 0);
}

TEST(FilterFlat, BypassIsClearedFirst) {
  Band b;
  b.f.SetGainIndex(300);
  b.f.SetBypass(1);
  b.f.SetFlat(1);
  EXPECT_EQ(b.f.Bypass(), 0);
  EXPECT_EQ(b.f.Flat(), 1);

  Band zero;
  zero.f.SetBypass(1);
  zero.f.SetFlat(0);  // bypass cleared, then stops: the gain is 0
  EXPECT_EQ(zero.f.Bypass(), 0);
  EXPECT_EQ(zero.f.Flat(), 1);
}

TEST(FilterBypass, BypassSilencesAndRestores) {
  Band b;
  b.f.SetGainIndex(300);
  const Response boosted = b.f.ResponseDb();
  b.f.SetBypass(1);
  EXPECT_TRUE(IsFlat(b.f.ResponseDb()));
  EXPECT_EQ(b.f.EffectivelyOff(), 1);
  b.f.SetBypass(0);
  EXPECT_EQ(b.f.Bypass(), 0);
  EXPECT_EQ(b.f.ResponseDb(), boosted);
  EXPECT_EQ(b.f.EffectivelyOff(), 0);
}

TEST(FilterReset, ResetGoesBackToAFlatBandAtTheGivenFrequency) {
  Band b;
  b.f.SetFrequency(700, false);
  b.f.SetGainIndex(350);
  b.f.SetBandwidthIndex(100);
  b.f.SetEqType(1);
  b.f.ResetToDefault(630);
  EXPECT_EQ(b.f.Frequency(), 630);
  EXPECT_EQ(b.f.SentFrequency(), 630);
  EXPECT_DOUBLE_EQ(b.f.Bandwidth(), 0.2);
  EXPECT_EQ(b.f.Gain(), 0.0);
  EXPECT_EQ(b.f.Flat(), 1);
  EXPECT_EQ(b.f.Type(), kLowShelf);  // type and slope are kept
  EXPECT_TRUE(IsFlat(b.f.ResponseDb()));
}

TEST(FilterCopy, CopiesTheParametersAndSendsTheTargetFrequency) {
  Band source;
  source.f.SetFrequency(3150, false);
  source.f.SetEqType(4);
  source.f.SetGainIndex(120);
  source.f.SetBandwidthIndex(40);
  Band target;
  target.f.CopyValues(source.f);
  EXPECT_EQ(target.f.Type(), kHighShelf);
  EXPECT_EQ(target.f.Slope(), 1);
  EXPECT_EQ(target.f.Frequency(), 3150);
  EXPECT_EQ(target.f.SentFrequency(), 3150);
  EXPECT_EQ(target.f.GainIndex(), 120);
  EXPECT_EQ(target.f.BandwidthIndex(), 40);
  EXPECT_EQ(target.f.ResponseDb(), source.f.ResponseDb());
}

// --- Crossovers ----------------------------------------------------------------------------

TEST(FilterCrossover, OpenEndsAndOffDrawFlat) {
  Crossover hp(kHighPass);
  hp.f.SetFrequency(20, false);
  EXPECT_TRUE(IsFlat(hp.f.ResponseDb()));
  hp.f.SetFrequency(80, false);
  EXPECT_FALSE(IsFlat(hp.f.ResponseDb()));
  hp.f.SetSlope(kSlopeOff, false);
  EXPECT_TRUE(IsFlat(hp.f.ResponseDb()));

  Crossover lp(kLowPass);
  lp.f.SetFrequency(20000, false);
  EXPECT_TRUE(IsFlat(lp.f.ResponseDb()));
  lp.f.SetFrequency(5000, false);
  EXPECT_FALSE(IsFlat(lp.f.ResponseDb()));
}

TEST(FilterCrossover, SlopeAndFamilyMarkPendingOnlyFromTheUser) {
  Crossover hp(kHighPass);
  hp.live = true;
  hp.f.SetSlope(4, false);
  hp.f.SetFamily(kBessel, false);
  EXPECT_EQ(hp.f.Pending(), 0);
  hp.f.SetSlope(5, true);
  EXPECT_EQ(hp.f.Pending(), 1);
  hp.f.SetPending(0);
  hp.f.SetFamily(kLinkwitzRiley, true);
  EXPECT_EQ(hp.f.Pending(), 1);
}

// --- Serialisation ---------------------------------------------------------------------

TEST(FilterSerialize, WritesTheFortyEightByteImage) {
  Band b;
  b.f.SetFrequency(2500, false);
  b.f.SetEqType(4);
  b.f.SetGainIndex(255);
  b.f.SetBandwidthIndex(25);
  b.f.SetBandNumber(21);
  ByteArchive ar;
  b.f.Serialize(ar);
  const auto& img = ar.Bytes();
  ASSERT_EQ(img.size(), kFilterImageSize);
  EXPECT_EQ(le::GetI32(img, 0), kHighShelf);
  EXPECT_EQ(le::GetI32(img, 4), 2500);
  EXPECT_EQ(le::GetI32(img, 8), 2500);
  EXPECT_DOUBLE_EQ(le::GetF64(img, 12), 5.5);
  EXPECT_EQ(le::GetI32(img, 20), 0);  // bypass
  EXPECT_EQ(le::GetI32(img, 24), 0);  // flat
  EXPECT_DOUBLE_EQ(le::GetF64(img, 28), 0.3);
  EXPECT_EQ(le::GetI32(img, 36), kButterworth);
  EXPECT_EQ(le::GetI32(img, 40), 1);
  EXPECT_EQ(le::GetI32(img, 44), 21);
  // Exact bytes of one field: 2500 = 0x09C4, little-endian.
  EXPECT_EQ(img[4], 0xC4);
  EXPECT_EQ(img[5], 0x09);
}

TEST(FilterSerialize, RoundTripsAndRecomputes) {
  Band a;
  a.f.SetFrequency(120, false);
  a.f.SetGainIndex(40);
  a.f.SetBandwidthIndex(80);
  ByteArchive out;
  a.f.Serialize(out);
  Band b;
  ByteArchive in(out.Bytes());
  ASSERT_TRUE(b.f.Serialize(in));
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(b.f.Frequency(), 120);
  EXPECT_EQ(b.f.GainIndex(), 40);
  EXPECT_EQ(b.f.BandwidthIndex(), 80);
  EXPECT_EQ(b.f.ResponseDb(), a.f.ResponseDb());
  EXPECT_EQ(b.f.HandleRect(), a.f.HandleRect());
}

TEST(FilterSerialize, ShortImageChangesNothing) {
  Band a;
  a.f.SetGainIndex(300);
  ByteArchive out;
  a.f.Serialize(out);
  std::vector<std::uint8_t> shortImage(out.Bytes().begin(), out.Bytes().end() - 1);
  Band b;
  b.f.SetFrequency(63, false);
  ByteArchive in(shortImage);
  EXPECT_FALSE(b.f.Serialize(in));
  EXPECT_EQ(b.f.Frequency(), 63);
  EXPECT_EQ(b.f.GainIndex(), 200);
}

// --- Handles and labels (plot 900 × 400: 300 px a decade, 10 px a dB) ---------------

TEST(FilterHandles, BandHandleSitsOnFrequencyAndGain) {
  Band b;
  b.f.SetFrequency(200, false);
  b.f.SetGainIndex(300);  // +10 dB → y 100
  EXPECT_EQ(b.f.HandleRect(), (Rect{292 + 35, 92 + 10, 308 + 35, 108 + 10}));
  // Bandwidth handles of 0.2 octave either side, just below the handle.
  const int cy = b.f.HandleRect().Center().y + 10;
  EXPECT_EQ(b.f.RightWidthHandle().top, cy - 6);
  EXPECT_EQ(b.f.RightWidthHandle().bottom, cy + 6);
  EXPECT_EQ(b.f.RightWidthHandle().left, 357);
  EXPECT_EQ(b.f.LeftWidthHandle().right, 312);
  EXPECT_EQ(b.f.LeftWidthHandle().Width(), 13);
  // A cut puts them above the handle.
  b.f.SetGainIndex(100);
  EXPECT_EQ(b.f.RightWidthHandle().top, b.f.HandleRect().Center().y - 10 - 6);
}

TEST(FilterHandles, BandHandleStaysInsideThePlot) {
  Band low;
  low.f.SetFrequency(20, false);
  low.f.SetGainIndex(400);  // top-left corner
  EXPECT_EQ(low.f.HandleRect(), (Rect{-8 + 35, 0 + 10, 8 + 35, 16 + 10}));
  low.f.SetBandNumber(9);  // later bands do not hang over the left edge
  low.f.Relayout();
  EXPECT_EQ(low.f.HandleRect().left, 35);

  Band high;
  high.f.SetFrequency(20000, false);
  high.f.SetGainIndex(0);  // bottom-right corner
  EXPECT_EQ(high.f.HandleRect(), (Rect{884 + 35, 384 + 10, 900 + 35, 400 + 10}));
}

TEST(FilterHandles, CrossoverHandlesSitAtTheirFixedLevels) {
  Crossover hp(kHighPass);
  hp.f.SetFrequency(200, false);
  EXPECT_EQ(hp.f.HandleRect(), (Rect{292 + 35, 320 + 10, 308 + 35, 336 + 10}));  // y(−12) = 320
  Crossover lp(kLowPass);
  lp.f.SetFrequency(20000, false);
  EXPECT_EQ(lp.f.HandleRect(), (Rect{892 + 35, 350 + 10, 908 + 35, 366 + 10}));  // y(−15) = 350
}

TEST(FilterLabels, LabelRectangleKeepsInsideThePlot) {
  Band b;
  b.f.SetFrequency(200, false);
  b.f.SetGainIndex(300);
  const Rect h = b.f.HandleRect();
  EXPECT_EQ(b.f.LabelRect(), (Rect{h.left, h.top + 25, h.right + 210, h.bottom + 25}));

  b.f.SetFrequency(10000, false);  // near the right edge
  EXPECT_EQ(b.f.LabelRect().right, 935);
  EXPECT_EQ(b.f.LabelRect().left, 735);

  b.f.SetGainIndex(0);  // at the bottom the label goes above the handle
  const Rect low = b.f.HandleRect();
  EXPECT_EQ(b.f.LabelRect().top, low.top - 25);

  b.f.SetEqType(1);  // a shelf label is narrower
  b.f.SetFrequency(300, false);
  b.f.SetGainIndex(300);
  const Rect s = b.f.HandleRect();
  EXPECT_EQ(b.f.LabelRect().right, s.right + 90);

  Crossover hp(kHighPass);
  hp.f.SetFrequency(19000, false);
  EXPECT_EQ(hp.f.LabelRect().right, 935);
  EXPECT_EQ(hp.f.LabelRect().left, 935 - 66);
  EXPECT_EQ(hp.f.LabelRect().top, hp.f.HandleRect().top + 15);
}

TEST(FilterLabels, TextsOfEveryKind) {
  Band peak;
  peak.f.SetFrequency(1000, false);
  peak.f.SetGainIndex(262);
  peak.f.SetBandwidthIndex(0);
  EXPECT_EQ(peak.f.LabelText(), "G:6.2-F:1000-Q:16.03");  // Q above 10: two decimals

  Band lowShelf;
  lowShelf.f.SetFrequency(100, false);
  lowShelf.f.SetEqType(1);
  lowShelf.f.SetGainIndex(230);
  EXPECT_EQ(lowShelf.f.LabelText(), "Lo 100-6dB/Oct G3.0");

  Band highShelf;
  highShelf.f.SetFrequency(5000, false);
  highShelf.f.SetEqType(4);
  highShelf.f.SetGainIndex(170);
  EXPECT_EQ(highShelf.f.LabelText(), "Hi F:5000-12dB/Oct G:-3.0");

  Crossover hp(kHighPass);
  hp.f.SetFrequency(80, false);
  EXPECT_EQ(hp.f.LabelText(), "F:80");

  peak.f.SetGraphicMode(1);
  EXPECT_EQ(peak.f.LabelText(), "GEQ");
}

TEST(FilterLabels, ShelfSlopeTexts) {
  EXPECT_EQ(ShelfSlopeText(0), "6dB/Oct");
  EXPECT_EQ(ShelfSlopeText(1), "12dB/Oct");
  EXPECT_EQ(ShelfSlopeText(2), "");
  EXPECT_EQ(ShelfSlopeText(-1), "");
}

}  // namespace
}  // namespace vantor
