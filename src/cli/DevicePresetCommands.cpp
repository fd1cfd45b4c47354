#include "cli/DevicePresetCommands.h"

#include <charconv>
#include <ostream>

#include "cli/CliText.h"
#include "cli/DeviceSession.h"
#include "cli/ExitCodes.h"
#include "cli/OutputCheck.h"
#include "cli/PresetEditor.h"
#include "presets/PresetController.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetSerializer.h"
#include "text/TextCatalog.h"

namespace vantor::cli {
namespace {

// The preset operations of one device command, following the session's device events.
class SessionPresets {
 public:
  explicit SessionPresets(DeviceSession& session)
      : m_session(session), m_presets(session.Controller()) {
    session.Screen().SetEventListener(
        [this](const DeviceEventMessage& m) { m_presets.OnDeviceEvent(m); });
  }
  ~SessionPresets() { m_session.Screen().SetEventListener(nullptr); }
  SessionPresets(const SessionPresets&) = delete;
  SessionPresets& operator=(const SessionPresets&) = delete;

  PresetController& operator*() { return m_presets; }
  PresetController* operator->() { return &m_presets; }

 private:
  DeviceSession& m_session;
  PresetController m_presets;
};

std::string Prefix(const std::string& command) { return "vantorctl device " + command + ": "; }

// A usage message in both languages.
struct Words {
  std::string_view zh;
  std::string_view en;
};
constexpr Words kOneFileName{"需要一个文件名", "expected one file name"};
constexpr Words kOneFile{"需要一个文件", "expected one file"};
constexpr Words kSlotAndName{"需要音效号 1..6 和名称", "expected a slot 1..6 and a name"};
constexpr Words kOneSlot{"需要一个音效号 1..6", "expected one slot 1..6"};

std::string SeeHelp(const std::string& command, bool chinese) {
  return Say2(chinese, " (参见 vantorctl device ", " (see vantorctl device ") + command +
         " --help)";
}

std::string NotASlot(const std::string& text, bool chinese) {
  return Say2(chinese, "音效号为 1..6，不是 '", "the slot is 1..6, not '") + text + "'";
}

int Usage(DeviceSession& session, const std::string& command, const std::string& what) {
  session.Say(Prefix(command) + what + SeeHelp(command, session.Chinese()));
  return kExitUsage;
}

int Usage(DeviceSession& session, const std::string& command, Words what) {
  return Usage(session, command, Say2(session.Chinese(), what.zh, what.en));
}

std::optional<int> SlotArgument(const std::string& text) {
  int n = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || n < 1 ||
      n > kPresetSlots) {
    return std::nullopt;
  }
  return n;
}

// Waits until the batch just queued has been answered. False (with the reason already
// shown by the screen) when the connection ended first.
int AwaitBatch(DeviceSession& session, const std::string& command) {
  // A connection that ended clears the busy flag too; it still is a failure.
  if (session.Until([&] { return !session.State().busy.load(); }) &&
      session.Controller().Connected())
    return kExitOk;
  if (session.Controller().Connected())
    session.Say(Prefix(command) +
                Say2(session.Chinese(), "设备无响应", "the device did not answer in time"));
  return kExitDevice;
}

// A file the command will load: readable, of the expected kind, with the signature, and
// not the simulated processor's memory file (which the run writes).
int CheckFile(const std::string& command, const std::string& path, PresetKind kind,
              const GlobalOptions& options, std::ostream& err) {
  const PresetFileRead file = ReadPresetFile(path, kind);
  if (!file.Ok()) {
    err << Prefix(command) << file.Describe(options.chinese) << '\n';
    return kExitFile;
  }
  return CheckSimStateApart(Prefix(command), path, false, options, err);
}

// A file the command will write: named, and (with its extension) not the simulated
// processor's memory file.
int CheckOutput(const std::string& command, const std::string& name, PresetKind kind,
                const GlobalOptions& options, std::ostream& err) {
  if (const auto problem = OutputProblem(name, {}, options.chinese)) {
    err << Prefix(command) << *problem << '\n';
    return kExitUsage;
  }
  return CheckSimStateApart(Prefix(command), WithPresetExtension(name, kind), true, options, err);
}

int CheckCount(const std::string& command, const std::vector<std::string>& args, std::size_t count,
               Words what, bool chinese, std::ostream& err) {
  if (args.size() == count) return kExitOk;
  err << Prefix(command) << Say2(chinese, what.zh, what.en) << SeeHelp(command, chinese) << '\n';
  return kExitUsage;
}

int CheckSlot(const std::string& command, const std::string& text, bool chinese,
              std::ostream& err) {
  if (SlotArgument(text)) return kExitOk;
  err << Prefix(command) << NotASlot(text, chinese) << SeeHelp(command, chinese) << '\n';
  return kExitUsage;
}

// Waits until everything queued has been answered, before a file is written.
int Settle(DeviceSession& session) {
  const std::size_t shown = session.Screen().Messages().size();
  if (session.WaitIdle()) return kExitOk;
  if (session.Screen().Messages().size() == shown) {
    session.Say(std::string("vantorctl: ") +
                std::string(Tr(TextId::UnableToConnect, session.Chinese())));
  }
  return kExitDevice;
}

// What a preset operation's result means for the tool. Messages were shown by the screen.
int ExitOf(const PresetResult& r) {
  switch (r.status) {
    case PresetStatus::kDone:
      return kExitOk;
    case PresetStatus::kFileError:
      return kExitFile;
    case PresetStatus::kRejected:
    case PresetStatus::kBadArgument:
      return kExitUsage;
    case PresetStatus::kNotConnected:
    case PresetStatus::kNotLive:
    case PresetStatus::kInterrupted:
    case PresetStatus::kIgnored:
      break;
  }
  return kExitDevice;
}

}  // namespace

