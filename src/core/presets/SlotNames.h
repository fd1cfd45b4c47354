#pragma once
// The names of the device's preset slots: how a name is kept in a record's 16-byte name
// field, how it is shown, the default labels and the check an entered name must pass.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/DataDefine.h"
#include "text/TextCatalog.h"

namespace vantor {

class ProgramState;

// Names the slot buttons show: slots 1..6.
inline constexpr int kPresetSlots = rec::kDeviceSlots;
inline constexpr std::size_t kSlotNameBytes = rec::kProgramNameSent;  // 15 bytes are kept

// "音效3" / "Source3".
std::string DefaultSlotLabel(int slot, bool chinese);

// Stores GBK bytes into a record's name field: at most the first 15 bytes (never half a
// double-byte character), the rest zero; byte 15 is always 0.
void StoreSlotName(rec::StateRecord& record, std::string_view gbk);

// The name field read up to its terminator, trimmed of white space on both sides, as UTF-8
// (bytes that are no GBK character show as U+FFFD).
std::string SlotNameText(const rec::StateRecord& record);

// The label of slot 1..6: its trimmed name, or the default label when the name is empty or
// no device is connected.
std::string SlotLabel(const ProgramState& state, int slot, bool connected);
std::array<std::string, kPresetSlots> SlotLabels(const ProgramState& state, bool connected);

// The check an entered name must pass: nothing when it is accepted, else the message to
// show (a name that is empty once white space is trimmed from both ends). Duplicate names
// are accepted.
std::optional<TextId> CheckSlotName(std::string_view utf8);

// The label the save dialog shows for an entered name: its first 16 characters when it is
// longer than 15, else the whole text.
std::string SaveDialogLabel(std::string_view utf8);

// Leading and trailing white space removed.
std::string_view TrimWhiteSpace(std::string_view text);

}  // namespace vantor
