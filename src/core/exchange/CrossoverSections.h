#pragma once
// A crossover as the sections other tools know: second-order high- or low-pass sections
// with a corner frequency and a Q, and first-order sections with a corner frequency. They
// come from the same tables the curve is drawn with, at the crossover's nominal frequency
// (the one the person set): a table value q is the section Q 1/(2q), a Bessel crossover's
// sections sit at its frequency over the Bessel divisor, and a low-pass Bessel prototype
// 1 + c1·s + c2·s² is a section at that frequency over √c2 with Q √c2 / c1.

#include <vector>

namespace vantor {

class CFilter;

struct CrossoverSection {
  int order = 2;           // 1 or 2
  double frequency = 0.0;  // Hz
  double q = 0.0;          // second-order sections only

  friend bool operator==(const CrossoverSection&, const CrossoverSection&) = default;
};

// The sections of a high-pass (type 3) or low-pass (type 4) crossover; none for a family
// or slope outside the tables (slope 7 is "OFF").
std::vector<CrossoverSection> CrossoverSections(int type, int family, int slope, bool reducedSlopes,
                                                double frequency);

// The crossover filter shapes the curve: not at its open end (high-pass 20 Hz, low-pass
// 20000 Hz) and not "OFF".
bool CrossoverActive(const CFilter& filter);

}  // namespace vantor
