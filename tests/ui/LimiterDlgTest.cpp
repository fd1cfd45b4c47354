// The limiter and routing dialog: one instance from button 3418, the grid's labels, a level
// through the item of its source (on the simulated processor as well), the limiter block and
// its release list, Enter along the level edits, reloading, fields wide enough for their
// texts in both languages, moving by the top band, undo steps, and closing.

#include <QFontMetrics>
#include <QTest>

#include "UiTestSupport.h"
#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/EditConversion.h"
#include "model/KTV_Data.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/TwoStateButton.h"
#include "ui/controls/xSkinButton.h"
#include "ui/dialogs/LimiterDlg.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/StripPanel.h"

namespace vantor {

using uitest::Form;

class LimiterDlgTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;

  CVantorView& View() { return form_->View(); }
  CKTV_Data& Data() { return form_->Data(); }
  LimiterDlg& Dlg() { return *View().LimiterDialog(); }
  void Open() {
    QTest::mouseClick(&View().GraphRow().LimiterButton(), Qt::LeftButton);
    QVERIFY(View().LimiterDialog() != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(View().LimiterDialog()));
  }
  void Start(std::shared_ptr<sim::SimulatedProcessor> unit = nullptr) {
    form_ = std::make_unique<Form>(unit);
    if (unit) unit->Plug();
    QVERIFY(form_->Start());
    Open();
  }
  bool Type(CNumEdit& edit, const QString& text) {
    CNumEdit& first = Dlg().LevelEdit({0, 0});
    return uitest::TypeInto(edit, text, &first == &edit ? Dlg().LevelEdit({0, 1}) : first);
  }
  int LimiterWrites() {
    int n = 0;
    for (const sim::SimFrameRecord& r : form_->unit->FrameLog()) {
      if (r.IsWrite() && r.block == rec::kBlockSystem && r.index == rec::kSysItemLimiter) ++n;
    }
    return n;
  }

 private slots:
  void cleanup() { form_.reset(); }

  void theButtonOpensOneDialogWithAReadableGrid() {
    Start();
    QVERIFY(View().GraphRow().LimiterButton().isEnabled());
    LimiterDlg* first = View().LimiterDialog();
    Open();
    QCOMPARE(View().LimiterDialog(), first);
    QCOMPARE(View().window()->findChildren<LimiterDlg*>().size(), 1);
    QVERIFY(Dlg().isWindow());

    QCOMPARE(Dlg().SourceCaption(0), QStringLiteral("输入1"));
    QCOMPARE(Dlg().SourceCaption(13), QStringLiteral("输入14"));
    QCOMPARE(Dlg().OutputCaption(0), QStringLiteral("CH1\n前左高频"));
    View().ToggleLanguage();
    QCOMPARE(Dlg().SourceCaption(8), QStringLiteral("IN9"));
    QCOMPARE(Dlg().windowTitle(), QStringLiteral("Limiter / Routing"));
    QCOMPARE(Dlg().OutputCaption(7), QStringLiteral("CH8\n超低"));
    // Ids as the dialog's template numbers them.
    QCOMPARE(Dlg().LevelSlider({2, 9}).Id(), 2435 + 14 * 2 + 9);
    QCOMPARE(Dlg().LevelEdit({7, 13}).Id(), 2582 + 111);
    QCOMPARE(Dlg().LevelSpin({0, 0}).Id(), 2730);
    QCOMPARE(Dlg().LimiterEdit(1).Id(), 2391);
    QCOMPARE(Dlg().LimiterSpin(2).Id(), 2395);
    QCOMPARE(Dlg().ReleaseList().Count(), 5);
    QCOMPARE(Dlg().ReleaseList().ItemText(4), QStringLiteral("ATK*32"));
  }

