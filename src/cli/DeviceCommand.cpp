#include "cli/DeviceCommand.h"

#include <unistd.h>

#include <ostream>
#include <span>
#include <sstream>

#include "base/LittleEndian.h"
#include "cli/CliText.h"
#include "cli/DevicePresetCommands.h"
#include "cli/DeviceSession.h"
#include "cli/ExitCodes.h"
#include "cli/FirmwareCommand.h"
#include "cli/JsonWriter.h"
#include "model/DataDefine.h"
#include "presets/SlotNames.h"
#include "text/TextCatalog.h"

namespace vantor::cli {
namespace {

bool WantsHelp(const std::vector<std::string>& args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

}  // namespace

std::string DescribeAccess(HidOpenError error, bool chinese) {
  switch (error) {
    case HidOpenError::kNone:
      return Say2(chinese, "可以打开", "may open");
    case HidOpenError::kPermission:
      return Say2(chinese, "无权打开", "no permission");
    case HidOpenError::kBusy:
      return Say2(chinese, "正被其他程序使用", "in use by another program");
    case HidOpenError::kNotFound:
      return Say2(chinese, "已拔出", "gone");
    case HidOpenError::kOther:
      break;
  }
  return Say2(chinese, "无法打开", "cannot be opened");
}

std::map<std::string, DeviceSubcommand> DeviceSubcommands() {
  return {
      {"info", DeviceInfoCommand()},         {"list", DeviceListCommand()},
      {"pull", DevicePullCommand()},         {"push", DevicePushCommand()},
      {"store", DeviceStoreCommand()},       {"recall", DeviceRecallCommand()},
      {"delete", DeviceDeleteCommand()},     {"backup", DeviceBackupCommand()},
      {"restore", DeviceRestoreCommand()},   {"set", DeviceSetCommand()},
      {"firmware", DeviceFirmwareCommand()}, {"factory-reset", DeviceFactoryResetCommand()},
  };
}

DeviceSubcommand DeviceListCommand() {
  DeviceSubcommand c;
  c.summary = "list matching devices, whether this user may open them, claimed or not";
  c.usage =
      "usage: vantorctl [--sim] [--lang zh|en] device list\n"
      "One line per processor found (USB 0483:5750, release 0200): its path and whether\n"
      "this user may open it (it is opened and closed again to find out), and \"claimed\"\n"
      "when a running copy of the application holds it.\n";
  c.connects = false;
  c.job = [](const std::vector<std::string>&, DeviceSession& session, std::ostream& out) {
    const bool zh = session.Chinese();
    bool found = false;
    bool denied = false;
    for (const HidDeviceInfo& d : session.Backend().Enumerate()) {
      if (!d.IsProcessor()) continue;
      found = true;
      HidOpenError why = HidOpenError::kNone;
      const bool opened = session.Backend().OpenExclusive(d.path, &why) != nullptr;
      denied = denied || (!opened && why == HidOpenError::kPermission);
      out << d.path << "  " << DescribeAccess(opened ? HidOpenError::kNone : why, zh);
      if (!session.Claims().IsPathUnclaimed(d.path))
        out << Say2(zh, "（已被运行中的程序占用）", " (claimed)");
      out << '\n';
    }
    if (!found) session.Say("vantorctl: " + Say2(zh, "未找到设备", "no processor found"));
    if (denied) session.Say("vantorctl: " + std::string(Tr(TextId::DeviceAccessDenied, zh)));
    return static_cast<int>(kExitOk);
  };
  return c;
}

DeviceSubcommand DeviceInfoCommand() {
  DeviceSubcommand c;
  c.summary = "identity, input source, master volume, speaker types, slot names";
  c.usage = "usage: vantorctl [--sim ...] device info [--json]\n";
  c.job = [](const std::vector<std::string>& args, DeviceSession& session, std::ostream& out) {
    bool json = false;
    for (const auto& a : args) {
      if (a == "--json") {
        json = true;
      } else {
        session.Say("vantorctl device info: unknown argument '" + a + "'");
        return static_cast<int>(kExitUsage);
      }
    }
    const ProgramState& s = session.State();
    const auto reported = std::span(s.Identity()).first(rec::kIdentitySize);
    const std::string identity(reported.begin(), reported.end());
    const int source = s.SystemBlock()[rec::kSysInputSource];
    const int volume = le::GetI16(s.SystemBlock(), rec::kSysMasterVolume) - 60;
    std::vector<int> speakers;
    for (int o = 0; o < rec::kOutputCount; ++o)
      speakers.push_back(s.SpeakerTypes()[static_cast<std::size_t>(o)]);
    std::vector<std::string> names;
    for (int n = 1; n <= rec::kDeviceSlots; ++n) names.push_back(SlotNameText(s.Slot(n)));
    if (json) {
      JsonWriter w(out);
      w.BeginObject();
      w.Key("identity").String(identity);
      w.Key("source").Int(source);
      w.Key("volume_db").Int(volume);
      w.Key("master_on").Bool(s.SystemBlock()[rec::kSysMasterOn] != 0);
      w.Key("speaker_types").BeginArray();
      for (int t : speakers) w.Int(t);
      w.EndArray();
      w.Key("slot_names").BeginArray();
      for (const auto& n : names) w.String(n);
      w.EndArray();
      w.EndObject();
      out << '\n';
      return static_cast<int>(kExitOk);
    }
    const bool zh = session.Chinese();
    out << "identity: " << identity << '\n';
    out << "source: " << InputSourceName(source, zh) << '\n';
    out << "volume: " << volume << " dB"
        << (s.SystemBlock()[rec::kSysMasterOn] != 0 ? "" : " (off)") << '\n';
    for (int o = 0; o < rec::kOutputCount; ++o) {
      out << "CH" << (o + 1) << ": " << SpeakerTypeName(speakers[static_cast<std::size_t>(o)])
          << '\n';
    }
    for (int n = 1; n <= rec::kDeviceSlots; ++n)
      out << "slot " << n << ": " << names[static_cast<std::size_t>(n - 1)] << '\n';
    return static_cast<int>(kExitOk);
  };
  return c;
}

int RunDevice(const GlobalOptions& options, std::ostream& out, std::ostream& err) {
  const auto commands = DeviceSubcommands();
  const std::vector<std::string>& args = options.rest;  // args[0] == "device"
  if (args.size() < 2 || args[1] == "--help" || args[1] == "-h") {
    std::ostream& where = args.size() < 2 ? err : out;
    where << "usage: vantorctl [--lang zh|en] [--sim [--sim-state FILE] [--sim-faults FAULTS]] "
             "[--trace] device COMMAND\n"
             "commands:\n";
    for (const auto& [name, c] : commands) where << "  " << name << "  " << c.summary << '\n';
    return args.size() < 2 ? kExitUsage : kExitOk;
  }
  const auto found = commands.find(args[1]);
  if (found == commands.end()) {
    err << "vantorctl device: unknown command '" << args[1] << "' (see vantorctl device --help)\n";
    return kExitUsage;
  }
  const DeviceSubcommand& command = found->second;
  const std::vector<std::string> rest(args.begin() + 2, args.end());
  if (WantsHelp(rest)) {
    out << command.usage;
    return kExitOk;
  }

  if (command.check) {
    // Arguments and files are checked before anything is opened: a bad file never costs
    // a connection.
    const int checked = command.check(rest, options, err);
    if (checked != kExitOk) return checked;
  }
  DeviceSession session(options, err, ::isatty(STDERR_FILENO) != 0);
  int code = session.Prepare();
  if (code != kExitOk) return code;
  if (!command.connects) {
    // The job connects itself, or not at all; the unit's memory is written all the same
    // (a firmware update leaves the boot loader's state in it).
    code = command.job(rest, session, out);
    const int closed = session.Disconnect();
    return code != kExitOk ? code : closed;
  }
  code = session.Connect();
  if (code != kExitOk) {
    session.Disconnect();
    return code;
  }
  code = command.job(rest, session, out);
  const std::size_t shown = session.Screen().Messages().size();
  if (code == kExitOk && !command.settles && !session.WaitIdle()) {
    // The screen has said why when the connection ended; say it once.
    if (session.Screen().Messages().size() == shown) {
      session.Say(std::string("vantorctl: ") +
                  std::string(Tr(TextId::UnableToConnect, session.Chinese())));
    }
    code = kExitDevice;
  }
  const int closed = session.Disconnect();
  return code != kExitOk ? code : closed;
}

}  // namespace vantor::cli
