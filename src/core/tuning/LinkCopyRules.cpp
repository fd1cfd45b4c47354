#include "tuning/LinkCopyRules.h"

#include "model/LinkTable.h"

namespace vantor {
namespace {

// The output in the dialog whose crossovers are never copied, and the last output that
// takes copied crossovers.
constexpr int kOwnCrossoverOutput = 5;
constexpr int kLastCrossoverTarget = 6;

bool Valid(int channel) { return channel >= 0 && channel < rec::kOutputCount; }

}  // namespace

OutputMask LinkGroupOf(const LinkTable& links, int channel) {
  OutputMask mask{};
  if (!Valid(channel)) return mask;
  for (int c = 0; c < rec::kOutputCount; ++c) {
    mask[static_cast<std::size_t>(c)] = c == channel || links.AreLinked(channel, c);
  }
  return mask;
}

OutputMask LinkPartnersOf(const LinkTable& links, int channel) {
  OutputMask mask{};
  for (int c = 0; c < rec::kOutputCount; ++c) {
    mask[static_cast<std::size_t>(c)] = links.AreLinked(channel, c);
  }
  return mask;
}

OutputMask DialogCrossoverTargets(const LinkTable& links, int channel) {
  OutputMask mask{};
  if (channel == kOwnCrossoverOutput) return mask;
  for (int c = 0; c <= kLastCrossoverTarget; ++c) {
    mask[static_cast<std::size_t>(c)] = links.AreLinked(channel, c);
  }
  return mask;
}

}  // namespace vantor
