#pragma once
// Reading and writing preset files as whole byte images.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace vantor {

// The file's bytes, or nothing when it cannot be opened or read. At most limit + 1 bytes
// are read, enough to tell that a file is longer than `limit` without reading it all.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit);

// Writes `bytes` to a temporary file next to `path` and renames it over `path`, so that the
// target holds either its old contents or all of the new ones. False (the target untouched,
// no temporary file left) when any step fails.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace vantor
