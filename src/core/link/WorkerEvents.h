#pragma once
// Four manual-reset events the worker waits on: exit, suspend, update cycle, normal cycle.
// A wait returns the lowest signalled index, so exit always beats a transfer.

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vantor {

class WorkerEvents {
 public:
  enum Index : int { kExit = 0, kSuspend = 1, kUpdateCycle = 2, kNormalCycle = 3, kCount = 4 };

  void Set(int index);
  void Reset(int index);
  void ResetAll();
  bool IsSet(int index) const;
  // The lowest signalled index, waiting at most `timeout` for one; -1 when none came.
  int WaitAny(std::chrono::milliseconds timeout);

 private:
  int LowestLocked() const;

  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::array<bool, kCount> m_set{};
};

}  // namespace vantor
