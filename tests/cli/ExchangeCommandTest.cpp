// vantorctl export and import, run on files.

#include <gtest/gtest.h>

#include <fstream>

#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "cli/ToolRun.h"
#include "connection/LinkRig.h"
#include "exchange/ExchangeValues.h"

namespace vantor::cli::testing {
namespace {

using vantor::testing::TempDir;

class ExchangeTool : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir.Path() / name).string(); }
  // A preset file whose output 3 has a boosted band, a shelf and a high-pass.
  std::string Shaped() {
    const std::string file = Path("tune.dsps");
    EXPECT_EQ(RunTool({"preset", "new", file}).code, kExitOk);
    const ToolRun set = RunTool({"preset", "set", file, "out3.band5.gain=4.5",
                                 "out3.band5.freq=1000", "out3.band5.q=1.414", "out3.hp.freq=80",
                                 "out3.hp.slope=2", "out3.hp.family=linkwitz"});
    EXPECT_EQ(set.code, kExitOk) << set.err;
    return file;
  }
  void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::unique_ptr<Program> Open(const std::string& path) { return OpenProgram(path); }
  TempDir dir;
};

TEST_F(ExchangeTool, ExportWritesTheOutputsFiltersToStandardOutputOrAFile) {
  const std::string file = Shaped();
  const ToolRun apo = RunTool({"export", file, "--output", "3", "--format", "eqapo"});
  ASSERT_EQ(apo.code, kExitOk) << apo.err;
  ASSERT_EQ(apo.lines.size(), 4U);
  EXPECT_EQ(apo.lines[0], "# Vantor CH3");
  EXPECT_EQ(apo.lines[1], "Filter 1: ON HPQ Fc 80 Hz Q 0.710");
  EXPECT_EQ(apo.lines[3], "Filter 3: ON PK Fc 1000 Hz Gain 4.5 dB Q 1.414");
  EXPECT_TRUE(apo.err.empty());

  const std::string out = Path("ch3.txt");
  const ToolRun rew = RunTool({"export", file, "--output", "3", "--format", "rew", "--out", out});
  ASSERT_EQ(rew.code, kExitOk) << rew.err;
  EXPECT_TRUE(rew.out.empty());
  const auto bytes = FileBytes(out);
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_TRUE(text.starts_with("Filter Settings file\n"));
  EXPECT_NE(text.find("Filter  3: ON  PK  Fc  1000 Hz  Gain  4.5 dB  Q  1.414\n"),
            std::string::npos);
}

TEST_F(ExchangeTool, ExportNamesWhatTheFormatCannotHold) {
  const std::string file = Shaped();
  ASSERT_EQ(RunTool({"preset", "set", file, "out3.hp.slope=1"}).code, kExitOk);
  const ToolRun r = RunTool({"--lang", "zh", "export", file, "--output", "3", "--format", "rew"});
  ASSERT_EQ(r.code, kExitOk);
  EXPECT_TRUE(r.OneErrorLine());
  EXPECT_NE(r.err.find("一阶分频段"), std::string::npos);
}

TEST_F(ExchangeTool, ExportRefusesBadArguments) {
  const std::string file = Shaped();
  EXPECT_EQ(RunTool({"export", file, "--output", "9", "--format", "rew"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"export", file, "--output", "1", "--format", "wav"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"export", file, "--format", "rew"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"export", Path("missing.dsps"), "--output", "1", "--format", "rew"}).code,
            kExitFile);
  const ToolRun help = RunTool({"export", "--help"});
  EXPECT_EQ(help.code, kExitOk);
  EXPECT_NE(help.out.find("camilladsp"), std::string::npos);
}

TEST_F(ExchangeTool, ImportRefusesAFileWithLinesItCannotHoldUnlessTheRestIsAccepted) {
  const std::string file = Shaped();
  const std::string filters = Path("room.txt");
  Write(filters,
        "Preamp: -4 dB\n"
        "Filter 1: ON PK Fc 63 Hz Gain -5.5 dB Q 4.0\n"
        "Filter 2: ON NO Fc 50 Hz\n"
        "Filter 3: ON HSC Fc 8000 Hz Gain 2 dB Q 0.7\n");
  const std::string out = Path("out.dsps");
  const ToolRun refused = RunTool({"import", file, out, "--output", "2", filters});
  EXPECT_EQ(refused.code, kExitFile);
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_NE(refused.err.find("line 1: command not imported: Preamp: -4 dB"), std::string::npos);
  EXPECT_NE(refused.err.find("line 3: filter type not supported: Filter 2: ON NO Fc 50 Hz"),
            std::string::npos);
  EXPECT_NE(refused.err.find("2 lines cannot be imported"), std::string::npos);

  const ToolRun accepted =
      RunTool({"import", file, out, "--output", "2", filters, "--accept-partial"});
  ASSERT_EQ(accepted.code, kExitOk) << accepted.err;
  EXPECT_EQ(accepted.out, "CH2: 2 bands\n");
  const auto program = Open(out);
  ASSERT_NE(program, nullptr);
  const CKTV_OutData& ch2 = program->model.Output(1);
  EXPECT_EQ(ch2.Filter(0).Frequency(), *SnapFrequencyToGrid(63));
  EXPECT_EQ(ch2.Filter(0).GainIndex(), 145);
  EXPECT_EQ(ch2.Filter(1).Type(), kHighShelf);
  // The rest of the file is as it was: output 3 keeps its band.
  EXPECT_EQ(program->model.Output(2).Filter(4).GainIndex(), 245);
}

TEST_F(ExchangeTool, AnExportImportsBackIntoAnotherOutput) {
  const std::string file = Shaped();
  const std::string text = Path("ch3.txt");
  ASSERT_EQ(RunTool({"export", file, "--output", "3", "--format", "eqapo", "--out", text}).code,
            kExitOk);
  const ToolRun r = RunTool({"--lang", "zh", "import", file, file, "--output", "7", text});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out, "CH7: 1 个频段，高通\n");
  const auto program = Open(file);
  CKTV_OutData& ch7 = program->model.Output(6);
  EXPECT_EQ(ch7.Filter(0).Frequency(), 1000);
  EXPECT_EQ(ch7.Filter(0).GainIndex(), 245);
  EXPECT_EQ(ch7.Filter(0).BandwidthIndex(), 95);
  EXPECT_EQ(ch7.HighPass().Frequency(), *SnapFrequencyToGrid(80));
  EXPECT_EQ(ch7.HighPass().Family(), 0);
  EXPECT_EQ(ch7.HighPass().Slope(), 2);
}

TEST_F(ExchangeTool, ImportRefusesBadArgumentsAndFiles) {
  const std::string file = Shaped();
  EXPECT_EQ(RunTool({"import", file, Path("o.dsps"), "--output", "0", file}).code, kExitUsage);
  EXPECT_EQ(RunTool({"import", file, Path("o.dsps"), Path("x.txt")}).code, kExitUsage);
  EXPECT_EQ(RunTool({"import", file, Path("o.dsps"), "--output", "1", Path("x.txt")}).code,
            kExitFile);
  EXPECT_FALSE(std::filesystem::exists(Path("o.dsps")));
}

}  // namespace
}  // namespace vantor::cli::testing
