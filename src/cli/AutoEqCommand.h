#pragma once
// `vantorctl autoeq IN OUT --output N --measurement FILE ...`: fits output N's bands to a
// target from a measurement and writes the preset with the fitted bands.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/GlobalOptions.h"

namespace vantor::cli {

int RunAutoEq(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err);

}  // namespace vantor::cli
