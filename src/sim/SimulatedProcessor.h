#pragma once
// The stand-in for the audio processor: a USB HID device with the memory of a real unit,
// the firmware's answers, the USB timing and the faults a test asks for. Programs reach it
// only through the HidDevice / HidBackend seam (SimulatedBackend); tests and the
// command-line tool also hold it directly to plug, unplug, inject faults, look at its
// memory or keep that memory in a file.
//
//   auto unit = SimulatedProcessor::Create();      // unplugged, factory memory
//   SimulatedBackend backend;  backend.Attach(unit);
//   unit->Plug();                                   // arrival reported by the backend
//   unit->InjectFault(SimFault::DropReply());
//   unit->SaveMemory("unit.vsim");
//
// Firmware: the host's wake-up pattern puts the unit into its boot loader (SimBootLoader).
// After acknowledging a start packet the unit restarts: it goes off the bus and comes back
// (removal, then arrival), so the host's handle is dead and the host opens it anew.
//
// Thread-safe: a host's worker may read and write while another thread plugs, unplugs,
// injects faults or inspects memory.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/HidDevice.h"
#include "model/ProgramState.h"
#include "sim/SimBootLoader.h"
#include "sim/SimFault.h"
#include "sim/SimFrameParser.h"
#include "sim/SimFrameRecord.h"
#include "sim/SimMemory.h"
#include "sim/SimMemoryFile.h"

namespace vantor::sim {

// USB full speed with a 1 ms interval carries one report per millisecond each way; the
// firmware then needs some time per frame before its answer starts.
struct SimTiming {
  // No waiting at all: writes return at once, answers are there at once (unit tests).
  bool instant = false;
  std::chrono::microseconds reportInterval{1000};
  std::chrono::microseconds processingDelay{2000};

  static SimTiming Instant() {
    SimTiming t;
    t.instant = true;
    return t;
  }
};

struct SimOptions {
  std::string path = "sim:processor-0";
  std::uint16_t vendorId = kVendorId;
  std::uint16_t productId = kProductId;
  std::uint16_t release = kReleaseNumber;
  std::string identity = kProcessorIdentity;
  SimTiming timing;
  std::uint64_t seed = 1;            // for garbage bytes, split points and random faults
  std::size_t logCapacity = 100000;  // oldest entries go first beyond this
};

class SimulatedProcessor : public std::enable_shared_from_this<SimulatedProcessor> {
 public:
  using HotPlugListener = std::function<void(const HotPlugEvent&)>;

  // A unit with factory memory, not plugged in.
  static std::shared_ptr<SimulatedProcessor> Create(SimOptions options = {});

  SimulatedProcessor(const SimulatedProcessor&) = delete;
  SimulatedProcessor& operator=(const SimulatedProcessor&) = delete;
  ~SimulatedProcessor();

  // --- USB presence.
  HidDeviceInfo Info() const;
  // Plugging in reports an arrival to the listeners; it also ends a stopped or babbling
  // state (the unit powers up afresh). Unplugging reports a removal and makes the open
  // handle fail from then on, as a vanished device's handle does. Both do nothing when the
  // unit already is in that state.
  void Plug();
  void Unplug();
  bool IsPlugged() const;
  bool IsOpen() const;

  // Opens the unit for a host, exclusively (kBusy while another handle is open, kNotFound
  // while unplugged). The backend calls this; tests may too.
  std::unique_ptr<HidDevice> Open(HidOpenError* error = nullptr);

  // Listeners are told of every plug and unplug on a thread that holds no lock of the unit;
  // after RemoveListener returns the listener is no longer called.
  int AddListener(HotPlugListener listener);
  void RemoveListener(int id);

  // --- Faults.
  void InjectFault(SimFault fault);
  void SetRandomFaults(std::uint64_t seed, const SimFaultRates& rates);
  // Drops queued faults and random rates, and answers again after a stop or babble.
  void ClearFaults();
  std::size_t QueuedFaults() const;
  // Whether the unit answers at all (a stop-answering fault clears it).
  void SetAnswering(bool answering);
  bool IsAnswering() const;
  void SetIdentity(std::string_view identity);

  // --- Timing.
  void SetTiming(const SimTiming& timing);
  SimTiming Timing() const;

