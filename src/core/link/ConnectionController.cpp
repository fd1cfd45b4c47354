#include "link/ConnectionController.h"

#include <algorithm>
#include <cctype>
#include <thread>

#include "link/FrameBuilders.h"
#include "link/ModelPending.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Firmware stages during which the device re-enumerates: a removal then is expected.
bool RemovalExpected(int stageCode) { return stageCode == 176 || stageCode == 255; }

}  // namespace

ConnectionController::ConnectionController(CKTV_Data& model, HidBackend& backend,
                                           ClaimStore& claims, ConnectionScreen& screen,
                                           LinkTimings timings)
    : m_model(model),
      m_screen(screen),
      m_backend(backend),
      m_timings(timings),
      m_queue(model.State()),
      m_sequences(model, m_queue),
      m_link(model.State(), backend, claims, timings),
      m_worker(model.State(),
               LinkWorker::Cycles{[this] { m_link.TransferCycle(m_queue, m_model, *this); },
                                  [this] { return m_updateCycle ? m_updateCycle() : false; },
                                  [this] { m_queue.QueueLock().lock(); },
                                  [this] { m_queue.QueueLock().unlock(); }},
               timings) {
  m_queue.SetEventSink(this);
  m_queue.SetProgressDisplay(this);
}

ConnectionController::~ConnectionController() {
  StopHotPlug();
  Shutdown();
  m_queue.SetEventSink(nullptr);
  m_queue.SetProgressDisplay(nullptr);
}

ProgramState& ConnectionController::Program() { return m_model.State(); }

void ConnectionController::SetFrameTap(FrameTap tap) {
  m_link.SetFrameTap(tap);
  m_queue.SetFrameTap(std::move(tap));
}

bool ConnectionController::Connected() const { return m_model.State().connected.load(); }

bool ConnectionController::Busy() const { return m_model.State().busy.load(); }

// ---------------------------------------------------------------------------------------
// Mailbox

void ConnectionController::SetWakeCallback(std::function<void()> wake) {
  std::lock_guard lock(m_mailMutex);
  m_wake = std::move(wake);
}

void ConnectionController::Deliver(Mail mail) {
  std::function<void()> wake;
  {
    std::lock_guard lock(m_mailMutex);
    m_mail.push_back(std::move(mail));
    wake = m_wake;
  }
  m_mailArrived.notify_all();
  if (wake) wake();
}

void ConnectionController::Post(const DeviceEventMessage& message) { Deliver(message); }

void ConnectionController::SetRange(int low, int high) { Deliver(ProgressMail{true, low, high}); }

void ConnectionController::SetPosition(int position) { Deliver(ProgressMail{false, position, 0}); }

int ConnectionController::ProcessEvents() {
  int handled = 0;
  for (;;) {
    Mail mail;
    {
      std::lock_guard lock(m_mailMutex);
      if (m_mail.empty()) return handled;
      mail = std::move(m_mail.front());
      m_mail.pop_front();
    }
    Handle(mail);
    ++handled;
  }
}

int ConnectionController::WaitAndProcess(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(m_mailMutex);
    m_mailArrived.wait_for(lock, timeout, [this] { return !m_mail.empty(); });
  }
  return ProcessEvents();
}

bool ConnectionController::ProcessUntil(const std::function<bool()>& done,
                                        std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  ProcessEvents();
  while (!done()) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) return false;
    WaitAndProcess(std::min<std::chrono::milliseconds>(
        std::chrono::duration_cast<std::chrono::milliseconds>(end - now),
        std::chrono::milliseconds(20)));
  }
  return true;
}

void ConnectionController::Handle(const Mail& mail) {
  if (const auto* message = std::get_if<DeviceEventMessage>(&mail)) {
    HandleDeviceEvent(*message);
    m_screen.OnDeviceEvent(*message);
  } else if (const auto* plug = std::get_if<HotPlugEvent>(&mail)) {
    if (plug->kind == HotPlugEvent::kArrival) {
      ConnectArrivedDevice(plug->path);
    } else {
      OnDeviceRemoved(plug->path);
    }
  } else if (const auto* progress = std::get_if<ProgressMail>(&mail)) {
    if (progress->range) {
      m_screen.SetTransferRange(progress->a, progress->b);
    } else {
      m_screen.SetTransferPosition(progress->a);
    }
  }
}

