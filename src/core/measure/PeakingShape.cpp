#include "measure/PeakingShape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "dsp/FilterDesign.h"

namespace vantor {
namespace {

constexpr double kDbPerNeper = 10.0 / std::numbers::ln10;  // 10·log10(x) = kDbPerNeper·ln(x)
constexpr double kOctavesPerWidth = 0.01;
constexpr double kOctavesAtWidthZero = 0.05;
constexpr int kLastPoint = static_cast<int>(kGridPoints) - 1;

struct CentreAt {
  double frequency;
  double logStep;  // d ln f / d centre on this stretch of the grid
};

CentreAt Centre(double centre) {
  const double c = std::clamp(centre, 0.0, static_cast<double>(kLastPoint));
  const int j = std::min(static_cast<int>(c), kLastPoint - 1);
  const double lo = kResponseGrid[static_cast<std::size_t>(j)];
  const double hi = kResponseGrid[static_cast<std::size_t>(j) + 1];
  const double step = std::log(hi / lo);
  return {lo * std::exp(step * (c - j)), step};
}

}  // namespace

double CentreFrequency(double centre) { return Centre(centre).frequency; }

void PeakingShape(const PeakingParams& p, Response& db, PeakingGradient* gradient) {
  const CentreAt centre = Centre(p.centre);
  const double w0 = centre.frequency * kPeakingOmegaPerHz;
  const double s0 = std::sin(w0);
  const double c0 = std::cos(w0);
  const double octaves = kOctavesAtWidthZero + kOctavesPerWidth * p.width;
  const double z = kPeakingLn2 * octaves * w0 / s0;
  const double alpha = s0 * std::sinh(z);
  const double a2 = std::pow(10.0, p.gainDb / 20.0);  // A²
  const double inverseA2 = 1.0 / a2;
  const double alpha2 = alpha * alpha;
  const GridTrig& trig = GridTrigTable();

  if (gradient == nullptr) {
    for (std::size_t i = 0; i < kGridPoints; ++i) {
      const double d = trig.cosw[i] - c0;
      const double u = d * d;
      const double as = alpha2 * trig.sinw[i] * trig.sinw[i];
      db[i] = kDbPerNeper * std::log((u + as * a2) / (u + as * inverseA2));
    }
    return;
  }

  // Chain rule: α depends on the width and on w0, cos w0 on w0, w0 on the centre.
  const double coshZ = std::cosh(z);
  const double dAlphaDWidth = coshZ * kPeakingLn2 * w0 * kOctavesPerWidth;
  const double dZDw0 = kPeakingLn2 * octaves * (s0 - w0 * c0) / (s0 * s0);
  const double dAlphaDw0 = c0 * std::sinh(z) + s0 * coshZ * dZDw0;
  const double dW0DCentre = w0 * centre.logStep;
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double d = trig.cosw[i] - c0;
    const double u = d * d;
    const double sin2 = trig.sinw[i] * trig.sinw[i];
    const double as = alpha2 * sin2;
    const double pNum = u + as * a2;
    const double qDen = u + as * inverseA2;
    db[i] = kDbPerNeper * std::log(pNum / qDen);
    const double invP = 1.0 / pNum;
    const double invQ = 1.0 / qDen;
    // d/dgain of ln(A²) is ln10/20, which kDbPerNeper turns into a factor of one half.
    gradient->dGain[i] = 0.5 * as * (a2 * invP + inverseA2 * invQ);
    const double dAlpha = kDbPerNeper * 2.0 * alpha * sin2 * (a2 * invP - inverseA2 * invQ);
    const double dCos0 = kDbPerNeper * -2.0 * d * (invP - invQ);
    gradient->dWidth[i] = dAlpha * dAlphaDWidth;
    gradient->dCentre[i] = (dAlpha * dAlphaDw0 - dCos0 * s0) * dW0DCentre;
  }
}

}  // namespace vantor
