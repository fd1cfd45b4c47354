#pragma once
// `vantorctl preset new|show|set|diff`, `vantorctl response` and `vantorctl report`: the
// offline commands on preset files.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/GlobalOptions.h"

namespace vantor::cli {

int RunPreset(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err);
int RunResponse(const GlobalOptions& options, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err);
int RunReport(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err);

}  // namespace vantor::cli
