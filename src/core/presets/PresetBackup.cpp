#include "presets/PresetBackup.h"

#include <algorithm>
#include <ctime>
#include <mutex>
#include <system_error>

#include "base/ByteArchive.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetSerializer.h"

namespace vantor {
namespace {

constexpr std::string_view kBackupPrefix = "vantor-backup-";
// Enough to step past every backup one person could take within a second.
constexpr int kMostNamesTried = 1000;

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

std::string BackupFileName(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&t, &local);
  return std::string(kBackupPrefix) + std::to_string(local.tm_year + 1900) + "-" +
         TwoDigits(local.tm_mon + 1) + "-" + TwoDigits(local.tm_mday) + "-" +
         TwoDigits(local.tm_hour) + TwoDigits(local.tm_min) + TwoDigits(local.tm_sec) + "." +
         std::string(PresetExtension(PresetKind::kAll));
}

std::filesystem::path DefaultBackupPath(const std::filesystem::path& folder,
                                        std::chrono::system_clock::time_point when) {
  const std::filesystem::path first = folder / BackupFileName(when);
  std::error_code ec;
  if (!std::filesystem::exists(first, ec)) return first;
  const std::string stem = first.stem().string();
  const std::string extension = first.extension().string();
  for (int n = 2; n < kMostNamesTried; ++n) {
    std::filesystem::path next = folder / (stem + "-" + std::to_string(n) + extension);
    if (!std::filesystem::exists(next, ec)) return next;
  }
  return first;
}

BackupCheck VerifyBackupFile(const std::filesystem::path& path, const ProgramState& program) {
  const PresetFileRead file = ReadPresetFile(path, PresetKind::kAll);
  if (!file.file.Ok()) return BackupCheck::kUnreadable;
  if (!file.Ok()) return BackupCheck::kNotAllPresets;
  // Loaded as a restore loads it, into a program of its own.
  ProgramState scratch;
  CKTV_Data model(scratch);
  ByteArchive ar(file.bytes);
  if (!SerializeAllPresets(ar, model)) return BackupCheck::kNotAllPresets;
  for (int n = 1; n <= kPresetSlots; ++n) {
    if (!std::ranges::equal(scratch.Slot(n), program.Slot(n))) return BackupCheck::kDifferent;
  }
  return BackupCheck::kSame;
}

BackupBeforeChange::BackupBeforeChange(ConnectionController& link, PresetController& presets)
    : m_link(link), m_presets(presets) {}

BackupBeforeChange::~BackupBeforeChange() {
  if (m_step == Step::kBackingUp) m_presets.SetAllPresetsSaved(nullptr);
}

BackupBeforeChange::Step BackupBeforeChange::Begin(std::optional<std::filesystem::path> path) {
  if (m_step == Step::kBackingUp) return m_step;
  m_failure.reset();
  m_verified = false;
  m_path.clear();
  if (!path) {
    m_step = Step::kClear;
    return m_step;
  }
  m_path = WithPresetExtension(*path, PresetKind::kAll);
  if (!m_link.Connected()) {
    Fail(TextId::DeviceNotConnected);
    return m_step;
  }
  m_step = Step::kBackingUp;
  m_presets.SetAllPresetsSaved([this](const PresetResult& r) { OnSaved(r); });
  const PresetResult started = m_presets.SaveAllPresetsFile(m_path);
  if (!started.Ok()) {
    m_presets.SetAllPresetsSaved(nullptr);
    Fail(started.status == PresetStatus::kNotConnected ? TextId::DeviceNotConnected
                                                       : TextId::BackupInterrupted);
  }
  return m_step;
}

void BackupBeforeChange::OnSaved(const PresetResult& result) {
  if (m_step != Step::kBackingUp) return;
  m_presets.SetAllPresetsSaved(nullptr);
  switch (result.status) {
    case PresetStatus::kDone:
      break;
    case PresetStatus::kFileError:
      Fail(TextId::AllPresetsSaveError);
      return;
    default:
      Fail(TextId::BackupInterrupted);
      return;
  }
  BackupCheck check;
  {
    std::lock_guard lock(m_link.Queue().QueueLock());
    check = VerifyBackupFile(m_path, m_link.Program());
  }
  if (check != BackupCheck::kSame) {
    Fail(TextId::BackupNotVerified);
    return;
  }
  m_verified = true;
  m_step = Step::kClear;
}

void BackupBeforeChange::Fail(TextId why) {
  m_failure = why;
  m_step = Step::kFailed;
}

void BackupBeforeChange::Decide(bool goOnWithoutBackup) {
  if (m_step != Step::kFailed) return;
  m_step = goOnWithoutBackup ? Step::kClear : Step::kCancelled;
}

bool BackupBeforeChange::Proceed(const std::function<void()>& change) {
  if (m_step != Step::kClear) return false;
  m_step = Step::kDone;
  if (change) change();
  return true;
}

}  // namespace vantor
