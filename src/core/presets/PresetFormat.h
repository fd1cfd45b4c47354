#pragma once
// The two preset file kinds on disk: a single-preset file (".dsps", the current tuning) and
// an all-presets file (".dspa", the system area, the 20 slot records, the current tuning and
// the delay-position table). Both start with the same 16-byte signature: a length byte 0x0F
// followed by 15 ASCII characters.

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "model/DataDefine.h"

namespace vantor {

inline constexpr std::string_view kPresetSignatureText = "TRX-620-MAX-1.0";
inline constexpr std::size_t kPresetSignatureSize = 16;  // length byte + 15 characters

// Single-preset file: signature, live state record.
inline constexpr std::size_t kSinglePresetLive = kPresetSignatureSize;
inline constexpr std::size_t kSinglePresetFileSize =
    kPresetSignatureSize + rec::kStateRecordSize;  // 2808

// All-presets file: signature, system area, slot records 1..20, live record, delay table.
inline constexpr std::size_t kAllPresetsSystemArea = kPresetSignatureSize;
inline constexpr std::size_t kAllPresetsSlots = kAllPresetsSystemArea + rec::kSystemAreaSize;
inline constexpr std::size_t kAllPresetsLive =
    kAllPresetsSlots + rec::kStateRecordSize * static_cast<std::size_t>(rec::kSlotRecordCount);
inline constexpr std::size_t kAllPresetsDelayTable = kAllPresetsLive + rec::kStateRecordSize;
inline constexpr std::size_t kAllPresetsFileSize =
    kAllPresetsDelayTable + rec::kDelayPositionsSize;  // 58730

static_assert(kSinglePresetFileSize == 2808);
static_assert(kAllPresetsFileSize == 58730);

enum class PresetKind {
  kNone,    // neither extension: the load ends silently
  kSingle,  // ".dsps"
  kAll,     // ".dspa"
};

// "dsps" / "dspa".
std::string_view PresetExtension(PresetKind kind);
std::size_t PresetFileSize(PresetKind kind);

// The kind named by the text after the last dot of the whole path. Letter case does not
// matter: "X.DSPS" is a single-preset file like "x.dsps".
PresetKind PresetKindOfPath(const std::filesystem::path& path);

// The path a save dialog returned, with ".dsps" / ".dspa" appended unless the name already
// ends with it (in any letter case): "abc" and "abc.dsps" both give "abc.dsps".
std::filesystem::path WithPresetExtension(const std::filesystem::path& path, PresetKind kind);

}  // namespace vantor
