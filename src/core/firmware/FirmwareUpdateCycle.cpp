#include "firmware/FirmwareUpdateCycle.h"

#include <algorithm>
#include <thread>

#include "link/Frame.h"

namespace vantor {
namespace {

// A packet is sent at most this often: once more only after a resend answer.
constexpr int kMaxTransmissions = 2;
// Waits are taken in slices, so that stopping the link ends them at once.
constexpr std::chrono::milliseconds kSlice{50};

Report WakeReport() {
  Report r{};
  for (std::size_t i = 1; i < kReportSize; i += 2) {
    r[i] = fw::kWakeByte0;
    r[i + 1] = fw::kWakeByte1;
  }
  return r;
}

}  // namespace

FirmwareUpdateCycle::FirmwareUpdateCycle(CKTVCommand& queue, UsbLink& link, ProgramState& state,
                                         DeviceEventSink& sink)
    : m_queue(queue), m_link(link), m_state(state), m_sink(sink) {}

void FirmwareUpdateCycle::Prepare(const FirmwareImage& image, const LinkTimings& timings,
                                  FirmwareObserver* observer) {
  m_timings = timings;
  m_observer = observer;
  m_sequencer.Reset(image);
  m_processorImage = image.kind == FirmwareKind::kProcessor;
  m_total = 0;
  for (const auto& [code, n] : FirmwarePacketCounts(image)) m_total += n;
  m_finished = false;
  m_failed = false;
  m_acknowledged = 0;
  m_currentCode = 0;
  m_position = 0;
  m_textShown = false;
  m_lastReply = -1;
}

bool FirmwareUpdateCycle::Active() const { return m_state.usbTransfer.load(); }

bool FirmwareUpdateCycle::PauseWhileActive(std::chrono::milliseconds d) const {
  const auto end = Clock::now() + d;
  while (Active()) {
    const auto now = Clock::now();
    if (now >= end) return true;
    std::this_thread::sleep_for(std::min<Clock::duration>(kSlice, end - now));
  }
  return false;
}

void FirmwareUpdateCycle::Status(TextId text) {
  if (m_observer) m_observer->SetStatus(text);
}

bool FirmwareUpdateCycle::Fail(bool always) {
  m_failed = true;
  if (always || Active()) m_sink.Post({DeviceEvent::WM_DEV_LINK_ERROR, 0, 0});
  return false;
}

bool FirmwareUpdateCycle::RunOnce() {
  if (m_finished || m_failed) return false;
  if (Step()) return true;
  if (!m_finished && !Active()) {
    // Stopped from outside (the device was removed, the program closes): nothing of the
    // update is left to be sent.
    std::lock_guard lock(m_queue.QueueLock());
    m_queue.ClearAll();
  }
  return false;
}

bool FirmwareUpdateCycle::Step() {
  if (!Active()) return false;
  const Clock::time_point start = Clock::now();

  CSendData* head = nullptr;
  {
    std::lock_guard lock(m_queue.QueueLock());
    if (m_queue.Count() == 0) m_queue.AddBatch(m_sequencer.NextPackets());
    head = m_queue.Head();
  }
  if (head == nullptr) {
    PauseWhileActive(m_timings.fwIdleWait);
    return Active();
  }
  const int code = head->StageCode();
  m_currentCode = code;
  // Removals during the wake-up phase and the restart after the start packet are expected.
  m_link.SetLastStageCode(code);

  head->SetRetryCount(head->RetryCount() + 1);
  if (head->RetryCount() > kMaxTransmissions) return Fail();

  if (code == fw::kWake) return Wake(start);
  return Exchange(*head, code, start);
}

bool FirmwareUpdateCycle::Wake(Clock::time_point start) {
  Status(TextId::SearchingUpdateDevice);
  const Report wake = WakeReport();
  bool lost = false;
  while (Active() && Clock::now() - start < m_timings.fwWakeDuration) {
    HidDevice* device = m_link.Device();
    if (device == nullptr || !device->WriteReport(wake, m_timings.writeWait)) lost = true;
    std::this_thread::sleep_for(m_timings.fwWakeInterval);
  }
  if (!Active()) return false;
  // The placeholder leaves the queue without being completed; the boot loader gets time
  // to start.
  m_queue.PopHead();
  if (!PauseWhileActive(m_timings.fwWakePause)) return false;
  // A device that re-enumerated while being woken has a new handle to be found.
  if (lost) return SearchAgain();
  return true;
}

bool FirmwareUpdateCycle::Exchange(CSendData& packet, int code, Clock::time_point start) {
  HidDevice* device = m_link.Device();
  if (device == nullptr) return Fail();

  // Every transmission is a new exchange: whatever arrived late is not its answer.
  device->DiscardPending();
  m_queue.ResetReceiver();
  packet.SetSendCursor(0);
  Report report{};
  while (packet.NextReportChunk(report)) {
    if (!Active()) return false;
    if (!device->WriteReport(report, m_timings.writeWait)) return Fail();
  }
  if (const FrameTap& tap = m_link.Tap()) tap(FrameDirection::kSent, packet.Frame());

  m_lastReply = -1;
  const auto limit = FirmwareReadTimeout(code, m_timings);
  for (;;) {
    const Clock::time_point readStart = Clock::now();
    HidReadResult result = HidReadResult::kTimeout;
    while (Active()) {
      const auto waited =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - readStart);
      if (waited >= limit) break;
      result =
          device->ReadReport(report, std::min<std::chrono::milliseconds>(kSlice, limit - waited));
      if (result != HidReadResult::kTimeout) break;
    }
    if (!Active()) return false;
    // No answer is no answer: the device may have taken the packet all the same.
    if (result != HidReadResult::kOk) return Fail();
    // The answer's progress step runs inside Feed; after it `packet` may be gone.
    const bool decoded = m_queue.Feed(std::span(report).subspan(1, kReportPayload));
    report.fill(0);
    if (decoded) break;
    if (Clock::now() - start > m_timings.fwExchangeLimit) return Fail();
  }

