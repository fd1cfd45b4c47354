#pragma once
// Which entries of the speaker-type menu an output may choose. Every type is taken by one
// output at most, and a speaker that covers a band on one side rules out the types that
// would overlap it (a front full-range speaker leaves no room for a separate front tweeter,
// mid or woofer on either side).

#include <array>
#include <cstdint>
#include <span>

namespace vantor {

// The menu's commands map in order to speaker types 0..24 (the custom types 25 and 26 are
// not offered).
inline constexpr int kSpeakerMenuEntries = 25;

struct SpeakerTypeMenuState {
  std::array<bool, kSpeakerMenuEntries> ticked{};
  std::array<bool, kSpeakerMenuEntries> enabled{};
};

// The menu as it opens for output `channel`, given each output's speaker type (entry o is
// output o's type). A type in use by any output is ticked and disabled; the types of the
// other outputs disable further entries. Type 0 ("none") is never ruled out: any number
// of outputs may have no speaker.
SpeakerTypeMenuState SpeakerTypeMenuFor(std::span<const std::uint8_t> types, int channel);

}  // namespace vantor
