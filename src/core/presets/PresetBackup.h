#pragma once
// A backup of the device's six presets before something that wipes them (a firmware update,
// a factory reset). The presets are read from the device into an all-presets file, the file
// is read back from disk and compared with what the device sent, and only then may the
// change go ahead. A backup that fails holds the change until someone decides to go on
// without one; it never goes ahead on its own.
//
//   BackupBeforeChange guard(link, presets);   // presets gets every device event
//   guard.Begin(DefaultBackupPath(documents, std::chrono::system_clock::now()));
//   ... device events until the step leaves kBackingUp ...
//   if (guard.CurrentStep() == Step::kFailed) guard.Decide(askTheUser(*guard.Failure()));
//   guard.Proceed([&] { updater.Start(); });
//
// Proceed is called by the owner outside the handling of a device event: the change
// closes the connection that delivered the event.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "presets/PresetController.h"

namespace vantor {

// The dated default name of a backup, in local time: "vantor-backup-2024-05-01-153012.dspa".
std::string BackupFileName(std::chrono::system_clock::time_point when);
// That name in `folder`; when a file of that name exists already, "-2", "-3", ... is put
// before the extension, so an earlier backup is never overwritten.
std::filesystem::path DefaultBackupPath(const std::filesystem::path& folder,
                                        std::chrono::system_clock::time_point when);

enum class BackupCheck {
  kSame,           // the file loads as an all-presets file and holds the program's slots 1..6
  kUnreadable,     // the file cannot be read
  kNotAllPresets,  // the file is not an all-presets file
  kDifferent,      // it loads, but its slots differ from what the device sent
};
// Reads the file at `path` back, loads it as a restore would (into a scratch program) and
// compares its slot records 1..6 with the program's. The caller holds the queue lock while
// the link runs.
BackupCheck VerifyBackupFile(const std::filesystem::path& path, const ProgramState& program);

class BackupBeforeChange {
 public:
  enum class Step {
    kIdle,       // nothing begun
    kBackingUp,  // the device's presets are being read; the file follows
    kClear,      // the change may go ahead: backed up and verified, no backup asked for, or
                 // the person chose to go on after a failure
    kFailed,     // the backup failed (Failure() says why); the change waits for Decide
    kCancelled,  // the person chose not to go on without a backup
    kDone,       // Proceed ran the change
  };

  BackupBeforeChange(ConnectionController& link, PresetController& presets);
  ~BackupBeforeChange();
  BackupBeforeChange(const BackupBeforeChange&) = delete;
  BackupBeforeChange& operator=(const BackupBeforeChange&) = delete;

  // With a path, the backup starts (it needs a connected device: without one it fails at
  // once); without one the change is clear at once. Begins afresh from any step but
  // kBackingUp, which it leaves as it is.
  Step Begin(std::optional<std::filesystem::path> path);
  // After a failure: go on without a backup, or give up.
  void Decide(bool goOnWithoutBackup);
  // Runs `change` once the step is kClear; then the step is kDone. False (nothing run)
  // in any other step.
  bool Proceed(const std::function<void()>& change);

  Step CurrentStep() const { return m_step; }
  // Why the backup failed: TextId::DeviceNotConnected, AllPresetsSaveError,
  // BackupInterrupted or BackupNotVerified.
  std::optional<TextId> Failure() const { return m_failure; }
  // The file of the backup begun last (empty without one).
  const std::filesystem::path& Path() const { return m_path; }
  // A backup was written and read back as the device's presets.
  bool Verified() const { return m_verified; }

 private:
  void OnSaved(const PresetResult& result);
  void Fail(TextId why);

  ConnectionController& m_link;
  PresetController& m_presets;
  Step m_step = Step::kIdle;
  std::optional<TextId> m_failure;
  std::filesystem::path m_path;
  bool m_verified = false;
};

}  // namespace vantor
