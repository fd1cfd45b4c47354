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
}  // namespace
}  // namespace vantor