DeviceSubcommand DevicePullCommand() {
  DeviceSubcommand c;
  c.summary = "save the live program as a single-preset file";
  c.usage =
      "usage: vantorctl [--sim ...] device pull OUT.dsps\n"
      "Connects, reads the live program back and saves it (\".dsps\" added when missing).\n";
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    const bool chinese = options.chinese;
    const int code = CheckCount("pull", args, 1, kOneFileName, chinese, err);
    return code != kExitOk ? code : CheckOutput("pull", args[0], PresetKind::kSingle, options, err);
  };
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream&) -> int {
    if (args.size() != 1) return Usage(session, "pull", kOneFileName);
    const int code = Settle(session);
    if (code != kExitOk) return code;
    SessionPresets presets(session);
    return ExitOf(presets->SaveSinglePresetFile(args[0]));
  };
  c.settles = true;
  return c;
}

DeviceSubcommand DevicePushCommand() {
  DeviceSubcommand c;
  c.summary = "load a single-preset file and send it as the live program";
  c.usage =
      "usage: vantorctl [--sim ...] device push IN.dsps\n"
      "Loads the file and sends it as the application's file load does: the outputs are\n"
      "switched off, the program name, music block and eight outputs are written, and the\n"
      "outputs are switched back on (26 commands).\n";
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    const bool chinese = options.chinese;
    const int code = CheckCount("push", args, 1, kOneFile, chinese, err);
    return code != kExitOk ? code : CheckFile("push", args[0], PresetKind::kSingle, options, err);
  };
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream&) -> int {
    if (args.size() != 1) return Usage(session, "push", kOneFile);
    SessionPresets presets(session);
    const int code = ExitOf(presets->LoadSinglePresetFile(args[0]));
    return code != kExitOk ? code : AwaitBatch(session, "push");
  };
  return c;
}

