#include "device/DeviceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "device/RuntimeDir.h"

namespace vantor {

DeviceLock::~DeviceLock() { Unlock(); }

DeviceLock::DeviceLock(DeviceLock&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }

DeviceLock& DeviceLock::operator=(DeviceLock&& other) noexcept {
  if (this != &other) {
    Unlock();
    m_fd = other.m_fd;
    other.m_fd = -1;
  }
  return *this;
}

bool DeviceLock::TryLock(const std::string& devicePath) {
  const auto dir = RuntimeDir();
  if (!dir) return false;
  return TryLock(devicePath, *dir / "locks");
}

bool DeviceLock::TryLock(const std::string& devicePath, const std::filesystem::path& folder) {
  Unlock();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const auto file = folder / FileNameForPath(devicePath);
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  m_fd = fd;
  return true;
}

void DeviceLock::Unlock() {
  if (m_fd >= 0) {
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
  }
}

}  // namespace vantor
