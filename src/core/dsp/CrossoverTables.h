#pragma once
// Section tables of the crossover filters: per slope 12..48 dB/Oct (index 0..6) up to four
// second-order sections. The values are the ones the reference curves were drawn with and
// are used exactly as they stand, odd digits included.

#include <array>

namespace vantor {

inline constexpr int kCrossoverSlopes = 7;
inline constexpr int kCrossoverSections = 4;

using SectionQs = std::array<double, kCrossoverSections>;

// q0..q3 per slope; a zero q is a neutral section.
extern const std::array<SectionQs, kCrossoverSlopes> kLinkwitzRileyQ;
extern const std::array<SectionQs, kCrossoverSlopes> kButterworthQ;
extern const std::array<SectionQs, kCrossoverSlopes> kBesselHighPassQ;
extern const std::array<double, kCrossoverSlopes> kBesselHighPassDivisor;

// Low-pass Bessel: prototype 1/(1 + c1·s + c2·s²) per section; c1 = 0 is neutral.
struct BesselSection {
  double c1;
  double c2;
};
extern const std::array<std::array<BesselSection, kCrossoverSections>, kCrossoverSlopes>
    kBesselLowPassSections;
extern const std::array<double, kCrossoverSlopes> kBesselLowPassDivisor;

// 18, 30 and 42 dB/Oct start with a first-order section whose coefficient is q0.
inline constexpr bool HasFirstOrderSection(int slope) {
  return slope == 1 || slope == 3 || slope == 5;
}

}  // namespace vantor
