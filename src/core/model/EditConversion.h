#pragma once
// The numeric edits' conversions between a code and its text, per edit mode: how a code is
// shown, how typed text becomes a code when the edit loses focus (commit, with clamping),
// and how GetValue reads pending text (no clamping: out-of-range text changes nothing).
// Pure and locale-independent: "5.5" is five and a half under any locale and every text is
// written with a dot. Text that holds no number ("abc", empty) changes nothing.

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// Edit modes in use.
enum EditMode : int {
  kEditDelayMs = 0,
  kEditDelayCm = 1,
  kEditDelayInch = 2,
  kEditEqFrequency = 4,
  kEditLimiterAttack = 5,
  kEditCrossoverFrequency = 8,
  kEditEqGain = 10,  // scale 0.1, offset 20
  kEditBandwidthQ = 11,
  kEditMixerLevel = 13,        // scale 1
  kEditLimiterThreshold = 24,  // scale 0.1, offset 30
  kEditGainDb = 25,            // output gain, master volume: scale 1, offset 60
  kEditLimiterValue = 32,
  kEditLimiterOffsetValue = 33,
  kEditLimiterList = 34,
};

// How one edit reads its code.
struct EditScale {
  int mode = 0;
  int minimum = 0;
  int maximum = 0;
  double scale = 0.0;    // unit value = code · scale − offset (modes 10, 13, 24, 25)
  double offset = 0.0;   // also the shown offset of mode 33
  int temperature = 75;  // °C + 50, for the distance modes
};

// The text of a code.
std::string FormatEditCode(const EditScale& edit, int code);

struct EditResult {
  // The new code; empty when the code stays as it is.
  std::optional<int> code;
  // The text held no number (the code stays as it is; a panel may say so).
  bool unreadable = false;
};

// Focus lost: the text becomes a code, clamped into the accepted range. "OFF" / "关闭"
// (exactly) mean the bottom of an output gain (mode 25) and the top of a threshold
// (mode 24); in modes 4 and 8 "OFF" leaves the code unchanged; mode 5 leaves it unchanged
// for a time between 0.9 and 1 ms.
EditResult CommitEditText(const EditScale& edit, std::string_view text);

// GetValue on a modified edit: like the commit, but a value outside the accepted range
// leaves the code unchanged instead of being clamped (mode 32 still clamps), "OFF" and
// "关闭" are not recognised, and modes 8, 33 and 34 convert nothing.
EditResult ReadEditText(const EditScale& edit, std::string_view text);

// The number at the start of a text, after leading blanks ("5.5", "-3", "1000Hz", ".5").
std::optional<double> ParseLeadingDecimal(std::string_view text);
std::optional<long long> ParseLeadingInteger(std::string_view text);

}  // namespace vantor
