#pragma once
// Eight output filter sets, each with its crossovers' limit mode, handed to a graph model
// laid out at a client size: the graph's tests start from these.

#include <array>
#include <memory>

#include "dsp/KTVEQ.h"
#include "tuning/ResponseGraphModel.h"

namespace vantor::testing {

using OutputSets = std::array<std::unique_ptr<CKTVEQ>, rec::kOutputCount>;

inline void AttachOutputSets(OutputSets& sets, const LiveSyncFlag& live,
                             const std::array<int, rec::kOutputCount>& limitModes,
                             ResponseGraphModel& graph, int clientWidth, int clientHeight) {
  std::array<CKTVEQ*, rec::kOutputCount> pointers{};
  for (std::size_t i = 0; i < sets.size(); ++i) {
    sets[i] = std::make_unique<CKTVEQ>(&live);
    sets[i]->BuildOutput(30, 20, 20000, limitModes[i], 32);
    pointers[i] = sets[i].get();
  }
  graph.Attach(pointers);
  graph.Layout(clientWidth, clientHeight);
}

}  // namespace vantor::testing
