// CKTVEQ: the builders, the summed channel curve, copying and serialisation.

#include <gtest/gtest.h>

#include <cmath>

#include "base/ByteArchive.h"
#include "dsp/KTVEQ.h"
#include "dsp/PlotMapping.h"

namespace vantor {
namespace {

TEST(KTVEQBuilders, OutputSetHasThirtyOneBandsAndTwoCrossovers) {
  CKTVEQ set;
  set.BuildOutput(30, 20, 20000, 9, 32);
  ASSERT_EQ(set.Count(), 33);
  EXPECT_EQ(set.BandCount(), 31);
  for (int b = 0; b < 31; ++b) {
    const CFilter& f = set.At(b);
    EXPECT_EQ(f.Type(), kPeaking);
    EXPECT_EQ(f.BandFlag(), 1);
    EXPECT_EQ(f.BandNumber(), b);
    EXPECT_EQ(f.Frequency(), kOutputBandFrequencies[b]);
    EXPECT_EQ(f.SentFrequency(), kOutputBandFrequencies[b]);
    EXPECT_EQ(f.Pending(), 0);
  }
  EXPECT_EQ(set.At(1).Frequency(), 25);
  EXPECT_EQ(set.At(30).Frequency(), 20000);
  const CFilter& hp = set.At(31);
  const CFilter& lp = set.At(32);
  EXPECT_EQ(&hp, &set.HighPass());
  EXPECT_EQ(&lp, &set.LowPass());
  EXPECT_EQ(hp.Type(), kHighPass);
  EXPECT_EQ(lp.Type(), kLowPass);
  for (const CFilter* x : {&hp, &lp}) {
    EXPECT_EQ(x->BandFlag(), 0);
    EXPECT_EQ(x->LimitMode(), 9);
    EXPECT_EQ(x->BandNumber(), 32);
    EXPECT_EQ(x->Family(), kButterworth);
    EXPECT_EQ(x->Slope(), 2);
    EXPECT_EQ(x->ReducedSlopes(), 0);
    EXPECT_EQ(x->Pending(), 0);
  }
  EXPECT_EQ(hp.Frequency(), 20);
  EXPECT_EQ(lp.Frequency(), 20000);
  EXPECT_EQ(lp.SentFrequency(), 20000);
  EXPECT_TRUE(set.AllFlat());
}

TEST(KTVEQBuilders, InputSetHasShelvesAtBothEnds) {
  CKTVEQ set;
  set.BuildInput(8, 20000, 10);
  ASSERT_EQ(set.Count(), 11);
  EXPECT_EQ(set.At(0).Type(), kLowShelf);
  EXPECT_EQ(set.At(0).Slope(), 0);
  EXPECT_EQ(set.At(0).Frequency(), 40);
  EXPECT_EQ(set.At(4).Type(), kPeaking);
  EXPECT_EQ(set.At(4).Frequency(), 632);
  EXPECT_EQ(set.At(8).Type(), kHighShelf);
  EXPECT_EQ(set.At(8).Slope(), 0);
  EXPECT_EQ(set.At(8).Frequency(), 10000);
  for (int i : {9, 10}) {
    const CFilter& x = set.At(i);
    EXPECT_EQ(x.BandFlag(), 0);
    EXPECT_EQ(x.Slope(), 0);
    EXPECT_EQ(x.Family(), kButterworth);
    EXPECT_EQ(x.ReducedSlopes(), 1);
    EXPECT_EQ(x.BandNumber(), 10);
    EXPECT_EQ(x.Pending(), 0);
  }
  EXPECT_EQ(set.HighPass().Frequency(), 20);
  EXPECT_EQ(set.LowPass().Frequency(), 20000);
}

TEST(KTVEQBuilders, EffectSetUsesLimitModeSix) {
  CKTVEQ set;
  set.BuildEffect(2, 20000, 8);
  ASSERT_EQ(set.Count(), 5);
  EXPECT_EQ(set.At(0).Frequency(), 100);
  EXPECT_EQ(set.At(1).Frequency(), 1000);
  EXPECT_EQ(set.At(2).Frequency(), 10000);
  for (int i : {3, 4}) {
    EXPECT_EQ(set.At(i).LimitMode(), 6);
    EXPECT_EQ(set.At(i).Slope(), 2);
    EXPECT_EQ(set.At(i).ReducedSlopes(), 1);
    EXPECT_EQ(set.At(i).BandNumber(), 8);
  }
}

TEST(KTVEQBuilders, RebuildingReplacesTheFiltersAndCountsAreBounded) {
  CKTVEQ set;
  set.BuildOutput(30, 20, 20000, 7, 32);
  set.BuildOutput(40, 20, 20000, 7, 32);  // more bands than the table: capped
  EXPECT_EQ(set.Count(), 33);
  set.BuildEffect(0, 20000, 8);
  EXPECT_EQ(set.Count(), 3);
}

TEST(KTVEQLiveSync, EveryFilterFollowsTheSetsFlag) {
  LiveSyncFlag live{false};
  CKTVEQ set(&live);
  set.BuildOutput(30, 20, 20000, 7, 32);
  set.At(5).SetGainIndex(260);
  EXPECT_EQ(set.At(5).Pending(), 0);
  live = true;
  set.At(5).SetGainIndex(270);
  EXPECT_EQ(set.At(5).Pending(), 1);
  set.LowPass().SetFrequency(5000, true);
  EXPECT_EQ(set.LowPass().Pending(), 1);

  LiveSyncFlag other{false};
  set.SetLiveSync(&other);
  set.At(6).SetGainIndex(260);
  EXPECT_EQ(set.At(6).Pending(), 0);
}

class SummedCurve : public ::testing::Test {
 protected:
  void SetUp() override {
    set.BuildOutput(30, 20, 20000, 7, 32);
    set.Layout({0, 0, 900, 400});
  }
  CKTVEQ set;
};

TEST_F(SummedCurve, LayoutPlacesPointsOnTheGridAtMidHeight) {
  EXPECT_EQ(set.PlotWidth(), 900);
  EXPECT_EQ(set.PlotHeight(), 400);
  EXPECT_EQ(set.Points()[136].x, PlotX(1000, 900) + 35);
  EXPECT_EQ(set.Points()[136].y, 200);
  EXPECT_FLOAT_EQ(set.PointsF()[136].x, static_cast<float>(PlotXExact(1000, 900) + 35));
  EXPECT_EQ(set.At(0).PlotWidth(), 900);
}

TEST_F(SummedCurve, FlatSetLiesOnTheZeroLine) {
  set.SumResponse();
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    EXPECT_EQ(set.Points()[i].y, 210);
    EXPECT_FLOAT_EQ(set.PointsF()[i].y, 210.0F);
  }
}

TEST_F(SummedCurve, SumsEveryFilterInOrder) {
  set.At(17).SetGainIndex(260);  // +6 dB at 1 kHz
  set.At(20).SetGainIndex(140);  // −6 dB at 2 kHz
  set.HighPass().SetFrequency(100, false);
  set.SumResponse();
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    double sum = 0.0;
    for (int k = 0; k < set.Count(); ++k) sum += set.At(k).ResponseDb()[i];
    EXPECT_EQ(set.Points()[i].y, static_cast<int>(10.0 * (20.0 - sum) + 0.5) + 10) << i;
    EXPECT_FLOAT_EQ(set.PointsF()[i].y, static_cast<float>(10.0 * (20.0 - sum) + 10.0)) << i;
  }
  EXPECT_LT(set.Points()[136].y, 210);  // the boost rises above the zero line
  EXPECT_GT(set.Points()[160].y, 210);  // the cut falls below it
}

