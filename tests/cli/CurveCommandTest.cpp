// vantorctl curve: output format, the summed response and the error exits.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/ExitCodes.h"
#include "cli/ToolRun.h"

namespace vantor::cli {
namespace {

using testing::RunTool;
using testing::ToolRun;

double DbOf(const std::string& line) { return std::stod(line.substr(line.find(' ') + 1)); }

TEST(CurveCommand, PrintsTheGridAndNineDecimals) {
  const ToolRun r = RunTool({"curve", "type=peak,freq=1000,gain=6,bw=15"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  ASSERT_EQ(r.lines.size(), 241U);
  EXPECT_EQ(r.lines[0].substr(0, 5), "19.7 ");
  EXPECT_EQ(r.lines[137].substr(0, 5), "1030 ");
  EXPECT_EQ(r.lines[240].substr(0, 6), "20000 ");
  const std::string value = r.lines[136].substr(r.lines[136].find(' ') + 1);
  EXPECT_EQ(value.size() - value.find('.') - 1, 9U);
  EXPECT_NEAR(DbOf(r.lines[136]), 6.0, 0.01);
  EXPECT_TRUE(r.err.empty());
}

TEST(CurveCommand, FiltersAddUp) {
  const ToolRun one = RunTool({"curve", "type=peak,freq=1000,gain=6"});
  const ToolRun two =
      RunTool({"curve", "type=peak,freq=1000,gain=6", "type=peak,freq=1000,gain=6"});
  ASSERT_EQ(two.code, kExitOk);
  EXPECT_NEAR(DbOf(two.lines[136]), 2 * DbOf(one.lines[136]), 1e-8);
}

TEST(CurveCommand, OffCrossoverIsFlat) {
  for (const char* f : {"type=highpass,freq=500,slope=7", "type=lowpass,freq=20000",
                        "type=highpass,freq=20,family=bessel"}) {
    const ToolRun r = RunTool({"curve", f});
    ASSERT_EQ(r.code, kExitOk) << f << ": " << r.err;
    for (const std::string& line : r.lines) {
      EXPECT_EQ(line.substr(line.find(' ') + 1), "0.000000000") << f;
    }
  }
}

TEST(CurveCommand, CrossoverCutsItsStopBand) {
  const ToolRun r = RunTool({"curve", "type=highpass,freq=1000,slope=6,family=linkwitz"});
  ASSERT_EQ(r.code, kExitOk);
  EXPECT_LT(DbOf(r.lines[40]), -60.0);  // 100 Hz, more than three octaves below
  EXPECT_NEAR(DbOf(r.lines[240]), 0.0, 0.5);
}

TEST(CurveCommand, ShelvesLandOnTheirSideOfTwoKilohertz) {
  const ToolRun asked = RunTool({"curve", "type=lowshelf,freq=5000,gain=6"});
  const ToolRun capped = RunTool({"curve", "type=lowshelf,freq=2000,gain=6"});
  ASSERT_EQ(asked.code, kExitOk);
  EXPECT_EQ(asked.out, capped.out);
  const ToolRun high = RunTool({"curve", "type=highshelf,freq=100,gain=-6,slope=1"});
  const ToolRun raised = RunTool({"curve", "type=highshelf,freq=2000,gain=-6,slope=1"});
  EXPECT_EQ(high.out, raised.out);
}

TEST(CurveCommand, ReducedListIndexOneIsTwentyFourDecibels) {
  const ToolRun reduced = RunTool({"curve", "type=lowpass,freq=800,reduced=1,slope=1"});
  const ToolRun full = RunTool({"curve", "type=lowpass,freq=800,slope=2"});
  ASSERT_EQ(reduced.code, kExitOk);
  EXPECT_EQ(reduced.out, full.out);
}

TEST(CurveCommand, BadInputIsAUsageErrorNamingThePart) {
  struct Case {
    std::vector<std::string> args;
    std::string mention;
  };
  const std::vector<Case> cases = {
      {{"curve"}, "no filter"},
      {{"curve", "type=notch"}, "type"},
      {{"curve", "colour=red"}, "colour"},
      {{"curve", "freq=19"}, "freq"},
      {{"curve", "freq=20001"}, "freq"},
      {{"curve", "freq=1e3"}, "freq"},
      {{"curve", "gain=20.1"}, "gain"},
      {{"curve", "gain=abc"}, "gain"},
      {{"curve", "gain=nan"}, "gain"},
      {{"curve", "gain=-nan"}, "gain"},
      {{"curve", "gain=inf"}, "gain"},
      {{"curve", "gain=-infinity"}, "gain"},
      {{"curve", "gain=1.25"}, "0.1 dB steps"},
      {{"curve", "bw=296"}, "bw"},
      {{"curve", "type=lowshelf,slope=2"}, "slope"},
      {{"curve", "type=highpass,slope=8"}, "slope"},
      {{"curve", "type=highpass,reduced=1,slope=2"}, "slope"},
      {{"curve", "type=highpass,gain=3"}, "gain"},
      {{"curve", "type=peak,family=bessel"}, "family"},
      {{"curve", "type=peak,,freq=100"}, "key=value"},
      {{"curve", "freq"}, "key=value"},
      {{"curve", "freq=100,freq=200"}, "twice"},
      {{"curve", ""}, "empty"},
      {{"bogus"}, "bogus"},
      {{}, "no command"},
  };
  for (const Case& c : cases) {
    const ToolRun r = RunTool(c.args);
    EXPECT_EQ(r.code, kExitUsage) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(c.mention), std::string::npos) << "stderr: " << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
}

TEST(CurveCommand, HelpGoesToStandardOutput) {
  const ToolRun r = RunTool({"curve", "--help"});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_NE(r.out.find("usage: vantorctl curve"), std::string::npos);
  const ToolRun top = RunTool({"--help"});
  EXPECT_EQ(top.code, kExitOk);
  EXPECT_NE(top.out.find("curve"), std::string::npos);
}

}  // namespace
}  // namespace vantor::cli
