#pragma once
// An exclusive advisory lock tied to a device path, held while the device is open. The
// hidraw driver lets two processes open one device; this lock makes the second copy of
// the program fail to open it, as an exclusive open would.

#include <filesystem>
#include <string>

namespace vantor {

class DeviceLock {
 public:
  DeviceLock() = default;
  ~DeviceLock();
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;
  DeviceLock(DeviceLock&& other) noexcept;
  DeviceLock& operator=(DeviceLock&& other) noexcept;

  // Takes the lock for `devicePath` with lock files in `folder` (by default the runtime
  // directory). False when another holder has it or the lock file cannot be made.
  bool TryLock(const std::string& devicePath);
  bool TryLock(const std::string& devicePath, const std::filesystem::path& folder);
  void Unlock();
  bool Held() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

}  // namespace vantor
