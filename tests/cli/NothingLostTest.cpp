// Nothing the person did is lost: runs on one file take turns, an output never overwrites an
// input, protected and linked files are treated as files of their owner, and bad numbers
// are refused as written instead of being cut.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "base/FileLock.h"
#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "cli/ToolRun.h"
#include "connection/LinkRig.h"
#include "presets/SlotNames.h"
#include "sim/SimulatedProcessor.h"

namespace vantor::cli::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

class NothingLost : public PresetFiles {
 protected:
  int OutputGain(const std::string& file, int channel) {
    std::string error;
    auto image = OpenPresetFile(file, false, error);
    EXPECT_TRUE(image) << error;
    return image ? image->program->model.Output(channel).GainCode() : -1;
  }
  std::string SlotName(const std::string& state, int slot) {
    auto unit = sim::SimulatedProcessor::Create();
    EXPECT_EQ(unit->LoadMemory(state), sim::SimFileStatus::kOk);
    return SlotNameText(unit->Record(slot));
  }
};

TEST_F(NothingLost, TwoRunsOnOneSimulatedProcessorKeepBothChanges) {
  const std::string state = Path("unit.vsim");
  ToolRun first;
  std::thread one([&] {
    first = RunTool({"--sim", "--sim-state", state, "device", "store", "3", "AAA"});
  });
  std::this_thread::sleep_for(200ms);
  const ToolRun second = RunTool({"--sim", "--sim-state", state, "device", "store", "4", "BBB"});
  one.join();
  EXPECT_EQ(first.code, kExitOk) << first.err;
  EXPECT_EQ(second.code, kExitOk) << second.err;
  EXPECT_EQ(SlotName(state, 3), "AAA");
  EXPECT_EQ(SlotName(state, 4), "BBB");
}

TEST_F(NothingLost, PresetSetWaitsForAnotherReadModifyWriteOfTheFile) {
  const std::string file = NewFile("shared.dsps");
  FileLock other;  // another program in the middle of its own change
  ASSERT_TRUE(other.Acquire(file, 0ms).Ok());
  ToolRun waited;
  std::thread run([&] { waited = RunTool({"preset", "set", file, "out1.gain=-3"}); });
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(waited.code, -1) << "still waiting";
  EXPECT_EQ(OutputGain(file, 0), 60);
  other.Release();
  run.join();
  EXPECT_EQ(waited.code, kExitOk) << waited.err;
  EXPECT_NE(waited.err.find("in use by another program; waiting"), std::string::npos);
  EXPECT_EQ(OutputGain(file, 0), 57);

  // Many at once: every change lands.
  std::vector<std::thread> runs;
  std::vector<ToolRun> results(8);
  for (int c = 0; c < 8; ++c) {
    runs.emplace_back([&, c] {
      results[static_cast<std::size_t>(c)] =
          RunTool({"preset", "set", file,
                   "out" + std::to_string(c + 1) + ".gain=-" + std::to_string(c + 10)});
    });
  }
  for (auto& t : runs) t.join();
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(results[static_cast<std::size_t>(c)].code, kExitOk);
    EXPECT_EQ(OutputGain(file, c), 60 - (c + 10)) << "output " << c + 1;
  }
}

TEST_F(NothingLost, AnOutputThatIsAnInputIsRefusedHoweverItIsNamed) {
  const std::string file = NewFile("tune.dsps");
  const Bytes before = FileBytes(file);
  fs::create_symlink(file, Path("link.dsps"));
  fs::create_hard_link(file, Path("hard.dsps"));
  const std::string dotted = (dir.Path() / "." / "tune.dsps").string();
  for (const std::string& out : {file, dotted, Path("link.dsps"), Path("hard.dsps")}) {
    const ToolRun r = RunTool({"report", file, "--csv", out});
    EXPECT_EQ(r.code, kExitUsage) << out;
    EXPECT_NE(r.err.find("is the same file as the input"), std::string::npos) << r.err;
    EXPECT_EQ(FileBytes(file), before);
  }
  EXPECT_EQ(RunTool({"report", file, "--csv", Path("tune.csv")}).code, kExitOk);

  // The simulated processor's memory file is read and written by every device command.
  const std::string state = Path("unit.dspa");
  ASSERT_EQ(RunTool({"--sim", "--sim-state", state, "device", "info"}).code, kExitOk);
  const Bytes memory = FileBytes(state);
  fs::create_symlink(state, Path("state-link.dspa"));
  for (const std::vector<std::string>& args : {std::vector<std::string>{"backup", state},
                                               {"backup", Path("state-link.dspa")},
                                               {"backup", Path("unit")},
                                               {"firmware", state}}) {
    std::vector<std::string> all{"--sim", "--sim-state", state, "device"};
    all.insert(all.end(), args.begin(), args.end());
    const ToolRun r = RunTool(all);
    EXPECT_EQ(r.code, kExitUsage) << args[1] << ": " << r.err;
    EXPECT_NE(r.err.find("is the same file as the input"), std::string::npos) << r.err;
  }
  EXPECT_EQ(FileBytes(state), memory);
}

