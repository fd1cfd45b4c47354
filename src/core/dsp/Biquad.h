#pragma once
// One second-order section H(z) = (b0 + b1 z⁻¹ + b2 z⁻²)/(a0 + a1 z⁻¹ + a2 z⁻²) and its
// magnitude in dB on the response grid.

#include "dsp/ResponseGrid.h"

namespace vantor {

struct Biquad {
  double b0 = 1.0, b1 = 0.0, b2 = 0.0;
  double a0 = 1.0, a1 = 0.0, a2 = 0.0;
};

// 20·log10|H(e^jω)| at every grid point, written into out.
void EvaluateBiquad(const Biquad& section, Response& out);
// The same, added to what out already holds (the sections of a cascade sum in dB).
void AccumulateBiquad(const Biquad& section, Response& out);

// The value at one grid frequency; the slow path that recomputes cos ω and sin ω.
double BiquadDbAt(const Biquad& section, double gridFrequency);

}  // namespace vantor
