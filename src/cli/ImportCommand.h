#pragma once
// `vantorctl import`: another tool's filters into an output of a preset file.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/GlobalOptions.h"

namespace vantor::cli {

int RunImport(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err);

}  // namespace vantor::cli
