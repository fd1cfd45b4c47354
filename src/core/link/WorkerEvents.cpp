#include "link/WorkerEvents.h"

namespace vantor {

void WorkerEvents::Set(int index) {
  {
    std::lock_guard lock(m_mutex);
    m_set[static_cast<std::size_t>(index)] = true;
  }
  m_changed.notify_all();
}

void WorkerEvents::Reset(int index) {
  std::lock_guard lock(m_mutex);
  m_set[static_cast<std::size_t>(index)] = false;
}

void WorkerEvents::ResetAll() {
  std::lock_guard lock(m_mutex);
  m_set.fill(false);
}

bool WorkerEvents::IsSet(int index) const {
  std::lock_guard lock(m_mutex);
  return m_set[static_cast<std::size_t>(index)];
}

int WorkerEvents::LowestLocked() const {
  for (int i = 0; i < kCount; ++i) {
    if (m_set[static_cast<std::size_t>(i)]) return i;
  }
  return -1;
}

int WorkerEvents::WaitAny(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  m_changed.wait_for(lock, timeout, [this] { return LowestLocked() >= 0; });
  return LowestLocked();
}

}  // namespace vantor