  void aSliderGivesTheRowThroughTheItemOfItsSource() {
    Start(uitest::InstantUnit());
    CKTV_OutData& out = Data().Output(2);
    out.ClearChanges();
    form_->unit->ClearFrameLog();
    BitmapSlider& slider = Dlg().LevelSlider({2, 9});
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Home);  // the top of a level slider: 100
    QCOMPARE(Dlg().LevelSpin({2, 9}).GetValue(), 100);
    QCOMPARE(Dlg().LevelEdit({2, 9}).text(), QStringLiteral("100"));
    QCOMPARE(out.MixerLevel(9), 100);
    QVERIFY(!out.Changed(OutputChange::MixerLow));
    QTRY_VERIFY_WITH_TIMEOUT(
        uitest::LastOutputItemWrite(*form_->unit, 2, rec::kItemMixerHigh).size() == rec::kItemSize,
        10000);
    const auto payload = uitest::LastOutputItemWrite(*form_->unit, 2, rec::kItemMixerHigh);
    QCOMPARE(payload[1], std::uint8_t{100});  // source 9 is the second byte of item 34
    QVERIFY(uitest::LastOutputItemWrite(*form_->unit, 2, rec::kItemMixerLow).empty());
    form_->unit->Inspect([&](const ProgramState& m) {
      for (int s = 0; s < 14; ++s) {
        QCOMPARE(int(m.Live()[rec::OutputOffset(2) + rec::kOutMixer + std::size_t(s)]),
                 out.MixerLevel(s));
      }
    });

