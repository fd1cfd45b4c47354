// The output channel dialog in the form's bottom band: the band table following the channel
// selection, band off at 0 dB, linked outputs, the crossover rules, the EQ mode and reset
// questions, all-bypass with the form's button 2388, the keyboard travel, the graph and the
// table in step, undo steps, readable fields in both languages, and edits reaching the
// simulated processor.

#include <QCheckBox>
#include <QFontMetrics>
#include <QTest>
#include <span>
#include <vector>

#include "UiTestSupport.h"
#include "base/LittleEndian.h"
#include "dsp/KTVEQ.h"
#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/DataDefine.h"
#include "model/EditConversion.h"
#include "model/KTV_Data.h"
#include "tuning/ResponseGraphModel.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/panels/CrossoverPanel.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/OutputDlg.h"
#include "ui/panels/StripPanel.h"

namespace vantor {

using uitest::Form;

namespace {

constexpr CrossoverSide kHp = CrossoverSide::kHighPass;
constexpr CrossoverSide kLp = CrossoverSide::kLowPass;

// Writes to one output the unit received, in order.
std::vector<sim::SimFrameRecord> OutputWrites(const sim::SimulatedProcessor& unit, int channel) {
  std::vector<sim::SimFrameRecord> out;
  for (const sim::SimFrameRecord& r : unit.FrameLog()) {
    if (r.IsWrite() && r.block == rec::kBlockOutput && r.index == channel) out.push_back(r);
  }
  return out;
}

bool IsItem31(const sim::SimFrameRecord& r, int on) {
  return r.item == rec::kItemSettings && r.payload.size() == rec::kItemSize && r.payload[0] == on;
}

}  // namespace

class OutputDlgTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;

  CVantorView& View() { return form_->View(); }
  OutputDlg& Dlg() { return View().OutputDialog(); }
  CKTV_Data& Data() { return form_->Data(); }
  CFilter& Band(int c, int b) { return Data().Output(c).Filter(b); }
  QWidget& Elsewhere() { return View().Strips().MasterEdit(); }
  // Makes the output current; the panels reload also when it already was.
  void Select(int channel) { View().SelectChannel(channel); }
  bool Type(CNumEdit& edit, const QString& text) {
    return uitest::TypeInto(edit, text, Elsewhere());
  }
  void Connect() {
    form_ = std::make_unique<Form>(uitest::InstantUnit());
    QVERIFY(form_->StartLive());
  }

