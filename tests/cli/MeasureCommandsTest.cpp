// vantorctl measure, autoeq and align, end to end on files: what they print, what they write,
// and the exit codes of their refusals.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SyntheticCurves.h"
#include "TempFolder.h"
#include "cli/ExitCodes.h"
#include "cli/ToolRun.h"

namespace vantor::cli {
namespace {

namespace fs = std::filesystem;
using testing::RunTool;
using testing::ToolRun;

double DbOf(const std::string& line) { return std::stod(line.substr(line.find(' ') + 1)); }

class MeasureCommands : public vantor::testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    in = Path("in.dsps");
    ASSERT_EQ(RunTool({"preset", "new", in}).code, kExitOk);
    measurement = Path("fl.txt");
    Write(measurement,
          vantor::testing::MeasurementText(vantor::testing::TargetMinusBands(FlatTarget())));
  }

  static void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
  }

  std::string in;
  std::string measurement;
};

TEST_F(MeasureCommands, MeasurePrintsTheImportOnTheGrid) {
  // Rows every octave from 10 Hz, alternating 0 and 6 dB.
  std::string text = "Frequency;Level\n";
  for (int k = 0; k < 12; ++k)
    text += std::to_string(10 << k) + ",0;" + (k % 2 ? "6" : "0") + ",0\n";
  Write(Path("m.csv"), text);
  const ToolRun r = RunTool({"measure", Path("m.csv")});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  ASSERT_EQ(r.lines.size(), 241U);
  EXPECT_EQ(r.lines[0].substr(0, 5), "19.7 ");
  EXPECT_EQ(r.lines[136].substr(0, 5), "1000 ");
  EXPECT_EQ(r.lines[240].substr(0, 6), "20000 ");
  // 1000 Hz: 6·log2(1000/640); 2000 Hz: 6 − 6·log2(2000/1280); the normalisation moves both.
  EXPECT_NEAR(DbOf(r.lines[136]) - DbOf(r.lines[160]), 3.863137 - 2.136863, 1e-6);
}

TEST_F(MeasureCommands, MeasureRefusals) {
  Write(Path("bad.txt"), "* h\n100 1\n200 2\n150 3\n");
  ToolRun r = RunTool({"measure", Path("bad.txt")});
  EXPECT_EQ(r.code, kExitFile);
  EXPECT_TRUE(r.OneErrorLine()) << r.err;
  EXPECT_NE(r.err.find("bad.txt: line 4: frequencies must"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty());
  r = RunTool({"--lang", "zh", "measure", Path("bad.txt")});
  EXPECT_NE(r.err.find("第 4 行"), std::string::npos) << r.err;
  EXPECT_EQ(RunTool({"measure", Path("missing.txt")}).code, kExitFile);
  EXPECT_EQ(RunTool({"measure"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"measure", "a", "b"}).code, kExitUsage);
  r = RunTool({"measure", "--help"});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.out.substr(0, 22), "usage: vantorctl measu");
  EXPECT_EQ(RunTool({"--lang", "zh", "measure", "--help"}).out.substr(0, 6), "用法");
}

