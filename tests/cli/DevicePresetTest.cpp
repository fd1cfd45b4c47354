// vantorctl device commands that move presets, run end to end against the simulated
// processor kept in state files between runs, with and without seeded faults.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/LittleEndian.h"
#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "cli/ToolRun.h"
#include "connection/LinkRig.h"
#include "presets/PresetFormat.h"

namespace vantor::cli::testing {
namespace {

using vantor::testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

// The parts of a single-preset file that travel to the unit and back: the music block and
// the eight output blocks of the live record. (The effect and mic regions never leave the
// program; after a read-back they hold what the program holds.)
Bytes Travelling(const Bytes& file) {
  if (file.size() != kSinglePresetFileSize) return {};
  // Sized first and copied into (GCC 12 at -O3 warns falsely about growing inserts).
  Bytes out(rec::kInputBlockSize + rec::kOutputCount * rec::kOutputBlockSize);
  auto to = out.begin();
  auto take = [&](std::size_t at, std::size_t n) {
    const auto from = file.begin() + static_cast<std::ptrdiff_t>(kSinglePresetLive + at);
    to = std::copy(from, from + static_cast<std::ptrdiff_t>(n), to);
  };
  take(rec::kMusicBlock, rec::kInputBlockSize);
  for (int c = 0; c < rec::kOutputCount; ++c) take(rec::OutputOffset(c), rec::kOutputBlockSize);
  return out;
}

class DeviceTool : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir.Path() / name).string(); }

  // vantorctl --sim --sim-state UNIT [--sim-faults FAULTS] device ARGS...
  ToolRun Device(const std::string& unit, std::vector<std::string> args,
                 const std::string& faults = {}) {
    std::vector<std::string> all{"--sim", "--sim-state", Path(unit)};
    if (!faults.empty()) {
      all.push_back("--sim-faults");
      all.push_back(faults);
    }
    all.push_back("device");
    all.insert(all.end(), args.begin(), args.end());
    return RunTool(all);
  }

  // A tuning made offline, as an installer would prepare it.
  std::string Tuning(const std::string& name, std::vector<std::string> edits) {
    EXPECT_EQ(RunTool({"preset", "new", Path(name)}).code, kExitOk);
    std::vector<std::string> args{"preset", "set", Path(name)};
    args.insert(args.end(), edits.begin(), edits.end());
    const ToolRun r = RunTool(args);
    EXPECT_EQ(r.code, kExitOk) << r.err;
    return Path(name);
  }

  std::unique_ptr<Program> Open(const std::string& path) {
    std::string error;
    auto image = OpenPresetFile(path, false, error);
    EXPECT_TRUE(image.has_value()) << error;
    return image ? std::move(image->program) : nullptr;
  }

  const std::vector<std::string> kEdits = {"out1.gain=-4",
                                           "out3.hp.freq=80",
                                           "out3.hp.family=linkwitz",
                                           "out3.band5.freq=1000",
                                           "out3.band5.gain=3.5",
                                           "out3.band5.q=1.41",
                                           "out5.delay=2.5",
                                           "out8.lp.freq=90",
                                           "out2.phase=inverted",
                                           "out6.limiter.threshold=-6",
                                           "out7.mix3=40"};
  TempDir dir;
};

// Push a preset, store it into slot 3, back up, restore onto a fresh unit, pull: the same
// bytes come back, and a backup of the fresh unit equals the first backup.
TEST_F(DeviceTool, PushStoreBackupRestorePullGivesTheSameBytes) {
  const std::string tuning = Tuning("tuning.dsps", kEdits);

  ToolRun r = Device("a.vsim", {"push", tuning});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  r = Device("a.vsim", {"pull", Path("pulled-a.dsps")});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(Travelling(FileBytes(Path("pulled-a.dsps"))), Travelling(FileBytes(tuning)))
      << "the unit plays what was pushed";
  EXPECT_TRUE(RunTool({"preset", "diff", tuning, Path("pulled-a.dsps")}).out.empty());

  ASSERT_EQ(Device("a.vsim", {"store", "3", "Evening"}).code, kExitOk);
  r = Device("a.vsim", {"backup", Path("backup-a")});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  ASSERT_EQ(std::filesystem::file_size(Path("backup-a.dspa")), kAllPresetsFileSize);

  r = Device("b.vsim", {"restore", Path("backup-a.dspa")});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  ASSERT_EQ(Device("b.vsim", {"pull", Path("pulled-b.dsps")}).code, kExitOk);
  EXPECT_EQ(FileBytes(Path("pulled-b.dsps")), FileBytes(Path("pulled-a.dsps")));
  ASSERT_EQ(Device("b.vsim", {"backup", Path("backup-b.dspa")}).code, kExitOk);
  EXPECT_EQ(FileBytes(Path("backup-b.dspa")), FileBytes(Path("backup-a.dspa")));

  // Slot 3 holds the tuning under its name on both units.
  const auto backup = Open(Path("backup-b.dspa"));
  ASSERT_TRUE(backup);
  EXPECT_EQ(std::string(backup->state.Slot(3).begin(), backup->state.Slot(3).begin() + 7),
            "Evening");
  const auto slot3 = DecodeRecord(backup->state.Slot(3));
  EXPECT_EQ(slot3->model.Output(0).GainCode(), 56);
  EXPECT_EQ(slot3->model.Output(2).Filter(4).Frequency(), 1000);
  EXPECT_EQ(slot3->model.Output(7).LowPass().Frequency(), 90);
  r = Device("b.vsim", {"info", "--json"});
  EXPECT_NE(r.out.find("\"slot_names\":[\"\",\"\",\"Evening\",\"\",\"\",\"\"]"), std::string::npos)
      << r.out;
}

