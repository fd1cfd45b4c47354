#pragma once
// The live-sync flag: set while edits are to reach the device. The model owns one; the
// filter sets hold a pointer to it, so every test and every simulated device has its own.

#include <atomic>

namespace vantor {

using LiveSyncFlag = std::atomic<bool>;

inline bool IsLive(const LiveSyncFlag* flag) {
  return flag != nullptr && flag->load(std::memory_order_relaxed);
}

}  // namespace vantor
