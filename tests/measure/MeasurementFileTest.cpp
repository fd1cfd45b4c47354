// The measurement file beside a preset and the controller that keeps it: a faithful round
// trip, refusals with their line, a later version refused, and saving that never leaves a
// half-written file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SyntheticCurves.h"
#include "TempFolder.h"
#include "measure/MeasureController.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

class MeasurementFileFixture : public testing::TempFolder {
 protected:
  static MeasurementSet Sample() {
    MeasurementSet set;
    Measurement m = testing::TargetMinusBands(CarTarget());
    testing::AddNoise(m, 1.0, 3);
    m.firstIndex = 12;
    m.lastIndex = 230;
    m.shiftDb = -2.75;
    m.source = "front left\nwith a line break.txt";
    set.outputs[0] = m;
    m.source = "sub.frd";
    m.shiftDb = 4.0;
    set.outputs[5] = m;
    MeasureError error;
    set.target = *HouseCurveFromText("20 8\n100 3\n1000 0\n20000 -4\n", error);
    set.target.name = "house.txt";
    return set;
  }

  static std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
  }
};

TEST_F(MeasurementFileFixture, RoundTripKeepsEveryValue) {
  const MeasurementSet set = Sample();
  MeasureError error;
  const auto back = MeasurementSetFromText(MeasurementSetText(set), error);
  ASSERT_TRUE(back.has_value()) << MeasureErrorText(error, false) << " line " << error.line;
  for (std::size_t o = 0; o < set.outputs.size(); ++o) {
    ASSERT_EQ(back->outputs[o].has_value(), set.outputs[o].has_value()) << o;
    if (!set.outputs[o]) continue;
    EXPECT_EQ(back->outputs[o]->db, set.outputs[o]->db);
    EXPECT_EQ(back->outputs[o]->shiftDb, set.outputs[o]->shiftDb);
    EXPECT_EQ(back->outputs[o]->firstIndex, 12);
    EXPECT_EQ(back->outputs[o]->lastIndex, 230);
  }
  EXPECT_EQ(back->outputs[0]->source, "front left with a line break.txt");
  EXPECT_EQ(back->target.kind, TargetKind::kFile);
  EXPECT_EQ(back->target.name, "house.txt");
  EXPECT_EQ(back->target.db, set.target.db);

  MeasurementSet car;
  car.target = CarTarget();
  const auto carBack = MeasurementSetFromText(MeasurementSetText(car), error);
  ASSERT_TRUE(carBack.has_value());
  EXPECT_EQ(carBack->target.kind, TargetKind::kCar);
  EXPECT_EQ(carBack->target.db, CarTarget().db);
}

TEST_F(MeasurementFileFixture, DamagedFilesAreRefusedWithTheirLine) {
  const std::string good = MeasurementSetText(Sample());
  // Line 1 is a comment, 2 the version, 3 the target, 4 its curve, 5 "output 1", 6 source,
  // 7 shift, 8 covers, 9 curve, 10 end.
  struct Case {
    std::string text;
    MeasureErrorKind kind;
    int line;
  };
  const Case cases[] = {
      {"", MeasureErrorKind::kBadSideFile, 1},
      {"something else\n", MeasureErrorKind::kBadSideFile, 1},
      {Replace(good, "vantor-measurements 1", "vantor-measurements 2"),
       MeasureErrorKind::kSideFileVersion, 2},
      {Replace(good, "output 1\n", "output 9\n"), MeasureErrorKind::kBadSideFile, 5},
      {Replace(good, "shift -2.75", "shift nan"), MeasureErrorKind::kBadSideFile, 7},
      {Replace(good, "shift -2.75", "shift 1e308"), MeasureErrorKind::kBadSideFile, 7},
      {Replace(good, "covers 12 230", "covers 230 12"), MeasureErrorKind::kBadSideFile, 8},
      {Replace(good, "covers 12 230", "covers 12 241"), MeasureErrorKind::kBadSideFile, 8},
      {Replace(good, "\nend\n", "\n"), MeasureErrorKind::kBadSideFile, 10},
      {Replace(good, "output 6\n", "output 1\n"), MeasureErrorKind::kBadSideFile, 11},
      {Replace(good, "target file", "target elsewhere"), MeasureErrorKind::kBadSideFile, 3},
      {good + "colour red\n", MeasureErrorKind::kBadSideFile, 17},
  };
  for (const Case& c : cases) {
    MeasureError error;
    EXPECT_FALSE(MeasurementSetFromText(c.text, error).has_value()) << c.text.substr(0, 200);
    EXPECT_EQ(error.kind, c.kind);
    EXPECT_EQ(error.line, c.line) << c.text.substr(0, 200);
  }
  // A curve with a value short.
  std::string shortCurve = good;
  const auto at = shortCurve.find("\ncurve ");
  const auto end = shortCurve.find('\n', at + 1);
  shortCurve.erase(shortCurve.rfind(' ', end), end - shortCurve.rfind(' ', end));
  MeasureError error;
  EXPECT_FALSE(MeasurementSetFromText(shortCurve, error).has_value());
  EXPECT_EQ(error.line, 9);
}