TEST_F(MeasureCommands, AutoEqWritesTheFittedBandsAndReportsTheDeviation) {
  const std::string out = Path("out.dsps");
  const ToolRun r = RunTool(
      {"autoeq", in, out, "--output", "3", "--measurement", measurement, "--target", "flat"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  ASSERT_GE(r.lines.size(), 2U);
  const std::string& last = r.lines.back();
  ASSERT_EQ(last.substr(0, 11), "rms before ");
  const double before = std::stod(last.substr(11));
  const double after = std::stod(last.substr(last.find(" after ") + 7));
  EXPECT_GT(before, 2.0);
  EXPECT_LT(after, before / 3.0);
  for (std::size_t i = 0; i + 1 < r.lines.size(); ++i) {
    EXPECT_EQ(r.lines[i].substr(0, 5), "band ") << r.lines[i];
  }

  // Only output 3's bands changed.
  const ToolRun diff = RunTool({"preset", "diff", in, out});
  ASSERT_EQ(diff.code, kExitOk);
  ASSERT_FALSE(diff.lines.empty());
  for (const std::string& line : diff.lines) EXPECT_EQ(line.substr(0, 9), "out3.band") << line;

  // The written channel curve makes the printed deviation: measurement + response vs flat.
  const ToolRun measured = RunTool({"measure", measurement});
  const ToolRun response = RunTool({"response", out, "--channel", "3"});
  ASSERT_EQ(response.lines.size(), 241U);
  double sum = 0.0;
  int count = 0;
  for (std::size_t i = 1; i < 241; ++i) {  // the range: 20 Hz..20 kHz
    const double e = DbOf(measured.lines[i]) + DbOf(response.lines[i]);
    sum += e * e;
    ++count;
  }
  EXPECT_NEAR(std::sqrt(sum / count), after, 0.006);
}

TEST_F(MeasureCommands, AutoEqOptionsShapeTheFit) {
  const std::string out = Path("out.dsps");
  ToolRun r = RunTool({"autoeq", in, out, "--output", "1", "--measurement", measurement,
                       "--max-boost", "0", "--bands", "2", "--target", "car"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  ASSERT_LE(r.lines.size(), 3U);
  for (std::size_t i = 0; i + 1 < r.lines.size(); ++i) {
    const auto comma = r.lines[i].find(", ");
    EXPECT_LE(std::stod(r.lines[i].substr(comma + 2)), 0.0) << r.lines[i];
  }
  // A house curve file, and a range.
  Write(Path("house.txt"), "house curve\n20 3\n20000 -3\n");
  r = RunTool({"autoeq", in, out, "--output", "8", "--measurement", measurement, "--target",
               Path("house.txt"), "--from", "100", "--to", "8000", "--shift", "-1.5"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  for (std::size_t i = 0; i + 1 < r.lines.size(); ++i) {
    const auto hz = std::stoi(r.lines[i].substr(r.lines[i].find(": ") + 2));
    EXPECT_GE(hz, 100);
    EXPECT_LE(hz, 8000);
  }
}

TEST_F(MeasureCommands, AutoEqRefusals) {
  const std::string out = Path("out.dsps");
  const std::vector<std::string> base = {"autoeq", in, out, "--measurement", measurement};
  auto with = [&base](std::vector<std::string> more) {
    std::vector<std::string> a = base;
    a.insert(a.end(), more.begin(), more.end());
    return RunTool(a);
  };
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {},  // no --output
           {"--output", "0"},
           {"--output", "9"},
           {"--output", "x"},
           {"--output", "1", "--bands", "0"},
           {"--output", "1", "--bands", "32"},
           {"--output", "1", "--from", "500", "--to", "400"},
           {"--output", "1", "--from", "10"},
           {"--output", "1", "--to", "nan"},
           {"--output", "1", "--max-boost", "21"},
           {"--output", "1", "--max-boost", "-1"},
           {"--output", "1", "--shift", "inf"},
           {"--output", "1", "--colour", "red"},
           {"--output", "1", "extra"},
       }) {
    const ToolRun r = with(bad);
    EXPECT_EQ(r.code, kExitUsage) << (bad.empty() ? "" : bad.back());
    EXPECT_TRUE(r.OneErrorLine()) << r.err;
  }
  EXPECT_EQ(RunTool({"autoeq", in, out, "--output", "1"}).code, kExitUsage);  // no measurement
  EXPECT_EQ(
      RunTool({"autoeq", Path("none.dsps"), out, "--output", "1", "--measurement", measurement})
          .code,
      kExitFile);
  EXPECT_EQ(RunTool({"autoeq", in, out, "--output", "1", "--measurement", Path("none.txt")}).code,
            kExitFile);
  EXPECT_EQ(with({"--output", "1", "--target", Path("none.txt")}).code, kExitFile);
  EXPECT_EQ(
      RunTool({"autoeq", in, dir.string(), "--output", "1", "--measurement", measurement}).code,
      kExitFile);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(RunTool({"autoeq", "--help"}).code, kExitOk);
}

TEST_F(MeasureCommands, AlignSetsDelaysFromDistances) {
  const std::string out = Path("al.dsps");
  ToolRun r = RunTool({"align", in, out, "--distance", "1=120cm,2=95cm,6=40in"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  // 25 cm → 0.7225 ms → 35 steps; 120 cm − 40 in (101.6 cm) = 18.4 cm → 0.5318 ms → 25.5.
  ASSERT_EQ(r.lines.size(), 3U);
  EXPECT_EQ(r.lines[0], "CH1: 0.000 ms (0)");
  EXPECT_EQ(r.lines[1], "CH2: 0.729 ms (35)");
  EXPECT_EQ(r.lines[2], "CH6: 0.542 ms (26)");
  const ToolRun diff = RunTool({"preset", "diff", in, out});
  ASSERT_EQ(diff.lines.size(), 2U);
  EXPECT_EQ(diff.lines[0], "out2.delay: 0.000ms -> 0.729ms");
  EXPECT_EQ(diff.lines[1], "out6.delay: 0.000ms -> 0.542ms");

  r = RunTool({"align", in, out, "--distance", "1=2000cm,2=0cm"});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.lines[1], "CH2: 50.000 ms (2400)");
  EXPECT_NE(r.err.find("CH2: the delay needed passes 50 ms"), std::string::npos) << r.err;
}

TEST_F(MeasureCommands, AlignRefusals) {
  const std::string out = Path("al.dsps");
  for (const char* bad : {"1=120", "9=10cm", "1=10cm,1=20cm", "x=1cm", "1=-5cm", "", "1=1cm,"}) {
    const ToolRun r = RunTool({"align", in, out, "--distance", bad});
    EXPECT_EQ(r.code, kExitUsage) << bad;
    EXPECT_TRUE(r.OneErrorLine()) << r.err;
  }
  EXPECT_EQ(RunTool({"align", in, out}).code, kExitUsage);
  EXPECT_EQ(RunTool({"align", in, "--distance", "1=1cm"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"align", Path("none.dsps"), out, "--distance", "1=1cm"}).code, kExitFile);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(RunTool({"--lang", "zh", "align", "--help"}).code, kExitOk);
}

}  // namespace
}  // namespace vantor::cli
