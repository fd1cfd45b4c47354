#include "tuning/SpeakerTypeMenu.h"

#include <cstdint>
#include <initializer_list>

namespace vantor {
namespace {

// Entries another output's type rules out, beyond its own, as a mask of entry bits.
constexpr std::uint32_t Bits(std::initializer_list<int> entries) {
  std::uint32_t m = 0;
  for (int e : entries) m |= 1U << e;
  return m;
}

std::uint32_t RuledOutBy(int type) {
  switch (type) {
    case 1:
    case 7:  // front high
      return Bits({4, 6, 10, 12});
    case 2:
    case 8:  // front mid
      return Bits({4, 5, 6, 10, 11, 12});
    case 3:
    case 9:  // front low
      return Bits({5, 6, 11, 12});
    case 4:
    case 10:  // front mid-high
      return Bits({1, 2, 5, 6, 7, 8, 11, 12});
    case 5:
    case 11:  // front mid-low
      return Bits({2, 3, 4, 6, 8, 9, 10, 12});
    case 6:
    case 12:  // front full range
      return Bits({1, 2, 3, 4, 5, 7, 8, 9, 10, 11});
    case 13:
    case 14:
    case 16:
    case 17:  // rear high or mid-low
      return Bits({15, 18});
    case 15:
    case 18:  // rear full range
      return Bits({13, 14, 16, 17});
    case 19:
    case 20:  // centre high or mid-low
      return Bits({21});
    case 21:  // centre full range
      return Bits({19, 20});
    case 22:
    case 23:  // left or right sub
      return Bits({24});
    case 24:  // single sub
      return Bits({22, 23});
    default:
      return 0;
  }
}

bool InMenu(int type) { return type > 0 && type < kSpeakerMenuEntries; }

}  // namespace

SpeakerTypeMenuState SpeakerTypeMenuFor(std::span<const std::uint8_t> types, int channel) {
  SpeakerTypeMenuState menu;
  menu.enabled.fill(true);
  for (std::size_t o = 0; o < types.size(); ++o) {
    const int t = types[o];
    if (!InMenu(t)) continue;
    menu.ticked[static_cast<std::size_t>(t)] = true;
    menu.enabled[static_cast<std::size_t>(t)] = false;
    if (static_cast<int>(o) == channel) continue;
    const std::uint32_t ruled = RuledOutBy(t);
    for (int e = 0; e < kSpeakerMenuEntries; ++e) {
      if ((ruled & (1U << e)) != 0) menu.enabled[static_cast<std::size_t>(e)] = false;
    }
  }
  return menu;
}

}  // namespace vantor
