#include "exchange/CrossoverMatcher.h"

#include <algorithm>
#include <cmath>

#include "dsp/CrossoverTables.h"
#include "dsp/FilterCodes.h"

namespace vantor {
namespace {

// Q values and frequencies within 3 % (as files round them) count as the same.
constexpr double kTolerance = 0.0295588022415444;  // ln 1.03
constexpr double kUnitHz = 1000.0;

bool ByOrderAndQ(const CrossoverSection& a, const CrossoverSection& b) {
  if (a.order != b.order) return a.order < b.order;
  return a.q < b.q;
}

// The squared log errors of pairing `given` with the candidate's sections, and the nominal
// frequency they agree on; nothing when they do not fit.
std::optional<std::pair<double, double>> Fit(std::vector<CrossoverSection> given,
                                             std::vector<CrossoverSection> unit) {
  if (given.size() != unit.size() || given.empty()) return std::nullopt;
  std::sort(given.begin(), given.end(), ByOrderAndQ);
  std::sort(unit.begin(), unit.end(), ByOrderAndQ);
  double error = 0.0;
  std::vector<double> logF;
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (given[i].order != unit[i].order || given[i].frequency <= 0.0) return std::nullopt;
    if (given[i].order == 2) {
      if (given[i].q <= 0.0) return std::nullopt;
      const double e = std::log(given[i].q / unit[i].q);
      if (std::abs(e) > kTolerance) return std::nullopt;
      error += e * e;
    }
    logF.push_back(std::log(given[i].frequency * kUnitHz / unit[i].frequency));
  }
  const auto [lo, hi] = std::minmax_element(logF.begin(), logF.end());
  if (*hi - *lo > kTolerance) return std::nullopt;
  double mean = 0.0;
  for (double l : logF) mean += l;
  mean /= static_cast<double>(logF.size());
  for (double l : logF) error += (l - mean) * (l - mean);
  return std::make_pair(error, std::exp(mean));
}

}  // namespace

std::optional<CrossoverMatch> MatchCrossover(int type, const std::vector<CrossoverSection>& given) {
  std::optional<CrossoverMatch> best;
  double bestError = 0.0;
  for (int family : {kButterworth, kLinkwitzRiley, kBessel}) {
    for (int slope = 0; slope < kCrossoverSlopes; ++slope) {
      const auto fit = Fit(given, CrossoverSections(type, family, slope, false, kUnitHz));
      if (!fit) continue;
      // Rounded values of another family can fit a little better; prefer the earlier
      // family unless the fit is clearly better.
      if (!best || fit->first < bestError * 0.5) {
        best = CrossoverMatch{family, slope, fit->second};
        bestError = fit->first;
      }
    }
  }
  return best;
}

}  // namespace vantor
