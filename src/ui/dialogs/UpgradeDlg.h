#pragma once
// "设备固件更新" / "Device Firmware Update": the firmware file (the last one chosen is
// remembered between runs), the start and factory-reset buttons, the progress bar and the
// status line. While an update runs, browse, factory reset and the close box only say
// "Don't close up the update!", and start is ignored; Enter and Esc never close the dialog.
//
// Before an update or a factory reset on a connected processor the dialog offers to back
// the six presets up first into a dated all-presets file in the documents folder; the change
// starts only once that file is written and reads back as the device's presets, and a
// failed backup asks whether to go on without one.

#include <QPointer>
#include <atomic>

#include "firmware/FirmwareObserver.h"
#include "firmware/FirmwareUpdater.h"
#include "presets/PresetBackup.h"
#include "ui/dialogs/FormDialog.h"

class QLabel;
class QLineEdit;

namespace vantor {

class CVantorView;
class GradientProgressCtrl;
class TwoStateButton;

class UpgradeDlg : public FormDialog, public FirmwareObserver {
  Q_OBJECT

 public:
  static constexpr int kProgressId = 1414;
  static constexpr int kStartId = 1881;
  static constexpr int kFileFieldId = 1882;
  static constexpr int kBrowseId = 1883;
  static constexpr int kStatusId = 1886;
  static constexpr int kFactoryResetId = 2411;

  explicit UpgradeDlg(CVantorView& view);
  ~UpgradeDlg() override;

  // The buttons, callable as clicks.
  void OnBrowse();
  void OnStart();
  void OnFactoryReset();

  // Where the backup before a change is written (by default the documents folder).
  void SetBackupFolder(const QString& folder) { m_backupFolder = folder; }
  QString BackupFolder() const { return m_backupFolder; }

  FirmwareUpdater& Updater() { return m_updater; }
  const BackupBeforeChange& Backup() const { return m_backup; }
  GradientProgressCtrl& Progress() { return *m_progress; }
  QLineEdit& FileField() { return *m_fileField; }
  QLabel& StatusLine() { return *m_status; }
  TwoStateButton& StartButton() { return *m_start; }
  TwoStateButton& BrowseButton() { return *m_browse; }
  TwoStateButton& FactoryResetButton() { return *m_factoryReset; }

  // --- FirmwareObserver, from any thread: handed to this dialog's thread.
  void SetProgressRange(int low, int high) override;
  void SetProgressPosition(int position) override;
  void SetStatus(TextId text) override;

  // Closing (the close box, Esc, accept) is refused while an update runs.
  void done(int result) override;

 private slots:
  // Shows the latest reported range, position and status (on this dialog's thread).
  void ShowReported();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  enum class Change { kNone, kUpdate, kFactoryReset };

  void BeginChange(Change change);
  void AfterBackupStep();
  void RunChange();
  void OnDeviceEvent(const DeviceEventMessage& message);
  void ShowFile();

  CVantorView& m_view;
  FirmwareUpdater m_updater;
  BackupBeforeChange m_backup;
  Change m_pending = Change::kNone;
  bool m_awaitingBackup = false;
  QString m_backupFolder;

  // What the update reported last, from whichever thread; one queued ShowReported at a time
  // shows it. Only atomics cross threads: nothing the worker allocates reaches this one.
  std::atomic<int> m_reportedLow{0};
  std::atomic<int> m_reportedHigh{0};
  std::atomic<int> m_reportedPosition{0};
  std::atomic<int> m_reportedStatus{-1};  // a TextId, or -1 for none yet
  std::atomic<bool> m_reportPosted{false};
  int m_shownStatus = -1;
  void PostReport();

  GradientProgressCtrl* m_progress = nullptr;
  QLineEdit* m_fileField = nullptr;
  QLabel* m_status = nullptr;
  TwoStateButton* m_browse = nullptr;
  TwoStateButton* m_start = nullptr;
  TwoStateButton* m_factoryReset = nullptr;
};

}  // namespace vantor
