#pragma once
// The 241-point logarithmic frequency grid on which every response is computed, and the
// trigonometric tables of its points at the processor's sample rate.

#include <array>
#include <cstddef>

namespace vantor {

inline constexpr std::size_t kGridPoints = 241;
using Response = std::array<double, kGridPoints>;

// Grid frequencies in Hz: 1/24 octave apart, 1000 Hz at index 136, rounded, with a few
// entries stored as the installers' reference curves have them.
extern const std::array<double, kGridPoints> kResponseGrid;

// The first index whose grid frequency is nearest to f; a tie goes to the upper point.
int GridIndexOf(double f);

// cos ω and sin ω of every grid point, ω = 6.2831852·f/96000. Built once, then constant.
struct GridTrig {
  std::array<double, kGridPoints> cosw;
  std::array<double, kGridPoints> sinw;
};
const GridTrig& GridTrigTable();

// The angular-frequency factor of the grid evaluation.
inline constexpr double kTwoPiApprox = 6.2831852;
inline constexpr double kSampleRate = 96000.0;

}  // namespace vantor
