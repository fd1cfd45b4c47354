#pragma once
// The device link without a screen: it owns the queue, the worker and the USB side, and
// carries a connection from opening the device through the identity check and the
// read-back to live editing and back to closed. The application's main view holds one and
// implements its ConnectionScreen; the tests and the command-line tool do the same.
//
// Threads: the worker and the hot-plug watcher never call the screen. What they report is
// kept in a mailbox and handled by ProcessEvents on the thread that owns the controller;
// the wake callback tells that thread there is mail.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "link/ClaimStore.h"
#include "link/CommandSequences.h"
#include "link/ConnectionScreen.h"
#include "link/DeviceEvents.h"
#include "link/HidDevice.h"
#include "link/KTVCommand.h"
#include "link/LinkTimings.h"
#include "link/LinkWorker.h"
#include "link/UsbLink.h"

namespace vantor {

class CKTV_Data;

// The identity the processor must report; only its first 15 characters are compared (the
// last two are the minor version).
inline constexpr std::string_view kExpectedIdentity = "TRX-620-31EQ-V3.2";
inline constexpr std::size_t kIdentityCompared = 15;

enum class ConnectionPhase { kClosed, kIdentifying, kReadingBack, kLive };

class ConnectionController : private DeviceEventSink, private ProgressDisplay {
 public:
  ConnectionController(CKTV_Data& model, HidBackend& backend, ClaimStore& claims,
                       ConnectionScreen& screen, LinkTimings timings = {});
  ~ConnectionController() override;
  ConnectionController(const ConnectionController&) = delete;
  ConnectionController& operator=(const ConnectionController&) = delete;

  // --- Events. The callback may run on any thread; it only has to make the owner call
  // ProcessEvents soon.
  void SetWakeCallback(std::function<void()> wake);
  // Handles every waiting event on the calling thread; returns how many were handled.
  int ProcessEvents();
  // Waits at most `timeout` for an event, then handles what is waiting.
  int WaitAndProcess(std::chrono::milliseconds timeout);
  // Handles events until `done` holds or `timeout` passed; true when `done` held.
  bool ProcessUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

  // Arrival and removal of devices, reported by the backend.
  void StartHotPlug();
  void StopHotPlug();

  // --- Connecting and disconnecting.
  // At start-up: the first processor found is opened; nothing is shown when there is none
  // (a processor this user may not open is said).
  void ConnectAtStartup();
  // The connect button: connects (or shows "unable to connect"), or disconnects.
  void ToggleConnection();
  // A processor arrived at `path`: connected unless another copy claims it.
  void ConnectArrivedDevice(const std::string& path);
  // A device at `path` went away.
  void OnDeviceRemoved(const std::string& path);
  // Reads slot `slot` of the device (0 = the live program) behind the transfer window.
  // False (and the connection error shown) when no device is connected.
  bool StartReadBack(int slot, bool liveTarget);
  // The close command: stops the worker and releases the device claim.
  void Shutdown();

  void ShowConnectionError();
  // Why the processor could not be opened: "unable to connect", or, when a processor is
  // there but this user may not open it, that and how to fix it.
  void ShowOpenFailure();
  void CloseDevice();

  // --- State.
  bool Connected() const;
  bool Busy() const;
  ConnectionPhase Phase() const { return m_phase; }
  int BatchCounter() const { return m_batchCounter; }
  void SetBatchCounter(int counter) { m_batchCounter = counter; }

  CKTV_Data& Model() { return m_model; }
  ProgramState& Program();
  CKTVCommand& Queue() { return m_queue; }
  CommandSequences& Sequences() { return m_sequences; }
  UsbLink& Link() { return m_link; }
  LinkWorker& Worker() { return m_worker; }
  ConnectionScreen& Screen() { return m_screen; }
  const LinkTimings& Timings() const { return m_timings; }

  // Sees every frame sent and decoded (traces); set before connecting.
  void SetFrameTap(FrameTap tap);

  // The firmware update's cycle, run by the worker in firmware-update mode; returns false
  // once the update is over.
  void SetUpdateCycle(std::function<bool()> cycle) { m_updateCycle = std::move(cycle); }
  // Where the worker's notices go (the mailbox), for cycles other than the transfer cycle.
  DeviceEventSink& EventSink() { return *this; }

 private:
  struct ProgressMail {
    bool range = false;
    int a = 0;
    int b = 0;
  };
  using Mail = std::variant<DeviceEventMessage, HotPlugEvent, ProgressMail>;

  // From the worker (DeviceEventSink, ProgressDisplay): into the mailbox.
  void Post(const DeviceEventMessage& message) override;
  void SetRange(int low, int high) override;
  void SetPosition(int position) override;
  void Deliver(Mail mail);

  void Handle(const Mail& mail);
  void HandleDeviceEvent(const DeviceEventMessage& message);
  void OnIdentity();
  void OnReadBackDone(int slot);
  void OnBatchDone();
  void OnLinkError();
  void OnNoData();
  // After a connection ended on its own: the transfer that broke off with it, if one was
  // under way, or the connection error.
  void ShowConnectionEnded(const std::optional<TransferProgress>& transfer);

  // The steps after a device was opened: the queue cleared, the identity read queued,
  // the worker started.
  void BeginConnection(bool liveSync);
  // What the connect button does to a connection: stop, pause, close.
  void EndConnectionByUser();

  CKTV_Data& m_model;
  ConnectionScreen& m_screen;
  HidBackend& m_backend;
  LinkTimings m_timings;
  CKTVCommand m_queue;
  CommandSequences m_sequences;
  UsbLink m_link;
  LinkWorker m_worker;
  std::function<bool()> m_updateCycle;

  ConnectionPhase m_phase = ConnectionPhase::kClosed;
  int m_batchCounter = 0;
  bool m_hotPlug = false;

  std::mutex m_mailMutex;
  std::condition_variable m_mailArrived;
  std::deque<Mail> m_mail;
  std::function<void()> m_wake;
};

}  // namespace vantor
