#pragma once
// The integer codes in which filter parameters travel: gain index, bandwidth index, and
// the Q table that turns a bandwidth into the Q value shown to the user.

#include <array>
#include <cstddef>

namespace vantor {

inline constexpr std::size_t kQTableSize = 296;
extern const std::array<double, kQTableSize> kQTable;

// The audio range every frequency of the program lies in, in Hz. A high-pass at the bottom
// and a low-pass at the top are off.
inline constexpr int kFrequencyMin = 20;
inline constexpr int kFrequencyMax = 20000;

inline constexpr int kGainIndexMax = 400;   // +20.0 dB
inline constexpr int kGainIndexFlat = 200;  // 0 dB
inline constexpr int kBandwidthIndexMax = 295;

// Filter types.
enum FilterType : int { kPeaking = 0, kLowShelf = 1, kHighShelf = 2, kHighPass = 3, kLowPass = 4 };

// Crossover families.
enum CrossoverFamily : int { kLinkwitzRiley = 0, kBessel = 1, kButterworth = 2 };

inline constexpr int kSlopeOff = 7;

// gain index = (gain + 20)·10, 0..400 for −20.0..+20.0 dB.
int GainIndexFromDb(double gainDb);
double GainDbFromIndex(int index);

// bandwidth index = trunc((N − 0.05)/0.01 + 0.05); indexes 0..3 read back as 0.09 octave.
int BandwidthIndexFromOctaves(double octaves);
double OctavesFromBandwidthIndex(int index);

// Q shown for a bandwidth index (clamped into the table).
double QOfBandwidthIndex(int index);

// The narrowest bandwidth a filter holds: indexes 0..3 read back as 0.09 octave, index 4.
inline constexpr int kBandwidthIndexNarrowest = 4;
// The bandwidth index, among those a filter holds (4..295), whose table Q is nearest to q on
// a logarithmic scale (so that Q 2 and Q 0.5 are equally far from Q 1). Q values outside the
// table come out as its ends; -1 for a Q that is not a positive finite number.
int BandwidthIndexFromQ(double q);

}  // namespace vantor
