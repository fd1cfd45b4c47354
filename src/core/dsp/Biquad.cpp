#include "dsp/Biquad.h"

#include <cmath>

namespace vantor {
namespace {

struct Normalised {
  double b0, b1, b2, a1, a2;
};

Normalised Normalise(const Biquad& s) {
  return {s.b0 / s.a0, s.b1 / s.a0, s.b2 / s.a0, s.a1 / s.a0, s.a2 / s.a0};
}

inline double DbAt(const Normalised& n, double c, double s) {
  const double nr = (n.b0 + n.b2) * c + n.b1;
  const double ni = (n.b0 - n.b2) * s;
  const double dr = (1.0 + n.a2) * c + n.a1;
  const double di = (1.0 - n.a2) * s;
  const double magnitude = std::sqrt((nr * nr + ni * ni) / (dr * dr + di * di));
  return 20.0 * std::log10(magnitude);
}

}  // namespace

void EvaluateBiquad(const Biquad& section, Response& out) {
  const Normalised n = Normalise(section);
  const GridTrig& t = GridTrigTable();
  for (std::size_t i = 0; i < kGridPoints; ++i) out[i] = DbAt(n, t.cosw[i], t.sinw[i]);
}

void AccumulateBiquad(const Biquad& section, Response& out) {
  const Normalised n = Normalise(section);
  const GridTrig& t = GridTrigTable();
  for (std::size_t i = 0; i < kGridPoints; ++i) out[i] += DbAt(n, t.cosw[i], t.sinw[i]);
}

double BiquadDbAt(const Biquad& section, double gridFrequency) {
  const double w = kTwoPiApprox * gridFrequency / kSampleRate;
  return DbAt(Normalise(section), std::cos(w), std::sin(w));
}

}  // namespace vantor
