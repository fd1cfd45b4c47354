#pragma once
// The processor's memory as a file, so that separate runs of a program see one persistent
// device. The file holds the live record, the slot records, the effect images and the global
// blocks, behind a header and followed by a checksum; anything else is refused whole.

#include <cstdint>
#include <filesystem>
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
};

// A short message for the user in the chosen language.
std::string DescribeSimFileStatus(SimFileStatus status, bool chinese = false);

// The whole memory image of the state.
std::vector<std::uint8_t> EncodeMemoryImage(const ProgramState& state);
// Checks an image completely without applying it.
SimFileStatus CheckMemoryImage(std::span<const std::uint8_t> image);
// Copies a checked image into the state's records and blocks (flags are left alone).
void ApplyMemoryImage(std::span<const std::uint8_t> image, ProgramState& state);

// Writes the bytes to a temporary file beside `path` and renames it over `path`, so a failed
// write leaves the old file as it was.
SimFileStatus WriteFileAtomically(const std::filesystem::path& path,
                                  std::span<const std::uint8_t> bytes);
// Reads a whole file (refusing anything larger than `limit`).
SimFileStatus ReadWholeFile(const std::filesystem::path& path, std::size_t limit,
                            std::vector<std::uint8_t>& bytes);

std::size_t MemoryImageSize();

}  // namespace vantor::sim
