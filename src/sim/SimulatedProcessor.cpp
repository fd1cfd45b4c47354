#include "sim/SimulatedProcessor.h"

#include <algorithm>
#include <utility>

#include "base/FileIo.h"
#include "sim/SimHidHandle.h"

namespace vantor::sim {
namespace {

SimFrameFate FateOf(SimOutcome outcome) {
  switch (outcome) {
    case SimOutcome::kStored:
      return SimFrameFate::kStored;
    case SimOutcome::kRead:
      return SimFrameFate::kRead;
    case SimOutcome::kNoData:
      return SimFrameFate::kNoData;
    case SimOutcome::kRejected:
      return SimFrameFate::kRejected;
  }
  return SimFrameFate::kRejected;
}

std::vector<std::uint8_t> IdentityBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes(rec::kIdentitySize, static_cast<std::uint8_t>(' '));
  std::copy_n(text.begin(), std::min(text.size(), bytes.size()), bytes.begin());
  return bytes;
}

}  // namespace

std::shared_ptr<SimulatedProcessor> SimulatedProcessor::Create(SimOptions options) {
  return std::shared_ptr<SimulatedProcessor>(new SimulatedProcessor(std::move(options)));
}

SimulatedProcessor::SimulatedProcessor(SimOptions options)
    : m_options(std::move(options)),
      m_timing(m_options.timing),
      m_memory(m_options.identity),
      m_faults(m_options.seed) {}

SimulatedProcessor::~SimulatedProcessor() = default;

// --- USB presence ----------------------------------------------------------------------

HidDeviceInfo SimulatedProcessor::Info() const {
  return {m_options.path, m_options.vendorId, m_options.productId, m_options.release};
}

void SimulatedProcessor::Plug() {
  {
    std::lock_guard lock(m_mutex);
    if (m_plugged) return;
    m_plugged = true;
    m_answering = true;
    m_babbling = false;
    m_events.push_back({HotPlugEvent::kArrival, m_options.path});
  }
  m_changed.notify_all();
  DeliverEvents();
}

void SimulatedProcessor::Unplug() {
  {
    std::lock_guard lock(m_mutex);
    UnplugLocked();
  }
  m_changed.notify_all();
  DeliverEvents();
}

void SimulatedProcessor::UnplugLocked() {
  if (!m_plugged) return;
  m_plugged = false;
  m_openHandle = 0;
  ResetSession();
  m_events.push_back({HotPlugEvent::kRemoval, m_options.path});
}

void SimulatedProcessor::RestartLocked(AfterReport after) {
  UnplugLocked();
  if (after == AfterReport::kRestartNoReturn) return;
  m_plugged = true;
  m_events.push_back({HotPlugEvent::kArrival, m_options.path});
}

bool SimulatedProcessor::IsPlugged() const {
  std::lock_guard lock(m_mutex);
  return m_plugged;
}

bool SimulatedProcessor::IsOpen() const {
  std::lock_guard lock(m_mutex);
  return m_openHandle != 0;
}

std::unique_ptr<HidDevice> SimulatedProcessor::Open(HidOpenError* error) {
  std::lock_guard lock(m_mutex);
  HidOpenError why = HidOpenError::kNone;
  if (!m_plugged) {
    why = HidOpenError::kNotFound;
  } else if (m_openHandle != 0) {
    why = HidOpenError::kBusy;
  }
  if (error) *error = why;
  if (why != HidOpenError::kNone) return nullptr;
  m_openHandle = m_nextHandle++;
  // A new host session: nothing half-received or unread survives from an earlier one.
  ResetSession();
  return std::make_unique<SimHidHandle>(shared_from_this(), m_openHandle, m_options.path);
}

void SimulatedProcessor::ResetSession() {
  // The host let go: a unit that completed an update runs its program again.
  m_boot.OnSessionEnd();
  MemoryChanged();
  m_parser.Reset();
  m_input.clear();
  m_babbling = false;
  m_lastInbound = {};
  m_lastOutbound = {};
}