DeviceSubcommand DeviceStoreCommand() {
  DeviceSubcommand c;
  c.summary = "store the live program into slot N (1..6) under NAME";
  c.usage =
      "usage: vantorctl [--sim ...] device store N NAME\n"
      "The naming flow of the save dialog: NAME (at most 15 bytes are kept) becomes slot N's\n"
      "name and the live program is stored into slot N (10 commands).\n";
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    const bool chinese = options.chinese;
    const int code = CheckCount("store", args, 2, kSlotAndName, chinese, err);
    return code != kExitOk ? code : CheckSlot("store", args[0], chinese, err);
  };
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream&) -> int {
    if (args.size() != 2) return Usage(session, "store", kSlotAndName);
    const auto slot = SlotArgument(args[0]);
    if (!slot) return Usage(session, "store", NotASlot(args[0], session.Chinese()));
    SessionPresets presets(session);
    const int code = ExitOf(presets->NameSlot(*slot, args[1]));
    return code != kExitOk ? code : AwaitBatch(session, "store");
  };
  return c;
}

DeviceSubcommand DeviceRecallCommand() {
  DeviceSubcommand c;
  c.summary = "recall slot N (1..6) into the live program";
  c.usage =
      "usage: vantorctl [--sim ...] device recall N [--out FILE.dsps]\n"
      "Reads slot N into the live program (9 read requests), as a click on its button does.\n"
      "With --out the recalled program is also saved as a single-preset file.\n";
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    const bool chinese = options.chinese;
    std::vector<std::string> words;
    std::optional<std::string> outFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i] == "--out") {
        if (++i >= args.size()) {
          err << Prefix("recall") << Say2(chinese, "--out 需要文件名", "--out needs a file name")
              << '\n';
          return static_cast<int>(kExitUsage);
        }
        outFile = args[i];
      } else {
        words.push_back(args[i]);
      }
    }
    int code = CheckCount("recall", words, 1, kOneSlot, chinese, err);
    if (code == kExitOk) code = CheckSlot("recall", words[0], chinese, err);
    if (code == kExitOk && outFile)
      code = CheckOutput("recall", *outFile, PresetKind::kSingle, options, err);
    return code;
  };
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream&) -> int {
    std::optional<std::string> outFile;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i] == "--out" && i + 1 < args.size()) {
        outFile = args[++i];
      } else {
        words.push_back(args[i]);
      }
    }
    if (words.size() != 1) return Usage(session, "recall", kOneSlot);
    const auto slot = SlotArgument(words[0]);
    if (!slot) return Usage(session, "recall", NotASlot(words[0], session.Chinese()));
    SessionPresets presets(session);
    int code = ExitOf(presets->Recall(*slot));
    if (code != kExitOk) return code;
    code = AwaitBatch(session, "recall");
    if (code != kExitOk) return code;
    if (!session.Until([&] { return session.State().liveSync.load(); })) return kExitDevice;
    code = Settle(session);
    if (code != kExitOk) return code;
    return outFile ? ExitOf(presets->SaveSinglePresetFile(*outFile)) : kExitOk;
  };
  c.settles = true;
  return c;
}

DeviceSubcommand DeviceDeleteCommand() {
  DeviceSubcommand c;
  c.summary = "delete the name of slot N (1..6)";
  c.usage =
      "usage: vantorctl [--sim ...] device delete N\n"
      "The delete flow: slot N's name is cleared and the empty name is sent; the slot's\n"
      "parameters stay on the device.\n";
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    const bool chinese = options.chinese;
    const int code = CheckCount("delete", args, 1, kOneSlot, chinese, err);
    return code != kExitOk ? code : CheckSlot("delete", args[0], chinese, err);
  };
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream&) -> int {
    if (args.size() != 1) return Usage(session, "delete", kOneSlot);
    const auto slot = SlotArgument(args[0]);
    if (!slot) return Usage(session, "delete", NotASlot(args[0], session.Chinese()));
    SessionPresets presets(session);
    return ExitOf(presets->DeleteSlot(*slot));
  };
  return c;
}

