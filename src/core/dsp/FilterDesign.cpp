#include "dsp/FilterDesign.h"

#include <cmath>

#include "dsp/FilterCodes.h"
#include "dsp/ResponseGrid.h"

namespace vantor {
namespace {

struct ShelfShape {
  double k;
  double s;
};

// k scales the shelf frequency, S is the shelf slope parameter.
ShelfShape ShelfShapeOf(int type, int slope) {
  const double s = ShelfSlopeParameter(slope);
  if (type == kLowShelf) return slope == 0 ? ShelfShape{2.0, s} : ShelfShape{1.2727272727, s};
  return slope == 0 ? ShelfShape{0.4545454546, s} : ShelfShape{0.76923076923, s};
}

double GuardZero(double a0) { return a0 == 0.0 ? 1e-10 : a0; }

}  // namespace

double ShelfSlopeParameter(int slope) { return slope == 0 ? 0.5 : 1.3; }

Biquad DesignPeaking(int frequency, double gainDb, double octaves) {
  const double f0 = kResponseGrid[static_cast<std::size_t>(GridIndexOf(frequency))];
  const double w0 = f0 * kPeakingOmegaPerHz;
  const double a = std::pow(10.0, gainDb / 40.0);
  const double sinw0 = std::sin(w0);
  const double alpha = sinw0 * std::sinh(kPeakingLn2 * octaves * w0 / sinw0);
  const double cosTerm = -2.0 * std::cos(w0);
  Biquad q;
  q.b0 = 1.0 + alpha * a;
  q.b1 = cosTerm;
  q.b2 = 1.0 - alpha * a;
  q.a0 = 1.0 + alpha / a;
  q.a1 = cosTerm;
  q.a2 = 1.0 - alpha / a;
  return q;
}

Biquad DesignShelf(int type, int frequency, double gainDb, int slope) {
  Biquad q;
  if (gainDb == 0.0) return q;  // b0 = a0 = 1, a flat section
  const ShelfShape shape = ShelfShapeOf(type, slope);
  const double w0 = frequency * kShelfCrossoverOmegaPerHz * shape.k;
  const double a = std::pow(10.0, gainDb / 40.0);
  const double c = std::cos(w0);
  const double alpha =
      (std::sin(w0) / 2.0) * std::sqrt((a + 1.0 / a) * (1.0 / shape.s - 1.0) + 2.0);
  const double k = 2.0 * std::sqrt(a) * alpha;
  if (type == kLowShelf) {
    q.b0 = a * ((a + 1.0) - (a - 1.0) * c + k);
    q.b1 = 2.0 * a * ((a - 1.0) - (a + 1.0) * c);
    q.b2 = a * ((a + 1.0) - (a - 1.0) * c - k);
    q.a0 = (a + 1.0) + (a - 1.0) * c + k;
    q.a1 = -2.0 * ((a - 1.0) + (a + 1.0) * c);
    q.a2 = (a + 1.0) + (a - 1.0) * c - k;
  } else {
    q.b0 = a * ((a + 1.0) + (a - 1.0) * c + k);
    q.b1 = -2.0 * a * ((a - 1.0) + (a + 1.0) * c);
    q.b2 = a * ((a + 1.0) + (a - 1.0) * c - k);
    q.a0 = (a + 1.0) - (a - 1.0) * c + k;
    q.a1 = 2.0 * ((a - 1.0) - (a + 1.0) * c);
    q.a2 = (a + 1.0) - (a - 1.0) * c - k;
  }
  return q;
}

int EffectiveSlope(int slope, bool reducedSlopes) {
  return (reducedSlopes && slope == 1) ? 2 : slope;
}

CrossoverCascade DesignCrossover(int type, int frequency, int family, int slope,
                                 bool reducedSlopes) {
  CrossoverCascade cascade;
  const int s = EffectiveSlope(slope, reducedSlopes);
  if (s < 0 || s >= kCrossoverSlopes || family < kLinkwitzRiley || family > kButterworth) {
    return cascade;  // no defined response: draw nothing rather than read past a table
  }
  const bool highPass = type == kHighPass;
  double f = frequency;
  if (family == kBessel) {
    f /= highPass ? kBesselHighPassDivisor[s] : kBesselLowPassDivisor[s];
  }
  const double w = f * kShelfCrossoverOmegaPerHz;
  const double c = std::cos(w);
  const double sn = std::sin(w);
  const double t = std::tan(w / 2.0);

  if (!highPass && family == kBessel) {
    for (const BesselSection& p : kBesselLowPassSections[s]) {
      if (p.c1 == 0.0) continue;
      Biquad q;
      q.a0 = p.c1 * t + t * t + p.c2;
      q.a1 = 2.0 * t * t - 2.0 * p.c2;
      q.a2 = t * t - p.c1 * t + p.c2;
      q.b0 = t * t;
      q.b1 = 2.0 * t * t;
      q.b2 = t * t;
      cascade.sections[static_cast<std::size_t>(cascade.count++)] = q;
    }
    return cascade;
  }

  const SectionQs& qs = family == kLinkwitzRiley ? kLinkwitzRileyQ[s]
                        : family == kButterworth ? kButterworthQ[s]
                                                 : kBesselHighPassQ[s];
  for (int k = 0; k < kCrossoverSections; ++k) {
    const double qk = qs[static_cast<std::size_t>(k)];
    if (qk == 0.0) continue;
    Biquad q;
    if (k == 0 && HasFirstOrderSection(s)) {
      if (highPass) {
        q.a0 = GuardZero(qk * t + 1.0);
        q.a1 = qk * t - 1.0;
        q.a2 = 0.0;
        q.b0 = 1.0;
        q.b1 = -1.0;
        q.b2 = 0.0;
      } else {
        q.a0 = GuardZero(t + qk);
        q.a1 = t - qk;
        q.a2 = 0.0;
        q.b0 = t;
        q.b1 = t;
        q.b2 = 0.0;
      }
    } else {
      const double alpha = sn * qk;
      q.a0 = GuardZero(1.0 + alpha);
      q.a1 = -2.0 * c;
      q.a2 = 1.0 - alpha;
      if (highPass) {
        q.b0 = (1.0 + c) / 2.0;
        q.b1 = -2.0 * q.b0;
      } else {
        q.b0 = (1.0 - c) / 2.0;
        q.b1 = 2.0 * q.b0;
      }
      q.b2 = q.b0;
    }
    cascade.sections[static_cast<std::size_t>(cascade.count++)] = q;
  }
  return cascade;
}

}  // namespace vantor
