// The main form without a processor: channel selection, the strip controls, the master
// strip, speaker types and positions, the EQ reset question, the input source and the
// language. Every control acts on the model; nothing is queued.

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "UiTestSupport.h"
#include "link/ConnectionController.h"
#include "model/KTV_Data.h"
#include "tuning/ChannelSelection.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/DropBtn.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/dialogs/DisplayDlg.h"
#include "ui/dialogs/MsgBox.h"
#include "ui/panels/CarPanel.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/SpeakerMenu.h"
#include "ui/panels/StripPanel.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

using uitest::Form;

class ChannelStripTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;

  CVantorView& View() { return form_->View(); }
  CKTV_Data& Data() { return form_->Data(); }
  int Queued() { return View().Controller().Queue().Count(); }
  void NoSpeakers() {
    for (int o = 0; o < 8; ++o) Data().SetSpeakerType(o, 0);
  }

 private slots:
  void init() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
  }
  void cleanup() { form_.reset(); }

  void reselectingTheCurrentChannelChangesNothing() {
    QTest::mouseClick(&View().Strips().SelectButton(2), Qt::LeftButton);
    QCOMPARE(View().CurrentChannel(), 2);
    QCOMPARE(View().GraphRow().Graph().Model().OutputIndex(), 2);
    QCOMPARE(View().Strips().LabelShown(2), true);
    QCOMPARE(View().Strips().LabelShown(0), false);
    QCOMPARE(View().Strips().SelectButton(0).State(), 0);

    const Point c = Data().Output(2).Filter(1).HandleRect().Center();
    View().GraphRow().Graph().Model().MouseMove(c);
    CFilter* hovered = View().GraphRow().Graph().Model().CurrentFilter();
    QVERIFY(hovered != nullptr);
    QTest::mouseClick(&View().Strips().SelectButton(2), Qt::LeftButton);
    QCOMPARE(View().GraphRow().Graph().Model().CurrentFilter(), hovered);
    QCOMPARE(View().Strips().SelectButton(2).State(), 1);
  }

  void theCurrentChannelsCurveCannotBeSwitchedOff() {
    StripPanel& current = View().Strips();
    QCOMPARE(current.CurveButton(0).State(), 1);
    QTest::mouseClick(&current.CurveButton(0), Qt::LeftButton);
    QCOMPARE(current.CurveButton(0).State(), 1);
    QVERIFY(!View().Selection().CurveFlag(0));
    QVERIFY(View().Strips().LabelShown(0));

    // Another output's curve goes on and off behind the current one, its label with it.
    StripPanel& other = View().Strips();
    QCOMPARE(other.CurveButton(4).State(), 0);
    QTest::mouseClick(&other.CurveButton(4), Qt::LeftButton);
    QVERIFY(View().Selection().CurveFlag(4));
    QCOMPARE(other.CurveButton(4).State(), 1);
    QVERIFY(View().Strips().LabelShown(4));
    QVERIFY(View().GraphRow().Graph().Model().ShowCurve(4));
    QTest::mouseClick(&other.CurveButton(4), Qt::LeftButton);
    QVERIFY(!View().Strips().LabelShown(4));
    QVERIFY(!View().GraphRow().Graph().Model().ShowCurve(4));

    // Leaving a channel shows its own flag again.
    View().Strips().OnSelectButton(4);
    QCOMPARE(View().Strips().CurveButton(0).State(), 0);
    QVERIFY(!View().Strips().LabelShown(0));
  }

  void switchesAndGainActOnTheModelOnly() {
    StripPanel& s = View().Strips();
    const int on = Data().Output(3).OutputOn();
    QTest::mouseClick(&s.OnButton(3), Qt::LeftButton);
    QCOMPARE(Data().Output(3).OutputOn(), on == 0 ? 1 : 0);
    QCOMPARE(s.OnButton(3).State(), Data().Output(3).OutputOn());
    QTest::mouseClick(&s.PhaseButton(3), Qt::LeftButton);
    QCOMPARE(Data().Output(3).Phase(), 1);
    QCOMPARE(s.PhaseButton(3).State(), 1);

    s.GainSlider(3).SetPos(42);
    emit s.GainSlider(3).moved(s.GainSlider(3).Id(), s.GainSlider(3).StoredPos());
    QCOMPARE(Data().Output(3).GainCode(), 42);
    QCOMPARE(s.GainEdit(3).text(), QStringLiteral("-18dB"));

    s.GainEdit(3).setFocus();
    QTRY_VERIFY(s.GainEdit(3).hasFocus());
    s.GainEdit(3).selectAll();
    QTest::keyClicks(&s.GainEdit(3), QStringLiteral("-6"));
    View().Strips().MasterEdit().setFocus();
    QTRY_VERIFY(!s.GainEdit(3).hasFocus());
    QCOMPARE(Data().Output(3).GainCode(), 54);
    QCOMPARE(s.GainSlider(3).GetPos(), 54);
    QCOMPARE(Queued(), 0);
    QVERIFY(!Data().Output(3).Changed(OutputChange::Settings));  // not live: nothing pending
  }

  void aLinkedOutputsGainControlsFollow() {
    Data().Links().SetGroup(5, 4);
    StripPanel& s = View().Strips();
    s.GainSlider(4).SetPos(30);
    View().Strips().OnGainSlider(4);
    QCOMPARE(Data().Output(5).GainCode(), 30);
    QCOMPARE(View().Strips().GainSlider(5).GetPos(), 30);
    QCOMPARE(View().Strips().GainEdit(5).Value(), 30);
    QCOMPARE(View().Strips().GainSlider(6).GetPos(), Data().Output(6).GainCode());
  }

  void masterSliderWhileMasterIsOffSwitchesItOn() {
    StripPanel& m = View().Strips();
    QTest::mouseClick(&m.MasterOnButton(), Qt::LeftButton);
    if (Data().MasterOn() != 0) QTest::mouseClick(&m.MasterOnButton(), Qt::LeftButton);
    QCOMPARE(Data().MasterOn(), 0);
    QCOMPARE(m.MasterOnButton().State(), 0);

    QVERIFY(Data().MasterVolume() != 0);
    QTest::keyClick(&m.MasterSlider(), Qt::Key_End);  // to the bottom: the lowest volume
    QCOMPARE(Data().MasterVolume(), 0);
    QCOMPARE(Data().MasterOn(), 1);
    QCOMPARE(m.MasterOnButton().State(), 1);
    QCOMPARE(m.MasterEdit().text(), QStringLiteral("-60dB"));

    QVERIFY(m.MasterSpin().SetValue(63));
    emit m.MasterSpin().changeNotice(m.MasterSpin().Id());
    QCOMPARE(Data().MasterVolume(), 63);
    QCOMPARE(m.MasterSlider().GetPos(), 63);
    QCOMPARE(Queued(), 0);
  }

  void eqResetAsksFirstAndCancelLeavesEverything() {
    View().Strips().OnSelectButton(6);
    CFilter& band = Data().Output(6).Filter(12);
    band.SetGainIndex(320);
    form_->answer = false;
    QTest::mouseClick(&View().GraphRow().EqResetButton(), Qt::LeftButton);
    QCOMPARE(form_->questions, QStringList{QStringLiteral("是否恢复所有EQ的初始值")});
    QCOMPARE(band.GainIndex(), 320);

    form_->answer = true;
    View().GraphRow().OnEqReset();
    QCOMPARE(band.GainIndex(), 200);
    QCOMPARE(Queued(), 0);
  }

  void aFrontFullRangeSpeakerClosesTheFrontEntriesOfTheMenu() {
    NoSpeakers();
    QCOMPARE(Data().SetSpeakerType(2, 6), RoutingResult::Stored);
    View().RefreshAll();
    QMenu& menu = View().Strips().PrepareSpeakerTypeMenu(0);
    for (int t : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}) {
      QAction* a = SpeakerMenuAction(menu, t);
      QVERIFY2(a != nullptr && !a->isEnabled(), qPrintable(QString::number(t)));
    }
    QVERIFY(SpeakerMenuAction(menu, 6)->isChecked());
    QVERIFY(SpeakerMenuAction(menu, 12)->isEnabled());
    QVERIFY(SpeakerMenuAction(menu, 0)->isEnabled());

    // Choosing an entry gives the output its type; crossovers stay as they are.
    const int hp = Data().Output(0).HighPass().Frequency();
    SpeakerMenuAction(menu, 12)->trigger();
    QCOMPARE(Data().SpeakerType(0), 12);
    QCOMPARE(View().Strips().TypeButton(0).text(), QStringLiteral("前右\n全频"));
    QCOMPARE(Data().Output(0).HighPass().Frequency(), hp);
    QCOMPARE(Queued(), 0);
  }

  void theTypeButtonOfAnotherOutputSelectsItFirst() {
    // At start-up output 7 is the subwoofer: the entry is taken.
    QCOMPARE(Data().SpeakerType(7), 24);
    QMenu& menu = View().Strips().PrepareSpeakerTypeMenu(5);
    QCOMPARE(View().CurrentChannel(), 5);
    QVERIFY(!SpeakerMenuAction(menu, 24)->isEnabled());
    SpeakerMenuAction(menu, 24)->trigger();
    QCOMPARE(Data().SpeakerType(5), 18);
    SpeakerMenuAction(menu, 0)->trigger();
    QCOMPARE(Data().SpeakerType(5), 0);
    QCOMPARE(View().Strips().TypeButton(5).text(), QStringLiteral("空"));
  }

  void positionButtonsFollowTheSpeakerTypes() {
    NoSpeakers();
    Data().SetSpeakerType(3, 1);
    Data().SetSpeakerType(6, 22);
    View().RefreshAll();
    CarPanel& car = View().Car();
    QVERIFY(car.PositionButton(2700)->isVisibleTo(&car));
    QVERIFY(car.PositionButton(2712)->isVisibleTo(&car));
    QVERIFY(!car.PositionButton(2701)->isVisibleTo(&car));
    QVERIFY(!car.PositionButton(2707)->isVisibleTo(&car));
    QCOMPARE(car.PositionButton(2700)->text(), QStringLiteral("CH4"));

    QTest::mouseClick(car.PositionButton(2712), Qt::LeftButton);
    QCOMPARE(View().CurrentChannel(), 6);
    QCOMPARE(car.PositionButton(2712)->State(), 1);
    QCOMPARE(car.PositionButton(2700)->State(), 0);
    View().Car().OnPositionButton(2700);
    QCOMPARE(View().CurrentChannel(), 3);
    QCOMPARE(car.PositionButton(2700)->State(), 1);
  }

  void theSourceListStoresTheChoiceAndFollowsTheDevice() {
    ComBoxBtn& list = View().TopBar().SourceList();
    QCOMPARE(list.Count(), 6);
    View().TopBar().OnSourceSelected(3);
    QCOMPARE(Data().InputSource(), 3);
    View().ShowInputSource(5);
    QCOMPARE(list.Selection(), 5);
    QVERIFY(!View().TopBar().SpeakerModeSelector().isEnabled());
    QCOMPARE(Queued(), 0);
  }

  void thePresetMenuEntriesWork() {
    const auto presets = View().TopBar().PresetMenu().actions();
    QCOMPARE(presets.size(), 2);
    for (QAction* a : presets) QVERIFY(a->isEnabled());
  }

  void theTransferWindowDisablesTheFormWhileShown() {
    View().SetTransferRange(0, 17);
    View().SetTransferPosition(9);
    View().ShowTransferWindow(TransferOwner::kView);
    QVERIFY(View().TransferWindow().isVisible());
    QVERIFY(!View().isEnabled());
    QCOMPARE(View().TransferWindow().windowTitle(), QStringLiteral("数据传输中"));
    QCOMPARE(View().TransferWindow().Caption(), QStringLiteral("数据正在传输中"));
    QCOMPARE(View().TransferWindow().Position(), 9);
    View().HideTransferWindow();
    QVERIFY(!View().TransferWindow().isVisible());
    QVERIFY(View().isEnabled());
  }

  void languageToggleRelabelsEveryControlAndTheNextMessage() {
    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);  // no device here
    QCOMPARE(form_->messages, QStringList{QStringLiteral("无法连接设备")});
    QCOMPARE(View().StatusWindow().objectName(),
             QStringLiteral("{62BAB41D-B6BB-402C-89EF-5B86830DF68C}"));
    QCOMPARE(View().TopBar().ConnectButton().text(), QStringLiteral("连接设备"));
    QCOMPARE(View().TopBar().SourceList().ItemText(1), QStringLiteral("低电平"));

    View().TopBar().OnSourceSelected(2);
    View().TopBar().LanguageAction().trigger();
    QVERIFY(!form_->state.chinese.load());
    QCOMPARE(View().TopBar().ConnectButton().text(), QStringLiteral("Connect"));
    QCOMPARE(View().TopBar().PresetButton().text(), QStringLiteral("Presets"));
    QCOMPARE(View().GraphRow().EqResetButton().text(), QStringLiteral("EQ Reset"));
    QCOMPARE(View().GraphRow().LimiterButton().text(), QStringLiteral("Limiter / Routing"));
    QCOMPARE(View().TopBar().SourceList().Items(),
             (QStringList{"High level", "RCA", "Bluetooth", "Optical", "Coaxial", "Player"}));
    QCOMPARE(View().TopBar().SourceList().Selection(), 2);
    QCOMPARE(View().Strips().MasterCaption().text(), QStringLiteral("Master"));
    for (int i = 0; i < 8; ++i) {
      StripPanel& s = View().Strips();
      QCOMPARE(s.OnButton(i).text(),
               s.OnButton(i).State() != 0 ? QStringLiteral("ON") : QStringLiteral("OFF"));
      QCOMPARE(s.PhaseButton(i).text(), QStringLiteral("POL"));
      QCOMPARE(s.CurveButton(i).text(), QStringLiteral("Curve"));
    }
    QCOMPARE(View().TopBar().FirmwareAction().text(), QStringLiteral("Firmware Update"));
    QCOMPARE(View().TopBar().ReportAction().text(), QStringLiteral("Parameter report"));
    QCOMPARE(View().TopBar().LanguageAction().text(), QStringLiteral("Chinese"));
    QCOMPARE(View().TopBar().AboutAction().text(), QStringLiteral("About"));
    QCOMPARE(View().TopBar().PresetMenu().actions()[0]->text(), QStringLiteral("Open"));
    QCOMPARE(View().TopBar().PresetMenu().actions()[1]->text(), QStringLiteral("Save"));
    // Speaker types are shown in Chinese in both languages.
    Data().SetSpeakerType(1, 7);
    View().RefreshAll();
    QCOMPARE(View().Strips().TypeButton(1).text(), QStringLiteral("前右\n高频"));

    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);
    QCOMPARE(form_->messages.last(), QStringLiteral("unable to connect"));
    View().GraphRow().OnEqReset();
    QCOMPARE(form_->questions.last(), QStringLiteral("Whether the reset all EQ?"));
    View().Strips().MasterSpin().SetValue(99);  // out of range
    QCOMPARE(form_->messages.last(), QStringLiteral("2225:Data err"));

    View().ToggleLanguage();
    QCOMPARE(View().GraphRow().EqResetButton().text(), QStringLiteral("EQ复位"));
    View().GraphRow().OnEqReset();
    QCOMPARE(form_->questions.last(), QStringLiteral("是否恢复所有EQ的初始值"));
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::ChannelStripTest)
#include "ChannelStripTest.moc"
