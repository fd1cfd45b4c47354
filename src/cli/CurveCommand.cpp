#include "cli/CurveCommand.h"

#include <ostream>

#include "base/NumberFormat.h"
#include "cli/ExitCodes.h"
#include "dsp/Filter.h"

namespace vantor::cli {
namespace {

constexpr const char* kCurveUsage =
    "usage: vantorctl curve FILTER [FILTER ...]\n"
    "Prints the summed response of the filters: 241 lines \"<grid frequency> <dB>\".\n"
    "FILTER is comma-separated key=value pairs:\n"
    "  type=peak|lowshelf|highshelf|highpass|lowpass   (default peak)\n"
    "  freq=20..20000        frequency in Hz (default 1000)\n"
    "  gain=-20.0..20.0      dB in 0.1 dB steps, peak and shelves (default 0)\n"
    "  bw=0..295             bandwidth index, peak (default 15 = 0.2 octave)\n"
    "  slope=0..1 | 0..7     shelves 6/12 dB/Oct; crossovers 12..48 dB/Oct, 7 = OFF\n"
    "  family=linkwitz|bessel|butterworth   crossovers (default butterworth)\n"
    "  reduced=0|1           crossover offers 12 and 24 dB/Oct only\n"
    "Numbers are taken as written: a fraction between two steps (gain=1.25) or a number that\n"
    "is not finite is refused, never rounded or cut.\n"
    "example: vantorctl curve type=peak,freq=1000,gain=6 type=highpass,freq=80,slope=2\n";

void Configure(CFilter& f, const FilterArg& filter) {
  if (filter.type == kHighPass || filter.type == kLowPass) {
    f.SetBandFlag(0);
    f.SetType(filter.type);
    f.SetFamily(filter.family, false);
    f.SetReducedSlopes(filter.reduced);
    f.SetSlope(filter.slope, false);
    f.SetFrequency(filter.frequency, false);
    return;
  }
  f.SetBandFlag(1);
  f.SetFrequency(filter.frequency, false);
  if (filter.type == kLowShelf) f.SetEqType(1 + filter.slope);
  if (filter.type == kHighShelf) f.SetEqType(3 + filter.slope);
  f.SetBandwidthIndex(filter.bandwidthIndex);
  f.SetGainIndex(filter.gainIndex);
}

}  // namespace

Response SumFilters(const std::vector<FilterArg>& filters) {
  Response sum{};
  for (const FilterArg& filter : filters) {
    CFilter f;
    Configure(f, filter);
    for (std::size_t i = 0; i < kGridPoints; ++i) sum[i] += f.ResponseDb()[i];
  }
  return sum;
}

std::string GridCurveText(const Response& db) {
  std::string text;
  text.reserve(kGridPoints * 24);
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    text += FormatShortest(kResponseGrid[i]);
    text += ' ';
    text += FormatFixed(db[i], 9);
    text += '\n';
  }
  return text;
}

int RunCurve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<FilterArg> filters;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      out << kCurveUsage;
      return kExitOk;
    }
  }
  if (args.empty()) {
    err << "vantorctl curve: no filter given (see vantorctl curve --help)\n";
    return kExitUsage;
  }
  for (const std::string& a : args) {
    std::string error;
    auto filter = ParseFilterArg(a, error);
    if (!filter) {
      err << "vantorctl curve: " << error << "\n";
      return kExitUsage;
    }
    filters.push_back(*filter);
  }
  out << GridCurveText(SumFilters(filters));
  return kExitOk;
}

}  // namespace vantor::cli
