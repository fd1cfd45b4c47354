#include "cli/FirmwareCommand.h"

#include <atomic>
#include <chrono>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliScreen.h"
#include "cli/CliText.h"
#include "cli/DeviceSession.h"
#include "cli/ExitCodes.h"
#include "cli/JsonWriter.h"
#include "cli/OutputCheck.h"
#include "firmware/FirmwareImage.h"
#include "firmware/FirmwarePackets.h"
#include "firmware/FirmwareUpdater.h"
#include "presets/PresetBackup.h"

namespace vantor::cli {
namespace {

using namespace std::chrono_literals;

constexpr const char* kFirmwareUsage =
    "usage: vantorctl [--lang zh|en] firmware info FILE [--json]\n"
    "  kind, size, checksum, block count and packets of a firmware file (.dsp or .contr)\n";

const char* KindName(FirmwareKind kind) {
  return kind == FirmwareKind::kController ? "controller" : "processor";
}

int FirmwareInfo(const std::vector<std::string>& args, bool chinese, std::ostream& out,
                 std::ostream& err) {
  bool json = false;
  std::vector<std::string> files;
  for (const auto& a : args) {
    if (a == "--json") {
      json = true;
    } else if (a == "--help" || a == "-h") {
      out << kFirmwareUsage;
      return kExitOk;
    } else if (a.size() > 1 && a[0] == '-') {
      err << "vantorctl firmware info: unknown option '" << a << "'\n";
      return kExitUsage;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 1) {
    err << kFirmwareUsage;
    return kExitUsage;
  }
  const FirmwareLoadResult r = ReadFirmwareImage(files[0]);
  if (!r.Ok()) {
    err << "vantorctl firmware info: " << files[0] << ": " << Tr(r.Message(), chinese) << '\n';
    return kExitFile;
  }
  const FirmwareImage& image = *r.image;
  const auto packets = FirmwarePacketCounts(image);
  if (json) {
    JsonWriter w(out);
    w.BeginObject();
    w.Key("kind").String(KindName(image.kind));
    w.Key("size").Int(static_cast<long long>(image.bytes.size()));
    w.Key("checksum").Int(image.checksum);
    w.Key("blocks").Int(image.blockCount);
    w.Key("packets").BeginObject();
    for (const auto& [code, n] : packets) w.Key(std::to_string(code)).Int(n);
    w.EndObject();
    w.EndObject();
    out << '\n';
    return kExitOk;
  }
  static const char* kDigits = "0123456789ABCDEF";
  out << "kind: " << KindName(image.kind) << '\n';
  out << "size: " << image.bytes.size() << " bytes\n";
  out << "checksum: 0x" << kDigits[image.checksum >> 4] << kDigits[image.checksum & 0xF] << '\n';
  out << "blocks: " << image.blockCount << '\n';
  out << "packets:";
  for (const auto& [code, n] : packets) out << ' ' << code << " x" << n;
  out << '\n';
  return kExitOk;
}

// Progress from the worker, drawn by the command's own thread.
class LatestProgress : public FirmwareObserver {
 public:
  void SetProgressRange(int /*low*/, int high) override { m_high = high; }
  void SetProgressPosition(int position) override { m_position = position; }
  void SetStatus(TextId text) override { m_status = static_cast<int>(text); }

  std::atomic<int> m_high{0};
  std::atomic<int> m_position{0};
  std::atomic<int> m_status{-1};
};

// Takes "--backup FILE" out of `args`; false (with the reason said) when it has no file.
bool TakeBackupOption(std::vector<std::string>& args, std::optional<std::string>& backup,
                      DeviceSession& session, const std::string& command) {
  for (auto it = args.begin(); it != args.end(); ++it) {
    if (*it != "--backup") continue;
    if (std::next(it) == args.end() || (*std::next(it)).empty()) {
      session.Say("vantorctl device " + command + ": --backup needs a file name");
      return false;
    }
    backup = *std::next(it);
    args.erase(it, it + 2);
    return true;
  }
  return true;
}

// Connects and backs the device's six presets up into `path` (".dspa" added when missing),
// read back and compared. kExitOk only then; otherwise nothing is to be changed.
int BackUpPresets(DeviceSession& session, const std::string& path, const std::string& command,
                  std::ostream& out) {
  const std::string prefix = "vantorctl device " + command + ": ";
  const int connected = session.Connect();
  if (connected != kExitOk) {
    session.Say(prefix + Say2(session.Chinese(), "无法备份音效，未做任何更改",
                              "the presets could not be backed up; nothing was changed"));
    session.Disconnect();
    return connected;
  }
  PresetController presets(session.Controller());
  session.Screen().SetEventListener(
      [&presets](const DeviceEventMessage& m) { presets.OnDeviceEvent(m); });
  BackupBeforeChange guard(session.Controller(), presets);
  guard.Begin(path);
  session.Until([&guard] { return guard.CurrentStep() != BackupBeforeChange::Step::kBackingUp; });
  session.Screen().SetEventListener(nullptr);
  if (guard.CurrentStep() != BackupBeforeChange::Step::kClear) {
    const TextId why = guard.Failure().value_or(TextId::BackupInterrupted);
    session.Say(prefix + std::string(Tr(why, session.Chinese())) + "; " +
                Say2(session.Chinese(), "未做任何更改", "nothing was changed"));
    session.Disconnect();
    return why == TextId::AllPresetsSaveError ? kExitFile : kExitDevice;
  }
  out << "backed up: " << guard.Path().string() << '\n';
  return kExitOk;
}

int UpdateFirmware(const std::vector<std::string>& given, DeviceSession& session,
                   std::ostream& out) {
  std::vector<std::string> args = given;
  std::optional<std::string> backup;
  if (!TakeBackupOption(args, backup, session, "firmware")) return kExitUsage;
  if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
    session.Say("usage: vantorctl [--sim ...] [--trace] device firmware FILE [--backup OUT.dspa]");
    return kExitUsage;
  }
  // A file that cannot be sent costs no backup: the update refuses it below.
  if (backup && ReadFirmwareImage(args[0]).Ok()) {
    const int backedUp = BackUpPresets(session, *backup, "firmware", out);
    if (backedUp != kExitOk) return backedUp;
  }
  FirmwareUpdater updater(session.Controller());
  LatestProgress progress;
  updater.SetObserver(&progress);
  updater.SetFirmwarePath(args[0]);

  CliScreen& screen = session.Screen();
  // What the backup's connection left among the events is not the update's.
  std::size_t eventsSeen = screen.Events().size();
  switch (updater.Start()) {
    case FirmwareStart::kStarted:
      break;
    case FirmwareStart::kFileRefused:
      return kExitFile;
    case FirmwareStart::kDeviceNotFound:
    case FirmwareStart::kAlreadyRunning:
      return kExitDevice;
  }

  int shownStatus = -1;
  int shownPosition = -1;
  const auto settled = [&] {
    // The screen keeps every device event; the update follows the ones it has not seen.
    const auto& events = screen.Events();
    for (; eventsSeen < events.size(); ++eventsSeen) updater.OnDeviceEvent(events[eventsSeen]);
    if (updater.Outcome() != FirmwareOutcome::kRunning) return true;
    const int status = progress.m_status.load();
    if (status != shownStatus) {
      shownStatus = status;
      screen.ShowStatusMessage(static_cast<TextId>(status));
      shownPosition = -1;
    }
    const int position = progress.m_position.load();
    if (position != shownPosition) {
      shownPosition = position;
      screen.ShowUpdateProgress(position, progress.m_high.load());
    }
    return false;
  };
  // Every exchange has its own time limits; this only guards against a worker that hangs.
  const bool ended = session.Controller().ProcessUntil(settled, 1h);
  screen.HideTransferWindow();
  if (!ended) updater.RequestClose();

  const FirmwareImage& image = *updater.File().Image();
  if (updater.Outcome() == FirmwareOutcome::kSucceeded) {
    out << "updated: " << KindName(image.kind) << " image, " << image.bytes.size() << " bytes, "
        << updater.PacketsAcknowledged() << " packets\n";
    return kExitOk;
  }
  session.Say("vantorctl device firmware: the update stopped at packet " +
              std::to_string(updater.LastPacketCode()) + " (" +
              std::to_string(updater.PacketsAcknowledged()) + " of " +
              std::to_string(updater.PacketsTotal()) + " acknowledged)");
  return kExitDevice;
}

int FactoryReset(const std::vector<std::string>& given, DeviceSession& session, std::ostream& out) {
  std::vector<std::string> args = given;
  std::optional<std::string> backup;
  if (!TakeBackupOption(args, backup, session, "factory-reset")) return kExitUsage;
  bool yes = false;
  for (const auto& a : args) {
    if (a == "--yes") {
      yes = true;
    } else {
      session.Say("vantorctl device factory-reset: unknown argument '" + a + "'");
      return kExitUsage;
    }
  }
  if (!yes) {
    session.Say(std::string(Tr(TextId::FactoryResetQuestion, session.Chinese())));
    session.Say("vantorctl device factory-reset: nothing done; pass --yes to clear the device");
    return kExitUsage;
  }
  if (backup) {
    const int backedUp = BackUpPresets(session, *backup, "factory-reset", out);
    if (backedUp != kExitOk) return backedUp;
  }
  const int connected = backup ? kExitOk : session.Connect();
  FirmwareUpdater updater(session.Controller());
  if (connected != kExitOk) {
    updater.FactoryReset();  // says that the device is not connected
    session.Disconnect();
    return connected;
  }
  if (updater.FactoryReset() != FactoryResetResult::kQueued || !session.WaitIdle()) {
    session.Disconnect();
    return kExitDevice;
  }
  const int closed = session.Disconnect();
  if (closed == kExitOk) out << "factory settings restored\n";
  return closed;
}

}  // namespace

int RunFirmware(const GlobalOptions& options, std::ostream& out, std::ostream& err) {
  const std::vector<std::string>& args = options.rest;  // args[0] == "firmware"
  if (args.size() < 2) {
    err << kFirmwareUsage;
    return kExitUsage;
  }
  if (args[1] == "--help" || args[1] == "-h") {
    out << kFirmwareUsage;
    return kExitOk;
  }
  if (args[1] == "info") {
    return FirmwareInfo(std::vector<std::string>(args.begin() + 2, args.end()), options.chinese,
                        out, err);
  }
  err << "vantorctl firmware: unknown command '" << args[1] << "'\n" << kFirmwareUsage;
  return kExitUsage;
}

DeviceSubcommand DeviceFirmwareCommand() {
  DeviceSubcommand c;
  c.summary = "update the processor's (or hand controller's) firmware from a .dsp or .contr file";
  c.usage =
      "usage: vantorctl [--sim ...] [--trace] device firmware FILE [--backup OUT.dspa]\n"
      "  Sends FILE to the device's boot loader. The device is disconnected afterwards.\n"
      "  Exit 0 only when the device acknowledged the end of the image.\n"
      "  --backup OUT.dspa  first read the device's six presets into the all-presets file\n"
      "                     OUT.dspa and read it back; the update starts only when that\n"
      "                     file holds what the device sent (needs a connected processor)\n";
  c.connects =
      false;  // the update finds the device itself; a unit in its boot loader cannot connect
  c.check = [](const std::vector<std::string>& args, const GlobalOptions& options,
               std::ostream& err) {
    if (args.size() != 1) return static_cast<int>(kExitOk);  // the job says how it is used
    return CheckSimStateApart("vantorctl device firmware: ", args[0], false, options, err);
  };
  c.job = UpdateFirmware;
  return c;
}

DeviceSubcommand DeviceFactoryResetCommand() {
  DeviceSubcommand c;
  c.summary = "put the device's programs back to their factory values (needs --yes)";
  c.usage =
      "usage: vantorctl [--sim ...] device factory-reset --yes [--backup OUT.dspa]\n"
      "  --backup OUT.dspa  first read the device's six presets into the all-presets file\n"
      "                     OUT.dspa and read it back; the reset runs only when that file\n"
      "                     holds what the device sent\n";
  c.connects = false;  // --yes is checked before the device is touched
  c.job = FactoryReset;
  return c;
}

}  // namespace vantor::cli