void ConnectionController::HandleDeviceEvent(const DeviceEventMessage& message) {
  ProgramState& state = m_model.State();
  switch (message.id) {
    case DeviceEvent::WM_DEV_READBACK_DONE:
      OnReadBackDone(static_cast<int>(message.wParam));
      break;
    case DeviceEvent::WM_DEV_SLOTS_READ_DONE:
      state.busy = false;
      break;
    case DeviceEvent::WM_DEV_SYS64_READ: {
      std::lock_guard lock(m_queue.QueueLock());  // records the worker writes answers into
      auto& positions = state.DelayPositions();
      positions[rec::kDelaySelectedPosition] =
          std::min<std::uint8_t>(positions[rec::kDelaySelectedPosition], 3);
      break;
    }
    case DeviceEvent::WM_DEV_AUX_READ: {
      std::lock_guard lock(m_queue.QueueLock());
      m_model.Effect().Unpack(state.Live());
      break;
    }
    case DeviceEvent::WM_DEV_BATCH_DONE:
      OnBatchDone();
      break;
    case DeviceEvent::WM_DEV_LINK_ERROR:
      OnLinkError();
      break;
    case DeviceEvent::WM_DEV_CONNECT_USB:
      ConnectAtStartup();
      break;
    case DeviceEvent::WM_DEV_NO_DATA:
      OnNoData();
      break;
    case DeviceEvent::WM_DEV_IDENTITY:
      OnIdentity();
      break;
    case DeviceEvent::WM_DEV_SOURCE_CHANGED: {
      bool changed = false;
      {
        // The system block is where the worker stores the device's answers.
        std::lock_guard lock(m_queue.QueueLock());
        changed = m_model.ApplyReportedSource(static_cast<int>(message.wParam));
      }
      if (changed) m_screen.ShowInputSource(static_cast<int>(message.wParam));
      break;
    }
    case DeviceEvent::WM_DEV_AUX_SLOT_READ:
    case DeviceEvent::WM_DEV_SLOT_NAME:
    case DeviceEvent::WM_DEV_UPGRADE_DONE:
      break;  // for the preset and firmware parts, through OnDeviceEvent
  }
}

// ---------------------------------------------------------------------------------------
// Hot-plug

void ConnectionController::StartHotPlug() {
  if (m_hotPlug) return;
  m_hotPlug = true;
  m_backend.StartHotPlug([this](const HotPlugEvent& event) { Deliver(event); });
}

void ConnectionController::StopHotPlug() {
  if (!m_hotPlug) return;
  m_hotPlug = false;
  m_backend.StopHotPlug();
}

// ---------------------------------------------------------------------------------------
// Opening and closing

void ConnectionController::BeginConnection(bool liveSync) {
  ProgramState& state = m_model.State();
  {
    std::lock_guard lock(m_queue.QueueLock());
    m_queue.ClearAll();
    m_sequences.ForgetTransfer();
    ClearModelPending(m_model);
    m_batchCounter = 0;
    state.connected = true;
    m_sequences.QueueIdentityRead();
  }
  if (liveSync) state.liveSync = true;
  m_phase = ConnectionPhase::kIdentifying;
  m_screen.SetConnectionIndicator(true);
  m_worker.Start();
}

void ConnectionController::ConnectAtStartup() {
  if (Connected()) return;
  if (!m_link.OpenFirstDevice()) {
    // No processor is said by nothing; one that may not be opened is said at once, or the
    // person would wait for a connection that cannot come.
    if (m_link.LastOpenError() == HidOpenError::kPermission) ShowOpenFailure();
    return;
  }
  BeginConnection(false);
}

void ConnectionController::ToggleConnection() {
  if (Connected()) {
    EndConnectionByUser();
    return;
  }
  if (!m_link.OpenFirstDevice()) {
    ShowOpenFailure();
    return;
  }
  BeginConnection(false);
}

void ConnectionController::ConnectArrivedDevice(const std::string& path) {
  if (Connected() || !m_link.IsPathUnclaimed(path)) return;
  m_link.SetDevicePath(path);
  if (!m_link.OpenDevicePath()) {
    if (m_link.LastOpenError() == HidOpenError::kPermission) ShowOpenFailure();
    return;
  }
  BeginConnection(true);
}

void ConnectionController::OnDeviceRemoved(const std::string& path) {
  ProgramState& state = m_model.State();
  if (!SamePathIgnoringCase(path, m_link.DevicePath()) || !state.usbTransfer ||
      RemovalExpected(m_link.LastStageCode())) {
    return;
  }
  state.usbTransfer = false;
  state.firmwareUpdateMode = false;
  m_worker.Stop();
  const auto transfer = m_sequences.CurrentTransfer();
  CloseDevice();
  ShowConnectionEnded(transfer);
}

