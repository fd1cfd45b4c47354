#pragma once
// `vantorctl [--sim ...] [--trace] device SUBCOMMAND`: commands that talk to a processor.
// Each connects as the application does, does its work, waits until everything it queued
// has been answered, and disconnects.

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "cli/GlobalOptions.h"
#include "link/HidDevice.h"

namespace vantor::cli {

class DeviceSession;

// One device subcommand: the arguments after its name, the connected session, standard
// output. Returns an exit code.
using DeviceJob = std::function<int(const std::vector<std::string>& args, DeviceSession& session,
                                    std::ostream& out)>;

// Checks a subcommand's arguments (and the files it reads and writes) before the session
// opens the device; writes a one-line reason on `err` and returns an exit code.
using DeviceCheck = std::function<int(const std::vector<std::string>& args,
                                      const GlobalOptions& options, std::ostream& err)>;

struct DeviceSubcommand {
  std::string summary;  // one line for `device --help`
  std::string usage;    // for `device NAME --help`
  DeviceJob job;
  bool connects = true;  // false: works without connecting (device list)
  DeviceCheck check;     // optional
  // The job waits for the queue to drain itself, before it writes its file: a command that
  // fails leaves no file behind, one that wrote its file has nothing left to fail.
  bool settles = false;
};

// Every device subcommand by name (the table is in DeviceCommand.cpp; a new subcommand
// adds its line there).
std::map<std::string, DeviceSubcommand> DeviceSubcommands();

// The subcommands defined here.
DeviceSubcommand DeviceInfoCommand();
DeviceSubcommand DeviceListCommand();

// What `device list` says of a processor the user may (kNone) or may not open.
std::string DescribeAccess(HidOpenError error, bool chinese);

int RunDevice(const GlobalOptions& options, std::ostream& out, std::ostream& err);

}  // namespace vantor::cli
