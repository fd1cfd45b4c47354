// The firmware dialog: the remembered file (in the settings folder the test forms use), the factory
// reset, the guard while an update runs, and the backup of the six presets before an update or a
// reset, against the simulated processor.

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "UiTestSupport.h"
#include "base/FileIo.h"
#include "cli/CliApp.h"
#include "link/ConnectionController.h"
#include "presets/PresetFormat.h"
#include "ui/app/FormDialogs.h"
#include "ui/controls/GradientProgressCtrl.h"
#include "ui/dialogs/UpgradeDlg.h"

namespace vantor {

using uitest::Form;

namespace {

// Short waits of the update's phases, so that an update takes well under a second, and
// still long enough to act while it runs.
LinkTimings UpdateTimings() {
  LinkTimings t = uitest::FastTimings();
  t.fwWakeDuration = std::chrono::milliseconds(300);
  t.fwWakePause = std::chrono::milliseconds(300);
  t.fwRestartWait = std::chrono::milliseconds(300);
  t.fwSearchLimit = std::chrono::milliseconds(2000);
  return t;
}

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class FirmwareDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<Form> form_;

  CVantorView& View() { return form_->View(); }
  UpgradeDlg& Dialog() { return View().Dialogs().OpenFirmware(); }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QString FirmwareFile(const QString& name, int size) const {
    QFile f(Path(name));
    if (!f.open(QIODevice::WriteOnly)) return {};
    for (int i = 0; i < size; ++i) f.putChar(static_cast<char>((i * 37 + 11) & 0xFF));
    return f.fileName();
  }

  // A form in English; with a unit, live with it, the update's waits short.
  bool Start(std::shared_ptr<sim::SimulatedProcessor> unit = nullptr) {
    form_ = std::make_unique<Form>(unit);
    form_->state.chinese = false;
    if (!unit) return form_->Start();
    View().AttachDevice(*form_->host, UpdateTimings());
    View().SetPrompts({[this](const QString& t) { form_->messages << t; }, {}, {}, {}});
    return form_->StartLive();
  }

  static std::shared_ptr<sim::SimulatedProcessor> NamedUnit() {
    auto unit = uitest::InstantUnit();
    unit->Modify([](ProgramState& m) {
      for (int n = 1; n <= 6; ++n)
        m.Slot(n)[rec::kProgramName] = static_cast<std::uint8_t>('P' + n);
    });
    return unit;
  }

  // The one all-presets file in the backup folder.
  QString BackupIn(const QString& folder) const {
    const QStringList found = QDir(folder).entryList({QStringLiteral("*.dspa")}, QDir::Files);
    return found.size() == 1 ? QDir(folder).filePath(found[0]) : QString();
  }

 private slots:
  void init() { QVERIFY(dir_.isValid()); }
  void cleanup() { form_.reset(); }

  void theFileChosenComesBackOnTheNextStart() {
    QVERIFY(Start());
    UpgradeDlg& dialog = Dialog();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Device Firmware Update"));
    const QString file = FirmwareFile(QStringLiteral("unit.dsp"), 100);
    form_->chosenFiles << file;
    dialog.OnBrowse();
    QVERIFY(form_->fileRequests.back().filter.contains(QStringLiteral("*.contr")));
    QCOMPARE(dialog.FileField().text(), file);
    dialog.accept();
    form_.reset();

    QVERIFY(Start());
    QCOMPARE(Dialog().FileField().text(), file);
    QCOMPARE(QString::fromStdString(Dialog().Updater().FirmwarePath()), file);
    // A cancelled choice keeps the file.
    Dialog().OnBrowse();
    QCOMPARE(Dialog().FileField().text(), file);
  }

  void aFactoryResetWithoutADeviceSaysSoAndCloses() {
    QVERIFY(Start());
    form_->answers = {false};
    Dialog().OnFactoryReset();
    QVERIFY(form_->questions.last().startsWith(QStringLiteral("After restoring the factory")));
    QVERIFY(View().Dialogs().Firmware() != nullptr);  // No keeps the dialog open
    QVERIFY(form_->messages.isEmpty());

    form_->answers = {true};
    Dialog().OnFactoryReset();
    QCOMPARE(form_->messages, QStringList{QStringLiteral("The device is not connected")});
    QTRY_VERIFY(View().Dialogs().Firmware() == nullptr);
  }

  void enterAndEscapeNeverCloseTheDialog() {
    QVERIFY(Start());
    UpgradeDlg& dialog = Dialog();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Return);
    QTest::qWait(50);
    QVERIFY(View().Dialogs().Firmware() != nullptr && dialog.isVisible());
  }