  if (m_lastReply == frame::kReplyResend) {
    // The packet stays at the head; the next cycle is its second (and last) transmission.
    return true;
  }
  if (code == fw::kStart && m_lastReply == frame::kReplyAccepted) {
    // The device restarts into its boot loader and comes back on USB.
    if (!PauseWhileActive(m_timings.fwRestartWait)) return false;
    return SearchAgain();
  }
  return true;
}

bool FirmwareUpdateCycle::SearchAgain() {
  if (!Active()) return false;
  if (m_link.OpenFirstDevice()) return true;
  // The search has cleared the USB transfer flag; the failure is reported all the same.
  return Fail(true);
}

void FirmwareUpdateCycle::OnPacketAnswered(CSendData& packet) {
  m_lastReply = m_queue.Receiver().Frame().code;
  // A refused packet is sent again; only an acknowledged one moves the update on.
  if (m_lastReply != frame::kReplyAccepted) return;
  ++m_acknowledged;
  if (m_observer) m_observer->SetProgressPosition(++m_position);

  switch (packet.StageCode()) {
    case fw::kStart:
      Status(TextId::UpgradeReady);
      m_textShown = false;
      break;
    case fw::kHeader:
      m_textShown = false;
      break;
    case fw::kData:
      if (!m_textShown) Status(TextId::UpgradeDataTransfer);
      m_textShown = true;
      break;
    case fw::kEnd:
      Status(TextId::UpgradeComplete);
      m_textShown = false;
      m_finished = true;
      m_sink.Post({DeviceEvent::WM_DEV_UPGRADE_DONE, 0, fw::kEnd});
      break;
    case fw::kControllerStart1:
      break;
    case fw::kControllerStart2:
      // Named in the Chinese status line only; the English one keeps its text.
      if (m_state.chinese) Status(TextId::UpgradeDataTransfer);
      m_textShown = true;
      break;
    case fw::kControllerData:
      Status(TextId::UpgradeProgramming);
      m_textShown = true;
      break;
    case fw::kControllerEnd:
      Status(TextId::UpgradeControllerDone);
      m_textShown = false;
      if (!m_processorImage) {
        m_finished = true;
        m_sink.Post({DeviceEvent::WM_DEV_UPGRADE_DONE, 0, fw::kEnd});
      }
      break;
    default:
      break;
  }
}

}  // namespace vantor
