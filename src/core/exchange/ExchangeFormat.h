#pragma once
// The text formats in which an output's filters are exchanged with other tools.

#include <optional>
#include <string_view>

namespace vantor {

enum class ExchangeFormat {
  kRew,           // REW "Filter Settings file" text
  kEqualizerApo,  // Equalizer APO configuration
  kCamillaDsp,    // CamillaDSP YAML filters and pipeline step
};

// "rew", "eqapo", "camilladsp"; nothing for another name.
std::optional<ExchangeFormat> ExchangeFormatFromName(std::string_view name);
std::string_view ExchangeFormatName(ExchangeFormat format);

}  // namespace vantor