 private slots:
  void init() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
  }
  void cleanup() { form_.reset(); }

  void theTableShowsTheSelectedOutput() {
    Band(3, 4).SetFrequency(47, false);
    Band(3, 4).SetBandwidthIndex(0);  // held as 0.09 octave, index 4
    Band(3, 4).SetGainIndex(345);
    Data().Output(3).SetGainCode(48);
    Data().Output(3).SetThresholdCode(250);
    Data().Output(3).SetAttackCode(3);
    Data().Output(3).SetReleaseCode(1);
    Data().Output(3).HighPass().SetSlope(6, false);
    Select(3);
    QCOMPARE(Dlg().BandEdit(BandRow::kFrequency, 4).text(), QStringLiteral("47"));
    QCOMPARE(Dlg().BandEdit(BandRow::kBandwidth, 4).text(), QStringLiteral("16.052"));
    QCOMPARE(Dlg().BandEdit(BandRow::kGain, 4).text(), QStringLiteral("14.5"));
    QCOMPARE(Dlg().GainSlider(4).GetPos(), 345);
    QCOMPARE(Dlg().BandOffButton(4).State(), 0);
    QCOMPARE(Dlg().BandOffButton(5).State(), 1);  // 0 dB: off
    QCOMPARE(Dlg().OutputGainEdit().text(), QStringLiteral("-12dB"));
    QCOMPARE(Dlg().ThresholdEdit().text(), QStringLiteral("-5.0dBu"));
    QCOMPARE(Dlg().AttackEdit().text(), QStringLiteral("0.6ms"));
    QCOMPARE(Dlg().ReleaseList().ItemText(Dlg().ReleaseList().Selection()),
             QStringLiteral("Atk × 4"));
    QCOMPARE(Dlg().SlopeList(kHp).Count(), 7);
    QCOMPARE(Dlg().SlopeList(kHp).ItemText(Dlg().SlopeList(kHp).Selection()),
             QStringLiteral("48dB/Oct"));
    QCOMPARE(Dlg().SelectedBand(), -1);
    // Another output shows its own values.
    Select(0);
    QCOMPARE(Dlg().BandEdit(BandRow::kFrequency, 4).text(), QStringLiteral("51"));
    QCOMPARE(Dlg().BandOffButton(4).State(), 1);
  }

  void gainIndex200SwitchesTheBandOff() {
    Select(2);
    QVERIFY(Type(Dlg().BandEdit(BandRow::kGain, 7), QStringLiteral("4.5")));
    QCOMPARE(Band(2, 7).GainIndex(), 245);
    QCOMPARE(Dlg().BandOffButton(7).State(), 0);
    QCOMPARE(Dlg().GainSlider(7).GetPos(), 245);
    QCOMPARE(Dlg().EqModeButton().State(), 0);
    QCOMPARE(View().GraphRow().EqBypassButton().State(), 0);
    // Band 7 is now the selected one, its gain edit the active one.
    QCOMPARE(Dlg().SelectedBand(), 7);
    QCOMPARE(Dlg().MarkerColourOf(7), OutputDlg::SelectedMarkerColour());
    QCOMPARE(Dlg().MarkerColourOf(6), OutputDlg::MarkerColour());
    QCOMPARE(Dlg().ActiveEdit(), &Dlg().BandEdit(BandRow::kGain, 7));
    QCOMPARE(View().GraphRow().Graph().Model().Highlight(), 7);

    QVERIFY(Type(Dlg().BandEdit(BandRow::kGain, 7), QStringLiteral("0")));
    QCOMPARE(Band(2, 7).EffectivelyOff(), 1);
    QCOMPARE(Dlg().BandOffButton(7).State(), 1);
    QCOMPARE(Dlg().BandEdit(BandRow::kGain, 7).text(), QStringLiteral("0.0"));
    QCOMPARE(Dlg().GainSlider(7).GetPos(), kGainIndexFlat);
    // Every band flat again: all-bypass shows on, here and on the form.
    QCOMPARE(Dlg().AllBypassButton().State(), 1);
    QVERIFY(Dlg().AllBypassCheck().isChecked());
    QCOMPARE(View().GraphRow().EqBypassButton().State(), 1);
  }

  void theBandOffButtonSwitchesABandWithAGain() {
    Band(1, 3).SetGainIndex(150);
    Select(1);
    QTest::mouseClick(&Dlg().BandOffButton(3), Qt::LeftButton);
    QCOMPARE(Band(1, 3).EffectivelyOff(), 1);
    QCOMPARE(Dlg().BandEdit(BandRow::kGain, 3).text(), QStringLiteral("0.0"));
    QTest::mouseClick(&Dlg().BandOffButton(3), Qt::LeftButton);
    QCOMPARE(Band(1, 3).EffectivelyOff(), 0);
    QCOMPARE(Dlg().BandEdit(BandRow::kGain, 3).text(), QStringLiteral("-5.0"));
    QCOMPARE(Dlg().BandOffButton(3).State(), 0);
  }

  void linkedOutputsFollowTheBandAndTheHighPassFamily() {
    Data().Links().SetGroup(1, 0);
    Select(0);
    QVERIFY(Type(Dlg().BandEdit(BandRow::kFrequency, 10), QStringLiteral("190")));
    QCOMPARE(Band(0, 10).Frequency(), 190);
    QCOMPARE(Band(1, 10).Frequency(), 190);
    QCOMPARE(Band(2, 10).Frequency(), 201);
    QVERIFY(uitest::ChooseRow(Dlg().FamilyList(kHp), kBessel));
    QCOMPARE(Data().Output(1).HighPass().Family(), static_cast<int>(kBessel));
    // The crossover panel shows the new family of the output it shares with the dialog.
    QCOMPARE(View().Crossover().FamilyList(kHp).Selection(), static_cast<int>(kBessel));

    // A change made on output 5 stays there.
    Data().Links().SetGroup(5, 4);
    Select(5);
    QVERIFY(uitest::ChooseRow(Dlg().FamilyList(kHp), kLinkwitzRiley));
    QCOMPARE(Data().Output(5).HighPass().Family(), static_cast<int>(kLinkwitzRiley));
    QVERIFY(Data().Output(4).HighPass().Family() != kLinkwitzRiley);
  }

  void highPassLimitsOfOutputFiveAndOfTheLowPass() {
    Select(5);
    QVERIFY(Type(Dlg().CrossoverEdit(kHp), QStringLiteral("150")));
    QCOMPARE(Data().Output(5).HighPass().Frequency(), 100);
    QCOMPARE(Dlg().CrossoverEdit(kHp).text(), QStringLiteral("100Hz"));
    QCOMPARE(View().GraphRow().Graph().Model().Highlight(), kGraphHighPassIndex);

    Select(0);
    QVERIFY(Type(Dlg().CrossoverEdit(kLp), QStringLiteral("80")));
    QCOMPARE(Data().Output(0).LowPass().Frequency(), 80);
    QVERIFY(Type(Dlg().CrossoverEdit(kHp), QStringLiteral("150")));
    QCOMPARE(Data().Output(0).HighPass().Frequency(), 80);
    QCOMPARE(Dlg().CrossoverEdit(kHp).text(), QStringLiteral("80Hz"));
    QCOMPARE(View().Crossover().FrequencySpin(kHp).GetValue(), 80);
  }

  void graphicModeAfterOkResetsAndDisablesTheTable() {
    Band(6, 9).SetGainIndex(300);
    Band(6, 9).SetFrequency(170, true);
    Band(6, 12).SetBandwidthIndex(70);
    Select(6);

    form_->answer = false;
    QTest::mouseClick(&Dlg().EqModeButton(), Qt::LeftButton);
    QCOMPARE(form_->questions.last(), QStringLiteral("是否把参量均衡模式转换为图示均衡模式?"));
    QCOMPARE(Data().Output(6).EqMode(), 0);
    QCOMPARE(Band(6, 9).GainIndex(), 300);
    QVERIFY(Dlg().BandEdit(BandRow::kFrequency, 9).isEnabled());

    form_->answer = true;
    QTest::mouseClick(&Dlg().EqModeButton(), Qt::LeftButton);
    QCOMPARE(Data().Output(6).EqMode(), 1);
    QCOMPARE(Dlg().EqModeButton().State(), 1);
    int disabled = 0;
    for (int b = 0; b < kOutputBandCount; ++b) {
      for (BandRow row : {BandRow::kFrequency, BandRow::kBandwidth}) {
        if (!Dlg().BandEdit(row, b).isEnabled()) ++disabled;
      }
      QVERIFY(Dlg().BandEdit(BandRow::kGain, b).isEnabled());
      QCOMPARE(Band(6, b).Frequency(), kOutputBandFrequencies[static_cast<std::size_t>(b)]);
      QCOMPARE(Band(6, b).BandwidthIndex(), 15);
      QCOMPARE(Band(6, b).GainIndex(), kGainIndexFlat);
    }
    QCOMPARE(disabled, 62);
    QCOMPARE(Dlg().BandEdit(BandRow::kFrequency, 9).text(), QStringLiteral("160"));

    // Back to parametric: the other question, in English too.
    View().ToggleLanguage();
    form_->answer = false;
    QTest::mouseClick(&Dlg().EqModeButton(), Qt::LeftButton);
    QCOMPARE(form_->questions.last(), QStringLiteral("Whether the GEQMode convert to PEQMode?"));
    QCOMPARE(Data().Output(6).EqMode(), 1);
  }

  void cancellingTheResetChangesNothing() {
    Select(4);
    Band(4, 2).SetGainIndex(120);
    form_->answer = false;
    QTest::mouseClick(&Dlg().EqResetButton(), Qt::LeftButton);
    QCOMPARE(form_->questions.last(), QStringLiteral("是否恢复所有EQ的初始值"));
    QCOMPARE(Band(4, 2).GainIndex(), 120);
    QCOMPARE(View().History().UndoCount(), std::size_t{0});
    form_->answer = true;
    QTest::mouseClick(&Dlg().EqResetButton(), Qt::LeftButton);
    QCOMPARE(Band(4, 2).GainIndex(), kGainIndexFlat);
    QCOMPARE(Band(4, 2).Frequency(), 32);  // the builder's third-octave frequency
    QCOMPARE(View().History().UndoCount(), std::size_t{1});
  }

  void enterLeftAndRightTravelTheTable() {
    Select(0);
    CNumEdit& last = Dlg().BandEdit(BandRow::kGain, 30);
    last.setFocus();
    QTRY_VERIFY(last.hasFocus());
    QTest::keyClick(&last, Qt::Key_Return);
    QTRY_VERIFY(Dlg().BandEdit(BandRow::kFrequency, 0).hasFocus());
    QTest::keyClick(&Dlg().BandEdit(BandRow::kFrequency, 0), Qt::Key_Enter);
    QTRY_VERIFY(Dlg().BandEdit(BandRow::kFrequency, 1).hasFocus());

    Dlg().GainSlider(0).TakeFocus();
    QTRY_VERIFY(Dlg().GainSlider(0).hasFocus());
    const int before = Dlg().GainSlider(0).GetPos();
    QTest::keyClick(&Dlg().GainSlider(0), Qt::Key_Left);
    QTRY_VERIFY(Dlg().GainSlider(30).hasFocus());
    QCOMPARE(Dlg().GainSlider(0).GetPos(), before);  // the key moved the focus, not a value
    QTest::keyClick(&Dlg().GainSlider(30), Qt::Key_Right);
    QTRY_VERIFY(Dlg().GainSlider(0).hasFocus());

    // Esc (and Enter outside the table) go to the dialog, which stays.
    QTest::keyClick(&Dlg().GainSlider(0), Qt::Key_Escape);
    QTRY_VERIFY(Dlg().hasFocus());
    QVERIFY(Dlg().isVisible());
    Dlg().ThresholdEdit().setFocus();
    QTRY_VERIFY(Dlg().ThresholdEdit().hasFocus());
    QTest::keyClick(&Dlg().ThresholdEdit(), Qt::Key_Return);
    QTRY_VERIFY(Dlg().hasFocus());
  }

  void theWheelStepsAFrequencyAlongTheGrid() {
    Select(3);
    CNumEdit& edit = Dlg().BandEdit(BandRow::kFrequency, 17);  // 1001 Hz
    QWheelEvent up(QPointF(5, 5), edit.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&edit, &up);
    QCOMPARE(Band(3, 17).Frequency(), 1030);
    QCOMPARE(edit.text(), QStringLiteral("1030"));
  }

  void allBypassOffOnAFlatOutputStaysOn() {
    Select(7);
    TwoStateButton& form2388 = View().GraphRow().EqBypassButton();
    QCOMPARE(form2388.State(), 1);
    QTest::mouseClick(&form2388, Qt::LeftButton);
    QCOMPARE(form2388.State(), 1);
    QCOMPARE(Dlg().AllBypassButton().State(), 1);
    QVERIFY(Dlg().AllBypassCheck().isChecked());
    QCOMPARE(Band(7, 0).Bypass(), 1);
  }

  void allBypassFromEveryButton() {
    Band(2, 15).SetGainIndex(320);
    Select(2);
    QCOMPARE(View().GraphRow().EqBypassButton().State(), 0);
    QTest::mouseClick(&Dlg().AllBypassButton(), Qt::LeftButton);
    QCOMPARE(Band(2, 15).Bypass(), 1);
    QCOMPARE(Dlg().BandOffButton(15).State(), 1);
    QCOMPARE(Dlg().BandEdit(BandRow::kGain, 15).text(), QStringLiteral("0.0"));
    QCOMPARE(View().GraphRow().EqBypassButton().State(), 1);
    QVERIFY(Dlg().AllBypassCheck().isChecked());
    // The check box switches it back; the band shows its gain again.
    QTest::mouseClick(&Dlg().AllBypassCheck(), Qt::LeftButton);
    QCOMPARE(Band(2, 15).Bypass(), 0);
    QCOMPARE(Dlg().BandEdit(BandRow::kGain, 15).text(), QStringLiteral("12.0"));
    QVERIFY(!Dlg().AllBypassCheck().isChecked());
    QCOMPARE(View().GraphRow().EqBypassButton().State(), 0);
    // And the form's button switches it on again.
    QTest::mouseClick(&View().GraphRow().EqBypassButton(), Qt::LeftButton);
    QCOMPARE(Band(2, 15).Bypass(), 1);
    QCOMPARE(Dlg().AllBypassButton().State(), 1);
  }

  void theGraphAndTheTableStayInStep() {
    Select(6);
    // A drag on the graph reaches the table.
    ResponseGraphModel& graph = View().GraphRow().Graph().Model();
    const Point c = Band(6, 20).HandleRect().Center();
    graph.MouseMove(c);
    graph.ButtonDown(c);
    graph.MouseMove({c.x + 40, c.y - 50});
    graph.ButtonUp({c.x + 40, c.y - 50});
    const int hz = Band(6, 20).Frequency();
    const int gain = Band(6, 20).GainIndex();
    QVERIFY(hz > 2001);
    QVERIFY(gain > kGainIndexFlat);
    QTRY_COMPARE(Dlg().BandSpin(BandRow::kFrequency, 20).GetValue(), hz);
    QCOMPARE(Dlg().GainSlider(20).GetPos(), gain);
    QCOMPARE(Dlg().BandOffButton(20).State(), 0);
    QCOMPARE(Dlg().SelectedBand(), 20);
    QCOMPARE(Dlg().ActiveEdit(), &Dlg().BandEdit(BandRow::kGain, 20));

    // A table edit reaches the graph's filter and label.
    QVERIFY(Type(Dlg().BandEdit(BandRow::kBandwidth, 21), QStringLiteral("1.5")));
    QVERIFY(Band(6, 21).BandwidthIndex() > 15);
    QCOMPARE(graph.Highlight(), 21);
    QCOMPARE(Dlg().SelectedBand(), 21);
  }

  void aTableEditAndASliderDragAreOneUndoStepEach() {
    Select(3);
    EditHistory& history = View().History();
    QVERIFY(Type(Dlg().BandEdit(BandRow::kFrequency, 12), QStringLiteral("333")));
    QCOMPARE(history.UndoCount(), std::size_t{1});
    QCOMPARE(*history.UndoName(), TextId::StepBand);

    BitmapSlider& slider = Dlg().GainSlider(12);
    const QPoint thumb = slider.ThumbRect().center();
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, thumb);
    for (int dy : {-10, -20, -30}) {
      uitest::MouseMoveTo(&slider, thumb + QPoint(0, dy), Qt::LeftButton);
      QTest::qWait(BitmapSlider::kMovingIntervalMs + 20);
    }
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, thumb + QPoint(0, -30));
    QTRY_COMPARE(history.UndoCount(), std::size_t{2});
    QVERIFY(Band(3, 12).GainIndex() > kGainIndexFlat);
    QTest::qWait(20);
    QCOMPARE(history.UndoCount(), std::size_t{2});

    QVERIFY(history.Undo());
    QCOMPARE(Band(3, 12).GainIndex(), kGainIndexFlat);
    QCOMPARE(Band(3, 12).Frequency(), 333);
    QVERIFY(history.Undo());
    QCOMPARE(Band(3, 12).Frequency(), 316);
  }

  void everyFieldShowsItsWidestTextInBothLanguages() {
    for (int pass = 0; pass < 2; ++pass) {
      const QList<CNumEdit*> edits = Dlg().NumericEdits();
      QCOMPARE(edits.size(), 3 * kOutputBandCount + 5);
      for (CNumEdit* edit : edits) {
        const EditScale scale = edit->State().Scale();
        const QFontMetrics metrics(edit->font());
        int widest = 0;
        QString widestText;
        const int step = scale.maximum - scale.minimum > 1000 ? 997 : 1;
        for (int code = scale.minimum; code <= scale.maximum; code += step) {
          for (int c : {code, scale.maximum}) {
            const QString text = QString::fromStdString(FormatEditCode(scale, c));
            if (metrics.horizontalAdvance(text) > widest) {
              widest = metrics.horizontalAdvance(text);
              widestText = text;
            }
          }
        }
        // The line edit keeps two pixels on either side of its text.
        QVERIFY2(widest + 4 <= edit->contentsRect().width(),
                 qPrintable(QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                                .arg(edit->Id())
                                .arg(widestText)
                                .arg(widest + 4)
                                .arg(edit->contentsRect().width())));
      }
      View().ToggleLanguage();
    }
  }

  void theLanguageRefillsTheListsAndKeepsTheirSelections() {
    Select(1);
    QVERIFY(uitest::ChooseRow(Dlg().FamilyList(kLp), kButterworth));
    QVERIFY(uitest::ChooseRow(Dlg().SlopeList(kLp), 4));
    QCOMPARE(Data().Output(1).LowPass().Slope(), 4);
    QVERIFY(uitest::ChooseRow(Dlg().ReleaseList(), 5));
    QCOMPARE(Data().Output(1).ReleaseCode(), 5);
    View().ToggleLanguage();
    QCOMPARE(Dlg().FamilyList(kLp).Items(), (QStringList{"Link_Ril", "Bessel", "Butter_W"}));
    QCOMPARE(Dlg().FamilyList(kLp).Selection(), static_cast<int>(kButterworth));
    QCOMPARE(Dlg().SlopeList(kLp).Selection(), 4);
    QCOMPARE(Dlg().AllBypassCheck().text(), QStringLiteral("All ByPass"));
    QCOMPARE(Dlg().BandOffButton(0).text(), QStringLiteral("BY"));
    View().ToggleLanguage();
    QCOMPARE(Dlg().FamilyList(kLp).ItemText(kButterworth), QStringLiteral("巴特沃斯"));
    QCOMPARE(Dlg().FamilyList(kLp).Selection(), static_cast<int>(kButterworth));
  }

  void theStripsGainAndTheDialogsGainAreOne() {
    Select(2);
    QVERIFY(Type(Dlg().OutputGainEdit(), QStringLiteral("-20")));
    QCOMPARE(Data().Output(2).GainCode(), 40);
    QCOMPARE(View().Strips().GainSlider(2).GetPos(), 40);
    View().Strips().GainSlider(2).SetPos(55);
    View().Strips().OnGainSlider(2);
    QCOMPARE(Dlg().OutputGainEdit().text(), QStringLiteral("-5dB"));
  }

  void aBandEditReachesTheProcessorWithItsFinalValue() {
    Connect();
    Select(2);
    form_->unit->ClearFrameLog();
    QVERIFY(Type(Dlg().BandEdit(BandRow::kFrequency, 9), QStringLiteral("1234")));
    QVERIFY(Type(Dlg().BandEdit(BandRow::kGain, 9), QStringLiteral("-6.5")));
    auto arrived = [&] {
      const auto p = uitest::LastOutputItemWrite(*form_->unit, 2, 9);
      return p.size() == rec::kBandRecordSize && le::GetI16(p, rec::kBandFrequency) == 1234 &&
             le::GetI16(p, rec::kBandGainCode) == 135 + 400;
    };
    QTRY_VERIFY_WITH_TIMEOUT(arrived(), 10000);
  }

  void allBypassOnOutputThreeRewritesItOnTheProcessor() {
    Connect();
    Select(3);
    QVERIFY(Type(Dlg().BandEdit(BandRow::kGain, 14), QStringLiteral("6")));
    QTRY_VERIFY_WITH_TIMEOUT(
        uitest::LastOutputItemWrite(*form_->unit, 3, 14).size() == rec::kBandRecordSize, 10000);
    form_->unit->ClearFrameLog();

    QTest::mouseClick(&Dlg().AllBypassButton(), Qt::LeftButton);
    QCOMPARE(Dlg().AllBypassButton().State(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(OutputWrites(*form_->unit, 3).size() >= 5, 10000);
    const auto writes = OutputWrites(*form_->unit, 3);
    QCOMPARE(writes.size(), std::size_t{5});
    QVERIFY(IsItem31(writes[0], 0));
    QVERIFY(IsItem31(writes[1], 0));
    QCOMPARE(writes[2].payload.size(), rec::kOutputBlockSize);
    QVERIFY(IsItem31(writes[3], 0));
    QVERIFY(IsItem31(writes[4], 1));
    for (const auto& w : writes) QCOMPARE(w.fate, sim::SimFrameFate::kStored);

    std::vector<std::uint8_t> model(rec::kOutputRecordSize);
    Data().Output(3).PackInto(model);
    form_->unit->Inspect([&](const ProgramState& m) {
      const auto live = std::span<const std::uint8_t>(m.Live()).subspan(rec::OutputOffset(3),
                                                                        rec::kOutputBlockSize);
      QVERIFY(std::equal(live.begin(), live.end(), model.begin()));
      // The band travels as off.
      QCOMPARE(le::GetI16(live, 14 * rec::kItemSize + rec::kBandGainCode), 600);
    });
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::OutputDlgTest)
#include "OutputDlgTest.moc"
