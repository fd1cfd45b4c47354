#pragma once
// Coefficients of the filters the graph draws. They are computed once per parameter
// change; the grid evaluation (Biquad) then only runs the 241 points.

#include <array>

#include "dsp/Biquad.h"
#include "dsp/CrossoverTables.h"

namespace vantor {

// Peaking band, centred on the grid point nearest to the frequency.
Biquad DesignPeaking(int frequency, double gainDb, double octaves);

// Low shelf (type 1) or high shelf (type 2), slope 0 = 6 dB/Oct, 1 = 12 dB/Oct.
// The shelf slope parameter S of the design: 0.5 for 6 dB/Oct, 1.3 for 12 dB/Oct.
double ShelfSlopeParameter(int slope);
Biquad DesignShelf(int type, int frequency, double gainDb, int slope);

// High-pass (type 3) or low-pass (type 4) cascade. Returns the number of sections written
// (0..4); neutral sections are left out, as they add exactly 0 dB. Families or slopes
// outside the tables give no sections.
struct CrossoverCascade {
  std::array<Biquad, kCrossoverSections> sections{};
  int count = 0;
};
CrossoverCascade DesignCrossover(int type, int frequency, int family, int slope,
                                 bool reducedSlopes);

// The slope index the computation uses: with the reduced list, index 1 is 24 dB/Oct.
int EffectiveSlope(int slope, bool reducedSlopes);

// Angular-frequency factors. The peaking band's differs from the others' on purpose:
// the reference curves were drawn with exactly these.
inline constexpr double kPeakingOmegaPerHz = 6.544985e-05;
inline constexpr double kShelfCrossoverOmegaPerHz = 5.544985e-05;
// ln 2, where the textbook peaking α would use ln 2 / 2.
inline constexpr double kPeakingLn2 = 0.69314718;

}  // namespace vantor
