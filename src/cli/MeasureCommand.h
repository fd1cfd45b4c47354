#pragma once
// `vantorctl measure FILE`: a measurement export as the program imports it, resampled onto
// the grid and normalised, one "<grid frequency> <dB>" line per grid point.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/GlobalOptions.h"

namespace vantor::cli {

int RunMeasure(const GlobalOptions& options, const std::vector<std::string>& args,
               std::ostream& out, std::ostream& err);

}  // namespace vantor::cli