int SimulatedProcessor::AddListener(HotPlugListener listener) {
  std::lock_guard lock(m_mutex);
  const int id = m_nextListener++;
  m_listeners.emplace_back(id, std::move(listener));
  return id;
}

void SimulatedProcessor::RemoveListener(int id) {
  std::lock_guard notify(m_notifyMutex);
  std::lock_guard lock(m_mutex);
  std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
}

void SimulatedProcessor::DeliverEvents() {
  std::lock_guard notify(m_notifyMutex);
  std::vector<HotPlugEvent> events;
  std::vector<HotPlugListener> listeners;
  {
    std::lock_guard lock(m_mutex);
    events.swap(m_events);
    for (const auto& entry : m_listeners) listeners.push_back(entry.second);
  }
  for (const auto& event : events) {
    for (const auto& listener : listeners) listener(event);
  }
}

// --- Faults and timing ------------------------------------------------------------------

void SimulatedProcessor::InjectFault(SimFault fault) {
  std::lock_guard lock(m_mutex);
  m_faults.Inject(std::move(fault));
}

void SimulatedProcessor::SetRandomFaults(std::uint64_t seed, const SimFaultRates& rates) {
  std::lock_guard lock(m_mutex);
  m_faults.SetRandom(seed, rates);
}

void SimulatedProcessor::ClearFaults() {
  {
    std::lock_guard lock(m_mutex);
    m_faults.Clear();
    m_answering = true;
    m_babbling = false;
  }
  m_changed.notify_all();
}

std::size_t SimulatedProcessor::QueuedFaults() const {
  std::lock_guard lock(m_mutex);
  return m_faults.Queued();
}

void SimulatedProcessor::SetAnswering(bool answering) {
  std::lock_guard lock(m_mutex);
  m_answering = answering;
}

bool SimulatedProcessor::IsAnswering() const {
  std::lock_guard lock(m_mutex);
  return m_answering;
}

void SimulatedProcessor::SetIdentity(std::string_view identity) {
  std::lock_guard lock(m_mutex);
  m_memory.SetIdentity(identity);
  MemoryChanged();
}

void SimulatedProcessor::SetTiming(const SimTiming& timing) {
  {
    std::lock_guard lock(m_mutex);
    m_timing = timing;
  }
  m_changed.notify_all();
}

SimTiming SimulatedProcessor::Timing() const {
  std::lock_guard lock(m_mutex);
  return m_timing;
}

// --- Memory -----------------------------------------------------------------------------

void SimulatedProcessor::Inspect(const std::function<void(const ProgramState&)>& fn) const {
  std::lock_guard lock(m_mutex);
  fn(m_memory.State());
}

void SimulatedProcessor::Modify(const std::function<void(ProgramState&)>& fn) {
  std::lock_guard lock(m_mutex);
  fn(m_memory.State());
  MemoryChanged();
}

rec::StateRecord SimulatedProcessor::Record(int slot) const {
  std::lock_guard lock(m_mutex);
  return m_memory.State().Record(slot);
}

int SimulatedProcessor::InputSource() const {
  std::lock_guard lock(m_mutex);
  return m_memory.InputSource();
}

void SimulatedProcessor::SetInputSource(int source) {
  std::lock_guard lock(m_mutex);
  m_memory.SetInputSource(source);
  MemoryChanged();
}

void SimulatedProcessor::FactoryReset() {
  std::lock_guard lock(m_mutex);
  m_memory.FactoryReset();
  MemoryChanged();
}

std::vector<std::uint8_t> SimulatedProcessor::MemoryImage(std::uint64_t* generation) const {
  std::lock_guard lock(m_mutex);
  if (generation != nullptr) *generation = m_memoryGeneration;
  return EncodeMemoryImage(m_memory.State(), SimFlash{m_memory.Identity(), m_boot.SaveState()});
}

