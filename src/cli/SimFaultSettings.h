#pragma once
// The --sim-faults text: comma-separated name=value pairs, e.g.
// "seed=7,drop=0.01,corrupt=0.01,resend=0.05,split=0.1,garbage=0.1".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/SimFault.h"

namespace vantor::cli {

struct SimFaultSettings {
  std::uint64_t seed = 1;
  sim::SimFaultRates rates;
};

// Names: seed (integer), drop, corrupt, resend, split, garbage, empty, unplug (chances
// 0..1 per frame). Nothing and a reason when the text is malformed.
std::optional<SimFaultSettings> ParseSimFaultSettings(std::string_view text, std::string& error);

}  // namespace vantor::cli
