#pragma once
// The per-user directory where running copies meet: device claims and device locks.

#include <filesystem>
#include <optional>

namespace vantor {

// $XDG_RUNTIME_DIR/vantor, or a private folder in the temporary directory when the
// session has none. Created (mode 0700) on first use; nothing when it cannot be.
std::optional<std::filesystem::path> RuntimeDir();

// A file name for a device path: the path with every character outside [A-Za-z0-9._-]
// replaced, so that "/dev/hidraw3" and "1-2:1.0" become plain names.
std::string FileNameForPath(const std::string& devicePath);

}  // namespace vantor
