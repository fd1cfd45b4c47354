#include "cli/FirmwareCommand.h"

#include <atomic>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliScreen.h"
#include "cli/DeviceSession.h"
#include "cli/ExitCodes.h"
#include "cli/JsonWriter.h"
#include "cli/OutputCheck.h"
#include "firmware/FirmwareImage.h"
#include "firmware/FirmwarePackets.h"
#include "firmware/FirmwareUpdater.h"

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

int UpdateFirmware(const std::vector<std::string>& args, DeviceSession& session,
                   std::ostream& out) {
  if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
    session.Say("usage: vantorctl [--sim ...] [--trace] device firmware FILE");
    return kExitUsage;
  }
  FirmwareUpdater updater(session.Controller());
  LatestProgress progress;
  updater.SetObserver(&progress);
  updater.SetFirmwarePath(args[0]);

  switch (updater.Start()) {
    case FirmwareStart::kStarted:
      break;
    case FirmwareStart::kFileRefused:
      return kExitFile;
    case FirmwareStart::kDeviceNotFound:
    case FirmwareStart::kAlreadyRunning:
      return kExitDevice;
  }

  CliScreen& screen = session.Screen();
  std::size_t eventsSeen = 0;
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

int FactoryReset(const std::vector<std::string>& args, DeviceSession& session, std::ostream& out) {
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
  const int connected = session.Connect();
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
      "usage: vantorctl [--sim ...] [--trace] device firmware FILE\n"
      "  Sends FILE to the device's boot loader. The device is disconnected afterwards.\n"
      "  Exit 0 only when the device acknowledged the end of the image.\n";
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
  c.usage = "usage: vantorctl [--sim ...] device factory-reset --yes\n";
  c.connects = false;  // --yes is checked before the device is touched
  c.job = FactoryReset;
  return c;
}

}  // namespace vantor::cli