TEST_F(SummedCurve, BoostsMayAddUpBeyondThePlot) {
  for (int b : {16, 17, 18}) {
    set.At(b).SetGainIndex(400);
    set.At(b).SetBandwidthIndex(295);
  }
  set.SumResponse();
  EXPECT_LT(set.Points()[136].y, 10);  // above +20 dB: outside the plot, not clipped here
  EXPECT_LT(set.PointsF()[136].y, 10.0F);
}

TEST(KTVEQCopy, CopiesEveryElement) {
  CKTVEQ a;
  a.BuildOutput(30, 20, 20000, 7, 32);
  a.At(3).SetGainIndex(310);
  a.LowPass().SetFrequency(3000, false);
  a.LowPass().SetSlope(6, false);
  CKTVEQ b;
  b.BuildOutput(30, 20, 20000, 8, 32);
  b.CopyValues(a);
  EXPECT_EQ(b.At(3).GainIndex(), 310);
  EXPECT_EQ(b.LowPass().Frequency(), 3000);
  EXPECT_EQ(b.LowPass().Slope(), 6);
  EXPECT_EQ(b.LowPass().LimitMode(), 8);  // the set's own drag limits stay
}

// A damaged record (a gain code far outside 400..800, a huge bandwidth code) reads as the
// nearest values the program can show, never as a curve of NaN.
TEST(KTVEQBandRecord, CodesOutsideTheirRangesReadAsTheNearestValidOnes) {
  CKTVEQ set;
  set.BuildOutput(30, 20, 20000, 0, 0);
  const BandRecord shelf = {0xE8, 0x03, 0x00, 0x00,
                            0x30, 0x75, 1,    kHighShelf};  // 1000 Hz, code 0, width 30000
  set.SetBandRecord(shelf, 4);
  EXPECT_EQ(set.At(4).GainIndex(), 0);
  EXPECT_EQ(set.At(4).BandwidthIndex(), kBandwidthIndexMax);
  for (double db : set.At(4).ResponseDb()) ASSERT_TRUE(std::isfinite(db));
  const BandRecord loud = {0xE8, 0x03, 0x00, 0x7F, 0x0F, 0x00, 0, kPeaking};  // code 32512
  set.SetBandRecord(loud, 5);
  EXPECT_EQ(set.At(5).GainIndex(), kGainIndexMax);
}