// The same sequence on a unit that commits seeded faults: every step either succeeds, and
// then the bytes are the same, or fails with exit 3 and one line, leaving no file behind.
TEST_F(DeviceTool, FaultsEndInTheSameBytesOrAClearError) {
  const std::string tuning = Tuning("tuning.dsps", kEdits);
  const Bytes expected = Travelling(FileBytes(tuning));
  struct Run {
    int seed;
    std::string faults;
    bool survivable;  // only faults the link recovers from: the sequence must complete
  };
  const std::vector<Run> runs = {
      {3, "resend=0.08,split=0.15,garbage=0.15", true},
      {5, "resend=0.05,split=0.1,garbage=0.1,drop=0.001,corrupt=0.001,empty=0.0005", false},
      {8, "resend=0.05,split=0.1,garbage=0.1,drop=0.003,corrupt=0.003,unplug=0.001", false},
  };
  for (const Run& run : runs) {
    const int seed = run.seed;
    const std::string faults = "seed=" + std::to_string(seed) + "," + run.faults;
    const std::string a = "fa" + std::to_string(seed) + ".vsim";
    const std::string b = "fb" + std::to_string(seed) + ".vsim";
    const std::string pulled = Path("pulled" + std::to_string(seed) + ".dsps");
    const std::string backup = Path("backup" + std::to_string(seed) + ".dspa");
    struct Step {
      std::string unit;
      std::vector<std::string> args;
      std::string writes;  // the file the step writes, if any
    };
    const std::vector<Step> steps = {
        {a, {"push", tuning}, {}},       {a, {"store", "3", "Evening"}, {}},
        {a, {"backup", backup}, backup}, {b, {"restore", backup}, {}},
        {b, {"pull", pulled}, pulled},
    };
    bool ok = true;
    for (const Step& step : steps) {
      const ToolRun r = Device(step.unit, step.args, faults);
      if (r.code == kExitOk) continue;
      EXPECT_FALSE(run.survivable) << "seed " << seed << ", " << step.args[0] << ": " << r.err;
      EXPECT_EQ(r.code, kExitDevice) << step.args[0] << ": " << r.err;
      // One line, or a transfer that broke off with how far it got and what to do.
      EXPECT_TRUE(r.OneErrorLine() || r.err.starts_with("vantorctl: The transfer broke off!\n"))
          << step.args[0] << ": " << r.err;
      if (!step.writes.empty()) {
        EXPECT_FALSE(std::filesystem::exists(step.writes)) << "no file after a failure";
      }
      ok = false;
      break;
    }
    if (ok) {
      EXPECT_EQ(Travelling(FileBytes(pulled)), expected) << "seed " << seed;
    }
  }
}

TEST_F(DeviceTool, RecallBringsASlotIntoTheLiveProgram) {
  ASSERT_EQ(Device("u.vsim", {"push", Tuning("two.dsps", {"out1.gain=-20", "out4.delay=10"})}).code,
            kExitOk);
  ASSERT_EQ(Device("u.vsim", {"store", "2", "Two"}).code, kExitOk);
  ASSERT_EQ(Device("u.vsim", {"push", Tuning("other.dsps", {"out1.gain=-1"})}).code, kExitOk);

  const ToolRun r = Device("u.vsim", {"recall", "2", "--out", Path("recalled.dsps")});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto recalled = Open(Path("recalled.dsps"));
  ASSERT_TRUE(recalled);
  EXPECT_EQ(recalled->model.Output(0).GainCode(), 40);
  EXPECT_EQ(recalled->model.Output(3).DelayCode(), 480);
}

