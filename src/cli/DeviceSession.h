#pragma once
// One run of a device command: the program's state, a connection to the processor (the
// real one over USB, or the simulated one), connected exactly as the application connects,
// and closed again when the command is done.

#include <atomic>
#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>

#include "cli/CliScreen.h"
#include "cli/GlobalOptions.h"
#include "link/ClaimStore.h"
#include "link/ConnectionController.h"
#include "link/HidDevice.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor::sim {
class SimMemoryStore;
class SimulatedBackend;
class SimulatedProcessor;
}  // namespace vantor::sim

namespace vantor::cli {

class DeviceSession {
 public:
  DeviceSession(const GlobalOptions& options, std::ostream& err, bool terminal);
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Sets up the transport: the simulated processor with its memory and faults, or the
  // USB backend. The memory file is kept from here on (SimMemoryStore): another run on it
  // is waited for. Returns an exit code; a message has been written on failure.
  int Prepare();
  // Connects, checks the identity and reads the live program back. kExitOk, or
  // kExitDevice with the reason written.
  int Connect();
  // Waits until every queued command is answered and nothing is left pending.
  bool WaitIdle(std::chrono::milliseconds timeout = std::chrono::seconds(120));
  // Handles events until `done` holds; false when the time ran out or the connection
  // ended on the way.
  bool Until(const std::function<bool()>& done,
             std::chrono::milliseconds timeout = std::chrono::seconds(120));
  // Disconnects and writes what is left of the simulated processor's memory. Returns an
  // exit code.
  int Disconnect();

  ProgramState& State() { return m_state; }
  CKTV_Data& Model() { return m_model; }
  ConnectionController& Controller() { return *m_controller; }
  CliScreen& Screen() { return m_screen; }
  HidBackend& Backend() { return *m_backend; }
  ClaimStore& Claims() { return *m_claims; }
  // The simulated processor, or null on real hardware.
  sim::SimulatedProcessor* SimulatedUnit() { return m_unit.get(); }
  bool Chinese() const { return m_options.chinese; }
  // Writes one line on standard error, safe against the trace.
  void Say(const std::string& line);

 private:
  void Trace(FrameDirection direction, std::span<const std::uint8_t> frame);

  GlobalOptions m_options;
  std::ostream& m_err;
  std::mutex m_errLock;
  ProgramState m_state;
  CKTV_Data m_model{m_state};
  CliScreen m_screen;
  std::unique_ptr<ClaimStore> m_claims;
  std::shared_ptr<sim::SimulatedProcessor> m_unit;
  std::unique_ptr<sim::SimMemoryStore> m_store;
  std::unique_ptr<sim::SimulatedBackend> m_simBus;
  std::unique_ptr<HidBackend> m_realBackend;
  HidBackend* m_backend = nullptr;
  std::unique_ptr<ConnectionController> m_controller;
  std::atomic<int> m_statusReplies{0};
};

}  // namespace vantor::cli
