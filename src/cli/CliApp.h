#pragma once
// vantorctl's entry: picks the subcommand and hands it the remaining arguments.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/GlobalOptions.h"

namespace vantor::cli {

// What the tool is given besides its arguments.
struct CliEnvironment {
  std::string version;           // the project's version
  std::string commit;            // the commit it was built from (empty: "unknown")
  UsbBackendFactory usbBackend;  // null: processors are reached through hidapi
};

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment = {});

}  // namespace vantor::cli
