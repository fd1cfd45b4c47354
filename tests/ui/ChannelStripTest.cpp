// The main form without a processor: channel selection, the strip controls, the master
// strip, speaker types and positions, the EQ reset question, the input source and the
// language. Every control acts on the model; nothing is queued.

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "UiTestSupport.h"
#include "link/ConnectionController.h"
#include "model/KTV_Data.h"
#include "ui/app/DisplayDlg.h"
#include "ui/app/MsgBox.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/DropBtn.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/panels/CarPanel.h"
#include "ui/panels/SpeakerMenu.h"
#include "ui/panels/StripPanel.h"

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
    QTest::mouseClick(&View().SelectButton(2), Qt::LeftButton);
    QCOMPARE(View().CurrentChannel(), 2);
    QCOMPARE(View().Graph().Model().OutputIndex(), 2);
    QCOMPARE(View().Strips().LabelShown(2), true);
    QCOMPARE(View().Strips().LabelShown(0), false);
    QCOMPARE(View().Strip(0).select->State(), 0);

    const Point c = Data().Output(2).Filter(1).HandleRect().Center();
    View().Graph().Model().MouseMove(c);
    CFilter* hovered = View().Graph().Model().CurrentFilter();
    QVERIFY(hovered != nullptr);
    QTest::mouseClick(&View().SelectButton(2), Qt::LeftButton);
    QCOMPARE(View().Graph().Model().CurrentFilter(), hovered);
    QCOMPARE(View().SelectButton(2).State(), 1);
  }

  void theCurrentChannelsCurveCannotBeSwitchedOff() {
    ChannelStripControls& current = View().Strip(0);
    QCOMPARE(current.curve->State(), 1);
    QTest::mouseClick(current.curve, Qt::LeftButton);
    QCOMPARE(current.curve->State(), 1);
    QVERIFY(!View().ShowCurve(0));
    QVERIFY(View().Strips().LabelShown(0));

    // Another output's curve goes on and off behind the current one, its label with it.
    ChannelStripControls& other = View().Strip(4);
    QCOMPARE(other.curve->State(), 0);
    QTest::mouseClick(other.curve, Qt::LeftButton);
    QVERIFY(View().ShowCurve(4));
    QCOMPARE(other.curve->State(), 1);
    QVERIFY(View().Strips().LabelShown(4));
    QVERIFY(View().Graph().Model().ShowCurve(4));
    QTest::mouseClick(other.curve, Qt::LeftButton);
    QVERIFY(!View().Strips().LabelShown(4));
    QVERIFY(!View().Graph().Model().ShowCurve(4));

    // Leaving a channel shows its own flag again.
    View().OnSelectButton(4);
    QCOMPARE(View().Strip(0).curve->State(), 0);
    QVERIFY(!View().Strips().LabelShown(0));
  }

  void switchesAndGainActOnTheModelOnly() {
    ChannelStripControls& s = View().Strip(3);
    const int on = Data().Output(3).OutputOn();
    QTest::mouseClick(s.on, Qt::LeftButton);
    QCOMPARE(Data().Output(3).OutputOn(), on == 0 ? 1 : 0);
    QCOMPARE(s.on->State(), Data().Output(3).OutputOn());
    QTest::mouseClick(s.phase, Qt::LeftButton);
    QCOMPARE(Data().Output(3).Phase(), 1);
    QCOMPARE(s.phase->State(), 1);

    s.gainSlider->SetPos(42);
    emit s.gainSlider->moved(s.gainSlider->Id(), s.gainSlider->StoredPos());
    QCOMPARE(Data().Output(3).GainCode(), 42);
    QCOMPARE(s.gainEdit->text(), QStringLiteral("-18dB"));

    s.gainEdit->setFocus();
    QTRY_VERIFY(s.gainEdit->hasFocus());
    s.gainEdit->selectAll();
    QTest::keyClicks(s.gainEdit, QStringLiteral("-6"));
    View().Master().edit->setFocus();
    QTRY_VERIFY(!s.gainEdit->hasFocus());
    QCOMPARE(Data().Output(3).GainCode(), 54);
    QCOMPARE(s.gainSlider->GetPos(), 54);
    QCOMPARE(Queued(), 0);
    QVERIFY(!Data().Output(3).Changed(OutputChange::Settings));  // not live: nothing pending
  }

  void aLinkedOutputsGainControlsFollow() {
    Data().Links().SetGroup(5, 4);
    ChannelStripControls& s = View().Strip(4);
    s.gainSlider->SetPos(30);
    View().OnGainSlider(4);
    QCOMPARE(Data().Output(5).GainCode(), 30);
    QCOMPARE(View().Strip(5).gainSlider->GetPos(), 30);
    QCOMPARE(View().Strip(5).gainEdit->Value(), 30);
    QCOMPARE(View().Strip(6).gainSlider->GetPos(), Data().Output(6).GainCode());
  }

  void masterSliderWhileMasterIsOffSwitchesItOn() {
    MasterStripControls& m = View().Master();
    QTest::mouseClick(m.on, Qt::LeftButton);
    if (Data().MasterOn() != 0) QTest::mouseClick(m.on, Qt::LeftButton);
    QCOMPARE(Data().MasterOn(), 0);
    QCOMPARE(m.on->State(), 0);

    QVERIFY(Data().MasterVolume() != 0);
    QTest::keyClick(m.slider, Qt::Key_End);  // to the bottom: the lowest volume
    QCOMPARE(Data().MasterVolume(), 0);
    QCOMPARE(Data().MasterOn(), 1);
    QCOMPARE(m.on->State(), 1);
    QCOMPARE(m.edit->text(), QStringLiteral("-60dB"));

    QVERIFY(m.spin->SetValue(63));
    emit m.spin->changeNotice(m.spin->Id());
    QCOMPARE(Data().MasterVolume(), 63);
    QCOMPARE(m.slider->GetPos(), 63);
    QCOMPARE(Queued(), 0);
  }

  void eqResetAsksFirstAndCancelLeavesEverything() {
    View().OnSelectButton(6);
    CFilter& band = Data().Output(6).Filter(12);
    band.SetGainIndex(320);
    form_->answer = false;
    QTest::mouseClick(&View().EqResetButton(), Qt::LeftButton);
    QCOMPARE(form_->questions, QStringList{QStringLiteral("是否恢复所有EQ的初始值")});
    QCOMPARE(band.GainIndex(), 320);

    form_->answer = true;
    View().OnEqReset();
    QCOMPARE(band.GainIndex(), 200);
    QCOMPARE(Queued(), 0);
  }

  void aFrontFullRangeSpeakerClosesTheFrontEntriesOfTheMenu() {
    NoSpeakers();
    QCOMPARE(Data().SetSpeakerType(2, 6), RoutingResult::Stored);
    View().RefreshAll();
    QMenu& menu = View().PrepareSpeakerTypeMenu(0);
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
    QCOMPARE(View().Strip(0).speakerType->text(), QStringLiteral("前右\n全频"));
    QCOMPARE(Data().Output(0).HighPass().Frequency(), hp);
    QCOMPARE(Queued(), 0);
  }

  void theTypeButtonOfAnotherOutputSelectsItFirst() {
    // At start-up output 7 is the subwoofer: the entry is taken.
    QCOMPARE(Data().SpeakerType(7), 24);
    QMenu& menu = View().PrepareSpeakerTypeMenu(5);
    QCOMPARE(View().CurrentChannel(), 5);
    QVERIFY(!SpeakerMenuAction(menu, 24)->isEnabled());
    SpeakerMenuAction(menu, 24)->trigger();
    QCOMPARE(Data().SpeakerType(5), 18);
    SpeakerMenuAction(menu, 0)->trigger();
    QCOMPARE(Data().SpeakerType(5), 0);
    QCOMPARE(View().Strip(5).speakerType->text(), QStringLiteral("空"));
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
    View().OnPositionButton(2700);
    QCOMPARE(View().CurrentChannel(), 3);
    QCOMPARE(car.PositionButton(2700)->State(), 1);
  }

  void theSourceListStoresTheChoiceAndFollowsTheDevice() {
    ComBoxBtn& list = View().SourceList();
    QCOMPARE(list.Count(), 6);
    View().OnSourceSelected(3);
    QCOMPARE(Data().InputSource(), 3);
    View().ShowInputSource(5);
    QCOMPARE(list.Selection(), 5);
    QVERIFY(!View().SpeakerModeSelector().isEnabled());
    QCOMPARE(Queued(), 0);
  }

  void unfinishedDialogsAreShownDisabled() {
    QVERIFY(!View().LimiterButton().isEnabled());
    const auto presets = View().PresetMenu().actions();
    QCOMPARE(presets.size(), 2);
    for (QAction* a : presets) QVERIFY(!a->isEnabled());
    QVERIFY(!View().SystemMenu().actions().at(0)->isEnabled());
    QVERIFY(View().SystemMenu().actions().at(1)->isEnabled());
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
    QTest::mouseClick(&View().ConnectButton(), Qt::LeftButton);  // no device here
    QCOMPARE(form_->messages, QStringList{QStringLiteral("无法连接设备")});
    QCOMPARE(View().StatusWindow().objectName(),
             QStringLiteral("{62BAB41D-B6BB-402C-89EF-5B86830DF68C}"));
    QCOMPARE(View().ConnectButton().text(), QStringLiteral("连接设备"));
    QCOMPARE(View().SourceList().ItemText(1), QStringLiteral("低电平"));

    View().OnSourceSelected(2);
    View().SystemMenu().actions().at(1)->trigger();  // the language entry
    QVERIFY(!form_->state.chinese.load());
    QCOMPARE(View().ConnectButton().text(), QStringLiteral("Connect"));
    QCOMPARE(View().PresetButton().text(), QStringLiteral("Presets"));
    QCOMPARE(View().EqResetButton().text(), QStringLiteral("EQ Reset"));
    QCOMPARE(View().LimiterButton().text(), QStringLiteral("Limiter / Routing"));
    QCOMPARE(View().SourceList().Items(),
             (QStringList{"High level", "RCA", "Bluetooth", "Optical", "Coaxial", "Player"}));
    QCOMPARE(View().SourceList().Selection(), 2);
    QCOMPARE(View().Master().caption->text(), QStringLiteral("Master"));
    for (int i = 0; i < 8; ++i) {
      const ChannelStripControls& s = View().Strip(i);
      QCOMPARE(s.on->text(), s.on->State() != 0 ? QStringLiteral("ON") : QStringLiteral("OFF"));
      QCOMPARE(s.phase->text(), QStringLiteral("POL"));
      QCOMPARE(s.curve->text(), QStringLiteral("Curve"));
    }
    const auto menu = View().SystemMenu().actions();
    QCOMPARE(menu[0]->text(), QStringLiteral("Firmware Update"));
    QCOMPARE(menu[1]->text(), QStringLiteral("Chinese"));
    QCOMPARE(menu[2]->text(), QStringLiteral("About"));
    QCOMPARE(View().PresetMenu().actions()[0]->text(), QStringLiteral("Open"));
    QCOMPARE(View().PresetMenu().actions()[1]->text(), QStringLiteral("Save"));
    // Speaker types are shown in Chinese in both languages.
    Data().SetSpeakerType(1, 7);
    View().RefreshAll();
    QCOMPARE(View().Strip(1).speakerType->text(), QStringLiteral("前右\n高频"));

    QTest::mouseClick(&View().ConnectButton(), Qt::LeftButton);
    QCOMPARE(form_->messages.last(), QStringLiteral("unable to connect"));
    View().OnEqReset();
    QCOMPARE(form_->questions.last(), QStringLiteral("Whether the reset all EQ?"));
    View().Master().spin->SetValue(99);  // out of range
    QCOMPARE(form_->messages.last(), QStringLiteral("2225:Data err"));

    View().ToggleLanguage();
    QCOMPARE(View().EqResetButton().text(), QStringLiteral("EQ复位"));
    View().OnEqReset();
    QCOMPARE(form_->questions.last(), QStringLiteral("是否恢复所有EQ的初始值"));
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::ChannelStripTest)
#include "ChannelStripTest.moc"