TEST(KTVEQSerialize, RoundTripsTheWholeSet) {
  CKTVEQ a;
  a.BuildOutput(30, 20, 20000, 7, 32);
  a.At(9).SetGainIndex(123);
  a.At(9).SetBandwidthIndex(77);
  a.HighPass().SetFrequency(120, false);
  ByteArchive out;
  ASSERT_TRUE(a.Serialize(out));
  EXPECT_EQ(out.Bytes().size(), 2 + 33 * kFilterImageSize);

  CKTVEQ b;
  b.BuildOutput(30, 20, 20000, 7, 32);
  ByteArchive in(out.Bytes());
  ASSERT_TRUE(b.Serialize(in));
  EXPECT_TRUE(in.AtEnd());
  for (int k = 0; k < 33; ++k) {
    EXPECT_EQ(b.At(k).Frequency(), a.At(k).Frequency());
    EXPECT_EQ(b.At(k).GainIndex(), a.At(k).GainIndex());
    EXPECT_EQ(b.At(k).ResponseDb(), a.At(k).ResponseDb());
  }
}

TEST(KTVEQSerialize, MismatchedOrShortImagesChangeNothing) {
  CKTVEQ input;
  input.BuildInput(8, 20000, 10);
  ByteArchive wrongCount;
  input.Serialize(wrongCount);

  CKTVEQ target;
  target.BuildOutput(30, 20, 20000, 7, 32);
  target.At(0).SetGainIndex(330);
  ByteArchive in(wrongCount.Bytes());
  EXPECT_FALSE(target.Serialize(in));
  EXPECT_EQ(target.At(0).GainIndex(), 330);

  CKTVEQ source;
  source.BuildOutput(30, 20, 20000, 7, 32);
  ByteArchive full;
  source.Serialize(full);
  std::vector<std::uint8_t> cut(full.Bytes().begin(), full.Bytes().end() - 10);
  ByteArchive shortIn(cut);
  EXPECT_FALSE(target.Serialize(shortIn));
  EXPECT_EQ(target.At(0).GainIndex(), 330);
  EXPECT_EQ(target.At(32).Frequency(), 20000);
}

}  // namespace
}  // namespace vantor