SimFileStatus SimulatedProcessor::ApplyMemoryImage(std::span<const std::uint8_t> image) {
  const SimFileStatus status = CheckMemoryImage(image);
  if (status != SimFileStatus::kOk) return status;
  const SimFlash flash = FlashOfImage(image);
  SimBootLoader boot;
  if (!flash.boot.empty() && !boot.RestoreState(flash.boot)) return SimFileStatus::kBadChecksum;
  std::lock_guard lock(m_mutex);
  sim::ApplyMemoryImage(image, m_memory.State());
  if (!flash.identity.empty()) m_memory.SetIdentity(flash.identity);
  if (!flash.boot.empty()) m_boot = std::move(boot);
  MemoryChanged();
  return SimFileStatus::kOk;
}

std::uint64_t SimulatedProcessor::MemoryGeneration() const {
  std::lock_guard lock(m_mutex);
  return m_memoryGeneration;
}

SimFileStatus SimulatedProcessor::SaveMemory(const std::filesystem::path& path, int* error) const {
  const FileResult written = ReplaceFile(path, MemoryImage());
  if (error != nullptr) *error = written.error;
  return written.Ok() ? SimFileStatus::kOk : SimFileStatus::kCannotWrite;
}

SimFileStatus SimulatedProcessor::LoadMemory(const std::filesystem::path& path, int* error) {
  const FileBytes file = ReadFileBytes(path, kMemoryFileLimit);
  if (error != nullptr) *error = file.result.error;
  if (!file.Ok()) return SimFileStatus::kCannotRead;
  if (file.size > kMemoryFileLimit) return SimFileStatus::kWrongSize;
  return ApplyMemoryImage(file.bytes);
}

// --- Firmware ---------------------------------------------------------------------------

bool SimulatedProcessor::InBootLoader() const {
  std::lock_guard lock(m_mutex);
  return m_boot.Active();
}

std::vector<std::uint8_t> SimulatedProcessor::FirmwareImage() const {
  std::lock_guard lock(m_mutex);
  return m_boot.ProcessorImage();
}

std::vector<std::uint8_t> SimulatedProcessor::ControllerFirmwareImage() const {
  std::lock_guard lock(m_mutex);
  return m_boot.ControllerImage();
}

std::uint64_t SimulatedProcessor::WakeReportsReceived() const {
  std::lock_guard lock(m_mutex);
  return m_wakeReports;
}

// --- Frame log --------------------------------------------------------------------------

std::vector<SimFrameRecord> SimulatedProcessor::FrameLog() const {
  std::lock_guard lock(m_mutex);
  return {m_log.begin(), m_log.end()};
}

void SimulatedProcessor::ClearFrameLog() {
  std::lock_guard lock(m_mutex);
  m_log.clear();
}

std::uint64_t SimulatedProcessor::FramesReceived() const {
  std::lock_guard lock(m_mutex);
  return m_framesReceived;
}

void SimulatedProcessor::Log(SimFrameRecord record) {
  if (m_options.logCapacity == 0) return;
  if (m_log.size() >= m_options.logCapacity) m_log.pop_front();
  m_log.push_back(std::move(record));
}

// --- The handle's side ------------------------------------------------------------------

bool SimulatedProcessor::Valid(std::uint64_t handle) const {
  return m_plugged && handle != 0 && handle == m_openHandle;
}

bool SimulatedProcessor::HandleWrite(std::uint64_t handle, const Report& report,
                                     std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(m_mutex);
    if (!Valid(handle)) return false;
    Clock::time_point arrived = Clock::now();
    if (!m_timing.instant) {
      // One output report per interval: this one goes in the next free slot. The write
      // completes then, or the caller stops waiting after its timeout; the report arrives
      // in its slot either way.
      const auto slot = std::max(arrived, m_lastInbound + m_timing.reportInterval);
      m_lastInbound = slot;
      const auto until = std::min<Clock::time_point>(slot, arrived + timeout);
      m_changed.wait_until(lock, until, [&] { return !Valid(handle); });
      if (!Valid(handle)) return false;
      arrived = slot;
    }
    const auto bytes = std::span(report).subspan(1);
    if (IsWakeReport(bytes)) {
      // Not a frame: the program hands over to the boot loader.
      ++m_wakeReports;
      if (m_answering) {
        m_boot.Enter();
        MemoryChanged();
      }
      m_parser.Reset();
    } else {
      const auto frames = m_parser.Feed(bytes);
      for (const auto& frame : frames) Process(frame, arrived);
    }
  }
  m_changed.notify_all();
  DeliverEvents();
  return true;
}

