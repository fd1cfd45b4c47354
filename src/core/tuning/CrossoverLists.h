#pragma once
// The crossover lists: the three families, and the five slope entries each family offers
// on the crossover panel. An entry stands for a slope index of the filter; Link_Ril has no
// 18 dB/Oct entry, so its list skips slope index 2, and a filter kept at 2 shows the entry
// below it. The output channel dialog offers all seven slopes instead, entry = slope index.

#include <array>
#include <string_view>

#include "text/TextCatalog.h"

namespace vantor {

inline constexpr int kCrossoverFamilyCount = 3;
inline constexpr int kSlopeEntryCount = 5;

// "宁克" / "Link_Ril", "贝塞尔" / "Bessel", "巴特沃斯" / "Butter_W"; family 0..2.
TextId FamilyText(int family);

// The entries of a family's slope list, the same in both languages.
const std::array<std::string_view, kSlopeEntryCount>& SlopeEntries(int family);

// The slope index entry `entry` (0..4) stands for; −1 outside the list.
int SlopeOfEntry(int family, int entry);

// The entry that shows a slope index: its own, or for a slope the list does not offer the
// entry of the nearest slope below it (never "OFF"); −1 for no slope index at all.
int EntryOfSlope(int family, int slope);

// The output channel dialog's slope list: "12dB/Oct" .. "48dB/Oct", the same for every family
// and language; entry e is slope index e.
inline constexpr int kFullSlopeEntryCount = 7;
const std::array<std::string_view, kFullSlopeEntryCount>& FullSlopeEntries();
// The entry of that list showing a slope index; −1 for "OFF" and anything outside it.
int FullSlopeEntryOf(int slope);

}  // namespace vantor
