#pragma once
// `vantorctl export`: an output's filters as text for another tool.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/GlobalOptions.h"

namespace vantor::cli {

int RunExport(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err);

}  // namespace vantor::cli
