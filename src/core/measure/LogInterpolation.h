#pragma once
// Curves given at frequencies of their own, read off at the 241 grid frequencies.

#include <span>

#include "dsp/ResponseGrid.h"

namespace vantor {

struct CurvePoint {
  double frequency = 0.0;  // Hz, above 0
  double level = 0.0;      // dB
};

// The curve at every grid frequency: linear in log frequency between neighbouring points,
// the first and last levels held beyond the ends. The points must rise in frequency; at
// least one is needed (none gives 0 dB everywhere).
Response InterpolateOnGrid(std::span<const CurvePoint> points);

}  // namespace vantor
