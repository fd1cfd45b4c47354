#include "cli/CliApp.h"

#include <ostream>

#include "cli/CurveCommand.h"
#include "cli/ExitCodes.h"

namespace vantor::cli {
namespace {

constexpr const char* kUsage =
    "usage: vantorctl COMMAND [ARGS...]\n"
    "commands:\n"
    "  curve FILTER [FILTER ...]   print the summed response of filters\n"
    "Run 'vantorctl COMMAND --help' for a command's arguments.\n";

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "vantorctl: no command given (see vantorctl --help)\n";
    return kExitUsage;
  }
  const std::string& command = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage;
    return kExitOk;
  }
  if (command == "curve") return RunCurve(rest, out, err);
  err << "vantorctl: unknown command '" << command << "' (see vantorctl --help)\n";
  return kExitUsage;
}

}  // namespace vantor::cli