void ConnectionController::EndConnectionByUser() {
  m_worker.Stop();
  std::this_thread::sleep_for(m_timings.disconnectPause);
  CloseDevice();
}

void ConnectionController::CloseDevice() {
  ProgramState& state = m_model.State();
  m_link.Close();
  state.connected = false;
  state.busy = false;
  state.liveSync = false;
  ClearModelPending(m_model);
  m_phase = ConnectionPhase::kClosed;
  m_screen.SetConnectionIndicator(false);
  m_screen.HideTransferWindow();
  m_link.ReleaseClaim();
}

void ConnectionController::Shutdown() {
  m_worker.Stop();
  m_link.ReleaseClaim();
  if (m_link.IsOpen()) {
    m_link.Close();
    m_model.State().liveSync = false;
    m_phase = ConnectionPhase::kClosed;
  }
}

void ConnectionController::ShowConnectionError() {
  m_screen.ShowStatusMessage(TextId::UnableToConnect);
}

void ConnectionController::ShowOpenFailure() {
  // Permission is the one failure the person can fix, so it is named with its fix.
  m_screen.ShowStatusMessage(m_link.LastOpenError() == HidOpenError::kPermission
                                 ? TextId::DeviceAccessDenied
                                 : TextId::UnableToConnect);
}

// ---------------------------------------------------------------------------------------
// Identity and read-back

void ConnectionController::OnIdentity() {
  if (!Connected()) return;
  ProgramState& state = m_model.State();
  const auto& identity = state.Identity();
  const bool match = std::equal(kExpectedIdentity.begin(),
                                kExpectedIdentity.begin() + kIdentityCompared, identity.begin());
  if (!match) {
    EndConnectionByUser();
    {
      std::lock_guard lock(m_queue.QueueLock());
      m_queue.ClearAll();
    }
    state.Identity().fill(' ');
    return;
  }
  std::lock_guard lock(m_queue.QueueLock());
  const SequenceResult info = m_sequences.QueueInfoReads(m_batchCounter);
  if (info.Queued()) m_batchCounter = info.counter;
  StartReadBack(0, true);
}

bool ConnectionController::StartReadBack(int slot, bool liveTarget) {
  ProgramState& state = m_model.State();
  state.liveSync = false;
  if (!Connected()) {
    ShowConnectionError();
    return false;
  }
  std::lock_guard lock(m_queue.QueueLock());
  if (slot != 0) m_batchCounter = 0;
  const SequenceResult read = m_sequences.ReadProgram(slot, liveTarget, m_batchCounter);
  if (!read.Queued()) return false;
  m_batchCounter = read.counter;
  if (liveTarget || slot == 0) m_phase = ConnectionPhase::kReadingBack;
  m_screen.ShowTransferWindow(slot == 0 ? TransferOwner::kView : TransferOwner::kPresetDialog);
  return true;
}

void ConnectionController::OnReadBackDone(int slot) {
  ProgramState& state = m_model.State();
  if (!Connected()) return;  // a late answer of a connection already closed
  {
    // The worker's scan must not pack a half-loaded program.
    std::lock_guard lock(m_queue.QueueLock());
    m_model.Load(slot);
  }
  m_screen.RefreshAll();
  state.liveSync = true;
  state.busy = false;
  m_phase = ConnectionPhase::kLive;
}

void ConnectionController::OnBatchDone() {
  m_screen.HideTransferWindow();
  m_model.State().busy = false;
}

void ConnectionController::OnLinkError() {
  if (!Connected()) return;
  m_worker.Stop();
  std::this_thread::sleep_for(m_timings.disconnectPause);
  m_model.State().firmwareUpdateMode = false;
  const auto transfer = m_sequences.CurrentTransfer();
  CloseDevice();
  {
    std::lock_guard lock(m_queue.QueueLock());
    m_queue.ClearAll();
  }
  ShowConnectionEnded(transfer);
}

void ConnectionController::ShowConnectionEnded(const std::optional<TransferProgress>& transfer) {
  m_sequences.ForgetTransfer();
  if (!transfer) {
    ShowConnectionError();
    return;
  }
  // The device was there: "unable to connect" would be wrong. Say what broke off, how far
  // it got and what that may have left on the device.
  m_screen.ShowDetailedMessage(TextId::TransferBrokeOff,
                               DescribeBrokenTransfer(*transfer, m_model.State().chinese.load()));
}

void ConnectionController::OnNoData() {
  if (Connected()) {
    m_worker.Stop();
    CloseDevice();
  }
  m_screen.ShowMessage(TextId::FirmwareTooOld);
}

}  // namespace vantor
