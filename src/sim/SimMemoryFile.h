#pragma once
// The processor's memory as a file, so that separate runs of a program see one persistent
// device. The file holds the live record, the slot records, the effect images and the global
// blocks, then what else the unit keeps in flash (its identity and its boot loader's state),
// behind a header and followed by a checksum; anything else is refused whole. Files of the
// first layout, without the flash part, are still read.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/ProgramState.h"

namespace vantor::sim {

enum class SimFileStatus {
  kOk,
  kCannotRead,    // missing or unreadable
  kWrongSize,     // short, truncated or padded
  kNotSimMemory,  // the header is not ours
  kWrongVersion,  // written by a newer layout
  kBadChecksum,   // damaged contents
  kCannotWrite,   // temporary file could not be written or renamed
  kInUse,         // another program works with the file
};

// A short message for the user in the chosen language; with the system's reason (an errno
// value) after it when one is given.
std::string DescribeSimFileStatus(SimFileStatus status, bool chinese = false, int error = 0);

// What the unit keeps besides its parameter memory.
struct SimFlash {
  std::string identity;            // empty in a file of the first layout
  std::vector<std::uint8_t> boot;  // SimBootLoader::SaveState; empty likewise
};

// The whole memory image of the state and the flash part.
std::vector<std::uint8_t> EncodeMemoryImage(const ProgramState& state, const SimFlash& flash = {});
// Checks an image completely without applying it.
SimFileStatus CheckMemoryImage(std::span<const std::uint8_t> image);
// Copies a checked image into the state's records and blocks (flags are left alone).
void ApplyMemoryImage(std::span<const std::uint8_t> image, ProgramState& state);
// The flash part of a checked image.
SimFlash FlashOfImage(std::span<const std::uint8_t> image);

// The largest file that is taken for a memory image.
inline constexpr std::size_t kMemoryFileLimit = 64u << 20;

}  // namespace vantor::sim
