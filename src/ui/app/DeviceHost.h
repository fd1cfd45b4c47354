#pragma once
// Where the program's processor comes from: nothing (a form without a device), the USB
// transport, or a simulated processor standing in for the hardware (--demo, tests). It
// owns the backend and the device claims the connection controller works with, and for the
// simulated unit its memory file.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "link/ClaimStore.h"
#include "link/HidDevice.h"

namespace vantor::sim {
class SimMemoryStore;
class SimulatedBackend;
class SimulatedProcessor;
}  // namespace vantor::sim

namespace vantor {

class DeviceHost {
 public:
  // A backend that finds no device; the connect button then says "unable to connect".
  static std::unique_ptr<DeviceHost> NoDevice();
  // The real processor over USB, with the claims shared by every running copy.
  static std::unique_ptr<DeviceHost> Usb();
  // A simulated unit on a bus of its own; claims private to this program (the unit is).
  // The unit is not plugged in here.
  static std::unique_ptr<DeviceHost> Simulated(std::shared_ptr<sim::SimulatedProcessor> unit);

  struct DemoOptions {
    // The unit's memory is kept in this file: locked while the program runs (a second
    // program on it is refused), read at start (created when missing) and written shortly
    // after every change and by SaveDemoState.
    std::optional<std::filesystem::path> stateFile;
    // A unit without a memory file starts with the example tuning in its live program.
    bool sampleTune = false;
  };
  // The --demo unit: the simulated processor with its USB timing, plugged in. Null, with
  // the reason in `error`, when the memory file exists but cannot be used (it is left as
  // it is rather than overwritten at the end) or another program uses it.
  static std::unique_ptr<DeviceHost> Demo(const DemoOptions& options, bool chinese,
                                          std::string* error);

  ~DeviceHost();
  DeviceHost(const DeviceHost&) = delete;
  DeviceHost& operator=(const DeviceHost&) = delete;

  HidBackend& Backend() { return *m_backend; }
  ClaimStore& Claims() { return *m_claims; }
  // The simulated processor, or null.
  sim::SimulatedProcessor* Unit() { return m_unit.get(); }
  bool IsSimulated() const { return m_unit != nullptr; }

  // Writes the rest of the simulated unit's memory to its file, if it has one, and lets go
  // of the file. False, with the reason in `error`, when the file could not be written.
  bool SaveDemoState(bool chinese, std::string* error);

 private:
  DeviceHost();

  std::unique_ptr<HidBackend> m_backend;
  std::unique_ptr<ClaimStore> m_claims;
  std::shared_ptr<sim::SimulatedProcessor> m_unit;
  std::unique_ptr<sim::SimMemoryStore> m_store;
};

}  // namespace vantor
