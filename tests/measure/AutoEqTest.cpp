// Automatic EQ: accuracy on made-up measurements, the processor's limits, the bands it must
// leave alone, and a preview that is exactly what applying it makes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SyntheticCurves.h"
#include "dsp/FilterCodes.h"
#include "measure/AutoEq.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

using testing::AddNoise;
using testing::TargetMinusBands;

class AutoEqFixture : public ::testing::Test {
 protected:
  AutoEqFixture() { model.LoadOutputs(); }

  CKTV_OutData& Out() { return model.Output(2); }

  ProgramState state;
  CKTV_Data model{state};
};

TEST_F(AutoEqFixture, TargetMinusFiveBandsIsFittedWithinHalfADecibel) {
  for (const TargetCurve& target : {FlatTarget(), CarTarget()}) {
    const Measurement m = TargetMinusBands(target);
    MeasureError error;
    const auto preview = PreviewAutoEq(Out(), m, target, {}, error);
    ASSERT_TRUE(preview.has_value()) << MeasureErrorText(error, false);
    EXPECT_GT(preview->rmsBeforeDb, 2.0);
    EXPECT_LE(preview->rmsAfterDb, 0.5) << "before " << preview->rmsBeforeDb;
    EXPECT_EQ(preview->bands.size(), 31U);  // every band is free on a fresh output
  }
}

TEST_F(AutoEqFixture, NoiseOfOneDecibelStillLosesSeventyPercent) {
  const TargetCurve target = CarTarget();
  for (std::uint32_t seed : {1U, 7U, 42U}) {
    Measurement m = TargetMinusBands(target);
    AddNoise(m, 1.0, seed);
    MeasureError error;
    const auto preview = PreviewAutoEq(Out(), m, target, {}, error);
    ASSERT_TRUE(preview.has_value());
    EXPECT_LE(preview->rmsAfterDb, 0.3 * preview->rmsBeforeDb)
        << "seed " << seed << " before " << preview->rmsBeforeDb;
  }
}

// Every setting is one the processor can hold, and a fitted band never boosts past the limit.
void ExpectProcessorCodes(const AutoEqPreview& p, double maxBoostDb) {
  for (const BandSetting& b : p.bands) {
    EXPECT_GE(b.gainIndex, 0);
    EXPECT_LE(b.gainIndex, GainIndexFromDb(maxBoostDb));
    EXPECT_GE(b.widthIndex, 0);
    EXPECT_LE(b.widthIndex, kBandwidthIndexMax);
    EXPECT_GE(b.frequencyHz, 20);
    EXPECT_LE(b.frequencyHz, 20000);
  }
}

TEST_F(AutoEqFixture, BoostLimitHoldsForBandsAndTheirSum) {
  // A wide, deep dip: the fit would like +12 dB there.
  Measurement m;
  const Response dip = BandResponse(500, 80, 200);
  for (std::size_t i = 0; i < kGridPoints; ++i) m.db[i] = dip[i];
  for (double limit : {6.0, 3.0, 0.0}) {
    AutoEqOptions options;
    options.maxBoostDb = limit;
    MeasureError error;
    const auto p = PreviewAutoEq(Out(), m, FlatTarget(), options, error);
    ASSERT_TRUE(p.has_value());
    ExpectProcessorCodes(*p, limit);
    const Response eq = [&] {
      Response r{};
      for (std::size_t i = 0; i < kGridPoints; ++i) r[i] = p->predictionAfter[i] - m.db[i];
      return r;
    }();
    EXPECT_LE(*std::max_element(eq.begin(), eq.end()), limit + 1e-9) << limit;
    // Without boost a dip cannot be filled: the fit then leaves the curve as it was.
    if (limit > 0.0) {
      EXPECT_LT(p->rmsAfterDb, p->rmsBeforeDb - limit / 2);
    } else {
      EXPECT_EQ(p->rmsAfterDb, p->rmsBeforeDb);
    }
  }
}

TEST_F(AutoEqFixture, ApplyingMakesExactlyThePreviewThroughTheSetters) {
  state.liveSync = true;
  const TargetCurve target = CarTarget();
  const Measurement m = TargetMinusBands(target);
  MeasureError error;
  const auto p = PreviewAutoEq(Out(), m, target, {}, error);
  ASSERT_TRUE(p.has_value());
  ExpectProcessorCodes(*p, kDefaultMaxBoostDb);
  EXPECT_EQ(PredictResponse(m, Out().Filters()), p->predictionBefore);
  ApplyAutoEq(Out(), *p);
  EXPECT_EQ(PredictResponse(m, Out().Filters()), p->predictionAfter);
  int pending = 0;
  for (const BandSetting& b : p->bands) {
    const CFilter& f = Out().Filter(b.band);
    EXPECT_EQ(f.GainIndex(), b.gainIndex);
    if (b.gainIndex != kGainIndexFlat) {
      EXPECT_EQ(f.Type(), kPeaking);
      EXPECT_EQ(f.Frequency(), b.frequencyHz);
      EXPECT_EQ(f.BandwidthIndex(), b.widthIndex);
      pending += f.Pending();
    }
  }
  EXPECT_GT(pending, 4);  // the edits travel as the pending-change scan sends them
  // The channel curve in pixels was summed again.
  Out().Layout({0, 0, 820, 420});
  const auto before = Out().Curve();
  ApplyAutoEq(Out(), *p);
  EXPECT_EQ(Out().Curve(), before);
}

