#pragma once
// A sink that keeps posted device events in order until their consumer takes them: the
// mailbox of a front end without its own event loop (the command-line tool, tests).

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "link/DeviceEvents.h"

namespace vantor {

class DeviceEventQueue : public DeviceEventSink {
 public:
  void Post(const DeviceEventMessage& message) override;

  // The oldest event, if any.
  std::optional<DeviceEventMessage> TryTake();
  // The oldest event, waiting at most `timeout` for one to arrive.
  std::optional<DeviceEventMessage> WaitTake(std::chrono::milliseconds timeout);
  // Every queued event, oldest first.
  std::vector<DeviceEventMessage> TakeAll();
  std::size_t Size() const;

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::deque<DeviceEventMessage> m_events;
};

}  // namespace vantor