    // A level typed in an edit moves its slider and goes the same way.
    QVERIFY(Type(Dlg().LevelEdit({4, 3}), QStringLiteral("37")));
    QCOMPARE(Dlg().LevelSlider({4, 3}).GetPos(), 37);
    QCOMPARE(Data().Output(4).MixerLevel(3), 37);
    QVERIFY(Type(Dlg().LevelEdit({4, 3}), QStringLiteral("250")));  // clamped
    QCOMPARE(Data().Output(4).MixerLevel(3), 100);
  }

  void theLimiterBlockQueuesItem64OncePerChange() {
    Start(uitest::InstantUnit());
    form_->unit->ClearFrameLog();
    QVERIFY(uitest::ChooseRow(Dlg().ReleaseList(), 4));
    QCOMPARE(View().State().LimiterBlock()[2], 4);
    QCOMPARE(Dlg().LimiterSpin(2).GetValue(), 4);
    QTRY_COMPARE_WITH_TIMEOUT(LimiterWrites(), 1, 10000);
    form_->unit->Inspect([](const ProgramState& m) { QCOMPARE(m.LimiterBlock()[2], 4); });

    QVERIFY(Type(Dlg().LimiterEdit(1), QStringLiteral("12")));  // shown as value + 5
    QCOMPARE(View().State().LimiterBlock()[1], 7);
    QCOMPARE(Dlg().LimiterEdit(1).text(), QStringLiteral("12"));
    QTRY_COMPARE_WITH_TIMEOUT(LimiterWrites(), 2, 10000);
    // The same value again sends nothing.
    QVERIFY(Type(Dlg().LimiterEdit(1), QStringLiteral("12")));
    QVERIFY(uitest::ChooseRow(Dlg().ReleaseList(), 4));
    QVERIFY(Type(Dlg().LimiterEdit(0), QStringLiteral("60")));  // clamped to 48
    QCOMPARE(View().State().LimiterBlock()[0], 48);
    QTRY_COMPARE_WITH_TIMEOUT(LimiterWrites(), 3, 10000);
    QTest::qWait(100);
    QCOMPARE(LimiterWrites(), 3);
    // The spin of byte 2 reaches code 5, which the list does not offer.
    Dlg().LimiterSpin(2).StepBy(1);
    QCOMPARE(View().State().LimiterBlock()[2], 5);
    QCOMPARE(Dlg().ReleaseList().Selection(), -1);
  }

  void enterMovesAlongTheLevelEditsAndWrapsToTheFirst() {
    Start();
    CNumEdit& last = Dlg().LevelEdit({7, 13});
    last.setFocus();
    QVERIFY(QTest::qWaitFor([&] { return last.hasFocus(); }));
    QTest::keyClick(&last, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return Dlg().LevelEdit({0, 0}).hasFocus(); }));
    QTest::keyClick(&Dlg().LevelEdit({0, 0}), Qt::Key_Enter);
    QVERIFY(Dlg().LevelEdit({0, 1}).hasFocus());
    // The typed value is committed as the focus moves on.
    QTest::keyClicks(&Dlg().LevelEdit({0, 1}), QStringLiteral("55"));
    QTest::keyClick(&Dlg().LevelEdit({0, 1}), Qt::Key_Return);
    QVERIFY(Dlg().LevelEdit({0, 2}).hasFocus());
    QCOMPARE(Data().Output(0).MixerLevel(1), 55);
  }

  void reloadsAfterAReloadOfTheFormAndAChannelRewrite() {
    Start();
    MixerRow row = Data().Output(6).Mixer();
    row[12] = 42;
    Data().Output(6).SetMixerHigh(row);
    View().State().LimiterBlock()[0] = 200;  // beyond the field, as a device might hold it
    View().RefreshAll();
    QCOMPARE(Dlg().LevelSlider({6, 12}).GetPos(), 42);
    QCOMPARE(Dlg().LimiterSpin(0).GetValue(), 48);
    QVERIFY(form_->messages.isEmpty());  // shown at the end of its range, not refused

    // A speaker-type change names the row anew.
    View().Strips().PrepareSpeakerTypeMenu(3);
    View().Strips().ChooseSpeakerType(0);
    QCOMPARE(Dlg().OutputCaption(3), QStringLiteral("CH4\n空"));

    row[12] = 9;
    Data().Output(6).SetMixerHigh(row);
    View().OutputsEdited(View().GraphRow());
    QCOMPARE(Dlg().LevelSlider({6, 12}).GetPos(), 9);
  }

  void everyFieldShowsItsWidestTextInBothLanguages() {
    Start();
    for (int pass = 0; pass < 2; ++pass) {
      const QList<CNumEdit*> edits = Dlg().NumericEdits();
      QCOMPARE(edits.size(), 112 + 3);
      for (CNumEdit* edit : edits) {
        const EditScale scale = edit->State().Scale();
        const QFontMetrics metrics(edit->font());
        int widest = 0;
        for (int code = scale.minimum; code <= scale.maximum; ++code) {
          widest = std::max(widest, metrics.horizontalAdvance(
                                        QString::fromStdString(FormatEditCode(scale, code))));
        }
        QVERIFY2(widest + 4 <= edit->contentsRect().width(),
                 qPrintable(QStringLiteral("%1 needs %2 px, has %3")
                                .arg(edit->Id())
                                .arg(widest + 4)
                                .arg(edit->contentsRect().width())));
      }
      // The captions the dialog draws fit their places too.
      const QFontMetrics captions(Dlg().font());
      for (int s = 0; s < 14; ++s) QVERIFY(captions.horizontalAdvance(Dlg().SourceCaption(s)) < 72);
      View().ToggleLanguage();
    }
  }

  void aSliderDragIsOneUndoStep() {
    Start();
    EditHistory& history = View().History();
    history.Clear();
    BitmapSlider& slider = Dlg().LevelSlider({1, 2});
    const QRect thumb = slider.ThumbRect();
    uitest::DragThrough(&slider, thumb.center(),
                        {thumb.center() + QPoint(0, -10), thumb.center() + QPoint(0, -25)});
    QTRY_COMPARE(history.UndoCount(), std::size_t{1});
    QCOMPARE(history.UndoName(), TextId::StepMixer);
    const int dragged = Data().Output(1).MixerLevel(2);
    QVERIFY(dragged > 0);
    QCOMPARE(slider.GetPos(), dragged);
    // Taken back through the form, the open dialog shows the level again.
    QVERIFY(View().Undo());
    QCOMPARE(Data().Output(1).MixerLevel(2), 0);
    QCOMPARE(slider.GetPos(), 0);

    QVERIFY(uitest::ChooseRow(Dlg().ReleaseList(), 2));
    QCOMPARE(history.UndoName(), TextId::StepLimiter);
    QVERIFY(history.Undo());
    QCOMPARE(View().State().LimiterBlock()[2], 0);
  }

  void theTopBandMovesItAndTheCloseButtonClosesIt() {
    Start();
    LimiterDlg* dlg = View().LimiterDialog();
    const QPoint before = dlg->pos();
    // Each move goes 30 right and 15 down on the screen; the dialog follows, so the point
    // under the cursor stays where it was in the dialog.
    uitest::DragThrough(dlg, QPoint(300, 10), {QPoint(330, 25), QPoint(330, 25)});
    QTRY_COMPARE(dlg->pos(), before + QPoint(60, 30));
    // Below the band the body does not move it.
    uitest::DragThrough(dlg, QPoint(5, LimiterDlg::kDragHeight + 5), {QPoint(100, 200)});
    QCOMPARE(dlg->pos(), before + QPoint(60, 30));

    QTest::mouseClick(&dlg->CloseButton(), Qt::LeftButton);
    QTRY_VERIFY(View().LimiterDialog() == nullptr);
    Open();  // and it opens again
    QVERIFY(View().LimiterDialog()->isVisible());
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::LimiterDlgTest)
#include "LimiterDlgTest.moc"
