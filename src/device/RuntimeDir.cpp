#include "device/RuntimeDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace vantor {

std::optional<std::filesystem::path> RuntimeDir() {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && *xdg != '\0') {
    base = std::filesystem::path(xdg) / "vantor";
  } else {
    base = std::filesystem::temp_directory_path() / ("vantor-" + std::to_string(::getuid()));
  }
  std::error_code ec;
  std::filesystem::create_directories(base, ec);
  if (ec) return std::nullopt;
  ::chmod(base.c_str(), 0700);
  return base;
}

std::string FileNameForPath(const std::string& devicePath) {
  std::string name;
  name.reserve(devicePath.size());
  for (const char c : devicePath) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    name += plain ? c : '_';
  }
  // Keep names distinct that differ only in replaced characters.
  name += '-' + std::to_string(std::hash<std::string>{}(devicePath));
  return name;
}

}  // namespace vantor
