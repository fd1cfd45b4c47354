#pragma once
// A peaking band with continuous parameters and the derivatives of its response, for the
// automatic EQ's optimiser. At whole centre and width values it is the processor's peaking
// band (dsp/FilterDesign), written in closed form: with Nr = Dr = 2(cos ω − cos w0), the
// response is 10·log10((d² + α²A²·sin²ω) / (d² + α²/A²·sin²ω)), d = cos ω − cos w0.

#include "dsp/ResponseGrid.h"

namespace vantor {

// The lowest bandwidth index with a width of its own: 0..3 all read as 0.09 octave.
inline constexpr int kNarrowestWidthIndex = 4;

struct PeakingParams {
  double gainDb = 0.0;
  double centre = 136.0;  // grid index; between two points the frequency is log-interpolated
  double width = 15.0;    // bandwidth index, kNarrowestWidthIndex..295 (0.05 + 0.01·width octaves)
};

struct PeakingGradient {
  Response dGain{};
  Response dCentre{};
  Response dWidth{};
};

// The centre frequency of a continuous grid index (clamped to the grid).
double CentreFrequency(double centre);

// The response in dB on the grid; with `gradient`, also its derivative by each parameter.
void PeakingShape(const PeakingParams& p, Response& db, PeakingGradient* gradient = nullptr);

}  // namespace vantor
