// The preset dialogs against the simulated processor: opened from the preset menu, slot
// labels by the device's names (the defaults while disconnected), the naming, delete and
// recall flows with the frames they send, and the file buttons.

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "../presets/TunedProgram.h"
#include "UiTestSupport.h"
#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "base/LittleEndian.h"
#include "link/ConnectionController.h"
#include "model/KTV_Data.h"
#include "presets/PresetSerializer.h"
#include "ui/app/FormDialogs.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/NumEdit.h"
#include "ui/dialogs/DisplayDlg.h"
#include "ui/dialogs/InputSourceNameDlg.h"
#include "ui/dialogs/MsgBox.h"
#include "ui/dialogs/SourceLoadDlg.h"
#include "ui/dialogs/SourceSaveDlg.h"
#include "ui/panels/DelayPanel.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

using uitest::Form;

namespace {

// The frames the unit received since its log was cleared, without the idle status polls.
std::vector<sim::SimFrameRecord> Frames(const sim::SimulatedProcessor& unit) {
  std::vector<sim::SimFrameRecord> out;
  for (const auto& f : unit.FrameLog()) {
    if (!(f.block == rec::kBlockSystem && f.index == rec::kSysItemStatus)) out.push_back(f);
  }
  return out;
}

std::string NameField(const rec::StateRecord& r) {
  return std::string(r.begin() + rec::kProgramName,
                     r.begin() + rec::kProgramName + rec::kProgramNameSize);
}

// Watches a widget for being disabled.
class DisableWatch : public QObject {
 public:
  bool wasDisabled = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange && !static_cast<QWidget*>(watched)->isEnabled()) {
      wasDisabled = true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

class PresetDialogsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;
  QTemporaryDir dir_;

  CVantorView& View() { return form_->View(); }
  sim::SimulatedProcessor& Unit() { return *form_->unit; }
  QString File(const QString& name) const { return dir_.filePath(name); }

  // A form in English working live with a unit whose slots 1..6 carry names.
  bool StartLive() {
    auto unit = uitest::InstantUnit();
    unit->Modify([](ProgramState& m) {
      for (int n = 1; n <= 6; ++n) {
        const std::string name = "Tune " + std::to_string(n);
        std::copy(name.begin(), name.end(), m.Slot(n).begin());
        le::PutI16(m.Slot(n), rec::OutputOffset(0) + rec::kOutGain,
                   static_cast<std::int16_t>(30 + n));
      }
    });
    form_ = std::make_unique<Form>(unit);
    form_->state.chinese = false;
    return form_->StartLive();
  }

  // Every command answered and the transfer window gone.
  bool Settled() {
    return QTest::qWaitFor(
        [this] {
          return !View().TransferWindow().isVisible() && View().Controller().Queue().Count() <= 1 &&
                 !form_->state.busy.load();
        },
        10000);
  }

  // Enters `name` in the open name prompt and presses OK.
  static bool EnterName(PresetDlg& dialog, const QString& name) {
    InputSourceNameDlg* prompt = dialog.NamePrompt();
    if (prompt == nullptr || !prompt->isVisible()) return false;
    prompt->Edit().setText(name);
    QTest::mouseClick(&prompt->OkButton(), Qt::LeftButton);
    return QTest::qWaitFor([&dialog] { return dialog.NamePrompt() == nullptr; });
  }

 private slots:
  void init() { QVERIFY(dir_.isValid()); }
  void cleanup() { form_.reset(); }

  void thePresetMenuOpensBothDialogsModally() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    TopBarPanel& bar = View().TopBar();
    QCOMPARE(bar.PresetLoadAction().text(), QStringLiteral("音效调用"));
    bar.PresetLoadAction().trigger();
    SourceLoadDlg* load = View().Dialogs().PresetLoad();
    QVERIFY(load != nullptr && load->isVisible());
    QCOMPARE(load->windowModality(), Qt::ApplicationModal);
    QCOMPARE(load->windowTitle(), QStringLiteral("音效调用"));
    QCOMPARE(load->SlotButton(1).Id(), 2401);
    load->accept();
    QTRY_VERIFY(View().Dialogs().PresetLoad() == nullptr);

    View().ToggleLanguage();
    bar.PresetSaveAction().trigger();
    SourceSaveDlg* save = View().Dialogs().PresetSave();
    QVERIFY(save != nullptr && save->isVisible());
    QCOMPARE(save->windowTitle(), QStringLiteral("Source Save"));
    QCOMPARE(save->SlotButton(6).Id(), 2424);
    QVERIFY(!save->AllPresetsChosen());
    QCOMPARE(save->CurrentOption().State(), 1);
  }