TEST_F(NothingLost, ProtectedPrivateAndLinkedPresetsAreSavedAsTheirOwnerWants) {
  const std::string file = NewFile("private.dsps");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  ASSERT_EQ(RunTool({"preset", "set", file, "out1.gain=-3"}).code, kExitOk);
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600U) << "a private file stays private";

  // Saved through the link, into the file it leads to.
  fs::create_symlink(file, Path("current.dsps"));
  ASSERT_EQ(RunTool({"preset", "set", Path("current.dsps"), "out2.gain=-4"}).code, kExitOk);
  EXPECT_TRUE(fs::is_symlink(Path("current.dsps")));
  EXPECT_EQ(OutputGain(file, 1), 56);

  const std::string locked = NewFile("locked.dsps");
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
  const Bytes before = FileBytes(locked);
  const int code = vantor::testing::AsAnotherPerson([&] {
    const ToolRun r = RunTool({"preset", "set", locked, "out1.gain=-3"});
    const bool said = r.err == "vantorctl preset set: " + locked + ": Permission denied\n";
    return said ? r.code : 100;
  });
  EXPECT_EQ(code, kExitFile);
  EXPECT_EQ(FileBytes(locked), before);
}

TEST_F(NothingLost, AnEmptyNameMakesNoHiddenFile) {
  for (const std::string& name : {std::string(), Path("") + "/"}) {
    const ToolRun r = RunTool({"preset", "new", name});
    EXPECT_EQ(r.code, kExitUsage) << r.err;
    EXPECT_NE(r.err.find("the file name is empty"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(".dsps"));
  EXPECT_FALSE(fs::exists(Path(".dsps")));
  for (const char* command : {"pull", "backup"}) {
    EXPECT_EQ(RunTool({"--sim", "device", command, ""}).code, kExitUsage) << command;
  }
  EXPECT_EQ(RunTool({"--sim", "device", "recall", "1", "--out", ""}).code, kExitUsage);
  EXPECT_FALSE(fs::exists(".dsps"));
  EXPECT_FALSE(fs::exists(".dspa"));
}

TEST_F(NothingLost, NumbersAreTakenAsWrittenOrRefused) {
  const std::string file = NewFile("n.dsps");
  const Bytes before = FileBytes(file);
  for (const char* edit :
       {"out1.mix1=50.5", "out1.gain=-3.5", "out1.gain=-60.5", "out1.band2.gain=3.55",
        "out1.delay=1.01", "out1.limiter.threshold=-6.05", "out1.limiter.attack=1.5",
        "out1.limiter.attack=0.35", "out1.gain=nan", "out1.band2.gain=inf"}) {
    const ToolRun r = RunTool({"preset", "set", file, edit});
    EXPECT_EQ(r.code, kExitUsage) << edit;
    EXPECT_TRUE(r.OneErrorLine()) << r.err;
    EXPECT_NE(r.err.find(edit), std::string::npos) << r.err;
    EXPECT_EQ(FileBytes(file), before) << edit;
  }
  const ToolRun between = RunTool({"preset", "set", file, "out1.mix1=50.5"});
  EXPECT_NE(between.err.find("between two steps (the step below is 50)"), std::string::npos)
      << between.err;

  // The ends of every range the help gives are taken.
  const ToolRun help = RunTool({"preset", "set", "--help"});
  ASSERT_EQ(RunTool({"preset", "set", file, "out1.gain=-60"}).code, kExitOk);
  EXPECT_EQ(OutputGain(file, 0), 0) << "-60 dB is the gain switched off";
  for (const char* edit :
       {"out1.gain=0", "out1.delay=0", "out1.delay=50", "out1.delay=1.25", "out1.mix1=0",
        "out1.mix1=100", "out1.band2.gain=-20", "out1.band2.gain=20", "out1.band2.gain=3.5",
        "out1.band2.q=0.404", "out1.band2.q=16.027", "out1.band2.q=1.41",
        "out1.limiter.threshold=-30", "out1.limiter.threshold=6", "out1.limiter.attack=0.3",
        "out1.limiter.attack=100", "out1.limiter.release=5", "out1.hp.freq=20",
        "out1.lp.freq=20000"}) {
    const ToolRun r = RunTool({"preset", "set", file, edit});
    EXPECT_EQ(r.code, kExitOk) << edit << ": " << r.err;
  }
  EXPECT_NE(help.out.find("outN.gain=-60..0|OFF"), std::string::npos);
  EXPECT_NE(help.out.find("never rounded or cut"), std::string::npos);
}

TEST_F(NothingLost, ANameReadBackFromTheDeviceIsNeverShownWithHalfACharacter) {
  const std::string state = Path("unit.vsim");
  ASSERT_EQ(
      RunTool({"--sim", "--sim-state", state, "device", "store", "3", "名字名字名字名字"}).code,
      kExitOk);
  const ToolRun info = RunTool({"--sim", "--sim-state", state, "device", "info"});
  ASSERT_EQ(info.code, kExitOk) << info.err;
  // Stored as seven whole characters; the device gives back 13 bytes of them.
  EXPECT_NE(info.out.find("slot 3: 名字名字名字\n"), std::string::npos) << info.out;
  EXPECT_EQ(info.out.find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character";
}

TEST_F(NothingLost, AllElevenFaultKindsAreOfferedAndNoChanceIsNotANumber) {
  for (const char* faults :
       {"drop=0.1", "corrupt=0.1", "resend=0.1", "split=0.1", "garbage=0.1", "empty=0.1",
        "unplug=0.1", "stop=5", "babble=5", "noreturn=1", "identity=TRX-999", "seed=3"}) {
    const ToolRun r = RunTool({"--sim", "--sim-faults", faults, "device", "list"});
    EXPECT_EQ(r.code, kExitOk) << faults << ": " << r.err;
  }
  for (const char* faults : {"drop=nan", "drop=inf", "resend=-inf", "drop=1.5", "stop=0", "stop=x",
                             "babble=", "bogus=1"}) {
    const ToolRun r = RunTool({"--sim", "--sim-faults", faults, "device", "list"});
    EXPECT_EQ(r.code, kExitUsage) << faults;
    EXPECT_TRUE(r.OneErrorLine()) << r.err;
  }
  // A wrong identity: the tool connects and is refused as another device.
  const ToolRun wrong =
      RunTool({"--sim", "--sim-faults", "identity=TRX-999-OTHER-V1.0", "device", "info"});
  EXPECT_EQ(wrong.code, kExitDevice);
  EXPECT_NE(wrong.err.find("not a supported processor"), std::string::npos) << wrong.err;
  // A unit that stops answering at once is "not answering".
  const ToolRun stopped = RunTool({"--sim", "--sim-faults", "stop=1", "device", "info"});
  EXPECT_EQ(stopped.code, kExitDevice);
  EXPECT_NE(stopped.err.find("not answering"), std::string::npos) << stopped.err;
}

TEST_F(NothingLost, AProcessorThatOnlyAsksForResendsIsNotAnsweringAndSaidSoQuickly) {
  const auto start = std::chrono::steady_clock::now();
  const ToolRun r = RunTool({"--sim", "--sim-faults", "resend=1", "device", "info"});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(r.code, kExitDevice);
  EXPECT_NE(r.err.find("the device is not answering"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("not a supported processor"), std::string::npos) << r.err;
  EXPECT_LT(took, 20s) << "not after the minute a connection may take";
}

TEST_F(NothingLost, APushThatBreaksOffSaysHowFarItGotAndWhatToDo) {
  const std::string tuning = NewFile("t.dsps");
  // Connecting takes 19 frames (identity, 9 information reads, 9 read-back), then a status
  // poll or two may go out before the push's 26. The unit stops answering at its 30th
  // frame, some ten commands into the push.
  const ToolRun r = RunTool({"--sim", "--sim-faults", "stop=30", "device", "push", tuning});
  EXPECT_EQ(r.code, kExitDevice);
  const std::regex english(
      "vantorctl: The transfer broke off!\n"
      "vantorctl: Sending the preset file stopped at command ([0-9]+) of 26\\.\n"
      "vantorctl: The processor may now hold a mix of old and new settings, and some outputs "
      "may be silent\\.\n"
      "vantorctl: Connect the device again and do it once more\\.\n");
  std::smatch at;
  ASSERT_TRUE(std::regex_search(r.err, at, english)) << r.err;
  EXPECT_GE(std::stoi(at[1]), 5);
  EXPECT_LE(std::stoi(at[1]), 11);
  EXPECT_EQ(r.err.find("unable to connect"), std::string::npos) << r.err;

  const ToolRun zh =
      RunTool({"--lang", "zh", "--sim", "--sim-faults", "stop=30", "device", "push", tuning});
  EXPECT_NE(zh.err.find("传输中断!"), std::string::npos) << zh.err;
  EXPECT_TRUE(
      std::regex_search(zh.err, std::regex("发送音效文件在第 [0-9]+ 条命令处中断（共 26 条）。")))
      << zh.err;
  EXPECT_NE(zh.err.find("处理器现在可能混有新旧设置，部分输出可能没有声音。"), std::string::npos);
}

}  // namespace
}  // namespace vantor::cli::testing
