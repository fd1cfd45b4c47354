#pragma once
// The speaker-position buttons on the car picture (control ids 2700..2717): which output a
// button selects, whether it is shown, and which button stands for a speaker type.

#include <cstdint>
#include <span>

namespace vantor {

inline constexpr int kPositionButtonFirst = 2700;
inline constexpr int kPositionButtonCount = 18;

// The output a button selects, given each output's speaker type (entry o is output o's
// type): the first output with a type of the button's group, or for single-type buttons the
// last one with that type. 2707 always selects output 5. −1 when no output fits (or the
// button has no group, as 2710).
int PositionButtonOutput(int button, std::span<const std::uint8_t> types);

// A button is shown when some output has a type of its group. 2707 and 2710 have no type
// and are never shown.
bool PositionButtonInUse(int button, std::span<const std::uint8_t> types);

// The button whose group holds `type`, or −1 (none, custom types).
int PositionButtonOfType(int type);

}  // namespace vantor
