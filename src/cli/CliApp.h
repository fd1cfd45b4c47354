#pragma once
// vantorctl's entry: picks the subcommand and hands it the remaining arguments.

#include <iosfwd>
#include <string>
#include <vector>

namespace vantor::cli {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vantor::cli
