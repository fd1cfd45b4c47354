#include "link/UsbLink.h"

#include <algorithm>
#include <thread>

#include "link/KTVCommand.h"
#include "link/PendingCommand.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

using Clock = std::chrono::steady_clock;
// Reads are waited for in slices, so that closing the link ends a wait at once.
constexpr std::chrono::milliseconds kReadSlice{50};

}  // namespace

UsbLink::UsbLink(ProgramState& state, HidBackend& backend, ClaimStore& claims, LinkTimings timings)
    : m_state(state), m_backend(backend), m_claims(claims), m_timings(timings) {}

bool UsbLink::OpenFirstDevice() {
  m_state.usbTransfer = false;
  m_device.reset();
  m_lastError = HidOpenError::kNotFound;
  for (const HidDeviceInfo& info : m_backend.Enumerate()) {
    if (!info.IsProcessor()) continue;
    // The first matching device wins; if it cannot be had, neither can the others.
    m_device = m_backend.OpenExclusive(info.path, &m_lastError);
    if (m_device == nullptr) return false;
    SetDevicePath(info.path);
    m_device->DiscardPending();
    m_lastError = HidOpenError::kNone;
    m_state.usbTransfer = true;
    return true;
  }
  return false;
}

void UsbLink::SetDevicePath(std::string path) {
  std::lock_guard lock(m_pathLock);
  m_path = std::move(path);
}

std::string UsbLink::DevicePath() const {
  std::lock_guard lock(m_pathLock);
  return m_path;
}

bool UsbLink::OpenDevicePath() {
  m_device = m_backend.OpenExclusive(DevicePath(), &m_lastError);
  if (m_device == nullptr) return false;
  m_device->DiscardPending();
  m_lastError = HidOpenError::kNone;
  m_state.usbTransfer = true;
  ClaimPath();
  return true;
}

void UsbLink::ClaimPath() {
  const std::string path = DevicePath();
  if (!path.empty()) m_claims.ClaimPath(path);
}

void UsbLink::ReleaseClaim() {
  const std::string path = DevicePath();
  if (!path.empty()) m_claims.ReleaseClaim(path);
}

void UsbLink::Close() { m_device.reset(); }

bool UsbLink::TransferActive() const { return m_device != nullptr && m_state.usbTransfer.load(); }

void UsbLink::ReportLinkError(DeviceEventSink& sink) {
  if (m_state.usbTransfer) sink.Post({DeviceEvent::WM_DEV_LINK_ERROR, 0, 0});
}

bool UsbLink::TransferCycle(CKTVCommand& queue, CKTV_Data& model, DeviceEventSink& sink) {
  const Clock::time_point start = Clock::now();
  if (!TransferActive()) return false;

  CSendData* head = queue.Head();
  if (head == nullptr) {
    // Nothing queued: the model's first pending change (or the status poll) goes out in
    // this same cycle, so an edit waits for at most the exchange under way.
    queue.Add(NextPendingCommand(model));
    head = queue.Head();
    if (head == nullptr) return false;
  }

  // A new exchange: whatever arrived late for an earlier one is not its answer.
  if (head->SendCursor() == 0) {
    m_device->DiscardPending();
    queue.ResetReceiver();
  }
  Report report{};
  bool wrote = false;
  while (head->NextReportChunk(report)) {
    if (!TransferActive()) return false;
    if (!m_device->WriteReport(report, m_timings.writeWait)) {
      // The device is gone or refuses writes: no answer can come.
      ReportLinkError(sink);
      return false;
    }
    wrote = true;
  }
  if (wrote && m_tap) m_tap(FrameDirection::kSent, head->Frame());

  for (;;) {
    // One report, waited for at most readWait, in slices so that a close ends the wait.
    const Clock::time_point readStart = Clock::now();
    HidReadResult result = HidReadResult::kTimeout;
    while (TransferActive()) {
      const auto waited =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - readStart);
      if (waited >= m_timings.readWait) break;
      result = m_device->ReadReport(report, std::min(kReadSlice, m_timings.readWait - waited));
      if (result != HidReadResult::kTimeout) break;
    }
    if (!TransferActive()) return false;
    if (result == HidReadResult::kTimeout) {
      m_device->DiscardPending();
      ReportLinkError(sink);
      return false;
    }
    if (result == HidReadResult::kError) {
      ReportLinkError(sink);
      return false;
    }
    const bool decoded = queue.Feed(std::span(report).subspan(1, kReportPayload));
    report.fill(0);
    if (decoded && queue.HeadResends() >= m_timings.resendLimit) {
      // Every answer asks for the command again: the device takes nothing we send.
      ReportLinkError(sink);
      return false;
    }
    if (decoded) return true;
    if (Clock::now() - start > m_timings.exchangeLimit) {
      std::this_thread::sleep_for(m_timings.linkErrorPause);
      ReportLinkError(sink);
      return false;
    }
  }
}

}  // namespace vantor