  void whileUpdatingTheDialogOnlySaysNotToClose() {
    QVERIFY(Start(uitest::InstantUnit()));
    UpgradeDlg& dialog = Dialog();
    dialog.Updater().SetFirmwarePath(FirmwareFile(QStringLiteral("unit.dsp"), 1000).toStdString());
    form_->answers = {false};  // no backup
    dialog.OnStart();
    QTRY_VERIFY(dialog.Updater().Updating());
    const QString guard = QStringLiteral("Don't close up the update!");

    QVERIFY(!dialog.close());
    QCOMPARE(form_->messages.last(), guard);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    const auto asked = form_->fileRequests.size();
    dialog.OnBrowse();
    QCOMPARE(form_->fileRequests.size(), asked);
    dialog.OnFactoryReset();
    QCOMPARE(form_->messages.count(guard), 3);
    QVERIFY(dialog.isVisible());

    QTRY_COMPARE_WITH_TIMEOUT(dialog.Updater().Outcome(), FirmwareOutcome::kSucceeded, 20000);
    QVERIFY(form_->messages.contains(QStringLiteral("Update successfully!")));
    // One step per acknowledged packet, on a bar of the file's block count.
    QTRY_COMPARE(dialog.Progress().Position(), dialog.Updater().PacketsTotal());
    QCOMPARE(dialog.Progress().High(), 1000 / 48 + 6);
    QVERIFY(dialog.close());
    QTRY_VERIFY(View().Dialogs().Firmware() == nullptr);
  }

  void theBackupBeforeAnUpdateIsTheDeviceBackupByteForByte() {
    auto unit = NamedUnit();
    const QString memory = Path(QStringLiteral("unit.vsim"));
    QCOMPARE(unit->SaveMemory(memory.toStdString()), sim::SimFileStatus::kOk);
    const QString plain = Path(QStringLiteral("plain.dspa"));
    std::ostringstream out;
    std::ostringstream err;
    QCOMPARE(cli::RunCli({"--sim", "--sim-state", memory.toStdString(), "device", "backup",
                          plain.toStdString()},
                         out, err),
             0);

    QVERIFY(Start(unit));
    UpgradeDlg& dialog = Dialog();
    const QString folder = Path(QStringLiteral("documents"));
    dialog.SetBackupFolder(folder);
    dialog.Updater().SetFirmwarePath(FirmwareFile(QStringLiteral("unit.dsp"), 200).toStdString());
    form_->answers = {true};  // back up first
    dialog.OnStart();
    QVERIFY(form_->questions.last().startsWith(QStringLiteral("Back up the device's six presets")));
    QVERIFY(form_->questions.last().contains(folder));
    QTRY_COMPARE_WITH_TIMEOUT(dialog.Updater().Outcome(), FirmwareOutcome::kSucceeded, 20000);
    QVERIFY(dialog.Backup().Verified());
    const QString backup = BackupIn(folder);
    QVERIFY2(QFileInfo(backup).fileName().startsWith(QStringLiteral("vantor-backup-")),
             qPrintable(backup));
    QCOMPARE(Bytes(backup).size(), 58730);
    QCOMPARE(Bytes(backup), Bytes(plain));
    QVERIFY(dialog.StatusLine().text().isEmpty() ||
            dialog.StatusLine().text() == QStringLiteral("Update successfully!"));
  }

  void aFailedBackupAsksAndNeverStartsTheUpdateSilently() {
    QVERIFY(Start(NamedUnit()));
    UpgradeDlg& dialog = Dialog();
    // A folder that cannot be made: a file stands where it would be.
    QVERIFY(QFile(Path(QStringLiteral("taken"))).open(QIODevice::WriteOnly));
    dialog.SetBackupFolder(Path(QStringLiteral("taken/documents")));
    dialog.Updater().SetFirmwarePath(FirmwareFile(QStringLiteral("unit.dsp"), 200).toStdString());

    form_->answers = {true, false};  // back up: yes; go on without: no
    dialog.OnStart();
    QTRY_VERIFY(form_->questions.size() == 2);
    QCOMPARE(form_->questions.last(),
             QStringLiteral("The backup of the presets failed: save File Error!\n"
                            "Go on without a backup?"));
    QTest::qWait(100);
    QCOMPARE(dialog.Updater().Outcome(), FirmwareOutcome::kIdle);
    QCOMPARE(View().Controller().Phase(), ConnectionPhase::kLive);

    form_->answers = {true, true};  // the same, and this time go on
    dialog.OnStart();
    QTRY_COMPARE_WITH_TIMEOUT(dialog.Updater().Outcome(), FirmwareOutcome::kSucceeded, 20000);
    QVERIFY(!dialog.Backup().Verified());
  }

  void aFactoryResetIsBackedUpFirst() {
    auto unit = NamedUnit();
    QVERIFY(Start(unit));
    UpgradeDlg& dialog = Dialog();
    const QString folder = Path(QStringLiteral("before-reset"));
    dialog.SetBackupFolder(folder);
    form_->answers = {true, true};  // reset: yes; back up first: yes
    dialog.OnFactoryReset();
    QTRY_VERIFY_WITH_TIMEOUT(View().Dialogs().Firmware() == nullptr, 10000);
    QVERIFY2(form_->questions.size() == 2, qPrintable(form_->questions.join(QLatin1Char('|'))));
    QVERIFY2(form_->messages.isEmpty(), qPrintable(form_->messages.join(QLatin1Char('|'))));
    const QByteArray backup = Bytes(BackupIn(folder));
    QCOMPARE(backup.size(), 58730);
    QCOMPARE(static_cast<std::uint8_t>(backup[static_cast<int>(kAllPresetsSlots)]), 'Q');
    ProgramState factory;
    QTRY_COMPARE_WITH_TIMEOUT(unit->Record(2), factory.Slot(2), 5000);
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::FirmwareDialogTest)
#include "FirmwareDialogTest.moc"
