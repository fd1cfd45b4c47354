#include "ui/dialogs/UpgradeDlg.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <chrono>

#include "firmware/FirmwareImage.h"
#include "text/TextFormat.h"
#include "ui/QtText.h"
#include "ui/app/AppSettings.h"
#include "ui/app/VantorView.h"
#include "ui/controls/GradientProgressCtrl.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

constexpr QSize kSize(470, 216);
const QColor kStatusColour(0, 0, 255);

QString DocumentsFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return documents.isEmpty() ? QDir::homePath() : documents;
}

}  // namespace

UpgradeDlg::UpgradeDlg(CVantorView& view)
    : FormDialog(view.window(), view.Chinese(), TextId::FirmwareDialogTitle, kSize),
      m_view(view),
      m_updater(view.Controller()),
      m_backup(view.Controller(), view.Presets()),
      m_backupFolder(DocumentsFolder()) {
  auto* caption = new QLabel(Text(TextId::FirmwareFileCaption), this);
  caption->setGeometry(18, 14, 300, 20);
  m_fileField = new QLineEdit(this);
  m_fileField->setObjectName(QStringLiteral("edit%1").arg(kFileFieldId));
  m_fileField->setReadOnly(true);
  m_fileField->setFocusPolicy(Qt::NoFocus);
  m_fileField->setGeometry(18, 38, 330, 28);
  m_browse = AddButton(kBrowseId, TextId::FirmwareBrowseButton, QRect(356, 38, 96, 28));

  m_progress = new GradientProgressCtrl(this);
  m_progress->setGeometry(18, 84, 434, 16);
  m_reportedLow.store(m_progress->Low());
  m_reportedHigh.store(m_progress->High());
  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("status%1").arg(kStatusId));
  m_status->setGeometry(18, 106, 434, 40);
  m_status->setWordWrap(true);
  m_status->setFont(skin::Font2());
  QPalette blue = m_status->palette();
  blue.setColor(QPalette::WindowText, kStatusColour);
  m_status->setPalette(blue);

  m_factoryReset = AddButton(kFactoryResetId, TextId::FactoryResetButton, QRect(18, 164, 150, 32));
  m_start = AddButton(kStartId, TextId::FirmwareStartButton, QRect(312, 164, 140, 32));
  connect(m_browse, &QAbstractButton::clicked, this, &UpgradeDlg::OnBrowse);
  connect(m_start, &QAbstractButton::clicked, this, &UpgradeDlg::OnStart);
  connect(m_factoryReset, &QAbstractButton::clicked, this, &UpgradeDlg::OnFactoryReset);
  connect(&view, &CVantorView::deviceEvent, this, &UpgradeDlg::OnDeviceEvent);

  m_updater.SetObserver(this);
  m_updater.SetFirmwarePath(settings::LoadFirmwareMemory().file.toStdString());
  ShowFile();
}

UpgradeDlg::~UpgradeDlg() {
  m_updater.SetObserver(nullptr);
  m_view.SetPresetDialog(nullptr);
}

void UpgradeDlg::ShowFile() {
  m_fileField->setText(QString::fromStdString(m_updater.FirmwarePath()));
  m_fileField->setCursorPosition(m_fileField->text().size());
}

void UpgradeDlg::OnBrowse() {
  if (m_updater.Updating()) {
    m_updater.ChooseFirmwareFile(std::nullopt);  // says "Don't close up the update!"
    return;
  }
  FileRequest request;
  request.kind = FileRequest::Kind::kOpen;
  request.title = Text(TextId::MenuFirmwareUpdate);
  request.filter = QStringLiteral("*.contr *.dsp");
  const QString current = QString::fromStdString(m_updater.FirmwarePath());
  if (!current.isEmpty()) request.folder = QFileInfo(current).absolutePath();
  const QString chosen = m_view.ChooseFile(request);
  if (chosen.isEmpty() || !m_updater.ChooseFirmwareFile(chosen.toStdString())) return;
  settings::SaveFirmwareMemory({QString::fromStdString(m_updater.File().Path()),
                                QString::fromStdString(m_updater.File().FolderText())});
  ShowFile();
}

void UpgradeDlg::OnStart() {
  if (m_updater.Updating() || m_pending != Change::kNone) return;
  BeginChange(Change::kUpdate);
}

void UpgradeDlg::OnFactoryReset() {
  if (m_updater.Updating()) {
    m_updater.FactoryReset();  // refused with "Don't close up the update!"
    return;
  }
  if (m_pending != Change::kNone || !m_view.YesNo(Text(TextId::FactoryResetQuestion))) return;
  if (!m_view.Controller().Connected()) {
    m_updater.FactoryReset();  // "The device is not connected"
    accept();
    return;
  }
  BeginChange(Change::kFactoryReset);
}

