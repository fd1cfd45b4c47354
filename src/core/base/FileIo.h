#pragma once
// Reading and saving whole files so that nothing is lost: a save writes a temporary file
// beside the target, makes it durable and renames it over the target, so the target holds
// either all of its old contents or all of the new ones. A save
//   - goes through symbolic links to the file they lead to (the link stays a link),
//   - keeps the target's permission bits (a private file stays private) and, where the
//     system lets us, its owner and group,
//   - refuses a target the person may not write, with the system's reason,
//   - takes the target's lock (FileLock) for the moment of the rename, so it waits for a
//     read-modify-write of another program instead of undoing it,
//   - removes temporary files that a killed save left in that folder.
// Results carry the system's reason (errno); DescribeFileError (text) words it.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "base/FileLock.h"
#include "base/FileResult.h"

namespace vantor {

struct FileTimings {
  // How long a save waits for another program's read-modify-write of the same file.
  std::chrono::milliseconds lockWait{10000};
  // How long a command-line run waits for another program that keeps a file it needs for
  // its whole run (the simulated processor's memory file).
  std::chrono::milliseconds sessionWait{30000};
  // A temporary save file this old whose writer is gone is a leftover of a killed save.
  std::chrono::milliseconds staleTemporary{10000};
};

// Temporary save files are named <kTemporaryPrefix>...<kTemporarySuffix>.
inline constexpr std::string_view kTemporaryPrefix = ".vantor-save-";
inline constexpr std::string_view kTemporarySuffix = ".tmp";

struct FileBytes {
  FileResult result;
  std::vector<std::uint8_t> bytes;  // at most limit + 1 bytes: enough to tell "too long"
  std::uintmax_t size = 0;          // the file's real size

  bool Ok() const { return result.Ok(); }
};

// Reads `path` (a directory is refused with EISDIR).
FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit);

// The file a path leads to after every symbolic link on the way has been followed; the
// last one may name a file that does not exist yet. Relative links count from their folder.
std::filesystem::path ResolveLinks(const std::filesystem::path& path);

// Saves `bytes` as the new contents of `path` (see above). With `held` the caller already
// holds the target's lock, and keeps it on the new file.
FileResult ReplaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                       FileLock* held = nullptr, const FileTimings& timings = {});

// Creates `path` with `bytes` only when nothing is there yet: the file appears whole or not
// at all. EEXIST when something already is.
FileResult CreateNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Whether two paths name one file (hard links, symbolic links, "./" forms), as far as both
// exist.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace vantor
