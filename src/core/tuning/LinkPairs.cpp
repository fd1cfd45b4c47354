#include "tuning/LinkPairs.h"

#include <algorithm>

namespace vantor {

const std::array<LinkPairKind, kLinkPairCount>& LinkPairKinds() {
  // Front high, mid, low, mid-high, mid-low, full range; rear high, mid-low, full range;
  // the two subs.
  static constexpr std::array<LinkPairKind, kLinkPairCount> kKinds{{
      {1, 7},
      {2, 8},
      {3, 9},
      {4, 10},
      {5, 11},
      {6, 12},
      {13, 16},
      {14, 17},
      {15, 18},
      {22, 23},
  }};
  return kKinds;
}

void LinkPairs::Clear() { m_pairs.fill(LinkPair{}); }

int LinkPairs::Build(std::span<const std::uint8_t> speakerTypes) {
  Clear();
  const std::size_t outputs =
      std::min(speakerTypes.size(), static_cast<std::size_t>(rec::kOutputCount));
  for (std::size_t i = 0; i < outputs; ++i) {
    const int type = speakerTypes[i];
    for (std::size_t k = 0; k < m_pairs.size(); ++k) {
      if (type == LinkPairKinds()[k].leftType) m_pairs[k].left = static_cast<int>(i);
      if (type == LinkPairKinds()[k].rightType) m_pairs[k].right = static_cast<int>(i);
    }
  }
  for (LinkPair& p : m_pairs) p.active = p.left >= 0 && p.right >= 0;
  return ActiveCount();
}

int LinkPairs::ActiveCount() const {
  return static_cast<int>(
      std::ranges::count_if(m_pairs, [](const LinkPair& p) { return p.active; }));
}

int LinkPairs::PartnerOf(int channel) const {
  if (channel < 0) return -1;
  for (const LinkPair& p : m_pairs) {
    if (!p.active) continue;
    if (p.left == channel) return p.right;
    if (p.right == channel) return p.left;
  }
  return -1;
}

}  // namespace vantor
