#pragma once
// A firmware file read into memory: a processor image (".dsp") or a hand-controller image
// (".contr"). The file is not parsed; every byte goes to the device as it is. What comes
// with it is the one-byte image checksum sent after the last data packet and the block
// count that sizes the update's progress bar.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "text/TextCatalog.h"

namespace vantor {

enum class FirmwareKind { kProcessor, kController };

struct FirmwareImage {
  FirmwareKind kind = FirmwareKind::kProcessor;
  std::vector<std::uint8_t> bytes;
  std::uint8_t checksum = 0;
  int blockCount = 0;
};

// Files of this size or more are not images the update knows how to send.
inline constexpr std::size_t kFirmwareFileLimit = 262148;
inline constexpr std::uint8_t kFirmwareChecksumSeed = 0x12;
// The image travels in data packets of this many bytes.
inline constexpr std::size_t kFirmwareChunk = 48;

// Seed 0x12 XOR-ed with every byte from index 4 on; bytes 0..3 do not count.
std::uint8_t FirmwareChecksum(std::span<const std::uint8_t> image);
// File length div 48, plus 6: the range of the update's progress bar.
int FirmwareBlockCount(std::size_t length);
// By the text after the last dot of the file name, compared exactly ("DSP" is no ".dsp").
std::optional<FirmwareKind> FirmwareKindOf(const std::filesystem::path& path);

enum class FirmwareLoadError {
  kNone,
  kUnreadable,  // missing, not a regular file, or unreadable
  kEmpty,       // nothing to send
  kWrongType,   // neither ".dsp" nor ".contr", or too large for either
};

struct FirmwareLoadResult {
  std::optional<FirmwareImage> image;
  FirmwareLoadError error = FirmwareLoadError::kNone;

  bool Ok() const { return image.has_value(); }
  // The message box for a refusal: "Hex File error!" or the type error.
  TextId Message() const;
  // A controller image comes with a warning the user sees before it is sent.
  bool Warns() const { return image && image->kind == FirmwareKind::kController; }
};

// The image of a file of the given name and contents (the name decides the kind).
FirmwareLoadResult FirmwareImageFromBytes(const std::filesystem::path& name,
                                          std::span<const std::uint8_t> bytes);
// Reads the file at `path`. A file of an unknown type is refused without being read.
FirmwareLoadResult ReadFirmwareImage(const std::filesystem::path& path);

}  // namespace vantor
