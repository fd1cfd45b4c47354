#pragma once
// Which of this processor's crossovers a set of high- or low-pass sections from another
// tool is: the family and slope whose sections have the same orders and Q values, all at
// the same nominal frequency. Butterworth is preferred over Linkwitz-Riley over Bessel
// when two fit equally (a lone second-order section of Q 0.71 is a 12 dB/Oct Butterworth,
// and also a Bessel at another frequency).

#include <optional>
#include <vector>

#include "exchange/CrossoverSections.h"

namespace vantor {

struct CrossoverMatch {
  int family = 0;
  int slope = 0;           // slope index 0..6
  double frequency = 0.0;  // nominal frequency, Hz, not yet snapped
};

std::optional<CrossoverMatch> MatchCrossover(int type, const std::vector<CrossoverSection>& given);

}  // namespace vantor
