// The window's measurement work without a window: which layers the graph gets for the
// current output and those behind it, a prediction that follows the bands, the automatic
// EQ's preview and its application, and the measurement file across a restart.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "SyntheticCurves.h"
#include "TempFolder.h"
#include "dsp/FilterCodes.h"
#include "measure/MeasureSession.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

using testing::TargetMinusBands;

std::array<bool, rec::kOutputCount> Behind(std::initializer_list<int> outputs) {
  std::array<bool, rec::kOutputCount> behind{};
  for (int o : outputs) behind[static_cast<std::size_t>(o)] = true;
  return behind;
}

class SessionTest : public testing::TempFolder {
 protected:
  SessionTest() { model.LoadOutputs(); }

  // Which layers, in drawing order, as (kind, output, current).
  static std::vector<std::tuple<LayerKind, int, bool>> Kinds(const GraphOverlay& o) {
    std::vector<std::tuple<LayerKind, int, bool>> kinds;
    for (const LayerCurve& c : o.curves) kinds.emplace_back(c.kind, c.output, c.current);
    return kinds;
  }
  static const LayerCurve* Find(const GraphOverlay& o, LayerKind kind, int output) {
    for (const LayerCurve& c : o.curves) {
      if (c.kind == kind && c.output == output) return &c;
    }
    return nullptr;
  }
  std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  ProgramState state;
  CKTV_Data model{state};
  MeasureSession session{model};
};

TEST_F(SessionTest, LayersOfTheCurrentOutputComeLastAndOthersOnlyWhenDrawnBehind) {
  EXPECT_TRUE(session.Overlay(0, Behind({0, 3})).Empty());
  session.SetMeasurement(0, TargetMinusBands(FlatTarget()));
  session.SetMeasurement(3, TargetMinusBands(CarTarget()));
  session.SetMeasurement(5, TargetMinusBands(CarTarget()));

  using K = LayerKind;
  const GraphOverlay o = session.Overlay(0, Behind({3}));
  const std::vector<std::tuple<K, int, bool>> expected = {
      {K::kMeasurement, 3, false}, {K::kPrediction, 3, false}, {K::kMeasurement, 0, true},
      {K::kPrediction, 0, true},   {K::kTarget, 0, true},
  };
  EXPECT_EQ(Kinds(o), expected);  // output 5 is not drawn behind, so none of its layers

  // An output without a measurement shows no target either; the others still show.
  const GraphOverlay none = session.Overlay(1, Behind({3}));
  EXPECT_EQ(Find(none, K::kTarget, 1), nullptr);
  EXPECT_NE(Find(none, K::kPrediction, 3), nullptr);
}

TEST_F(SessionTest, SwitchesHideTheirLayers) {
  session.SetMeasurement(2, TargetMinusBands(FlatTarget()));
  LayerSwitches s;
  s.prediction = false;
  s.target = false;
  session.SetSwitches(s);
  const GraphOverlay o = session.Overlay(2, Behind({}));
  ASSERT_EQ(o.curves.size(), 1U);
  EXPECT_EQ(o.curves[0].kind, LayerKind::kMeasurement);
  session.SetSwitches({false, false, true});
  ASSERT_EQ(session.Overlay(2, Behind({})).curves.size(), 1U);
  EXPECT_EQ(session.Overlay(2, Behind({})).curves[0].kind, LayerKind::kTarget);
}

TEST_F(SessionTest, PredictionIsTheShiftedMeasurementPlusTheChannelCurveAsItIsNow) {
  Measurement m = TargetMinusBands(FlatTarget());
  session.SetMeasurement(4, m);
  session.SetShift(4, -3.0);
  CKTVEQ& set = model.Output(4).Filters();
  set.At(12).SetGainIndex(GainIndexFromDb(6.0));
  set.HighPass().SetFrequency(200, true);

  const GraphOverlay o = session.Overlay(4, Behind({}));
  const LayerCurve* measured = Find(o, LayerKind::kMeasurement, 4);
  const LayerCurve* predicted = Find(o, LayerKind::kPrediction, 4);
  ASSERT_NE(measured, nullptr);
  ASSERT_NE(predicted, nullptr);
  const Response channel = set.SumDb();
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    EXPECT_DOUBLE_EQ(measured->db[i], m.db[i] - 3.0);
    EXPECT_DOUBLE_EQ(predicted->db[i], m.db[i] - 3.0 + channel[i]);
  }
  // A band moved (as a drag does) moves the prediction at once.
  set.At(12).SetGainIndex(GainIndexFromDb(-6.0));
  const Response moved = Find(session.Overlay(4, Behind({})), LayerKind::kPrediction, 4)->db;
  EXPECT_NEAR(moved[static_cast<std::size_t>(GridIndexOf(set.At(12).Frequency()))] -
                  predicted->db[static_cast<std::size_t>(GridIndexOf(set.At(12).Frequency()))],
              -12.0, 1e-9);
}

