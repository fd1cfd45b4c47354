#pragma once
// The --sim-faults text: comma-separated name=value pairs, e.g.
// "seed=7,drop=0.01,corrupt=0.01,resend=0.05,split=0.1,garbage=0.1,stop=40".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/SimFault.h"

namespace vantor::cli {

struct SimFaultSettings {
  std::uint64_t seed = 1;
  sim::SimFaultRates rates;
  // The faults that happen once, at a given frame.
  std::vector<sim::SimFault> once;
};

// Every fault the simulated processor can commit, by the name --sim-faults takes:
//   chances 0..1 per frame: drop, corrupt, resend, split, garbage, empty (reads), unplug
//   once, at the N-th frame (N = 1, 2, ...): stop (stops answering), babble (garbage
//     instead of answers), noreturn (the N-th firmware start packet: the unit restarts
//     and never comes back)
//   identity=TEXT: the identity read is answered with TEXT
//   seed=N: the seed of the random faults
// Nothing, and a one-line reason, when the text is malformed or a number is not finite.
std::optional<SimFaultSettings> ParseSimFaultSettings(std::string_view text, std::string& error);

// The lines `vantorctl --help` shows for --sim-faults.
std::string SimFaultHelp();

}  // namespace vantor::cli