TEST_F(DeviceTool, DeleteClearsOnlyTheName) {
  ASSERT_EQ(Device("u.vsim", {"push", Tuning("t.dsps", {"out2.gain=-7"})}).code, kExitOk);
  ASSERT_EQ(Device("u.vsim", {"store", "4", "Bass"}).code, kExitOk);
  ToolRun r = Device("u.vsim", {"info", "--json"});
  EXPECT_NE(r.out.find("\"Bass\""), std::string::npos);
  ASSERT_EQ(Device("u.vsim", {"delete", "4"}).code, kExitOk);
  r = Device("u.vsim", {"info", "--json"});
  EXPECT_EQ(r.out.find("\"Bass\""), std::string::npos);
  ASSERT_EQ(Device("u.vsim", {"recall", "4", "--out", Path("slot4.dsps")}).code, kExitOk);
  const auto slot4 = Open(Path("slot4.dsps"));
  ASSERT_TRUE(slot4);
  EXPECT_EQ(slot4->model.Output(1).GainCode(), 53) << "the slot's parameters stay";
}

TEST_F(DeviceTool, SetTravelsAsLiveEdits) {
  ToolRun r = Device("u.vsim", {"set", "out2.gain=-12", "out2.band3.freq=5000", "source=bluetooth",
                                "volume=-10", "speaker8=0", "name=Night"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  ASSERT_EQ(Device("u.vsim", {"pull", Path("p.dsps")}).code, kExitOk);
  const auto pulled = Open(Path("p.dsps"));
  ASSERT_TRUE(pulled);
  EXPECT_EQ(pulled->model.Output(1).GainCode(), 48);
  EXPECT_EQ(pulled->model.Output(1).Filter(2).Frequency(), 5000)
      << "sent an octave at a time, to the end";
  r = Device("u.vsim", {"info", "--json"});
  EXPECT_NE(r.out.find("\"source\":2,\"volume_db\":-10"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"speaker_types\":[1,7,5,11,15,18,21,0]"), std::string::npos) << r.out;

  // A bad value sends nothing: it is refused before the unit is even opened.
  r = Device("u.vsim", {"set", "out2.gain=-3", "out2.band3.q=99"});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_TRUE(r.OneErrorLine());
  EXPECT_NE(r.err.find("out2.band3.q=99"), std::string::npos);
  ASSERT_EQ(Device("u.vsim", {"pull", Path("q.dsps")}).code, kExitOk);
  EXPECT_EQ(FileBytes(Path("q.dsps")), FileBytes(Path("p.dsps")));
}

TEST_F(DeviceTool, BadArgumentsAndFilesFailBeforeTheUnitIsOpened) {
  std::ofstream(Path("junk.dsps")) << "junk";
  const std::string single = Tuning("t.dsps", {"out1.gain=-1"});
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string mention;
  };
  const std::vector<Case> cases = {
      {{"push", Path("missing.dsps")}, kExitFile, "missing.dsps: No such file or directory"},
      {{"push", Path("junk.dsps")}, kExitFile, "not a single-preset file"},
      {{"restore", single}, kExitFile, "not an all-presets file"},
      {{"store", "7", "Name"}, kExitUsage, "1..6"},
      {{"store", "3"}, kExitUsage, "slot"},
      {{"recall", "x"}, kExitUsage, "1..6"},
      {{"delete"}, kExitUsage, "slot"},
      {{"pull"}, kExitUsage, "file"},
      {{"set", "out1.volume=3"}, kExitUsage, "out1.volume"},
  };
  for (const Case& c : cases) {
    const ToolRun r = Device("u.vsim", c.args);
    EXPECT_EQ(r.code, c.code) << c.args[0] << ": " << r.err;
    EXPECT_TRUE(r.OneErrorLine()) << r.err;
    EXPECT_NE(r.err.find(c.mention), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("u.vsim"))) << "the unit was never opened";

  // A blank name is the name check's refusal, in the chosen language.
  ToolRun r = Device("u.vsim", {"store", "3", "   "});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_EQ(r.err, "vantorctl: The name can not be all spaces!\n");
  r = RunTool(
      {"--lang", "zh", "--sim", "--sim-state", Path("u.vsim"), "device", "store", "3", " "});
  EXPECT_EQ(r.err, "vantorctl: 组名不能全为空格!\n");
}

TEST_F(DeviceTool, HelpListsThePresetCommands) {
  const ToolRun r = RunTool({"device", "--help"});
  EXPECT_EQ(r.code, kExitOk);
  for (const char* name :
       {"pull", "push", "store", "recall", "delete", "backup", "restore", "set"}) {
    EXPECT_NE(r.out.find(std::string("  ") + name + "  "), std::string::npos) << name;
    const ToolRun help = RunTool({"device", name, "--help"});
    EXPECT_EQ(help.code, kExitOk);
    EXPECT_NE(help.out.find(std::string("device ") + name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace vantor::cli::testing
