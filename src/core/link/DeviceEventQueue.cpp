#include "link/DeviceEventQueue.h"

namespace vantor {

void DeviceEventQueue::Post(const DeviceEventMessage& message) {
  {
    std::lock_guard lock(m_mutex);
    m_events.push_back(message);
  }
  m_arrived.notify_all();
}

std::optional<DeviceEventMessage> DeviceEventQueue::TryTake() {
  std::lock_guard lock(m_mutex);
  if (m_events.empty()) return std::nullopt;
  DeviceEventMessage m = m_events.front();
  m_events.pop_front();
  return m;
}

std::optional<DeviceEventMessage> DeviceEventQueue::WaitTake(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  if (!m_arrived.wait_for(lock, timeout, [this] { return !m_events.empty(); })) return std::nullopt;
  DeviceEventMessage m = m_events.front();
  m_events.pop_front();
  return m;
}

std::vector<DeviceEventMessage> DeviceEventQueue::TakeAll() {
  std::lock_guard lock(m_mutex);
  std::vector<DeviceEventMessage> all(m_events.begin(), m_events.end());
  m_events.clear();
  return all;
}

std::size_t DeviceEventQueue::Size() const {
  std::lock_guard lock(m_mutex);
  return m_events.size();
}

}  // namespace vantor