DeviceSubcommand DeviceBackupCommand() {
  DeviceSubcommand c;
  c.summary = "read all presets and save them as an all-presets file";
  c.usage =
      "usage: vantorctl [--sim ...] device backup OUT.dspa\n"
      "Reads slots 1..6 (54 read requests) and writes the all-presets file (\".dspa\" added\n"
      "when missing) once the last one has arrived; nothing is written when it does not.\n";
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    const bool chinese = options.chinese;
    const int code = CheckCount("backup", args, 1, kOneFileName, chinese, err);
    return code != kExitOk ? code : CheckOutput("backup", args[0], PresetKind::kAll, options, err);
  };
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream&) -> int {
    if (args.size() != 1) return Usage(session, "backup", kOneFileName);
    SessionPresets presets(session);
    std::optional<PresetResult> saved;
    presets->SetAllPresetsSaved([&saved](const PresetResult& r) { saved = r; });
    const int code = ExitOf(presets->SaveAllPresetsFile(args[0]));
    if (code != kExitOk) return code;
    if (!session.Until([&] { return saved.has_value(); })) {
      // When the connection ended the screen has said so; nothing was written either way.
      if (session.Controller().Connected()) {
        session.Say(Prefix("backup") +
                    Say2(session.Chinese(), "设备无响应，未写入文件",
                         "the device did not answer in time; no file was written"));
      }
      return kExitDevice;
    }
    return ExitOf(*saved);
  };
  // The file is written when the last slot has arrived; nothing is queued after that.
  c.settles = true;
  return c;
}

DeviceSubcommand DeviceRestoreCommand() {
  DeviceSubcommand c;
  c.summary = "load an all-presets file and send all presets";
  c.usage =
      "usage: vantorctl [--sim ...] device restore IN.dspa\n"
      "Loads the file and sends the live program, the limiter block and slots 1..6 (86\n"
      "commands), as the application's file load does.\n";
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    const bool chinese = options.chinese;
    const int code = CheckCount("restore", args, 1, kOneFile, chinese, err);
    return code != kExitOk ? code : CheckFile("restore", args[0], PresetKind::kAll, options, err);
  };
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream&) -> int {
    if (args.size() != 1) return Usage(session, "restore", kOneFile);
    SessionPresets presets(session);
    const int code = ExitOf(presets->LoadAllPresetsFile(args[0]));
    return code != kExitOk ? code : AwaitBatch(session, "restore");
  };
  return c;
}

DeviceSubcommand DeviceSetCommand() {
  DeviceSubcommand c;
  c.summary = "change values of the live program (the keys of 'preset set')";
  c.usage =
      "usage: vantorctl [--sim ...] device set KEY=VALUE...\n"
      "Applies the values to the live program through the model's setters, so that they\n"
      "are sent as edits on the screen are. A bad key or value sends nothing.\n" +
      PresetEditor::KeyHelp();
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    const bool chinese = options.chinese;
    // Keys and values are checked on a program of its own before the device is opened;
    // after connecting they are checked again against the device's values.
    ProgramState state;
    CKTV_Data model(state);
    model.LoadOutputs();
    PresetEditor editor({model, true, nullptr, nullptr}, chinese);
    std::string error;
    if (editor.Prepare(args, error)) return static_cast<int>(kExitOk);
    err << Prefix("set") << error << '\n';
    return static_cast<int>(kExitUsage);
  };
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream&) -> int {
    ConnectionController& link = session.Controller();
    PresetEditor editor({session.Model(), true, &link.Sequences(), &link.Queue().QueueLock()},
                        session.Chinese());
    std::string error;
    if (!editor.Prepare(args, error)) {
      session.Say(Prefix("set") + error);
      return kExitUsage;
    }
    editor.Apply();
    return kExitOk;
  };
  return c;
}

}  // namespace vantor::cli
