#pragma once
// Keyboard travel through the output channel dialog's band table: Enter moves along a row
// of edits and on to the next row after the last band; Left and Right move between the gain
// sliders, wrapping at both ends.

namespace vantor {

enum class BandRow { kFrequency, kBandwidth, kGain };

struct BandCell {
  BandRow row = BandRow::kFrequency;
  int band = 0;
  friend bool operator==(const BandCell&, const BandCell&) = default;
};

// The edit Enter moves to from `from`: the next band of the row; after band 30 band 0 of
// the next row, frequency → bandwidth → gain → frequency. In graphic mode the frequency and
// bandwidth edits are disabled, so the travel stays on the gain row.
BandCell NextCellOnEnter(BandCell from, bool graphic);

// The slider Left (direction −1) or Right (+1) moves to from `band`: 0 and 30 wrap.
int NextSlider(int band, int direction);

}  // namespace vantor