HidReadResult SimulatedProcessor::HandleRead(std::uint64_t handle, Report& report,
                                             std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (!Valid(handle)) return HidReadResult::kError;
    const auto now = Clock::now();
    if (!m_input.empty() && m_input.front().ready <= now) {
      report = m_input.front().report;
      const AfterReport after = m_input.front().after;
      m_input.pop_front();
      if (after != AfterReport::kNothing) {
        RestartLocked(after);
        lock.unlock();
        m_changed.notify_all();
        DeliverEvents();
      }
      return HidReadResult::kOk;
    }
    if (m_babbling && (m_timing.instant || m_nextBabble <= now)) {
      report.fill(0);
      const auto garbage = m_faults.Garbage(kReportPayload);
      std::copy(garbage.begin(), garbage.end(), report.begin() + 1);
      m_nextBabble = now + m_timing.reportInterval;
      return HidReadResult::kOk;
    }
    if (now >= deadline) return HidReadResult::kTimeout;
    auto wake = deadline;
    if (!m_input.empty()) wake = std::min(wake, m_input.front().ready);
    if (m_babbling) wake = std::min(wake, m_nextBabble);
    m_changed.wait_until(lock, wake);
  }
}

void SimulatedProcessor::HandleDiscard(std::uint64_t handle) {
  {
    std::lock_guard lock(m_mutex);
    if (!Valid(handle)) return;
    // What has arrived goes; an answer the unit is still working on comes later, as on a
    // real bus. An answer after which the unit restarts has gone out all the same.
    const auto now = Clock::now();
    AfterReport after = AfterReport::kNothing;
    std::erase_if(m_input, [&](const PendingReport& r) {
      if (r.ready > now) return false;
      if (r.after != AfterReport::kNothing) after = r.after;
      return true;
    });
    if (after == AfterReport::kNothing) return;
    RestartLocked(after);
  }
  m_changed.notify_all();
  DeliverEvents();
}

void SimulatedProcessor::HandleClose(std::uint64_t handle) {
  {
    std::lock_guard lock(m_mutex);
    if (handle == 0 || handle != m_openHandle) return;
    m_openHandle = 0;
    ResetSession();
  }
  m_changed.notify_all();
}