TEST_F(MeasurementFileFixture, SavesBesideThePresetAtomically) {
  EXPECT_EQ(MeasurementFileFor("/cars/golf.dsps"), fs::path("/cars/golf.dsps.vmeas"));
  const fs::path path = MeasurementFileFor(dir / "golf.dsps");
  MeasureError error;
  ASSERT_TRUE(SaveMeasurementSet(path, Sample(), error));
  const auto loaded = LoadMeasurementSet(path, error);
  ASSERT_TRUE(loaded.has_value());
  EXPECT_EQ(loaded->outputs[5]->source, "sub.frd");
  // Only the file itself is left in the folder: no temporary file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  // A save that cannot happen leaves the old file as it was.
  const auto before = fs::file_size(path);
  EXPECT_FALSE(SaveMeasurementSet(dir, Sample(), error));  // a folder is no file
  EXPECT_EQ(error.kind, MeasureErrorKind::kCannotWrite);
  EXPECT_EQ(fs::file_size(path), before);
  // The folder is created when it does not exist yet.
  EXPECT_TRUE(SaveMeasurementSet(dir / "data" / "vantor" / "m.vmeas", Sample(), error));
}

TEST_F(MeasurementFileFixture, DefaultFileFollowsTheDataFolder) {
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string keep = saved != nullptr ? saved : "";
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  EXPECT_EQ(DefaultMeasurementFile(), dir / "vantor" / "measurements.vmeas");
  if (saved != nullptr) {
    setenv("XDG_DATA_HOME", keep.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

TEST_F(MeasurementFileFixture, ControllerKeepsMeasurementsTargetAndPrediction) {
  ProgramState state;
  CKTV_Data model{state};
  model.LoadOutputs();
  MeasureController controller(model);
  EXPECT_FALSE(controller.Prediction(2).has_value());
  EXPECT_FALSE(controller.Modified());

  const fs::path file = dir / "fl.txt";
  {
    std::ofstream out(file);
    for (int k = 0; k < 12; ++k) out << (20 << k) / 2 << " " << (k % 3) << "\n";
  }
  MeasureError error;
  ASSERT_TRUE(controller.ImportMeasurement(2, file, error));
  EXPECT_TRUE(controller.Modified());
  EXPECT_EQ(controller.MeasurementOf(2)->source, "fl.txt");
  // A refused import changes nothing.
  EXPECT_FALSE(controller.ImportMeasurement(2, dir / "missing.txt", error));
  EXPECT_EQ(controller.MeasurementOf(2)->source, "fl.txt");

  // The prediction is the shifted measurement plus the channel curve as the set sums it.
  model.Output(2).Filter(17).SetGainIndex(260);
  controller.SetShift(2, 1.5);
  const Response channel = model.Output(2).Filters().SumDb();
  const auto prediction = controller.Prediction(2);
  ASSERT_TRUE(prediction.has_value());
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    EXPECT_DOUBLE_EQ((*prediction)[i], controller.MeasurementOf(2)->db[i] + 1.5 + channel[i]);
  }

  controller.SetTarget(CarTarget());
  const fs::path side = MeasurementFileFor(dir / "car.dsps");
  ASSERT_TRUE(controller.Save(side, error));
  EXPECT_FALSE(controller.Modified());

  MeasureController again(model);
  ASSERT_TRUE(again.Load(side, error));
  EXPECT_EQ(again.Target().kind, TargetKind::kCar);
  EXPECT_EQ(again.MeasurementOf(2)->shiftDb, 1.5);
  EXPECT_EQ(again.Prediction(2), prediction);
  EXPECT_EQ(again.MeasurementOf(0), nullptr);

  // Automatic EQ through the controller: refused without a measurement, applied as previewed.
  EXPECT_FALSE(again.PreviewAutoEq(0, {}, error).has_value());
  EXPECT_EQ(error.kind, MeasureErrorKind::kNoMeasurement);
  const auto preview = again.PreviewAutoEq(2, {}, error);
  ASSERT_TRUE(preview.has_value());
  again.ApplyAutoEq(2, *preview);
  EXPECT_EQ(again.Prediction(2), preview->predictionAfter);

  // A damaged file loads nothing.
  {
    std::ofstream out(side, std::ios::app);
    out << "garbage\n";
  }
  EXPECT_FALSE(again.Load(side, error));
  EXPECT_EQ(again.MeasurementOf(2)->shiftDb, 1.5);
}

}  // namespace
}  // namespace vantor
