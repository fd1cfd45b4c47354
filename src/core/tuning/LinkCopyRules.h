#pragma once
// Who follows an edit made on one output. The link table says which outputs are linked;
// these rules say which of them take which kind of edit. Every panel that copies edits to
// linked outputs asks here, so the rules live in one place.

#include <array>

#include "model/DataDefine.h"
#include "model/KTV_Data.h"

namespace vantor {

class LinkTable;

// One flag per output, index = channel.
using OutputMask = std::array<bool, rec::kOutputCount>;

// The output and every output linked with it: the outputs a whole-channel action rewrites.
OutputMask LinkGroupOf(const LinkTable& links, int channel);

// Every other output of the group: band edits (frequency, bandwidth, gain, band off) and the
// crossover panel's edits go to all of them.
OutputMask LinkPartnersOf(const LinkTable& links, int channel);

// Crossover edits made in the output channel dialog: the other outputs of the group among
// outputs 0..6 (output 7 never takes them), and none at all for an edit on output 5, whose
// high-pass has its own limit.
OutputMask DialogCrossoverTargets(const LinkTable& links, int channel);

// Calls f(CKTV_OutData&) for every output of the mask, in channel order.
template <typename F>
void ForEachOutput(CKTV_Data& data, const OutputMask& mask, F&& f) {
  for (int c = 0; c < rec::kOutputCount; ++c) {
    if (mask[static_cast<std::size_t>(c)]) f(data.Output(c));
  }
}

}  // namespace vantor
