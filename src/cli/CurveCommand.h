#pragma once
// `vantorctl curve FILTER [FILTER ...]`: the summed response of the given filters on the
// 241-point grid, one "<grid frequency> <dB>" line per point.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/FilterArg.h"
#include "dsp/ResponseGrid.h"

namespace vantor::cli {

// The summed response in dB of the filters, built the way the application builds them.
Response SumFilters(const std::vector<FilterArg>& filters);

// 241 lines "<grid frequency> <dB>", the dB with nine decimals: what curve, response and
// measure print.
std::string GridCurveText(const Response& db);

int RunCurve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vantor::cli
