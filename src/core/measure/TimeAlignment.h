#pragma once
// Time alignment from distances: each output is delayed so that its sound arrives together
// with the sound of the farthest speaker.

#include <array>
#include <optional>
#include <string_view>

#include "model/DataDefine.h"

namespace vantor {

class CKTV_Data;

using OutputDistances = std::array<std::optional<double>, rec::kOutputCount>;  // metres

struct AlignmentPreview {
  // The delay code of every output that was given a distance; the others keep theirs.
  std::array<std::optional<int>, rec::kOutputCount> delayCodes{};
  // Outputs whose delay would pass 50 ms and was held at the largest code.
  std::array<bool, rec::kOutputCount> clamped{};
};

// delay = (farthest − this) / 346 m/s, the nearest 1/48 ms code within 0..2400. Distances
// must be finite and not negative (ParseDistance gives only such).
AlignmentPreview AlignFromDistances(const OutputDistances& metres);

// Sets the previewed delays through the outputs' delay setter (only codes that change).
void ApplyAlignment(CKTV_Data& model, const AlignmentPreview& preview);

// "120cm", "47in", "47.5 in" (the inch of the delay fields, 39.3696 per metre) as metres;
// nothing for a text without its unit, a negative or non-finite value.
std::optional<double> ParseDistance(std::string_view text);

}  // namespace vantor