void SimulatedProcessor::Process(const HostFrame& frame, Clock::time_point arrived) {
  if (!m_plugged) return;  // an earlier frame of the same report unplugged the unit
  m_babbling = false;      // any frame ends a babble

  SimFrameRecord record;
  record.number = ++m_framesReceived;
  record.code = frame.Code();
  record.deviceId = frame.DeviceId();
  record.slot = frame.Slot();
  record.block = frame.Block();
  record.index = frame.Index();
  record.item = frame.Item();
  record.link = frame.Link();
  const bool intact = frame.Intact();
  if (intact) record.payload.assign(frame.Payload().begin(), frame.Payload().end());

  if (!m_answering) {
    record.fate = SimFrameFate::kIgnored;
    Log(std::move(record));
    return;
  }

  SimFrameFaults faults = m_faults.ForFrame(frame, intact);
  record.faults = faults.kinds;
  if (faults.unplug || faults.stopAnswering || faults.babble) {
    record.fate = SimFrameFate::kIgnored;
    Log(std::move(record));
    if (faults.unplug) {
      UnplugLocked();
    } else if (faults.stopAnswering) {
      m_answering = false;
    } else {
      m_babbling = true;
      m_nextBabble = m_timing.instant ? arrived : arrived + m_timing.processingDelay;
    }
    return;
  }

  SimAnswer answer;
  AfterReport after = AfterReport::kNothing;
  if (!intact) {
    record.fate = SimFrameFate::kCorrupt;  // ask for the frame again
  } else if (faults.resend) {
    record.fate = SimFrameFate::kRefused;
  } else if (m_boot.Active()) {
    // The boot loader knows its packets only; anything else goes unanswered.
    const SimBootAnswer boot = m_boot.Answer(frame);
    if (!boot.answered) {
      record.fate = SimFrameFate::kIgnored;
      Log(std::move(record));
      return;
    }
    answer = boot.answer;
    record.fate = FateOf(answer.outcome);
    MemoryChanged();
    if (boot.restart)
      after = faults.noReturn ? AfterReport::kRestartNoReturn : AfterReport::kRestart;
    if (boot.installed) {
      if (const auto identity = IdentityInImage(m_boot.ProcessorImage(), m_memory.Identity())) {
        m_memory.SetIdentity(*identity);
      }
    }
  } else {
    answer = m_memory.Answer(frame);
    record.fate = FateOf(answer.outcome);
    if (answer.outcome == SimOutcome::kStored) MemoryChanged();
    if (faults.emptyData && answer.replyCode == kReplyData) {
      answer.payload.clear();
      record.fate = SimFrameFate::kNoData;
    }
    if (faults.identity && IsIdentityRead(frame)) answer.payload = IdentityBytes(*faults.identity);
  }

  if (!faults.dropReply) {
    std::vector<std::uint8_t> reply =
        BuildDeviceFrame(answer.replyCode, frame.Address(), answer.payload);
    if (faults.corruptChecksum) reply[reply.size() - 2] ^= 0xFF;
    std::vector<std::uint8_t> stream = std::move(faults.garbage);
    const std::size_t frameStart = stream.size();
    stream.insert(stream.end(), reply.begin(), reply.end());
    std::optional<std::size_t> breakAt;
    if (faults.splitAt) breakAt = frameStart + *faults.splitAt;
    QueueReply(std::move(stream), breakAt, arrived, after);
    record.reply = answer.replyCode;
  }
  Log(std::move(record));
}

void SimulatedProcessor::QueueReply(std::vector<std::uint8_t> stream,
                                    std::optional<std::size_t> breakAt, Clock::time_point arrived,
                                    AfterReport after) {
  // The stream goes out in 64-byte pieces; a split starts a new report at the given byte
  // (the last byte at the latest, so a split always splits). The bytes before the split
  // end their report, with zero fill in front of them where the bus is idle: the stream
  // stays contiguous, as when a frame begins late in one report and ends in the next.
  std::vector<std::pair<std::size_t, std::size_t>> parts;
  if (breakAt && !stream.empty()) {
    const std::size_t at = std::clamp<std::size_t>(*breakAt, 1, stream.size() - 1);
    const std::size_t pad = (kReportPayload - at % kReportPayload) % kReportPayload;
    stream.insert(stream.begin(), pad, 0);
    parts = {{0, pad + at}, {pad + at, stream.size()}};
  } else {
    parts = {{0, stream.size()}};
  }

  Clock::time_point ready = arrived;
  bool first = true;
  for (const auto& [from, to] : parts) {
    for (std::size_t at = from; at < to; at += kReportPayload) {
      PendingReport pending{};
      pending.report.fill(0);
      const std::size_t n = std::min(kReportPayload, to - at);
      std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), n, pending.report.begin() + 1);
      if (!m_timing.instant) {
        // The answer starts after the processing delay and one interval on the bus; the
        // reports follow one interval apart, behind anything still on its way.
        ready = first ? arrived + m_timing.processingDelay + m_timing.reportInterval
                      : ready + m_timing.reportInterval;
        ready = std::max(ready, m_lastOutbound + m_timing.reportInterval);
        m_lastOutbound = ready;
        first = false;
      }
      pending.ready = ready;
      m_input.push_back(pending);
    }
  }
  if (after != AfterReport::kNothing && !m_input.empty()) m_input.back().after = after;
}

}  // namespace vantor::sim