TEST_F(AutoEqFixture, BandsSwitchedOffAreLeftAlone) {
  CFilter& off = Out().Filter(4);
  off.SetGainIndex(260);
  off.SetFlat(1);  // switched off with its gain kept
  CFilter& bypassed = Out().Filter(20);
  bypassed.SetGainIndex(150);
  bypassed.SetBypass(1);
  CFilter& used = Out().Filter(10);
  used.SetGainIndex(280);  // in use, not switched off: the fit may reset it
  const TargetCurve target = FlatTarget();
  const Measurement m = TargetMinusBands(target);
  MeasureError error;
  const auto p = PreviewAutoEq(Out(), m, target, {}, error);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->bands.size(), 29U);
  for (const BandSetting& b : p->bands) {
    EXPECT_NE(b.band, 4);
    EXPECT_NE(b.band, 20);
  }
  ApplyAutoEq(Out(), *p);
  EXPECT_EQ(off.Gain(), 6.0);
  EXPECT_EQ(off.Flat(), 1);
  EXPECT_EQ(bypassed.Bypass(), 1);
  EXPECT_EQ(bypassed.Gain(), -5.0);
  EXPECT_LE(p->rmsAfterDb, 0.5);

  for (int b = 0; b < Out().BandCount(); ++b) {
    Out().Filter(b).SetGainIndex(210);
    Out().Filter(b).SetFlat(1);
  }
  EXPECT_FALSE(PreviewAutoEq(Out(), m, target, {}, error).has_value());
  EXPECT_EQ(error.kind, MeasureErrorKind::kNoFreeBand);
}

TEST_F(AutoEqFixture, GraphicEqKeepsEveryBandOnItsFrequency) {
  Out().SetEqMode(1);
  const TargetCurve target = FlatTarget();
  const Measurement m = TargetMinusBands(target);
  MeasureError error;
  const auto p = PreviewAutoEq(Out(), m, target, {}, error);
  ASSERT_TRUE(p.has_value());
  for (const BandSetting& b : p->bands) EXPECT_EQ(b.frequencyHz, Out().Filter(b.band).Frequency());
  EXPECT_LT(p->rmsAfterDb, 0.5 * p->rmsBeforeDb);
}

TEST_F(AutoEqFixture, RangeDefaultsToTheCrossoverPassband) {
  Out().HighPass().SetFrequency(80, true);
  Out().HighPass().SetSlope(2, true);
  Out().LowPass().SetFrequency(5000, true);
  Out().LowPass().SetSlope(2, true);
  EXPECT_EQ(DefaultFitRange(Out().Filters()), std::make_pair(80.0, 5000.0));
  const Measurement m = TargetMinusBands(FlatTarget());
  MeasureError error;
  auto p = PreviewAutoEq(Out(), m, FlatTarget(), {}, error);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(kResponseGrid[static_cast<std::size_t>(p->firstIndex)], 81.1);
  EXPECT_EQ(kResponseGrid[static_cast<std::size_t>(p->lastIndex)], 5000.0);
  for (const BandSetting& b : p->bands) {
    if (b.gainIndex == kGainIndexFlat) continue;
    EXPECT_GE(GridIndexOf(b.frequencyHz), p->firstIndex);
    EXPECT_LE(GridIndexOf(b.frequencyHz), p->lastIndex);
  }
  // A slope of "OFF" opens that side.
  Out().LowPass().SetSlope(kSlopeOff, true);
  EXPECT_EQ(DefaultFitRange(Out().Filters()), std::make_pair(80.0, 20000.0));
  // Given edges win; so does the measurement's own span.
  AutoEqOptions options;
  options.fromHz = 1000;
  options.toHz = 2000;
  Measurement narrow = m;
  narrow.firstIndex = 140;
  p = PreviewAutoEq(Out(), narrow, FlatTarget(), options, error);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->firstIndex, 140);
  EXPECT_EQ(kResponseGrid[static_cast<std::size_t>(p->lastIndex)], 2000.0);
  options.fromHz = 21000;
  options.toHz = 22000;
  EXPECT_FALSE(PreviewAutoEq(Out(), m, FlatTarget(), options, error).has_value());
  EXPECT_EQ(error.kind, MeasureErrorKind::kEmptyRange);
}

TEST_F(AutoEqFixture, BandCountIsAnUpperLimit) {
  const Measurement m = TargetMinusBands(FlatTarget());
  AutoEqOptions options;
  options.bands = 3;
  MeasureError error;
  const auto p = PreviewAutoEq(Out(), m, FlatTarget(), options, error);
  ASSERT_TRUE(p.has_value());
  const auto used = std::count_if(p->bands.begin(), p->bands.end(), [](const BandSetting& b) {
    return b.gainIndex != kGainIndexFlat;
  });
  EXPECT_GE(used, 1);
  EXPECT_LE(used, 3);
  EXPECT_LT(p->rmsAfterDb, p->rmsBeforeDb);
  // Bands land on the band numbers nearest their frequencies, in rising order.
  int lastHz = 0;
  for (const BandSetting& b : p->bands) {
    if (b.gainIndex == kGainIndexFlat) continue;
    EXPECT_GT(b.frequencyHz, lastHz);
    lastHz = b.frequencyHz;
  }
}

}  // namespace
}  // namespace vantor
