#include "link/KTVCommand.h"

#include "link/Frame.h"
#include "link/ReplyRouter.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

// Drops notices when nobody listens.
class NullSink : public DeviceEventSink {
 public:
  void Post(const DeviceEventMessage&) override {}
};

}  // namespace

CKTVCommand::CKTVCommand(ProgramState& state) : m_state(state) {}

CKTVCommand::~CKTVCommand() = default;

void CKTVCommand::SetEventSink(DeviceEventSink* sink) {
  std::lock_guard lock(m_lock);
  m_sink = sink;
}

void CKTVCommand::SetProgressDisplay(ProgressDisplay* display) {
  std::lock_guard lock(m_lock);
  m_progress = display;
}

void CKTVCommand::SetStageProgress(std::function<void(CSendData&)> step) {
  std::lock_guard lock(m_lock);
  m_stageProgress = std::move(step);
}

void CKTVCommand::StartProgress(int high) {
  std::lock_guard lock(m_lock);
  if (!m_progress) return;
  m_progress->SetRange(0, high);
  m_progress->SetPosition(0);
}

void CKTVCommand::Add(std::unique_ptr<CSendData> command) {
  if (!command) return;
  std::lock_guard lock(m_lock);
  m_queue.push_back(std::move(command));
}

void CKTVCommand::AddBatch(std::vector<std::unique_ptr<CSendData>> commands) {
  std::lock_guard lock(m_lock);
  for (auto& c : commands) {
    if (c) m_queue.push_back(std::move(c));
  }
}

CSendData* CKTVCommand::Head() {
  std::lock_guard lock(m_lock);
  return m_queue.empty() ? nullptr : m_queue.front().get();
}

int CKTVCommand::Count() const {
  std::lock_guard lock(m_lock);
  return static_cast<int>(m_queue.size());
}

void CKTVCommand::PopHead() {
  std::lock_guard lock(m_lock);
  if (m_queue.empty()) return;
  m_queue.pop_front();
  ++m_answered;
  m_headResends = 0;
}

std::uint64_t CKTVCommand::Answered() const {
  std::lock_guard lock(m_lock);
  return m_answered;
}

int CKTVCommand::HeadResends() const {
  std::lock_guard lock(m_lock);
  return m_headResends;
}

void CKTVCommand::RewindHead() {
  std::lock_guard lock(m_lock);
  if (!m_queue.empty()) m_queue.front()->SetSendCursor(0);
}

void CKTVCommand::ClearAll() {
  std::lock_guard lock(m_lock);
  m_queue.clear();
  m_headResends = 0;
  m_receiver.Reset(true);
}

void CKTVCommand::ResetReceiver(bool clear) {
  std::lock_guard lock(m_lock);
  m_receiver.Reset(clear);
}

void CKTVCommand::Post(DeviceEvent id, std::intptr_t wParam, std::intptr_t lParam) {
  if (m_sink) m_sink->Post(DeviceEventMessage{id, wParam, lParam});
}

void CKTVCommand::ProgressStep(CSendData& head) {
  if (head.BusyEnd()) {
    Post(DeviceEvent::WM_DEV_BATCH_DONE, 0, 0);
    return;
  }
  if (head.ProgressIndex() == 0) return;
  if (head.StageCode() != 0) {
    if (m_stageProgress) m_stageProgress(head);
    return;
  }
  if (m_progress) m_progress->SetPosition(head.ProgressIndex());
  if (head.Notice()) Post(DeviceEvent::WM_DEV_BATCH_DONE, 0, 1);
  if (head.BatchEnd()) Post(DeviceEvent::WM_DEV_BATCH_DONE, 0, 0);
}

void CKTVCommand::HandleFrame(const ReceivedFrame& frame) {
  // Every valid frame moves the progress of the command it answers, whatever its code.
  if (CSendData* head = Head()) ProgressStep(*head);

  switch (frame.code) {
    case frame::kReplyAccepted:
      m_receiver.Reset();
      PopHead();
      return;
    case frame::kReplyResend:
      m_receiver.Reset(true);
      if (Head() != nullptr) ++m_headResends;
      RewindHead();
      return;
    case frame::kReplyData: {
      NullSink none;
      DeviceEventSink& sink = m_sink ? *m_sink : none;
      const DataReplyOutcome outcome = RouteDataReply(frame, m_state, sink);
      m_receiver.Reset();
      if (outcome == DataReplyOutcome::kStored) PopHead();
      return;
    }
    default:
      return;  // not a reply the host knows: not acted upon
  }
}

bool CKTVCommand::Feed(std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(m_lock);
  if (!m_receiver.Feed(bytes)) return false;
  if (m_tap) {
    // The receiver keeps the frame from byte 3 on; a frame that began with its preamble
    // is shown with it.
    const auto raw = m_receiver.Frame().raw;
    std::vector<std::uint8_t> whole;
    if (!raw.empty() && raw[0] == frame::kStartByte)
      whole.assign(frame::kPreambleLength, frame::kPreambleByte);
    whole.insert(whole.end(), raw.begin(), raw.end());
    m_tap(FrameDirection::kReceived, whole);
  }
  HandleFrame(m_receiver.Frame());
  return true;
}

void CKTVCommand::SetFrameTap(FrameTap tap) {
  std::lock_guard lock(m_lock);
  m_tap = std::move(tap);
}

}  // namespace vantor
