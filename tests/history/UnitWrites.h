#pragma once
// The write frames a simulated unit has received since its log was last cleared.

#include <vector>

#include "sim/SimulatedProcessor.h"

namespace vantor::testing {

inline std::vector<sim::SimFrameRecord> UnitWrites(const sim::SimulatedProcessor& unit) {
  std::vector<sim::SimFrameRecord> out;
  for (const auto& f : unit.FrameLog()) {
    if (f.IsWrite()) out.push_back(f);
  }
  return out;
}

}  // namespace vantor::testing
