#pragma once
// `vantorctl align IN OUT --distance 1=120cm,2=95cm,...`: sets the outputs' delays from the
// speakers' distances to the listening seat and writes the preset.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/GlobalOptions.h"

namespace vantor::cli {

int RunAlign(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err);

}  // namespace vantor::cli
