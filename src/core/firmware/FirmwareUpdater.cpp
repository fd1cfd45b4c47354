#include "firmware/FirmwareUpdater.h"

#include <thread>

#include "model/DataDefine.h"

namespace vantor {

FirmwareUpdater::FirmwareUpdater(ConnectionController& controller)
    : m_controller(controller),
      m_cycle(controller.Queue(), controller.Link(), controller.Program(), controller.EventSink()) {
  m_controller.SetUpdateCycle([this] { return m_cycle.RunOnce(); });
  m_controller.Queue().SetStageProgress(
      [this](CSendData& packet) { m_cycle.OnPacketAnswered(packet); });
}

FirmwareUpdater::~FirmwareUpdater() {
  if (Updating()) {
    // The worker must be out of the update cycle before the cycle goes.
    m_controller.Worker().Stop();
    m_controller.Program().firmwareUpdateMode = false;
    m_controller.CloseDevice();
  }
  m_controller.SetUpdateCycle(nullptr);
  m_controller.Queue().SetStageProgress(nullptr);
  m_controller.Link().SetLastStageCode(0);
}

void FirmwareUpdater::SetObserver(FirmwareObserver* observer) {
  m_observer = observer;
  if (!Updating()) m_cycle.SetObserver(observer);
}

bool FirmwareUpdater::ChooseFirmwareFile(const std::optional<std::string>& chosen) {
  if (Updating()) {
    m_controller.Screen().ShowMessage(TextId::UpdateDontClose);
    return false;
  }
  return m_file.ChooseFirmwareFile(chosen);
}

bool FirmwareUpdater::LoadFirmwareImage() {
  const FirmwareLoadResult result = m_file.LoadFirmwareImage();
  if (!result.Ok()) {
    m_controller.Screen().ShowMessage(result.Message());
    return false;
  }
  if (result.Warns()) m_controller.Screen().ShowMessage(TextId::ControllerUpdateWarning);
  return true;
}

bool FirmwareUpdater::Updating() const { return m_controller.Program().firmwareUpdateMode.load(); }

FirmwareOutcome FirmwareUpdater::Outcome() {
  if (m_outcome == FirmwareOutcome::kRunning && !Updating()) {
    // A removal outside the tolerated phases stops the link without an event: the update
    // mode is gone (and the worker with it) without the end packet acknowledged.
    {
      std::lock_guard lock(m_controller.Queue().QueueLock());
      m_controller.Queue().ClearAll();
    }
    Finish(FirmwareOutcome::kFailed);
  }
  return m_outcome;
}

FirmwareStart FirmwareUpdater::Start() {
  ProgramState& state = m_controller.Program();
  if (Updating()) return FirmwareStart::kAlreadyRunning;
  state.stopTransfers = false;
  const bool connected = m_controller.Connected();
  if (!LoadFirmwareImage()) return FirmwareStart::kFileRefused;
  const FirmwareImage image = *m_file.Image();

  const LinkTimings& timings = m_controller.Timings();
  // An open connection is closed. What it left in the mailbox is handled once its worker
  // has stopped, so that none of it is taken for the update's own; a device that arrived
  // meanwhile may connect on the way, and is closed again.
  bool open = connected || m_controller.Worker().Exists() || m_controller.Link().IsOpen();
  for (int round = 0; open && round < 3; ++round) {
    const bool wasConnected = m_controller.Connected() || m_controller.Link().IsOpen();
    m_controller.Worker().Stop();
    if (wasConnected) m_controller.CloseDevice();
    m_controller.ProcessEvents();
    open =
        m_controller.Connected() || m_controller.Worker().Exists() || m_controller.Link().IsOpen();
  }
  m_controller.Link().SetLastStageCode(0);

  if (m_observer) m_observer->SetStatus(TextId::SearchingUpdateDevice);
  const auto deadline = std::chrono::steady_clock::now() + timings.fwSearchLimit;
  while (!m_controller.Link().OpenFirstDevice()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      state.firmwareUpdateMode = false;
      m_controller.ShowOpenFailure();
      {
        std::lock_guard lock(m_controller.Queue().QueueLock());
        m_controller.Queue().ClearAll();
      }
      m_outcome = FirmwareOutcome::kFailed;
      return FirmwareStart::kDeviceNotFound;
    }
    std::this_thread::sleep_for(timings.fwSearchInterval);
  }

  {
    std::lock_guard lock(m_controller.Queue().QueueLock());
    m_controller.Queue().ClearAll();
  }
  m_cycle.Prepare(image, timings, m_observer);
  if (m_observer) {
    m_observer->SetProgressRange(0, image.blockCount);
    m_observer->SetProgressPosition(0);
  }
  state.firmwareUpdateMode = true;
  m_outcome = FirmwareOutcome::kRunning;
  m_controller.Worker().Start();  // update cycles; the USB transfer and connected flags set
  return FirmwareStart::kStarted;
}

void FirmwareUpdater::Finish(FirmwareOutcome outcome) {
  m_outcome = outcome;
  m_controller.Link().SetLastStageCode(0);
}

void FirmwareUpdater::OnDeviceEvent(const DeviceEventMessage& message) {
  if (m_outcome != FirmwareOutcome::kRunning) return;
  ProgramState& state = m_controller.Program();
  switch (message.id) {
    case DeviceEvent::WM_DEV_UPGRADE_DONE:
      if (message.lParam != fw::kEnd || !Updating()) return;
      m_controller.Worker().Stop();
      state.firmwareUpdateMode = false;
      m_controller.CloseDevice();
      {
        std::lock_guard lock(m_controller.Queue().QueueLock());
        m_controller.Queue().ClearAll();
      }
      Finish(FirmwareOutcome::kSucceeded);
      m_controller.Screen().ShowMessage(TextId::UpdateFinished);
      return;
    case DeviceEvent::WM_DEV_LINK_ERROR:
      // The controller has stopped the worker, closed the link and shown the error when
      // it was connected; whatever is left of the update goes here, without a second
      // message.
      if (Updating() || m_controller.Worker().Exists()) {
        m_controller.Worker().Stop();
        state.firmwareUpdateMode = false;
        if (m_controller.Link().IsOpen()) m_controller.CloseDevice();
      }
      {
        std::lock_guard lock(m_controller.Queue().QueueLock());
        m_controller.Queue().ClearAll();
      }
      Finish(FirmwareOutcome::kFailed);
      return;
    default:
      return;
  }
}

bool FirmwareUpdater::RequestClose() {
  if (Updating()) {
    m_controller.Screen().ShowMessage(TextId::UpdateDontClose);
    return false;
  }
  m_controller.Program().firmwareUpdateMode = false;
  m_observer = nullptr;
  m_cycle.SetObserver(nullptr);
  if (m_outcome == FirmwareOutcome::kRunning) Finish(FirmwareOutcome::kFailed);
  return true;
}

FactoryResetResult FirmwareUpdater::FactoryReset() {
  if (Updating()) {
    m_controller.Screen().ShowMessage(TextId::UpdateDontClose);
    return FactoryResetResult::kUpdating;
  }
  const SequenceResult r = m_controller.Sequences().SendSystemItem(rec::kSysItemFactoryReset, 0);
  if (!r.Queued()) {
    m_controller.Screen().ShowMessage(TextId::DeviceNotConnected);
    return FactoryResetResult::kNotConnected;
  }
  return FactoryResetResult::kQueued;
}

}  // namespace vantor
