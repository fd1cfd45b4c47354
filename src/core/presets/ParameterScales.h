#pragma once
// The numeric edits' scales of the parameters a preset holds, as the panels set up their
// edits: used to show a code in its unit and to take a typed value, exactly as the panels
// do.

#include "model/EditConversion.h"
#include "model/ValueScales.h"

namespace vantor::scales {

inline constexpr EditScale kOutputGain{kEditGainDb, 0, kOutputGainCodeMax, 1.0, 60.0};
inline constexpr EditScale kMasterVolume{kEditGainDb, 0, kMasterVolumeCodeMax, 1.0, 60.0};
inline constexpr EditScale kDelay{kEditDelayMs, 0, kDelayCodeMax};
inline constexpr EditScale kBandFrequency{kEditEqFrequency, kFrequencyMin, kFrequencyMax};
inline constexpr EditScale kCrossoverFrequency{kEditCrossoverFrequency, kFrequencyMin,
                                               kFrequencyMax};
inline constexpr EditScale kBandGain{kEditEqGain, 0, 400, 0.1, 20.0};
inline constexpr EditScale kBandQ{kEditBandwidthQ, 0, 295};
inline constexpr EditScale kMixerLevel{kEditMixerLevel, 0, kMixerLevelMax, 1.0};
inline constexpr EditScale kLimiterThreshold{kEditLimiterThreshold, 0, kThresholdCodeMax, 0.1,
                                             30.0};
inline constexpr EditScale kLimiterAttack{kEditLimiterAttack, 0, kAttackCodeMax};

}  // namespace vantor::scales