  // --- Memory.
  void Inspect(const std::function<void(const ProgramState&)>& fn) const;
  void Modify(const std::function<void(ProgramState&)>& fn);
  // Slot 0 is the live record, 1..20 the slot records.
  rec::StateRecord Record(int slot) const;
  int InputSource() const;
  // A source chosen at the unit itself (its hand controller); the next status answer says so.
  void SetInputSource(int source);
  void FactoryReset();
  // The memory file (SimMemoryFile): the parameter memory, the identity and the boot
  // loader's state, as a unit keeps them across a power cycle. Saving goes through
  // ReplaceFile; a file that cannot be read or checked changes nothing. `error` receives the
  // system's reason when there is one.
  SimFileStatus SaveMemory(const std::filesystem::path& path, int* error = nullptr) const;
  SimFileStatus LoadMemory(const std::filesystem::path& path, int* error = nullptr);
  // The file image of the unit now, and the change count it shows (see MemoryGeneration).
  std::vector<std::uint8_t> MemoryImage(std::uint64_t* generation = nullptr) const;
  // Takes a memory image; a damaged one is refused and changes nothing.
  SimFileStatus ApplyMemoryImage(std::span<const std::uint8_t> image);
  // Counts every change of what the memory file holds (a stored frame, a source chosen at
  // the unit, the boot loader's progress, ...), so a keeper of the file knows when to save.
  std::uint64_t MemoryGeneration() const;

  // --- Firmware.
  bool InBootLoader() const;
  // The processor image installed by the last completed update (empty before the first),
  // and the hand controller's.
  std::vector<std::uint8_t> FirmwareImage() const;
  std::vector<std::uint8_t> ControllerFirmwareImage() const;
  // Wake-up reports received, ever.
  std::uint64_t WakeReportsReceived() const;

  // --- Frame log.
  std::vector<SimFrameRecord> FrameLog() const;
  void ClearFrameLog();
  // Every frame ever received, including those no longer in the log.
  std::uint64_t FramesReceived() const;

 private:
  friend class SimHidHandle;
  using Clock = std::chrono::steady_clock;

  // What the unit does once a report has gone out to the host.
  enum class AfterReport { kNothing, kRestart, kRestartNoReturn };

  struct PendingReport {
    Report report;
    Clock::time_point ready;
    AfterReport after = AfterReport::kNothing;
  };

  explicit SimulatedProcessor(SimOptions options);

  // Handle side; the lock is taken inside.
  bool HandleWrite(std::uint64_t handle, const Report& report, std::chrono::milliseconds timeout);
  HidReadResult HandleRead(std::uint64_t handle, Report& report, std::chrono::milliseconds timeout);
  void HandleDiscard(std::uint64_t handle);
  void HandleClose(std::uint64_t handle);

  // With the lock held.
  bool Valid(std::uint64_t handle) const;
  void Process(const HostFrame& frame, Clock::time_point arrived);
  void QueueReply(std::vector<std::uint8_t> stream, std::optional<std::size_t> breakAt,
                  Clock::time_point arrived, AfterReport after = AfterReport::kNothing);
  void UnplugLocked();
  // Off the bus and, unless told otherwise, straight back on (a restart re-enumerates).
  void RestartLocked(AfterReport after);
  void Log(SimFrameRecord record);
  void ResetSession();
  void MemoryChanged() { ++m_memoryGeneration; }

  // Without the lock: hands queued plug events to the listeners.
  void DeliverEvents();

  const SimOptions m_options;

  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  SimTiming m_timing;
  SimMemory m_memory;
  SimFrameParser m_parser;
  SimFaultPlan m_faults;
  SimBootLoader m_boot;
  std::uint64_t m_wakeReports = 0;
  bool m_plugged = false;
  bool m_answering = true;
  bool m_babbling = false;
  Clock::time_point m_nextBabble{};
  std::uint64_t m_openHandle = 0;
  std::uint64_t m_nextHandle = 1;
  Clock::time_point m_lastInbound{};
  Clock::time_point m_lastOutbound{};
  std::deque<PendingReport> m_input;  // reports on their way to the host
  std::deque<SimFrameRecord> m_log;
  std::uint64_t m_framesReceived = 0;
  std::uint64_t m_memoryGeneration = 0;
  std::vector<HotPlugEvent> m_events;

  // Held while listeners are called, so that removing one waits for a delivery under way
  // (recursive: a listener may plug or unplug the unit itself).
  std::recursive_mutex m_notifyMutex;
  std::vector<std::pair<int, HotPlugListener>> m_listeners;  // guarded by m_mutex
  int m_nextListener = 1;
};

}  // namespace vantor::sim