TEST_F(SessionTest, PreviewIsDrawnForItsOutputAndApplyGivesExactlyItsCurve) {
  session.SetTarget(CarTarget());
  session.SetMeasurement(1, TargetMinusBands(CarTarget()));
  MeasureError error;
  ASSERT_TRUE(session.Preview(1, {}, error)) << MeasureErrorText(error, false);
  const AutoEqPreview preview = *session.PreviewOf(1);
  EXPECT_EQ(session.PreviewOf(2), nullptr);

  const GraphOverlay o = session.Overlay(1, Behind({}));
  ASSERT_NE(Find(o, LayerKind::kAutoEqPreview, 1), nullptr);
  std::size_t boosted = 0;
  for (const BandSetting& b : preview.bands) boosted += b.gainIndex != kGainIndexFlat ? 1 : 0;
  EXPECT_EQ(o.markers.size(), boosted);
  EXPECT_GE(boosted, 5U);
  // Not drawn while another output is shown, and nothing is applied there.
  EXPECT_EQ(Find(session.Overlay(2, Behind({1})), LayerKind::kAutoEqPreview, 1), nullptr);
  EXPECT_FALSE(session.Apply(2));

  ASSERT_TRUE(session.Apply(1));
  EXPECT_EQ(session.PreviewOf(1), nullptr);
  const Response after = *session.Controller().Prediction(1);
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    EXPECT_DOUBLE_EQ(after[i], preview.predictionAfter[i]) << "grid point " << i;
  }
  for (const BandSetting& b : preview.bands) {
    EXPECT_EQ(model.Output(1).Filter(b.band).GainIndex(), b.gainIndex) << "band " << b.band;
  }
}

TEST_F(SessionTest, ChangesThatMakeAPreviewStaleDropIt) {
  session.SetMeasurement(1, TargetMinusBands(FlatTarget()));
  session.SetMeasurement(2, TargetMinusBands(FlatTarget()));
  MeasureError error;
  ASSERT_TRUE(session.Preview(1, {}, error));
  session.SetShift(2, 1.0);  // another output: kept
  EXPECT_NE(session.PreviewOf(1), nullptr);
  session.SetShift(1, 1.0);
  EXPECT_EQ(session.PreviewOf(1), nullptr);
  ASSERT_TRUE(session.Preview(1, {}, error));
  session.SetTarget(CarTarget());
  EXPECT_EQ(session.PreviewOf(1), nullptr);
  ASSERT_TRUE(session.Preview(1, {}, error));
  session.Clear(1);
  EXPECT_EQ(session.PreviewOf(1), nullptr);
  EXPECT_FALSE(session.Preview(1, {}, error));
  EXPECT_EQ(error.kind, MeasureErrorKind::kNoMeasurement);
}

TEST_F(SessionTest, MeasurementsComeBackFromTheirFileAtTheNextStart) {
  const auto file = dir / "car.vmeas";
  std::ofstream(dir / "fl.txt") << testing::MeasurementText(TargetMinusBands(CarTarget()));
  MeasureError error;
  ASSERT_TRUE(session.Open(file, error));  // not there yet: a new file
  EXPECT_TRUE(session.Keeping());
  EXPECT_TRUE(session.SaveIfModified(error));
  EXPECT_FALSE(std::filesystem::exists(file));  // nothing to keep yet
  ASSERT_TRUE(session.Import(6, dir / "fl.txt", error));
  session.SetShift(6, 2.5);
  session.SetTarget(CarTarget());
  ASSERT_TRUE(session.SaveIfModified(error));
  EXPECT_FALSE(session.Modified());

  MeasureSession next(model);
  ASSERT_TRUE(next.Open(file, error));
  const Measurement* m = next.Controller().MeasurementOf(6);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->source, "fl.txt");
  EXPECT_DOUBLE_EQ(m->shiftDb, 2.5);
  EXPECT_EQ(next.Controller().Target().kind, TargetKind::kCar);
  EXPECT_EQ(next.Controller().MeasurementOf(0), nullptr);
}

TEST_F(SessionTest, ARefusedFileIsNeverOverwritten) {
  const auto file = dir / "car.vmeas";
  const std::string damaged = "vantor-measurements 1\ntarget flat\noutput 9\n";
  std::ofstream(file) << damaged;
  MeasureError error;
  EXPECT_FALSE(session.Open(file, error));
  EXPECT_EQ(error.kind, MeasureErrorKind::kBadSideFile);
  EXPECT_EQ(error.line, 3);
  EXPECT_FALSE(session.Keeping());
  session.SetMeasurement(0, TargetMinusBands(FlatTarget()));
  EXPECT_TRUE(session.SaveIfModified(error));
  EXPECT_EQ(Read(file), damaged);
}

}  // namespace
}  // namespace vantor
