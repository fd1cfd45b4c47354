#pragma once
// What the limiter and routing dialog does to the model, without a window: the routing
// matrix (for each of the eight outputs the level 0..100 of each of 14 sources) and the
// three values of the global limiter block. A level goes to its output as the whole 14-byte
// row through the setter of the item that carries the source (item 33 for sources 0..7,
// item 34 for 8..13), which the pending scan sends; a limiter value is queued at once as
// system item 64.

#include <array>
#include <string_view>

#include "model/DataDefine.h"
#include "model/EditConversion.h"
#include "tuning/PanelCommands.h"

namespace vantor {

inline constexpr int kMixerLevelMax = 100;
inline constexpr int kRoutingCellCount = rec::kOutputCount * static_cast<int>(rec::kMixerSources);

// A cell of the matrix: output (row) and source (column); index = 14 · output + source.
struct RoutingCell {
  int output = 0;
  int source = 0;
  friend bool operator==(const RoutingCell&, const RoutingCell&) = default;
};
RoutingCell RoutingCellAt(int index);
int RoutingIndexOf(RoutingCell cell);
// Enter in a level edit: the next cell along the row and on to the next row, from the last
// back to the first.
int NextRoutingIndex(int index);

// The limiter block's three edited bytes: the range of each and how its edit shows it.
inline constexpr int kLimiterFieldCount = 3;
struct LimiterField {
  int maximum;   // the range is 0..maximum
  int mode;      // edit mode: 32 plain, 33 shown with an offset, 34 shown by the list
  double shown;  // offset added for display (mode 33)
};
const LimiterField& LimiterFieldOf(int index);
// The edit's scale of a limiter field, for showing and reading its text.
EditScale LimiterFieldScale(int index);

// The release list of byte 2, entry = code 0..4; code 5 has no entry. The same in both
// languages.
inline constexpr int kLimiterReleaseEntryCount = 5;
const std::array<std::string_view, kLimiterReleaseEntryCount>& LimiterReleaseEntries();
inline constexpr int kLimiterReleaseField = 2;

class LimiterRoutingEditor {
 public:
  explicit LimiterRoutingEditor(CKTV_Data& data) : m_data(data) {}

  int Level(RoutingCell cell) const;
  // The row update: the output's row with the source at `level` (0..100), given whole to
  // the output through the setter that marks the source's item. False when out of range or
  // when the row already holds it (nothing marked, no step).
  bool SetLevel(RoutingCell cell, int level);

  // Limiter block byte `index` (0..2).
  int LimiterValue(int index) const;
  // Stores a value in the field's range and queues item 64 (when connected); false when out
  // of range or unchanged (nothing queued).
  bool SetLimiterValue(PanelCommands& commands, int index, int value);
  // The release list's entry for byte 2; −1 for code 5, which the list does not offer.
  int ReleaseEntry() const;
  bool ChooseReleaseEntry(PanelCommands& commands, int entry);

 private:
  CKTV_Data& m_data;
};

}  // namespace vantor
