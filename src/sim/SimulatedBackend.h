#pragma once
// A bus of simulated processors behind the HidBackend seam: enumeration lists the units
// that are plugged in, opening is exclusive, and plugging or unplugging a unit is reported
// as arrival or removal on the backend's own notification thread, like real hardware.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/HidDevice.h"
#include "sim/SimulatedProcessor.h"

namespace vantor::sim {

class SimulatedBackend : public HidBackend {
 public:
  SimulatedBackend() = default;
  ~SimulatedBackend() override;

  SimulatedBackend(const SimulatedBackend&) = delete;
  SimulatedBackend& operator=(const SimulatedBackend&) = delete;

  // Puts a unit on this bus (several backends may share one unit, as two programs share one
  // USB bus); from now on its plugging in and out is reported.
  void Attach(std::shared_ptr<SimulatedProcessor> unit);
  void Detach(const std::shared_ptr<SimulatedProcessor>& unit);

  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidDevice> OpenExclusive(const std::string& path,
                                           HidOpenError* error = nullptr) override;
  // Only processors (matching vendor, product and release) are reported. Events raised while
  // no callback is registered are not kept.
  void StartHotPlug(HotPlugCallback callback) override;
  // Waits for a callback under way unless called from within a callback.
  void StopHotPlug() override;

 private:
  struct Attached {
    std::shared_ptr<SimulatedProcessor> unit;
    int listener;
  };

  void Post(const HotPlugEvent& event);
  void Run();

  std::mutex m_unitsMutex;
  std::vector<Attached> m_units;

  std::mutex m_eventsMutex;
  std::condition_variable m_eventsChanged;
  std::deque<HotPlugEvent> m_events;
  HotPlugCallback m_callback;
  bool m_running = false;
  std::thread m_thread;
};

}  // namespace vantor::sim
