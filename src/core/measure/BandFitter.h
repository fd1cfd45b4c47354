#pragma once
// Fits peaking bands to a target: least squares on the grid points of a range, with the
// processor's own limits (centres on the grid, bandwidth index 0..295, gain in 0.1 dB steps
// within ±20 dB) and a boost limit. Greedy placement at the largest deviation first, each
// band refined on its own, then all together (NLopt, bounded L-BFGS with exact gradients),
// then snapped to the codes and polished code by code on the exact filter response.

#include <optional>
#include <vector>

#include "dsp/ResponseGrid.h"

namespace vantor {

// A band the fit may use. A band of a graphic EQ keeps its frequency.
struct FitSlot {
  std::optional<int> fixedHz;
};

struct FitProblem {
  Response base{};    // what the bands add to: measurement + every filter the fit leaves alone
  Response target{};  //
  int first = 0;      // grid points whose deviation counts, inclusive
  int last = static_cast<int>(kGridPoints) - 1;
  int centreLow = 0;  // where free centres may go, inclusive
  int centreHigh = static_cast<int>(kGridPoints) - 1;
  double maxBoostDb = 6.0;     // no band, and no point of the bands' sum, above this (0..20)
  std::vector<FitSlot> slots;  // the bands the fit may use
  int maxBands = 31;           // at most this many of them are used
};

struct FittedBand {
  int slot = 0;         // index into FitProblem::slots
  int frequencyHz = 0;  // a whole frequency whose nearest grid point is the centre
  int gainIndex = 200;  // 0..400, never 200 (a band at 0 dB is left out)
  int widthIndex = 15;  // bandwidth index
};

struct FitOutcome {
  std::vector<FittedBand> bands;  // in the order they were placed
  Response eq{};                  // the bands' summed response, exactly as the filters compute it
};

FitOutcome FitPeakingBands(const FitProblem& problem);

// The whole frequency (20..20000 Hz) that puts a peaking band on grid point `index`, or 0
// when no whole frequency does (a few points below 30 Hz lie closer together than 1 Hz).
int BandFrequencyOfCentre(int index);

// A peaking band's response at its codes, as the filter computes it (0 dB at index 200).
Response BandResponse(int frequencyHz, int gainIndex, int widthIndex);

// Root mean square of curve − target over grid points first..last (0 for an empty range).
double RmsDeviation(const Response& curve, const Response& target, int first, int last);

}  // namespace vantor
