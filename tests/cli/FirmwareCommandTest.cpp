// vantorctl firmware info, device firmware and device factory-reset against the
// simulated processor.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/ExitCodes.h"
#include "model/DataDefine.h"
#include "sim/SimulatedProcessor.h"

namespace vantor::cli {
namespace {

struct ToolRun {
  int code = -1;
  std::string out;
  std::string err;
};

ToolRun RunTool(std::vector<std::string> args) {
  std::ostringstream out;
  std::ostringstream err;
  ToolRun r;
  r.code = RunCli(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class FirmwareCommand : public ::testing::Test {
 protected:
  FirmwareCommand() {
    m_dir = std::filesystem::temp_directory_path() /
            ("vantor-fwcli-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
  }
  ~FirmwareCommand() override { std::filesystem::remove_all(m_dir); }

  std::string File(const std::string& name, std::size_t size) {
    const auto path = m_dir / name;
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < size; ++i) out.put(static_cast<char>((i * 37 + 11) & 0xFF));
    return path.string();
  }
  std::string Path(const std::string& name) const { return (m_dir / name).string(); }

 private:
  std::filesystem::path m_dir;
};

TEST_F(FirmwareCommand, InfoDescribesTheFileAndHowItIsSent) {
  const std::string dsp = File("unit.dsp", 100);
  const ToolRun json = RunTool({"firmware", "info", dsp, "--json"});
  ASSERT_EQ(json.code, kExitOk) << json.err;
  // 0x12 XOR bytes 4..99 of (i * 37 + 11) & 0xFF.
  std::uint8_t x = 0x12;
  for (int i = 4; i < 100; ++i) x ^= static_cast<std::uint8_t>((i * 37 + 11) & 0xFF);
  EXPECT_EQ(json.out, "{\"kind\":\"processor\",\"size\":100,\"checksum\":" + std::to_string(x) +
                          ",\"blocks\":8,\"packets\":{\"176\":1,\"177\":1,\"178\":3,\"179\":1}}\n");

  const ToolRun contr = RunTool({"firmware", "info", File("hand.contr", 96), "--json"});
  ASSERT_EQ(contr.code, kExitOk) << contr.err;
  EXPECT_TRUE(Has(contr.out, "\"kind\":\"controller\""));
  EXPECT_TRUE(Has(contr.out, "\"packets\":{\"224\":1,\"225\":1,\"226\":2,\"227\":1}"));

  const ToolRun text = RunTool({"firmware", "info", dsp});
  ASSERT_EQ(text.code, kExitOk);
  EXPECT_TRUE(Has(text.out, "blocks: 8\n"));
  EXPECT_TRUE(Has(text.out, "packets: 176 x1 177 x1 178 x3 179 x1\n"));
}

TEST_F(FirmwareCommand, InfoRefusals) {
  const ToolRun caps = RunTool({"firmware", "info", File("UNIT.DSP", 100)});
  EXPECT_EQ(caps.code, kExitFile);
  EXPECT_TRUE(Has(caps.err, "升级文件类型错误！"));
  const ToolRun missing = RunTool({"firmware", "info", Path("none.dsp")});
  EXPECT_EQ(missing.code, kExitFile);
  EXPECT_TRUE(Has(missing.err, "Hex File error!"));
  const ToolRun zh = RunTool({"--lang", "zh", "firmware", "info", Path("none.dsp")});
  EXPECT_TRUE(Has(zh.err, "固件文件错误!"));
  EXPECT_EQ(RunTool({"firmware", "info"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"firmware", "flash", "x.dsp"}).code, kExitUsage);
}

TEST_F(FirmwareCommand, UpdateAgainstTheSimulatedProcessor) {
  const ToolRun ok = RunTool({"--sim", "device", "firmware", File("unit.dsp", 1000)});
  ASSERT_EQ(ok.code, kExitOk) << ok.err;
  EXPECT_EQ(ok.out, "updated: processor image, 1000 bytes, 24 packets\n");
  EXPECT_TRUE(Has(ok.err, "Search for upgraded devices"));
  EXPECT_TRUE(Has(ok.err, "vantorctl: Update successfully!"));

  const ToolRun badFile = RunTool({"--sim", "device", "firmware", Path("none.dsp")});
  EXPECT_EQ(badFile.code, kExitFile);
  EXPECT_TRUE(Has(badFile.err, "Hex File error!"));
}

TEST_F(FirmwareCommand, AnUpdateThatFailsExitsWithTheDeviceCode) {
  // Every answer lost: the start packet goes out twice, then the update stops.
  const ToolRun r =
      RunTool({"--sim", "--sim-faults", "drop=1", "device", "firmware", File("unit.dsp", 100)});
  EXPECT_EQ(r.code, kExitDevice);
  EXPECT_TRUE(Has(r.err, "unable to connect")) << r.err;
  EXPECT_TRUE(Has(r.err, "the update stopped at packet 176 (0 of 6 acknowledged)")) << r.err;
  EXPECT_FALSE(Has(r.err, "Update successfully!"));
  EXPECT_TRUE(r.out.empty());
}

TEST_F(FirmwareCommand, AnUpdateBrokenOffIsFinishedByTheNextRunAndBricksNothing) {
  const std::string state = Path("unit.vsim");
  const std::string image = File("unit.dsp", 1000);
  // The unit stops answering in the middle of the data packets.
  const ToolRun broken = RunTool(
      {"--sim", "--sim-state", state, "--sim-faults", "stop=10", "device", "firmware", image});
  EXPECT_EQ(broken.code, kExitDevice);
  EXPECT_TRUE(Has(broken.err, "the update stopped at packet 178")) << broken.err;
  auto unit = sim::SimulatedProcessor::Create();
  ASSERT_EQ(unit->LoadMemory(state), sim::SimFileStatus::kOk);
  EXPECT_TRUE(unit->InBootLoader()) << "the memory file keeps the unit in its boot loader";

  // Powered up again, it still waits in its boot loader: no program runs to answer.
  const ToolRun waiting = RunTool({"--sim", "--sim-state", state, "device", "info"});
  EXPECT_EQ(waiting.code, kExitDevice);
  EXPECT_TRUE(Has(waiting.err, "not answering")) << waiting.err;

  // The next update starts over and completes; then the unit runs its program again.
  const ToolRun again = RunTool({"--sim", "--sim-state", state, "device", "firmware", image});
  ASSERT_EQ(again.code, kExitOk) << again.err;
  const ToolRun info = RunTool({"--sim", "--sim-state", state, "device", "info"});
  EXPECT_EQ(info.code, kExitOk) << info.err;
  ASSERT_EQ(unit->LoadMemory(state), sim::SimFileStatus::kOk);
  EXPECT_FALSE(unit->InBootLoader());
  EXPECT_EQ(unit->FirmwareImage().size(), 1000U);
}

TEST_F(FirmwareCommand, FactoryResetNeedsYesAndClearsTheUnit) {
  const std::string state = Path("unit.vsim");
  {
    auto unit = sim::SimulatedProcessor::Create();
    unit->Modify([](ProgramState& s) { s.Slot(3)[0] = 'Z'; });
    ASSERT_EQ(unit->SaveMemory(state), sim::SimFileStatus::kOk);
  }
  const ToolRun refused = RunTool({"--sim", "--sim-state", state, "device", "factory-reset"});
  EXPECT_EQ(refused.code, kExitUsage);
  EXPECT_TRUE(
      Has(refused.err, "After restoring the factory settings, all your data will be lost."));
  auto unit = sim::SimulatedProcessor::Create();
  ASSERT_EQ(unit->LoadMemory(state), sim::SimFileStatus::kOk);
  EXPECT_EQ(unit->Record(3)[0], 'Z');  // untouched

  const ToolRun done = RunTool({"--sim", "--sim-state", state, "device", "factory-reset", "--yes"});
  ASSERT_EQ(done.code, kExitOk) << done.err;
  ASSERT_EQ(unit->LoadMemory(state), sim::SimFileStatus::kOk);
  ProgramState factory;
  EXPECT_EQ(unit->Record(3), factory.Slot(3));
}

TEST_F(FirmwareCommand, TheBackupBeforeAnUpdateIsTheDeviceBackupByteForByte) {
  const std::string state = Path("unit.vsim");
  {
    auto unit = sim::SimulatedProcessor::Create();
    unit->Modify([](ProgramState& s) {
      for (int n = 1; n <= 6; ++n)
        s.Slot(n)[rec::kProgramName] = static_cast<std::uint8_t>('K' + n);
    });
    ASSERT_EQ(unit->SaveMemory(state), sim::SimFileStatus::kOk);
  }
  const ToolRun backup =
      RunTool({"--sim", "--sim-state", state, "device", "backup", Path("plain.dspa")});
  ASSERT_EQ(backup.code, kExitOk) << backup.err;

  const ToolRun update = RunTool({"--sim", "--sim-state", state, "device", "firmware",
                                  File("unit.dsp", 1000), "--backup", Path("before")});
  ASSERT_EQ(update.code, kExitOk) << update.err;
  EXPECT_EQ(update.out, "backed up: " + Path("before.dspa") +
                            "\nupdated: processor image, 1000 bytes, 24 packets\n");
  const auto plain = FileBytes(Path("plain.dspa"));
  ASSERT_EQ(plain.size(), 58730U);
  EXPECT_EQ(FileBytes(Path("before.dspa")), plain);

  const ToolRun reset = RunTool({"--sim", "--sim-state", state, "device", "factory-reset", "--yes",
                                 "--backup", Path("before-reset.dspa")});
  ASSERT_EQ(reset.code, kExitOk) << reset.err;
  EXPECT_EQ(FileBytes(Path("before-reset.dspa")), plain);
}

TEST_F(FirmwareCommand, ARefusedBackupChangesNothing) {
  const std::string state = Path("unit.vsim");
  {
    auto unit = sim::SimulatedProcessor::Create();
    unit->Modify([](ProgramState& s) { s.Slot(3)[0] = 'Z'; });
    ASSERT_EQ(unit->SaveMemory(state), sim::SimFileStatus::kOk);
  }
  const std::string nowhere = Path("no-such-folder/backup.dspa");
  const ToolRun update = RunTool({"--sim", "--sim-state", state, "device", "firmware",
                                  File("unit.dsp", 100), "--backup", nowhere});
  EXPECT_EQ(update.code, kExitFile);
  EXPECT_TRUE(Has(update.err, "save File Error!; nothing was changed")) << update.err;
  EXPECT_FALSE(Has(update.err, "Search for upgraded devices")) << "the update never started";
  EXPECT_TRUE(update.out.empty());

  const ToolRun reset = RunTool(
      {"--sim", "--sim-state", state, "device", "factory-reset", "--yes", "--backup", nowhere});
  EXPECT_EQ(reset.code, kExitFile);
  auto unit = sim::SimulatedProcessor::Create();
  ASSERT_EQ(unit->LoadMemory(state), sim::SimFileStatus::kOk);
  EXPECT_EQ(unit->Record(3)[0], 'Z') << "the reset never ran";

  // Without a processor there is nothing to back up, and nothing is updated.
  const ToolRun absent = RunTool({"--sim", "--sim-faults", "unplug=1", "device", "firmware",
                                  File("unit.dsp", 100), "--backup", Path("x.dspa")});
  EXPECT_NE(absent.code, kExitOk);
  EXPECT_FALSE(Has(absent.err, "Update successfully!"));
  EXPECT_EQ(RunTool({"--sim", "device", "firmware", File("unit.dsp", 100), "--backup"}).code,
            kExitUsage);
}

}  // namespace
}  // namespace vantor::cli
