// The link button and the link dialog in the window: the dialog's texts and choice, linking
// and unlinking with what the strips, the top bar and the output channel dialog show, the
// message without pairs, the end of linking on a reload, the partner's EQ reset, the undo
// step, and a link against the simulated processor.

#include <QLabel>
#include <QTest>

#include "UiTestSupport.h"
#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/KTV_Data.h"
#include "tuning/ChannelSelection.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/DropBtn.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/TwoStateButton.h"
#include "ui/dialogs/CH_Link_Dlg.h"
#include "ui/dialogs/DisplayDlg.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/LinkPanel.h"
#include "ui/panels/OutputDlg.h"
#include "ui/panels/StripPanel.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

using uitest::Form;

class ChannelLinkWidgetTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;
  std::optional<LinkSide> answer_ = LinkSide::kRight;
  int asked_ = 0;

  CVantorView& View() { return form_->View(); }
  CKTV_Data& Data() { return form_->Data(); }
  LinkPanel& Link() { return View().Link(); }
  void Start(std::shared_ptr<sim::SimulatedProcessor> unit = nullptr) {
    form_ = std::make_unique<Form>(unit);
    if (unit) unit->Plug();
    QVERIFY(form_->Start());
    Link().SetChooser([this] {
      ++asked_;
      return answer_;
    });
  }
  void SetTypes(std::initializer_list<int> types) {
    int o = 0;
    for (int t : types) Data().SetSpeakerType(o++, t);
    for (; o < rec::kOutputCount; ++o) Data().SetSpeakerType(o, 0);
  }
  void Press() { QTest::mouseClick(&Link().LinkButton(), Qt::LeftButton); }
  bool TypesEnabled() {
    bool any = false;
    bool all = true;
    for (int o = 0; o < rec::kOutputCount; ++o) {
      const bool on = View().Strips().TypeButton(o).isEnabled();
      any = any || on;
      all = all && on;
    }
    if (any != all) qWarning("some speaker-type buttons enabled, some not");
    return all;
  }

 private slots:
  void init() {
    answer_ = LinkSide::kRight;
    asked_ = 0;
  }
  void cleanup() { form_.reset(); }

  void theDialogHasItsTextsInBothLanguagesAndAPairOfChoices() {
    CH_Link_Dlg zh(true, LinkGroupKind::kFront);
    QCOMPARE(zh.windowTitle(), QStringLiteral("声场联调"));
    QCOMPARE(zh.Question().text(), QStringLiteral("Which channel data should be applied? "));
    QCOMPARE(zh.LeftButton().text(), QStringLiteral("左侧数据"));
    CH_Link_Dlg front(false, LinkGroupKind::kFront);
    CH_Link_Dlg rear(false, LinkGroupKind::kRear);
    CH_Link_Dlg sub(false, LinkGroupKind::kSub);
    QCOMPARE(front.windowTitle(), QStringLiteral("Grouping of Front channel"));
    QCOMPARE(rear.windowTitle(), QStringLiteral("Grouping of Rear channel"));
    QCOMPARE(sub.windowTitle(), QStringLiteral("Grouping of Sub channel"));
    QCOMPARE(front.Question().text(), QStringLiteral("Which channel data should be applied? "));
    QCOMPARE(front.RightButton().text(), QStringLiteral("Right side's data"));
    QCOMPARE(front.OkButton().Id(), 2418);
    QCOMPARE(front.CancelButton().Id(), 2419);

    // Left at first; the two buttons show the choice as a pressed/released pair.
    front.show();
    QCOMPARE(front.Choice(), LinkSide::kLeft);
    QCOMPARE(front.LeftButton().State(), 1);
    QTest::mouseClick(&front.RightButton(), Qt::LeftButton);
    QCOMPARE(front.Choice(), LinkSide::kRight);
    QCOMPARE(front.LeftButton().State(), 0);
    QCOMPARE(front.RightButton().State(), 1);
    QTest::mouseClick(&front.OkButton(), Qt::LeftButton);
    QCOMPARE(front.result(), int(QDialog::Accepted));
    sub.show();
    QTest::mouseClick(&sub.CancelButton(), Qt::LeftButton);
    QCOMPARE(sub.result(), int(QDialog::Rejected));
  }

  void linkingLocksTheTypesAndSelectsThePairAndUnlinkingGivesThemBack() {
    Start();
    SetTypes({0, 0, 1, 0, 0, 7});
    Data().Output(5).SetGainCode(44);
    Data().Output(5).HighPass().SetFrequency(125, false);
    View().RefreshAll();
    View().SelectChannel(2);
    QCOMPARE(Link().LinkButton().State(), 0);
    QVERIFY(View().TopBar().SpeakerModeSelector().isVisible());

    Press();
    QCOMPARE(asked_, 1);
    QCOMPARE(Link().LinkButton().State(), 1);
    QVERIFY(!TypesEnabled());
    QVERIFY(!View().TopBar().SpeakerModeSelector().isVisible());
    // Output 2 (front left high) took output 5's data; both select buttons are pressed.
    QCOMPARE(Data().Output(2).GainCode(), 44);
    QCOMPARE(View().Strips().GainSlider(2).GetPos(), 44);
    QCOMPARE(View().OutputDialog().CrossoverSpin(CrossoverSide::kHighPass).GetValue(), 125);
    QCOMPARE(View().Strips().SelectButton(2).State(), 1);
    QCOMPARE(View().Strips().SelectButton(5).State(), 1);
    QCOMPARE(View().Strips().SelectButton(1).State(), 0);
    // A gain edit on one strip moves its partner's.
    View().Strips().GainSlider(5).SetPos(30);
    View().Strips().OnGainSlider(5);
    QCOMPARE(View().Strips().GainSlider(2).GetPos(), 30);
    // Another output: only its own button; back on the pair: both again.
    View().SelectChannel(0);
    QCOMPARE(View().Strips().SelectButton(2).State(), 0);
    QCOMPARE(View().Strips().SelectButton(5).State(), 0);
    View().SelectChannel(5);
    QCOMPARE(View().Strips().SelectButton(2).State(), 1);

    Press();  // unlink: nothing asked
    QCOMPARE(asked_, 1);
    QCOMPARE(Link().LinkButton().State(), 0);
    QVERIFY(TypesEnabled());
    QVERIFY(View().TopBar().SpeakerModeSelector().isVisible());
    QCOMPARE(View().Strips().SelectButton(2).State(), 0);
    QCOMPARE(View().Strips().SelectButton(5).State(), 1);
    QVERIFY(!Data().Links().IsLinked(2));
    QCOMPARE(Data().Output(2).GainCode(), 30);  // the values stay
  }

  void cancelOrNoPairLeavesTheButtonReleased() {
    Start();
    answer_.reset();
    Press();
    QCOMPARE(asked_, 1);
    QCOMPARE(Link().LinkButton().State(), 0);
    QVERIFY(!View().Selection().LinkingActive());
    QVERIFY(form_->messages.isEmpty());

    answer_ = LinkSide::kLeft;
    SetTypes({1, 2, 3, 13, 22});
    View().RefreshAll();
    const int gain = Data().Output(1).GainCode();
    Press();
    QCOMPARE(form_->messages, QStringList{QStringLiteral("无通道可以联调")});
    View().ToggleLanguage();
    Press();
    QCOMPARE(form_->messages.last(), QStringLiteral("无通道可以联调"));
    QCOMPARE(Link().LinkButton().State(), 0);
    QVERIFY(TypesEnabled());
    QCOMPARE(Data().Output(1).GainCode(), gain);
    QCOMPARE(View().History().UndoCount(), std::size_t{0});
  }

  void aReloadEndsLinking() {
    Start();
    Press();  // the start-up types hold three pairs
    QVERIFY(View().Selection().LinkingActive());
    QVERIFY(Data().Links().AreLinked(0, 1));
    // A speaker-type change reloads the form.
    View().Strips().PrepareSpeakerTypeMenu(6);
    View().Strips().ChooseSpeakerType(0);
    QCOMPARE(Link().LinkButton().State(), 0);
    QVERIFY(TypesEnabled());
    for (int o = 0; o < rec::kOutputCount; ++o) QVERIFY(!Data().Links().IsLinked(o));
    QCOMPARE(View().Strips().SelectButton(0).State(), 0);
    QCOMPARE(View().Strips().SelectButton(1).State(), 0);
  }

  void theEqResetOfTheGraphRowResetsThePartnerWhileLinked() {
    Start();
    SetTypes({22, 0, 0, 23});
    View().RefreshAll();
    Press();
    View().SelectChannel(3);
    Data().Output(0).Filter(6).SetGainIndex(260);
    Data().Output(3).Filter(6).SetGainIndex(260);
    Data().Output(2).Filter(6).SetGainIndex(260);
    View().GraphRow().OnEqReset();
    QCOMPARE(Data().Output(3).Filter(6).GainIndex(), 200);
    QCOMPARE(Data().Output(0).Filter(6).GainIndex(), 200);
    QCOMPARE(Data().Output(2).Filter(6).GainIndex(), 260);
  }

  void theLinkCopyIsOneUndoStep() {
    Start();
    SetTypes({1, 7});
    Data().Output(0).SetGainCode(12);
    Data().Output(1).SetGainCode(50);
    View().RefreshAll();
    View().History().Clear();
    Press();  // output 0 takes output 1's data
    QCOMPARE(Data().Output(0).GainCode(), 50);
    QCOMPARE(View().History().UndoCount(), std::size_t{1});
    QCOMPARE(View().History().UndoName(), TextId::StepLinkCopy);
    QVERIFY(View().Undo());
    QCOMPARE(Data().Output(0).GainCode(), 12);
    // The pair holds different data again: linking ended with the step.
    QVERIFY(!View().Selection().LinkingActive());
    QCOMPARE(Link().LinkButton().State(), 0);
    QVERIFY(View().Redo());
    QCOMPARE(Data().Output(0).GainCode(), 50);
    // Equal again, and linked again: an edit on one side reaches the other.
    QVERIFY(View().Selection().LinkingActive());
    QCOMPARE(Link().LinkButton().State(), 1);
    QCOMPARE(Data().Links().Group(0), Data().Links().Group(1));
  }

  void theProcessorReceivesTheBlocksAndOutputOneEndsTheTransferWindow() {
    Start(uitest::InstantUnit());
    QCOMPARE(View().Controller().Phase(), ConnectionPhase::kLive);
    form_->unit->ClearFrameLog();
    answer_ = LinkSide::kLeft;  // outputs 1, 3 and 5 take their left partners' data
    Link().OnLinkButton();
    QCOMPARE(Link().LinkButton().State(), 1);
    QVERIFY(View().TransferWindow().isVisible());
    // The block of output 1 ends the busy state; the window goes when it was answered.
    QTRY_VERIFY_WITH_TIMEOUT(!View().State().busy.load(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!View().TransferWindow().isVisible(), 10000);
    std::vector<std::uint8_t> model(rec::kOutputRecordSize);
    for (int o : {1, 3, 5}) {
      QTRY_VERIFY_WITH_TIMEOUT(
          uitest::LastOutputItemWrite(*form_->unit, o, rec::kItemSettings).size() == rec::kItemSize,
          10000);
      Data().Output(o).PackInto(model);
      form_->unit->Inspect([&](const ProgramState& m) {
        const auto live = std::span<const std::uint8_t>(m.Live()).subspan(rec::OutputOffset(o),
                                                                          rec::kOutputBlockSize);
        QVERIFY(std::equal(live.begin(), live.end(), model.begin()));
      });
    }
    // A read-back ends linking.
    QVERIFY(View().Controller().StartReadBack(0, true));
    QTRY_VERIFY_WITH_TIMEOUT(View().Controller().Phase() == ConnectionPhase::kLive &&
                                 !View().TransferWindow().isVisible(),
                             10000);
    QCOMPARE(Link().LinkButton().State(), 0);
    QVERIFY(!Data().Links().IsLinked(1));
    QVERIFY(TypesEnabled());
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::ChannelLinkWidgetTest)
#include "ChannelLinkWidgetTest.moc"
