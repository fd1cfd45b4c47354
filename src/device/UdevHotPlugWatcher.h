#pragma once
// Reports arrival and removal of hidraw devices from the udev monitor, on a thread of its
// own. Arrivals are reported only for the processor's vendor, product and release;
// removals for every hidraw node, since a vanished node can no longer be asked who it was.

#include <atomic>
#include <thread>

#include "link/HidDevice.h"

namespace vantor {

class UdevHotPlugWatcher {
 public:
  UdevHotPlugWatcher() = default;
  ~UdevHotPlugWatcher();
  UdevHotPlugWatcher(const UdevHotPlugWatcher&) = delete;
  UdevHotPlugWatcher& operator=(const UdevHotPlugWatcher&) = delete;

  // False when the udev monitor cannot be set up (no udev on this system).
  bool Start(HotPlugCallback callback);
  void Stop();

 private:
  void Run(HotPlugCallback callback);

  std::thread m_thread;
  int m_wakeFd = -1;
  void* m_udev = nullptr;
  void* m_monitor = nullptr;
};

}  // namespace vantor
