#include "tuning/SpeakerPositions.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "model/DataDefine.h"

namespace vantor {
namespace {

struct PositionGroup {
  int button;
  std::initializer_list<int> types;
  bool last;  // the last output with the type rather than the first
};

// 2707 selects output 5 directly; 2710 has no speaker.
const std::array<PositionGroup, 16> kGroups = {{
    {2700, {1, 4}, false},
    {2701, {7, 10}, false},
    {2702, {2}, true},
    {2703, {8}, true},
    {2704, {3, 5, 6}, false},
    {2705, {9, 11, 12}, false},
    {2706, {13}, true},
    {2708, {14, 15}, false},
    {2709, {16}, true},
    {2711, {17, 18}, false},
    {2712, {22}, true},
    {2713, {24}, true},
    {2714, {23}, true},
    {2715, {20}, true},
    {2716, {21}, true},
    {2717, {19}, true},
}};

constexpr int kDirectButton = 2707;
constexpr int kDirectOutput = 5;

const PositionGroup* GroupOf(int button) {
  for (const PositionGroup& g : kGroups) {
    if (g.button == button) return &g;
  }
  return nullptr;
}

bool InGroup(const PositionGroup& g, int type) {
  for (int t : g.types) {
    if (t == type) return true;
  }
  return false;
}

}  // namespace

int PositionButtonOutput(int button, std::span<const std::uint8_t> types) {
  if (button == kDirectButton) return kDirectOutput;
  const PositionGroup* g = GroupOf(button);
  if (g == nullptr) return -1;
  const int outputs = std::min<int>(static_cast<int>(types.size()), rec::kOutputCount);
  int found = -1;
  for (int o = 0; o < outputs; ++o) {
    if (!InGroup(*g, types[static_cast<std::size_t>(o)])) continue;
    found = o;
    if (!g->last) break;
  }
  return found;
}

bool PositionButtonInUse(int button, std::span<const std::uint8_t> types) {
  const PositionGroup* g = GroupOf(button);
  return g != nullptr && PositionButtonOutput(button, types) >= 0;
}

int PositionButtonOfType(int type) {
  for (const PositionGroup& g : kGroups) {
    if (InGroup(g, type)) return g.button;
  }
  return -1;
}

}  // namespace vantor