void UpgradeDlg::BeginChange(Change change) {
  m_pending = change;
  // A processor that is connected holds presets worth keeping; a file the update refuses
  // costs no backup (the update says why it refuses it).
  const bool worthABackup =
      m_view.Controller().Connected() &&
      (change == Change::kFactoryReset || ReadFirmwareImage(m_updater.FirmwarePath()).Ok());
  std::optional<std::filesystem::path> backup;
  if (worthABackup) {
    QDir().mkpath(m_backupFolder);
    const std::filesystem::path path =
        DefaultBackupPath(m_backupFolder.toStdString(), std::chrono::system_clock::now());
    if (m_view.YesNo(
            Q(FormatText(Tr(TextId::BackupOffer, Chinese()), {{"path", path.string()}})))) {
      backup = path;
    }
  }
  // The read of the presets disables this dialog, not the form behind it.
  m_view.SetPresetDialog(this);
  m_backup.Begin(backup);
  AfterBackupStep();
}

void UpgradeDlg::AfterBackupStep() {
  m_awaitingBackup = false;
  if (m_pending == Change::kNone) return;
  switch (m_backup.CurrentStep()) {
    case BackupBeforeChange::Step::kBackingUp:
      m_awaitingBackup = true;  // the device events bring the rest
      return;
    case BackupBeforeChange::Step::kFailed: {
      const std::string why(Tr(m_backup.Failure().value_or(TextId::BackupInterrupted), Chinese()));
      m_backup.Decide(
          m_view.YesNo(Q(FormatText(Tr(TextId::BackupFailedGoOn, Chinese()), {{"reason", why}}))));
      break;
    }
    default:
      break;
  }
  m_view.SetPresetDialog(nullptr);
  if (m_backup.Verified()) {
    m_status->setText(
        Q(FormatText(Tr(TextId::BackupWritten, Chinese()), {{"path", m_backup.Path().string()}})));
  }
  if (m_backup.CurrentStep() != BackupBeforeChange::Step::kClear) {
    m_pending = Change::kNone;
    return;
  }
  // The change closes the connection whose event may have brought us here: it runs once
  // that event has been handled.
  QMetaObject::invokeMethod(
      this, [this] { m_backup.Proceed([this] { RunChange(); }); }, Qt::QueuedConnection);
}

void UpgradeDlg::RunChange() {
  const Change change = m_pending;
  m_pending = Change::kNone;
  if (change == Change::kUpdate) {
    m_updater.Start();
  } else if (change == Change::kFactoryReset) {
    m_updater.FactoryReset();
    accept();
  }
}

void UpgradeDlg::OnDeviceEvent(const DeviceEventMessage& message) {
  m_updater.OnDeviceEvent(message);
  if (m_awaitingBackup && m_backup.CurrentStep() != BackupBeforeChange::Step::kBackingUp) {
    AfterBackupStep();
  }
}

void UpgradeDlg::SetProgressRange(int low, int high) {
  m_reportedLow.store(low);
  m_reportedHigh.store(high);
  PostReport();
}

void UpgradeDlg::SetProgressPosition(int position) {
  m_reportedPosition.store(position);
  PostReport();
}

void UpgradeDlg::SetStatus(TextId text) {
  m_reportedStatus.store(static_cast<int>(text));
  PostReport();
}

void UpgradeDlg::PostReport() {
  if (m_reportPosted.exchange(true)) return;
  QMetaObject::invokeMethod(this, "ShowReported", Qt::QueuedConnection);
}

void UpgradeDlg::ShowReported() {
  m_reportPosted.store(false);
  m_progress->SetRange(m_reportedLow.load(), m_reportedHigh.load());
  m_progress->SetPosition(m_reportedPosition.load());
  // A new status only: the line may show a message of the dialog's own meanwhile.
  const int status = m_reportedStatus.load();
  if (status >= 0 && status != m_shownStatus) m_status->setText(Text(static_cast<TextId>(status)));
  m_shownStatus = status;
}

void UpgradeDlg::done(int result) {
  if (!m_updater.RequestClose()) return;  // "Don't close up the update!" was shown
  FormDialog::done(result);
}

void UpgradeDlg::keyPressEvent(QKeyEvent* event) {
  // No key closes the dialog or moves between its buttons: Enter and Esc only bring the
  // keyboard back to the dialog itself.
  setFocus();
  event->accept();
}

bool UpgradeDlg::focusNextPrevChild(bool /*next*/) { return false; }

}  // namespace vantor
