#include "measure/TimeAlignment.h"

#include <algorithm>
#include <cmath>

#include "measure/DecimalField.h"
#include "model/KTV_Data.h"
#include "model/ValueScales.h"

namespace vantor {

AlignmentPreview AlignFromDistances(const OutputDistances& metres) {
  AlignmentPreview preview;
  double farthest = 0.0;
  for (const auto& d : metres) {
    if (d) farthest = std::max(farthest, *d);
  }
  for (std::size_t o = 0; o < metres.size(); ++o) {
    if (!metres[o]) continue;
    const double ms = MsOfMetres(farthest - *metres[o]);
    preview.delayCodes[o] = DelayCodeOfMs(ms);
    preview.clamped[o] = std::lround(ms * kDelayStepsPerMs) > kDelayCodeMax;
  }
  return preview;
}

void ApplyAlignment(CKTV_Data& model, const AlignmentPreview& preview) {
  for (int o = 0; o < rec::kOutputCount; ++o) {
    const auto& code = preview.delayCodes[static_cast<std::size_t>(o)];
    if (code && model.Output(o).DelayCode() != *code) model.Output(o).SetDelayCode(*code);
  }
}

std::optional<double> ParseDistance(std::string_view text) {
  double perMetre = 0.0;
  if (text.ends_with("cm")) {
    perMetre = 100.0;
    text.remove_suffix(2);
  } else if (text.ends_with("in")) {
    perMetre = kInchesPerMetre;
    text.remove_suffix(2);
  } else {
    return std::nullopt;
  }
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const auto value = ParseDecimalField(text);
  if (!value || *value < 0.0) return std::nullopt;
  return *value / perMetre;
}

}  // namespace vantor
