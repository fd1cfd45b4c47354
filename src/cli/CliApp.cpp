#include "cli/CliApp.h"

#include <ostream>

#include "base/VersionLine.h"
#include "cli/AlignCommand.h"
#include "cli/AutoEqCommand.h"
#include "cli/CurveCommand.h"
#include "cli/DeviceCommand.h"
#include "cli/ExitCodes.h"
#include "cli/ExportCommand.h"
#include "cli/FirmwareCommand.h"
#include "cli/GlobalOptions.h"
#include "cli/ImportCommand.h"
#include "cli/MeasureCommand.h"
#include "cli/PresetCommand.h"
#include "cli/SimFaultSettings.h"

namespace vantor::cli {
namespace {

constexpr const char* kUsage =
    "usage: vantorctl [--lang zh|en] [--sim [--sim-state FILE] [--sim-faults FAULTS]] [--trace]\n"
    "                 COMMAND [ARGS...]\n"
    "commands:\n"
    "  curve FILTER [FILTER ...]   print the summed response of filters\n"
    "  preset COMMAND              new, show, set and diff preset files (.dsps, .dspa)\n"
    "  response FILE [--channel N] the summed response of a preset file's outputs\n"
    "  report FILE [--csv OUT]     the parameter report of a preset file\n"
    "  device COMMAND              work with a processor (real, or simulated with --sim)\n"
    "  firmware info FILE          what a firmware file holds and how it is sent\n"
    "  measure FILE                a measured response as imported, on the grid\n"
    "  autoeq IN OUT --output N --measurement FILE ...   fit an output's bands to a target\n"
    "  align IN OUT --distance 1=120cm,...   delays from the speakers' distances\n"
    "  export FILE --output N --format rew|eqapo|camilladsp\n"
    "                              an output's filters as text for another tool\n"
    "  import IN OUT --output N FILE\n"
    "                              another tool's filters into an output of a preset file\n"
    "options:\n"
    "  --lang zh|en        language of messages (default en)\n"
    "  --sim               use the simulated processor instead of USB\n"
    "  --sim-state FILE    keep the simulated processor's memory in FILE between runs\n"
    "  --sim-faults FAULTS   faults of the simulated processor, e.g. seed=7,drop=0.01,resend=0.05\n"
    "  --trace             every frame sent (>) and decoded (<) in hex on standard error\n"
    "  --version           the version and the commit this program was built from\n";

constexpr const char* kUsageEnd = "Run 'vantorctl COMMAND --help' for a command's arguments.\n";

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
  std::string error;
  auto options = ParseGlobalOptions(args, error);
  if (!options) {
    err << "vantorctl: " << error << "\n";
    return kExitUsage;
  }
  options->usbBackend = environment.usbBackend;
  const std::vector<std::string>& words = options->rest;
  if (words.empty()) {
    err << "vantorctl: no command given (see vantorctl --help)\n";
    return kExitUsage;
  }
  const std::string& command = words.front();
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage << SimFaultHelp() << kUsageEnd;
    return kExitOk;
  }
  if (command == "--version") {
    out << VersionLine("vantorctl", environment.version, environment.commit);
    return kExitOk;
  }
  if (command == "curve") return RunCurve(rest, out, err);
  if (command == "device") return RunDevice(*options, out, err);
  if (command == "preset") return RunPreset(*options, rest, out, err);
  if (command == "response") return RunResponse(*options, rest, out, err);
  if (command == "report") return RunReport(*options, rest, out, err);
  if (command == "firmware") return RunFirmware(*options, out, err);
  if (command == "measure") return RunMeasure(*options, rest, out, err);
  if (command == "autoeq") return RunAutoEq(*options, rest, out, err);
  if (command == "align") return RunAlign(*options, rest, out, err);
  if (command == "export") return RunExport(*options, rest, out, err);
  if (command == "import") return RunImport(*options, rest, out, err);
  err << "vantorctl: unknown command '" << command << "' (see vantorctl --help)\n";
  return kExitUsage;
}

}  // namespace vantor::cli
