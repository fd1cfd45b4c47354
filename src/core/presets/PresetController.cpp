#include "presets/PresetController.h"

#include <algorithm>
#include <mutex>

#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetSerializer.h"
#include "text/GbkCodec.h"

namespace vantor {
namespace {

bool DeviceSlot(int slot) { return slot >= 1 && slot <= kPresetSlots; }

}  // namespace

PresetController::PresetController(ConnectionController& link) : m_link(link) {}

bool PresetController::Connected() const { return m_link.Connected(); }

PresetResult PresetController::Shown(PresetStatus status, TextId message) {
  PresetResult r;
  r.status = status;
  r.message = message;
  return r;
}

bool PresetController::Chinese() const { return m_link.Model().State().chinese.load(); }

PresetResult PresetController::FileFailed(TextId message, PresetKind kind,
                                          const std::filesystem::path& path,
                                          const std::string& detail) {
  if (detail.empty()) {
    Screen().ShowMessage(message);
  } else {
    Screen().ShowDetailedMessage(message, detail);
  }
  PresetResult r = Shown(PresetStatus::kFileError, message);
  r.kind = kind;
  r.path = path;
  r.detail = detail;
  return r;
}

PresetResult PresetController::Queued(const SequenceResult& sequence) {
  PresetResult r;
  if (sequence.status == SequenceStatus::kNotConnected) {
    r.status = PresetStatus::kNotConnected;
    return r;
  }
  if (!sequence.Queued()) return r;  // kBadArgument
  r.status = PresetStatus::kDone;
  r.commands = sequence.commands;
  r.counter = sequence.counter;
  return r;
}

// ---------------------------------------------------------------------------------------
// Device slots

PresetResult PresetController::StorePreset(int slot, bool fromPanels) {
  if (slot < 0 || slot > kPresetSlots) return {};
  if (!Connected()) {
    m_link.ShowConnectionError();
    return Shown(PresetStatus::kNotConnected, TextId::UnableToConnect);
  }
  const SequenceResult sequence = m_link.Sequences().WriteProgram(slot, fromPanels);
  PresetResult r = Queued(sequence);
  if (r.Ok()) {
    m_link.SetBatchCounter(sequence.counter);
    Screen().ShowTransferWindow(TransferOwner::kPresetDialog);
  }
  return r;
}

PresetResult PresetController::Recall(int slot, bool requireLiveSync) {
  if (!DeviceSlot(slot)) return {};
  if (requireLiveSync && !m_link.Program().liveSync.load()) {
    PresetResult r;
    r.status = PresetStatus::kNotLive;
    return r;
  }
  if (!m_link.StartReadBack(slot, true)) {
    // StartReadBack has shown the connection error.
    if (!Connected()) return Shown(PresetStatus::kNotConnected, TextId::UnableToConnect);
    return {};
  }
  PresetResult r;
  r.status = PresetStatus::kDone;
  r.commands = rec::kOutputCount + 1;
  r.counter = m_link.BatchCounter();
  return r;
}

PresetResult PresetController::ReadAllPresets(const std::filesystem::path& path) {
  if (!Connected()) {
    m_link.ShowConnectionError();
    return Shown(PresetStatus::kNotConnected, TextId::UnableToConnect);
  }
  const SequenceResult sequence = m_link.Sequences().ReadAllSlots();
  PresetResult r = Queued(sequence);
  if (r.Ok()) {
    m_allPresetsPath = path;
    r.path = path;
    r.kind = PresetKind::kAll;
    m_link.SetBatchCounter(sequence.counter);
    Screen().ShowTransferWindow(TransferOwner::kPresetDialog);
  }
  return r;
}

PresetResult PresetController::SendAllPresets() {
  const SequenceResult sequence = m_link.Sequences().WriteDevice();
  PresetResult r = Queued(sequence);
  if (r.Ok()) {
    m_link.SetBatchCounter(sequence.counter);
    Screen().ShowTransferWindow(TransferOwner::kPresetDialog);
  }
  return r;
}

PresetResult PresetController::SendSystemItem(int code, int slot) {
  return Queued(m_link.Sequences().SendSystemItem(code, slot));
}

std::string PresetController::SlotLabel(int slot) const {
  return vantor::SlotLabel(m_link.Model().State(), slot, Connected());
}

std::array<std::string, kPresetSlots> PresetController::SlotLabels() const {
  return vantor::SlotLabels(m_link.Model().State(), Connected());
}

PresetResult PresetController::NameSlot(int slot, std::string_view utf8) {
  if (!DeviceSlot(slot)) return {};
  if (const auto refused = CheckSlotName(utf8)) {
    Screen().ShowMessage(*refused);
    return Shown(PresetStatus::kRejected, *refused);
  }
  const auto gbk = Utf8ToGbk(utf8);
  if (!gbk) {
    Screen().ShowMessage(TextId::NameNotEncodable);
    return Shown(PresetStatus::kRejected, TextId::NameNotEncodable);
  }
  {
    std::lock_guard lock(m_link.Queue().QueueLock());
    ProgramState& state = m_link.Program();
    StoreSlotName(state.Slot(slot), *gbk);
    std::copy_n(state.Slot(slot).begin() + rec::kProgramName, rec::kProgramNameSize,
                state.Live().begin() + rec::kProgramName);
  }
  return StorePreset(slot, true);
}

PresetResult PresetController::DeleteSlot(int slot) {
  if (!DeviceSlot(slot)) return {};
  ProgramState& state = m_link.Program();
  if (!state.liveSync.load()) {
    PresetResult r;
    r.status = PresetStatus::kNotLive;
    return r;
  }
  {
    std::lock_guard lock(m_link.Queue().QueueLock());
    std::fill_n(state.Slot(slot).begin() + rec::kProgramName, rec::kProgramNameSize,
                std::uint8_t{0});
  }
  return SendSystemItem(rec::kSysItemProgramName, slot);
}

// ---------------------------------------------------------------------------------------
// Files

PresetResult PresetController::LoadFile(const std::filesystem::path& path) {
  switch (PresetKindOfPath(path)) {
    case PresetKind::kSingle:
      return LoadSinglePresetFile(path);
    case PresetKind::kAll:
      return LoadAllPresetsFile(path);
    case PresetKind::kNone:
      break;
  }
  PresetResult r;
  r.status = PresetStatus::kIgnored;
  r.path = path;
  return r;
}

PresetResult PresetController::LoadSinglePresetFile(const std::filesystem::path& path) {
  const PresetFileRead file = ReadPresetFile(path, PresetKind::kSingle);
  // One hold of the queue lock from the load to the last queued command: the worker's
  // pending-change scan must not send a half-loaded program ahead of the batch.
  std::unique_lock lock(m_link.Queue().QueueLock());
  bool loaded = false;
  if (file.Ok()) {
    ByteArchive ar(file.bytes);
    loaded = SerializePreset(ar, m_link.Model());
  }
  if (!loaded) {
    lock.unlock();
    return FileFailed(TextId::PresetFileError, PresetKind::kSingle, path, file.Describe(Chinese()));
  }
  PresetResult r = StorePreset(0, false);
  lock.unlock();
  Screen().RefreshAll();
  r.kind = PresetKind::kSingle;
  r.path = path;
  r.loaded = true;
  return r;
}

PresetResult PresetController::LoadAllPresetsFile(const std::filesystem::path& path) {
  const PresetFileRead file = ReadPresetFile(path, PresetKind::kAll);
  std::unique_lock lock(m_link.Queue().QueueLock());
  bool loaded = false;
  if (file.Ok()) {
    ByteArchive ar(file.bytes);
    loaded = SerializeAllPresets(ar, m_link.Model());
  }
  if (!loaded) {
    lock.unlock();
    return FileFailed(TextId::AllPresetsReadError, PresetKind::kAll, path,
                      file.Describe(Chinese()));
  }
  // The load has kept the listening position within 0..3.
  PresetResult r = SendAllPresets();
  lock.unlock();
  Screen().RefreshAll();
  r.kind = PresetKind::kAll;
  r.path = path;
  r.loaded = true;
  return r;
}

PresetResult PresetController::SaveSinglePresetFile(const std::filesystem::path& path) {
  const std::filesystem::path target = WithPresetExtension(path, PresetKind::kSingle);
  ByteArchive ar;
  {
    std::lock_guard lock(m_link.Queue().QueueLock());
    SerializePreset(ar, m_link.Model());
  }
  const FileResult written = ReplaceFile(target, ar.Bytes());
  if (!written.Ok()) {
    return FileFailed(TextId::PresetSaveError, PresetKind::kSingle, target,
                      DescribeFileFailure(target, written, Chinese()));
  }
  PresetResult r;
  r.status = PresetStatus::kDone;
  r.kind = PresetKind::kSingle;
  r.path = target;
  return r;
}

bool PresetController::CanSaveAllPresets() {
  if (Connected()) return true;
  m_link.ShowConnectionError();
  return false;
}

PresetResult PresetController::SaveAllPresetsFile(const std::filesystem::path& path) {
  if (!CanSaveAllPresets()) return Shown(PresetStatus::kNotConnected, TextId::UnableToConnect);
  return ReadAllPresets(WithPresetExtension(path, PresetKind::kAll));
}

void PresetController::OnDeviceEvent(const DeviceEventMessage& message) {
  switch (message.id) {
    case DeviceEvent::WM_DEV_SLOTS_READ_DONE:
      if (m_allPresetsPath) FinishAllPresetsSave();
      break;
    case DeviceEvent::WM_DEV_LINK_ERROR:
    case DeviceEvent::WM_DEV_NO_DATA:
      if (m_allPresetsPath && !Connected()) AbandonAllPresetsSave();
      break;
    default:
      break;
  }
}

void PresetController::FinishAllPresetsSave() {
  const std::filesystem::path target = *m_allPresetsPath;
  m_allPresetsPath.reset();
  ByteArchive ar;
  {
    std::lock_guard lock(m_link.Queue().QueueLock());
    SerializeAllPresets(ar, m_link.Model());
  }
  PresetResult r;
  const FileResult written = ReplaceFile(target, ar.Bytes());
  if (!written.Ok()) {
    r = FileFailed(TextId::AllPresetsSaveError, PresetKind::kAll, target,
                   DescribeFileFailure(target, written, Chinese()));
  } else {
    r.status = PresetStatus::kDone;
    r.kind = PresetKind::kAll;
    r.path = target;
  }
  m_link.Program().busy = false;
  if (m_allSaved) m_allSaved(r);
}

void PresetController::AbandonAllPresetsSave() {
  PresetResult r;
  r.status = PresetStatus::kInterrupted;
  r.kind = PresetKind::kAll;
  r.path = *m_allPresetsPath;
  m_allPresetsPath.reset();
  if (m_allSaved) m_allSaved(r);
}

}  // namespace vantor
