#pragma once
// The link rig with a firmware updater attached: the program's side of an update against
// the simulated processor, with short time limits, an observer that records the progress
// bar and the status line, and files written into the rig's own folder.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "connection/LinkRig.h"
#include "firmware/FirmwareUpdater.h"

namespace vantor::testing {

class RecordingObserver : public FirmwareObserver {
 public:
  void SetProgressRange(int low, int high) override {
    std::lock_guard lock(m_lock);
    ranges.emplace_back(low, high);
  }
  void SetProgressPosition(int position) override {
    std::lock_guard lock(m_lock);
    positions.push_back(position);
  }
  void SetStatus(TextId text) override {
    std::lock_guard lock(m_lock);
    // The wake-up phase names itself once per wake-up; consecutive repeats are one line.
    if (statuses.empty() || statuses.back() != text) statuses.push_back(text);
  }

  std::vector<std::pair<int, int>> Ranges() const { return Locked(ranges); }
  std::vector<int> Positions() const { return Locked(positions); }
  std::vector<TextId> Statuses() const { return Locked(statuses); }

 private:
  template <typename T>
  T Locked(const T& v) const {
    std::lock_guard lock(m_lock);
    return v;
  }
  mutable std::mutex m_lock;
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> positions;
  std::vector<TextId> statuses;
};

// Short firmware limits on top of the link's short ones.
inline LinkTimings FirmwareTimings() {
  LinkTimings t = FastTimings();
  t.fwSearchLimit = std::chrono::milliseconds(200);
  t.fwSearchInterval = std::chrono::milliseconds(5);
  t.fwWakeInterval = std::chrono::milliseconds(1);
  t.fwWakeDuration = std::chrono::milliseconds(20);
  t.fwWakePause = std::chrono::milliseconds(10);
  t.fwRestartWait = std::chrono::milliseconds(20);
  t.fwExchangeLimit = std::chrono::milliseconds(300);
  t.fwIdleWait = std::chrono::milliseconds(5);
  for (auto* read : {&t.fwReadStart, &t.fwReadHeader, &t.fwReadData, &t.fwReadEnd,
                     &t.fwReadControllerStart, &t.fwReadControllerData, &t.fwReadControllerEnd}) {
    *read = std::chrono::milliseconds(150);
  }
  return t;
}

// `size` bytes that differ from packet to packet and do not end in 0xFF.
std::vector<std::uint8_t> TestImage(std::size_t size, unsigned seed = 1);

class FirmwareRig {
 public:
  explicit FirmwareRig(sim::SimTiming timing = sim::SimTiming::Instant(),
                       LinkTimings timings = FirmwareTimings());

  // A file in the rig's folder.
  std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
  // Handles events (handing the device events to the updater) until the update is over.
  FirmwareOutcome Run(std::chrono::milliseconds timeout = std::chrono::seconds(60));
  // Starts an update from `path` and runs it to its end.
  FirmwareOutcome Update(const std::string& path);

  // The codes of the firmware packets the unit received, in order.
  std::vector<int> PacketCodes() const;
  // How often the unit received a packet of `code`.
  int Received(int code) const;
  bool Shown(TextId text) const;

  LinkRig link;
  RecordingObserver observer;  // outlives the updater, whose worker may still report
  FirmwareUpdater updater{link.Controller()};

 private:
  std::size_t m_eventsSeen = 0;
};

}  // namespace vantor::testing
