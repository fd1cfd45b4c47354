#include "exchange/CrossoverSections.h"

#include <cmath>

#include "dsp/CrossoverTables.h"
#include "dsp/Filter.h"
#include "dsp/FilterCodes.h"
#include "dsp/FilterDesign.h"

namespace vantor {
namespace {

std::vector<CrossoverSection> BesselLowPass(int s, double frequency) {
  std::vector<CrossoverSection> out;
  const double f = frequency / kBesselLowPassDivisor[static_cast<std::size_t>(s)];
  for (const BesselSection& p : kBesselLowPassSections[static_cast<std::size_t>(s)]) {
    if (p.c1 == 0.0) continue;
    if (p.c2 == 0.0) {
      out.push_back({1, f / p.c1, 0.0});
    } else {
      const double r = std::sqrt(p.c2);
      out.push_back({2, f / r, r / p.c1});
    }
  }
  return out;
}

}  // namespace

std::vector<CrossoverSection> CrossoverSections(int type, int family, int slope, bool reducedSlopes,
                                                double frequency) {
  const int s = EffectiveSlope(slope, reducedSlopes);
  if ((type != kHighPass && type != kLowPass) || s < 0 || s >= kCrossoverSlopes) return {};
  if (family == kBessel && type == kLowPass) return BesselLowPass(s, frequency);

  const std::array<SectionQs, kCrossoverSlopes>* table = nullptr;
  double f = frequency;
  switch (family) {
    case kLinkwitzRiley:
      table = &kLinkwitzRileyQ;
      break;
    case kButterworth:
      table = &kButterworthQ;
      break;
    case kBessel:
      table = &kBesselHighPassQ;
      f = frequency / kBesselHighPassDivisor[static_cast<std::size_t>(s)];
      break;
    default:
      return {};
  }
  std::vector<CrossoverSection> out;
  const SectionQs& qs = (*table)[static_cast<std::size_t>(s)];
  for (int k = 0; k < kCrossoverSections; ++k) {
    const double q = qs[static_cast<std::size_t>(k)];
    if (q == 0.0) continue;
    if (k == 0 && HasFirstOrderSection(s)) {
      // s·q + 1 for the high-pass, s + q for the low-pass: a corner at q·f or f/q.
      out.push_back({1, type == kHighPass ? q * f : f / q, 0.0});
    } else {
      out.push_back({2, f, 1.0 / (2.0 * q)});
    }
  }
  return out;
}

bool CrossoverActive(const CFilter& filter) {
  const int open = filter.Type() == kHighPass ? kFrequencyMin : kFrequencyMax;
  return filter.Frequency() != open && filter.Slope() != kSlopeOff;
}

}  // namespace vantor
