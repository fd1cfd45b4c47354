#pragma once
// The left and right outputs that the channel link can tune as one, found from the speaker
// types: ten pair kinds, each a left type and its right type (front high 1 ↔ 7, ..., left
// sub 22 ↔ right sub 23). A pair is active when an output of each side is present.

#include <array>
#include <cstdint>
#include <span>

#include "model/DataDefine.h"

namespace vantor {

// Which side's data the other side takes when linking.
enum class LinkSide { kLeft, kRight };

struct LinkPairKind {
  int leftType;
  int rightType;
};
inline constexpr int kLinkPairCount = 10;
const std::array<LinkPairKind, kLinkPairCount>& LinkPairKinds();

struct LinkPair {
  bool active = false;
  int left = -1;  // output of the left type, −1 when none
  int right = -1;

  // The output that takes the other's data when `side`'s data wins, and the other one.
  int Receiver(LinkSide side) const { return side == LinkSide::kRight ? left : right; }
  int Giver(LinkSide side) const { return side == LinkSide::kRight ? right : left; }
};

class LinkPairs {
 public:
  // Clears every pair, then fills them from the speaker types of outputs 0..7 (a later output
  // of the same type replaces an earlier one). Bytes of the table beyond the eight outputs
  // name no output and are not read. Returns the number of active pairs.
  int Build(std::span<const std::uint8_t> speakerTypes);
  void Clear();

  const LinkPair& Pair(int kind) const { return m_pairs[static_cast<std::size_t>(kind)]; }
  int ActiveCount() const;
  // The other output of the active pair that holds `channel`; −1 when it is in none.
  int PartnerOf(int channel) const;

 private:
  std::array<LinkPair, kLinkPairCount> m_pairs{};
};

}  // namespace vantor
