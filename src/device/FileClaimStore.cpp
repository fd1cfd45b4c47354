#include "device/FileClaimStore.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <sstream>

#include "device/RuntimeDir.h"

namespace vantor {
namespace {

// The claiming process id written in a claim file, if it can be read.
std::optional<long> ReadOwner(const std::filesystem::path& file) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  const std::string s = text.str();
  long pid = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), pid);
  if (r.ec != std::errc() || pid <= 0) return std::nullopt;
  return pid;
}

bool ProcessAlive(long pid) {
  if (::kill(static_cast<pid_t>(pid), 0) == 0) return true;
  return errno == EPERM;  // exists, but belongs to someone else
}

}  // namespace

FileClaimStore::FileClaimStore(std::filesystem::path folder) : m_folder(std::move(folder)) {
  std::error_code ec;
  std::filesystem::create_directories(m_folder, ec);
}

FileClaimStore::FileClaimStore()
    : FileClaimStore(RuntimeDir().value_or(std::filesystem::temp_directory_path()) / "claims") {}

std::filesystem::path FileClaimStore::FileFor(const std::string& path) const {
  return m_folder / FileNameForPath(path);
}

bool FileClaimStore::IsPathUnclaimed(const std::string& path) {
  const auto file = FileFor(path);
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return true;
  const auto owner = ReadOwner(file);
  // An unreadable claim, or one whose process is gone, is stale: nobody holds the device.
  if (!owner || !ProcessAlive(*owner)) {
    std::filesystem::remove(file, ec);
    return true;
  }
  return false;
}

bool FileClaimStore::ClaimPath(const std::string& path) {
  const auto file = FileFor(path);
  const auto temp = file.string() + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::trunc);
    if (!out) return false;
    out << ::getpid();
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, file, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

void FileClaimStore::ReleaseClaim(const std::string& path) {
  const auto file = FileFor(path);
  // Only our own claim is ours to release.
  const auto owner = ReadOwner(file);
  if (owner && *owner != ::getpid()) return;
  std::error_code ec;
  std::filesystem::remove(file, ec);
}

}  // namespace vantor