  void withoutADeviceEverySlotShowsItsDefaultLabel() {
    form_ = std::make_unique<Form>();
    const std::string held = "Held name";
    std::copy(held.begin(), held.end(), form_->state.Slot(2).begin());
    QVERIFY(form_->Start());
    SourceLoadDlg& load = View().Dialogs().OpenPresetLoad();
    for (int n = 1; n <= 6; ++n) QCOMPARE(load.SlotLabel(n), QStringLiteral("音效%1").arg(n));
    load.accept();
    View().ToggleLanguage();
    SourceSaveDlg& save = View().Dialogs().OpenPresetSave();
    for (int n = 1; n <= 6; ++n) QCOMPARE(save.SlotLabel(n), QStringLiteral("Source%1").arg(n));
  }

  void aLongNameIsStoredInFifteenBytesAndEachDialogShowsItsLabel() {
    QVERIFY(StartLive());
    SourceSaveDlg& save = View().Dialogs().OpenPresetSave();
    QCOMPARE(save.SlotLabel(2), QStringLiteral("Tune 2"));
    Unit().ClearFrameLog();

    save.OnSlotClicked(2);
    QVERIFY(save.NamePrompt() != nullptr);
    QCOMPARE(save.NamePrompt()->Edit().text(), QStringLiteral("Tune 2"));
    QCOMPARE(save.NamePrompt()->windowTitle(), QStringLiteral("请输入音效名"));
    QVERIFY(EnterName(save, QStringLiteral("ABCDEFGHIJKLMNOPQRST")));
    QCOMPARE(save.SlotLabel(2), QStringLiteral("ABCDEFGHIJKLMNOP"));
    QVERIFY(Settled());

    // Name, music block and the eight outputs, every one into slot 2, music on.
    const auto frames = Frames(Unit());
    QCOMPARE(frames.size(), std::size_t{10});
    for (const auto& f : frames) {
      QVERIFY(f.IsWrite());
      QCOMPARE(int{f.slot}, 2);
    }
    QCOMPARE(int{frames[0].index}, rec::kSysItemProgramName);
    QCOMPARE(std::string(frames[0].payload.begin(), frames[0].payload.end()),
             std::string("ABCDEFGHIJKLMNO\0", 16));
    QCOMPARE(int{frames[1].block}, rec::kBlockMusic);
    QCOMPARE(int{frames[1].payload[rec::kMusicOnFlag - rec::kMusicBlock]}, 1);
    for (int c = 0; c < 8; ++c) {
      QCOMPARE(int{frames[static_cast<std::size_t>(2 + c)].block}, rec::kBlockOutput);
      QCOMPARE(int{frames[static_cast<std::size_t>(2 + c)].index}, c);
    }
    QCOMPARE(NameField(form_->state.Slot(2)), std::string("ABCDEFGHIJKLMNO\0", 16));
    save.accept();

    // The load dialog's menu "Save" shows the whole text.
    SourceLoadDlg& load = View().Dialogs().OpenPresetLoad();
    QCOMPARE(load.SlotLabel(2), QStringLiteral("ABCDEFGHIJKLMNO"));
    load.PrepareSlotMenu(4);
    QCOMPARE(load.SlotMenu().actions()[1]->text(), QStringLiteral("Save"));
    load.SlotMenu().actions()[1]->trigger();
    QVERIFY(EnterName(load, QStringLiteral("ABCDEFGHIJKLMNOPQRST")));
    QCOMPARE(load.SlotLabel(4), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    QVERIFY(Settled());

    // The next name read from the device (at a reconnect) shows 13 characters.
    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(load.SlotLabel(4), QStringLiteral("Source4"), 5000);
    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(load.SlotLabel(4), QStringLiteral("ABCDEFGHIJKLM"), 10000);
    QCOMPARE(load.SlotLabel(1), QStringLiteral("Tune 1"));
  }

  void aNameOfSpacesIsRefusedAndNothingIsSent() {
    QVERIFY(StartLive());
    SourceSaveDlg& save = View().Dialogs().OpenPresetSave();
    Unit().ClearFrameLog();
    save.OnSlotClicked(5);
    QVERIFY(EnterName(save, QStringLiteral("    ")));
    QVERIFY(form_->messages.contains(QStringLiteral("The name can not be all spaces!")));
    QCOMPARE(save.SlotLabel(5), QStringLiteral("Tune 5"));
    QTest::qWait(100);
    QVERIFY(Frames(Unit()).empty());

    // Cancel leaves everything as it was too.
    save.OnSlotClicked(5);
    save.NamePrompt()->Edit().setText(QStringLiteral("Other"));
    QTest::mouseClick(&save.NamePrompt()->CancelButton(), Qt::LeftButton);
    QTRY_VERIFY(save.NamePrompt() == nullptr);
    QCOMPARE(save.SlotLabel(5), QStringLiteral("Tune 5"));
  }

  void deleteRestoresTheDefaultLabelAndSendsAnEmptyName() {
    QVERIFY(StartLive());
    SourceLoadDlg& load = View().Dialogs().OpenPresetLoad();
    QCOMPARE(load.SlotLabel(3), QStringLiteral("Tune 3"));
    Unit().ClearFrameLog();

    form_->answer = false;  // Cancel: nothing happens
    load.PrepareSlotMenu(3);
    load.OnMenuDelete();
    QCOMPARE(form_->questions.last(), QStringLiteral("Are you delete this Source Data?"));
    QCOMPARE(load.SlotLabel(3), QStringLiteral("Tune 3"));

    form_->answer = true;
    load.OnMenuDelete();
    QCOMPARE(load.SlotLabel(3), QStringLiteral("Source3"));
    QTRY_COMPARE_WITH_TIMEOUT(Frames(Unit()).size(), std::size_t{1}, 5000);
    const auto frames = Frames(Unit());
    QCOMPARE(int{frames[0].index}, rec::kSysItemProgramName);
    QCOMPARE(int{frames[0].slot}, 3);
    QCOMPARE(frames[0].payload, std::vector<std::uint8_t>(16, 0));
    // The slot's parameters stay.
    QCOMPARE(le::GetI16(Unit().Record(3), rec::OutputOffset(0) + rec::kOutGain), 33);
  }

  void aClickInTheLoadDialogRecallsBehindTheDialog() {
    QVERIFY(StartLive());
    SourceLoadDlg& load = View().Dialogs().OpenPresetLoad();
    DisableWatch dialogWatch;
    DisableWatch formWatch;
    load.installEventFilter(&dialogWatch);
    View().installEventFilter(&formWatch);
    QTest::mouseClick(&load.SlotButton(5), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(form_->Data().Output(0).GainCode(), 35, 10000);
    QVERIFY(Settled());
    QVERIFY(dialogWatch.wasDisabled);
    QVERIFY(!formWatch.wasDisabled);
    QVERIFY(load.isEnabled());
    QVERIFY(form_->state.liveSync.load());
  }

  void aFileLoadReachesTheProcessorAsTheTwentySixCommands() {
    QVERIFY(StartLive());
    // A tuned program: every band and crossover away from where the unit has it.
    ProgramState other;
    CKTV_Data source(other);
    source.LoadOutputs();
    testing::TuneEveryBand(source);
    ByteArchive single;
    QVERIFY(SerializePreset(single, source));
    const QString path = File(QStringLiteral("tuned.dsps"));
    QVERIFY(ReplaceFile(path.toStdString(), single.Bytes()).Ok());
    QVERIFY(Settled());
    Unit().ClearFrameLog();

    SourceLoadDlg& load = View().Dialogs().OpenPresetLoad();
    form_->chosenFiles << path;
    load.LoadFromFile();
    QCOMPARE(form_->fileRequests.back().kind, FileRequest::Kind::kOpen);
    QVERIFY(form_->fileRequests.back().filter.contains(QStringLiteral("*.dspa")));
    QVERIFY(Settled());
    QTest::qWait(200);  // anything sent after the batch would show now
    const auto frames = Frames(Unit());
    QCOMPARE(frames.size(), std::size_t{26});
    for (const auto& f : frames) {
      QVERIFY(f.IsWrite());
      QCOMPARE(int{f.slot}, 0);
    }
    QCOMPARE(form_->Data().Output(3).HighPass().Frequency(), 303);
    QCOMPARE(le::GetI16(Unit().Record(0), rec::OutputOffset(3) + rec::kOutHighPassFreq), 303);
  }

  void anAllPresetsFileLoadShowsItsListeningPosition() {
    QVERIFY(StartLive());
    ProgramState other;
    CKTV_Data source(other);
    source.LoadOutputs();
    for (int c = 0; c < 6; ++c) {
      le::PutI16(other.DelayPositions(), rec::DelayPositionOffset(1, c),
                 static_cast<std::int16_t>(200 + c));
    }
    other.DelayPositions()[rec::kDelaySelectedPosition] = 1;
    ByteArchive all;
    QVERIFY(SerializeAllPresets(all, source));
    const QString path = File(QStringLiteral("all.dspa"));
    QVERIFY(ReplaceFile(path.toStdString(), all.Bytes()).Ok());
    SourceLoadDlg& load = View().Dialogs().OpenPresetLoad();
    form_->chosenFiles << path;
    load.LoadFromFile();
    QVERIFY(Settled());
    QCOMPARE(View().Delays().Field(2580)->Value(), 200);
    QCOMPARE(View().Delays().Field(2585)->Value(), 205);

    // A refused file changes nothing and says so.
    QVERIFY(ReplaceFile(File(QStringLiteral("bad.dsps")).toStdString(),
                        std::vector<std::uint8_t>(100, 7))
                .Ok());
    form_->chosenFiles << File(QStringLiteral("bad.dsps"));
    load.LoadFromFile();
    QVERIFY2(form_->messages.last().startsWith(QStringLiteral("error for file!")),
             qPrintable(form_->messages.last()));
  }

  void theSaveButtonWritesTheCurrentPresetOrAllPresets() {
    QVERIFY(StartLive());
    SourceSaveDlg& save = View().Dialogs().OpenPresetSave();
    form_->chosenFiles << File(QStringLiteral("current"));
    save.SaveToFile();
    QCOMPARE(form_->fileRequests.back().kind, FileRequest::Kind::kSave);
    QCOMPARE(form_->fileRequests.back().suffix, QStringLiteral("dsps"));
    QCOMPARE(QFileInfo(File(QStringLiteral("current.dsps"))).size(), qint64{2808});

    QTest::mouseClick(&save.AllOption(), Qt::LeftButton);
    QVERIFY(save.AllPresetsChosen());
    QCOMPARE(save.CurrentOption().State(), 0);
    form_->chosenFiles << File(QStringLiteral("everything"));
    save.SaveToFile();
    QCOMPARE(form_->fileRequests.back().suffix, QStringLiteral("dspa"));
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(File(QStringLiteral("everything.dspa"))).size(),
                              qint64{58730}, 10000);

    // Without a processor all presets cannot be read: no file is asked for.
    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(View().Controller().Phase(), ConnectionPhase::kClosed, 5000);
    const auto asked = form_->fileRequests.size();
    save.SaveToFile();
    QCOMPARE(form_->fileRequests.size(), asked);
    QCOMPARE(View().StatusWindow().LastText(), QStringLiteral("unable to connect"));
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::PresetDialogsTest)
#include "PresetDialogsTest.moc"
