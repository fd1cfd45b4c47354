// Undo and redo, the A/B comparison and the filter exchange in the window: every control a
// step of its own (a drag one step), the system menu naming the steps in the language of the
// moment and enabled only when it can act, the keys (also from a numeric edit), the form
// showing what an undo restored with its linking kept, undo reaching the simulated
// processor, a read-back beginning a new history, the A/B switch sending only the outputs
// that differ, the other program's curve, and the export and import dialogs.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <set>

#include "UiTestSupport.h"
#include "base/LittleEndian.h"
#include "compare/ProgramComparison.h"
#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "tuning/ChannelSelection.h"
#include "tuning/CrossoverLists.h"
#include "tuning/DelayFields.h"
#include "ui/app/EditMenu.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/dialogs/DisplayDlg.h"
#include "ui/dialogs/FilterExportDlg.h"
#include "ui/dialogs/FilterImportDlg.h"
#include "ui/panels/ComparisonPanel.h"
#include "ui/panels/CrossoverPanel.h"
#include "ui/panels/DelayPanel.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/OutputDlg.h"
#include "ui/panels/SpeakerMenu.h"
#include "ui/panels/StripPanel.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

using uitest::Form;

namespace {

std::size_t OutAt(int channel, std::size_t field) { return rec::OutputOffset(channel) + field; }

// Drags a slider's thumb through a few positions, waiting for each moving notice.
void DragSlider(BitmapSlider& slider, std::initializer_list<int> dys) {
  const QPoint thumb = slider.ThumbRect().center();
  QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, thumb);
  QPoint last = thumb;
  for (int dy : dys) {
    last = thumb + QPoint(0, dy);
    uitest::MouseMoveTo(&slider, last, Qt::LeftButton);
    QTest::qWait(BitmapSlider::kMovingIntervalMs + 20);
  }
  QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, last);
}

// The outputs whose blocks, or item 31, the unit received.
std::set<int> OutputsWritten(const sim::SimulatedProcessor& unit) {
  std::set<int> outputs;
  for (const sim::SimFrameRecord& r : unit.FrameLog()) {
    if (r.IsWrite() && r.block == rec::kBlockOutput) outputs.insert(r.index);
  }
  return outputs;
}

int BlockWrites(const sim::SimulatedProcessor& unit, int channel) {
  int n = 0;
  for (const sim::SimFrameRecord& r : unit.FrameLog()) {
    if (r.IsWrite() && r.block == rec::kBlockOutput && r.index == channel &&
        r.payload.size() == rec::kOutputBlockSize) {
      ++n;
    }
  }
  return n;
}

}  // namespace

class EditingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;

  CVantorView& View() { return form_->View(); }
  CKTV_Data& Data() { return form_->Data(); }
  EditHistory& History() { return View().History(); }
  EditMenu& Menu() { return View().Edits(); }
  sim::SimulatedProcessor& Unit() { return *form_->unit; }
  QWidget& Elsewhere() { return View().Strips().MasterEdit(); }

  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    // The transfer window of a read-back may have taken the activation.
    QApplication::setActiveWindow(View().window());
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : &View(), static_cast<Qt::Key>(key), modifiers);
  }
  bool StartLive() {
    form_ = std::make_unique<Form>(uitest::InstantUnit());
    return form_->StartLive();
  }
  bool Drained() { return form_->Drained(); }
  int UnitI16(std::size_t at) {
    int v = 0;
    Unit().Inspect([&](const ProgramState& s) { v = le::GetI16(s.Live(), at); });
    return v;
  }
  int UnitByte(std::size_t at) {
    int v = 0;
    Unit().Inspect([&](const ProgramState& s) { v = s.Live()[at]; });
    return v;
  }
  QString WriteFile(const QTemporaryDir& dir, const char* name, const std::string& text) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
  }

 private slots:
  void init() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
  }
  void cleanup() { form_.reset(); }

  void aSliderDragIsOneStepAndTheKeysTakeItBackAndAgain() {
    StripPanel& strips = View().Strips();
    const int before = Data().Output(2).GainCode();
    DragSlider(strips.GainSlider(2), {10, 25, 40});
    QTRY_COMPARE(History().UndoCount(), std::size_t{1});
    const int after = Data().Output(2).GainCode();
    QVERIFY(after != before);
    QCOMPARE(*History().UndoName(), TextId::StepGain);

    Key(Qt::Key_Z);
    QCOMPARE(Data().Output(2).GainCode(), before);
    QCOMPARE(strips.GainSlider(2).GetPos(), before);
    QCOMPARE(strips.GainSpin(2).GetValue(), before);
    Key(Qt::Key_Y);
    QCOMPARE(Data().Output(2).GainCode(), after);
    QCOMPARE(strips.GainSlider(2).GetPos(), after);
    Key(Qt::Key_Z);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Data().Output(2).GainCode(), after);

    // The master slider and its held spin are one step each as well.
    DragSlider(strips.MasterSlider(), {8, 16});
    QTRY_COMPARE(History().UndoCount(), std::size_t{2});
    QCOMPARE(*History().UndoName(), TextId::StepMasterLevel);
  }

  void aHeldSpinIsOneStep() {
    CNumSpin& spin = View().Crossover().FrequencySpin(CrossoverSide::kLowPass);
    const int before = Data().Output(0).LowPass().Frequency();
    // The lower half steps down; held, it repeats.
    const QPoint down(spin.width() / 2, spin.height() * 3 / 4);
    QTest::mousePress(&spin, Qt::LeftButton, Qt::NoModifier, down);
    QTest::qWait(CNumSpin::kRepeatDelayMs + 6 * CNumSpin::kRepeatStepMs);
    QTest::mouseRelease(&spin, Qt::LeftButton, Qt::NoModifier, down);
    QTRY_VERIFY(Data().Output(0).LowPass().Frequency() < before - 2);
    QTRY_COMPARE(History().UndoCount(), std::size_t{1});
    QCOMPARE(*History().UndoName(), TextId::StepCrossover);
    QVERIFY(View().Undo());
    QCOMPARE(Data().Output(0).LowPass().Frequency(), before);
    QCOMPARE(spin.GetValue(), before);
  }

  void everyControlIsAStepOfItsOwnName() {
    View().RefreshAll();
    StripPanel& strips = View().Strips();
    struct Case {
      TextId name;
      std::function<void()> edit;
      std::function<int()> value;
    };
    const int delayField = DelayFieldOfType(Data().SpeakerType(0));
    const std::vector<Case> cases = {
        {TextId::StepOutputOn, [&] { QTest::mouseClick(&strips.OnButton(4), Qt::LeftButton); },
         [&] { return Data().Output(4).OutputOn(); }},
        {TextId::StepPhase, [&] { QTest::mouseClick(&strips.PhaseButton(1), Qt::LeftButton); },
         [&] { return Data().Output(1).Phase(); }},
        {TextId::StepMasterLevel,
         [&] { QTest::mouseClick(&strips.MasterOnButton(), Qt::LeftButton); },
         [&] { return Data().MasterOn(); }},
        {TextId::StepGain,
         [&] { QVERIFY(uitest::TypeInto(strips.GainEdit(6), QStringLiteral("-9"), Elsewhere())); },
         [&] { return Data().Output(6).GainCode(); }},
        {TextId::StepCrossover,
         [&] {
           ComBoxBtn& list = View().Crossover().FamilyList(CrossoverSide::kLowPass);
           QVERIFY(uitest::ChooseRow(list, (list.Selection() + 1) % kCrossoverFamilyCount));
         },
         [&] { return Data().Output(0).LowPass().Family(); }},
        {TextId::StepDelay,
         [&] {
           QVERIFY(uitest::TypeInto(*View().Delays().Field(delayField), QStringLiteral("2.5"),
                                    Elsewhere()));
         },
         [&] { return Data().Output(0).DelayCode(); }},
        {TextId::StepSource, [&] { QVERIFY(uitest::ChooseRow(View().TopBar().SourceList(), 3)); },
         [&] { return Data().InputSource(); }},
    };
    for (const Case& c : cases) {
      const std::size_t steps = History().UndoCount();
      const int before = c.value();
      c.edit();
      const int after = c.value();
      QVERIFY2(after != before, Tr(c.name, false).data());
      QCOMPARE(History().UndoCount(), steps + 1);
      QCOMPARE(*History().UndoName(), c.name);
      QVERIFY(View().Undo());
      QCOMPARE(c.value(), before);
      QVERIFY(View().Redo());
      QCOMPARE(c.value(), after);
    }
    // The form shows what an undo put back: the source list and the delay field too.
    QVERIFY(View().Undo());
    QCOMPARE(View().TopBar().SourceList().Selection(), Data().InputSource());
    QVERIFY(View().Undo());
    QCOMPARE(View().Delays().Spin(delayField)->GetValue(), Data().Output(0).DelayCode());
  }

  void theMenuNamesTheStepsAndIsEnabledOnlyWhenItCanAct() {
    QAction& undo = Menu().UndoAction();
    QAction& redo = Menu().RedoAction();
    emit View().TopBar().SystemMenu().aboutToShow();
    QCOMPARE(undo.text(), QStringLiteral("撤销"));
    QVERIFY(!undo.isEnabled());
    QVERIFY(!redo.isEnabled());

    View().Strips().OnPhaseButton(3);
    emit View().TopBar().SystemMenu().aboutToShow();
    QCOMPARE(undo.text(), QStringLiteral("撤销 相位"));
    QVERIFY(undo.isEnabled());
    undo.trigger();
    QCOMPARE(Data().Output(3).Phase(), 0);
    QCOMPARE(View().Strips().PhaseButton(3).State(), 0);

    View().ToggleLanguage();  // relabels the entries at once
    QCOMPARE(redo.text(), QStringLiteral("Redo phase"));
    QVERIFY(redo.isEnabled());
    QVERIFY(!undo.isEnabled());
    QCOMPARE(Menu().ExportAction().text(), QStringLiteral("Export filters..."));
    QCOMPARE(Menu().CopyAToBAction().text(), QStringLiteral("Copy A to B"));

    // A new edit drops what could have been redone.
    View().Strips().OnOutputOnButton(5);
    emit View().TopBar().SystemMenu().aboutToShow();
    QCOMPARE(undo.text(), QStringLiteral("Undo output on/off"));
    QCOMPARE(redo.text(), QStringLiteral("Redo"));
    QVERIFY(!redo.isEnabled());
    Key(Qt::Key_Y);
    QCOMPARE(Data().Output(3).Phase(), 0);
    // The entries are in the system menu, after its own.
    QVERIFY(View().TopBar().SystemMenu().actions().contains(&undo));
    QCOMPARE(View().TopBar().SystemMenu().actions().first()->text(),
             QStringLiteral("Firmware Update"));
  }

  void aNumericEditKeepsTheKeysOnlyForItsOwnTyping() {
    CrossoverPanel& xo = View().Crossover();
    CNumEdit& edit = xo.FrequencyEdit(CrossoverSide::kHighPass);
    const int before = Data().Output(0).HighPass().Frequency();
    QVERIFY(uitest::TypeInto(edit, QStringLiteral("150"), Elsewhere()));
    QVERIFY(Data().Output(0).HighPass().Frequency() != before);

    // Typing not yet committed is the edit's own to take back.
    Elsewhere().setFocus();
    QTest::keyClicks(&Elsewhere(), QStringLiteral("1"));
    Key(Qt::Key_Z);
    QVERIFY(Data().Output(0).HighPass().Frequency() != before);
    QCOMPARE(History().UndoCount(), std::size_t{1});

    // With nothing typed, the key reaches the form from the edit.
    edit.setFocus();
    QVERIFY(QTest::qWaitFor([&] { return edit.hasFocus(); }));
    Key(Qt::Key_Z);
    QCOMPARE(Data().Output(0).HighPass().Frequency(), before);
    QCOMPARE(xo.FrequencySpin(CrossoverSide::kHighPass).GetValue(), before);
  }

  void anUndoKeepsLinkingAndASpeakerTypeUndoReloadsTheForm() {
    // Outputs 1 and 2 linked: a band edit in the dialog goes to both, and so does its undo.
    Data().Links().SetGroup(1, 0);
    View().Selection().SetLinkingActive(true);
    View().SelectChannel(0);
    OutputDlg& dlg = View().OutputDialog();
    QVERIFY(uitest::TypeInto(dlg.BandEdit(BandRow::kGain, 6), QStringLiteral("5.5"), Elsewhere()));
    QCOMPARE(Data().Output(1).Filter(6).GainIndex(), 255);
    QVERIFY(View().Undo());
    QCOMPARE(Data().Output(0).Filter(6).GainIndex(), kGainIndexFlat);
    QCOMPARE(Data().Output(1).Filter(6).GainIndex(), kGainIndexFlat);
    QCOMPARE(dlg.GainSlider(6).GetPos(), kGainIndexFlat);
    QVERIFY(View().Selection().LinkingActive());
    QVERIFY(Data().Links().AreLinked(0, 1));

    // A speaker type taken back ends linking, as choosing a type does.
    for (int o = 0; o < rec::kOutputCount; ++o) Data().SetSpeakerType(o, 0);
    View().RefreshAll();
    const int type = Data().SpeakerType(2);
    QAction* front = SpeakerMenuAction(View().Strips().PrepareSpeakerTypeMenu(2), 1);
    QVERIFY(front != nullptr && front->isEnabled());
    front->trigger();
    QCOMPARE(Data().SpeakerType(2), 1);
    QCOMPARE(*History().UndoName(), TextId::StepSpeakerType);
    Data().Links().SetGroup(1, 0);
    View().Selection().SetLinkingActive(true);
    QVERIFY(View().Undo());
    QCOMPARE(Data().SpeakerType(2), type);
    QVERIFY(!View().Selection().LinkingActive());
    QVERIFY(!Data().Links().AreLinked(0, 1));
  }

  void theGraphRowsResetIsTheDialogsResetAndOneStep() {
    View().SelectChannel(4);
    Data().Output(4).Filter(3).SetGainIndex(260);
    Data().Output(4).Filter(9).SetGainIndex(120);
    View().GraphRow().OnEqReset();
    QCOMPARE(form_->questions.size(), 1);
    QCOMPARE(Data().Output(4).Filter(3).GainIndex(), kGainIndexFlat);
    QCOMPARE(History().UndoCount(), std::size_t{1});
    QCOMPARE(*History().UndoName(), TextId::StepEqReset);
    QVERIFY(View().Undo());
    QCOMPARE(Data().Output(4).Filter(3).GainIndex(), 260);
    QCOMPARE(Data().Output(4).Filter(9).GainIndex(), 120);
    QCOMPARE(View().OutputDialog().GainSlider(9).GetPos(), 120);
  }

  void undoReachesTheProcessor() {
    QVERIFY(StartLive());
    const int before = UnitI16(OutAt(3, rec::kOutGain));
    DragSlider(View().Strips().GainSlider(3), {12, 30});
    QTRY_COMPARE(History().UndoCount(), std::size_t{1});
    const int after = Data().Output(3).GainCode();
    QTRY_COMPARE_WITH_TIMEOUT(UnitI16(OutAt(3, rec::kOutGain)), after, 10000);

    Key(Qt::Key_Z);
    QCOMPARE(Data().Output(3).GainCode(), before);
    QTRY_COMPARE_WITH_TIMEOUT(UnitI16(OutAt(3, rec::kOutGain)), before, 10000);

    // A whole-channel step goes back as whole blocks: the graph row's reset.
    View().SelectChannel(2);
    Data().Output(2).Filter(5).SetGainIndex(300);
    QVERIFY(Drained());
    View().GraphRow().OnEqReset();
    const std::size_t band5 = OutAt(2, rec::OutBand(5) + rec::kBandGainCode);
    QTRY_COMPARE_WITH_TIMEOUT(UnitI16(band5), 200 + rec::kBandGainCodeOffset, 10000);
    QVERIFY(Drained());
    Unit().ClearFrameLog();
    QVERIFY(View().Undo());
    QTRY_COMPARE_WITH_TIMEOUT(UnitI16(band5), 300 + rec::kBandGainCodeOffset, 10000);
    QVERIFY(Drained());
    QCOMPARE(BlockWrites(Unit(), 2), 1);
    // The output is switched on again after its block.
    QTRY_COMPARE_WITH_TIMEOUT(UnitByte(OutAt(2, rec::kOutOn)), Data().Output(2).OutputOn(), 10000);
  }

  void aReadBackBeginsANewHistory() {
    QVERIFY(StartLive());
    View().Strips().OnPhaseButton(6);
    QVERIFY(History().CanUndo());
    QVERIFY(Drained());
    QVERIFY(View().Controller().StartReadBack(0, true));
    QTRY_VERIFY_WITH_TIMEOUT(!View().TransferWindow().isVisible(), 10000);
    QVERIFY(!History().CanUndo());
    emit View().TopBar().SystemMenu().aboutToShow();
    QVERIFY(!Menu().UndoAction().isEnabled());
    Key(Qt::Key_Z);
    QCOMPARE(Data().Output(6).Phase(), 1);
  }

  void theABSwitchSendsOnlyTheOutputsThatDiffer() {
    QVERIFY(StartLive());
    ComparisonPanel& ab = View().ComparisonBar();
    QCOMPARE(ab.Button(ComparisonSide::kA).State(), 1);
    QVERIFY(Drained());
    Unit().ClearFrameLog();
    QTest::mouseClick(&ab.Button(ComparisonSide::kB), Qt::LeftButton);
    QCOMPARE(ab.Button(ComparisonSide::kB).State(), 1);
    QCOMPARE(ab.Button(ComparisonSide::kA).State(), 0);
    QVERIFY(OutputsWritten(Unit()).empty());

    // Program B: output 2's band and output 6's gain differ from A.
    const int bandA = Data().Output(2).Filter(7).GainIndex();
    const int gainA = Data().Output(6).GainCode();
    Data().Output(2).Filter(7).SetGainIndex(310);
    View().Strips().GainSpin(6).SetValue(gainA - 7);
    View().Strips().OnGainEditChanged(6);
    QVERIFY(Drained());
    QTRY_COMPARE_WITH_TIMEOUT(UnitI16(OutAt(6, rec::kOutGain)), gainA - 7, 10000);
    QVERIFY(History().CanUndo());

    Unit().ClearFrameLog();
    QTest::mouseClick(&ab.Button(ComparisonSide::kA), Qt::LeftButton);
    QCOMPARE(Data().Output(2).Filter(7).GainIndex(), bandA);
    QCOMPARE(View().Strips().GainSlider(6).GetPos(), gainA);
    QVERIFY(Drained());
    QCOMPARE(OutputsWritten(Unit()), (std::set<int>{2, 6}));
    QCOMPARE(BlockWrites(Unit(), 2), 1);
    QCOMPARE(BlockWrites(Unit(), 6), 1);
    QCOMPARE(UnitI16(OutAt(6, rec::kOutGain)), gainA);
    QCOMPARE(UnitI16(OutAt(2, rec::OutBand(7) + rec::kBandGainCode)),
             bandA + rec::kBandGainCodeOffset);
    // A switch gives the processor another program: the history begins again.
    QVERIFY(!History().CanUndo());

    // "Copy A to B" makes them equal; the entries then have nothing to do.
    emit View().TopBar().SystemMenu().aboutToShow();
    QVERIFY(Menu().CopyAToBAction().isEnabled());
    Menu().CopyAToBAction().trigger();
    emit View().TopBar().SystemMenu().aboutToShow();
    QVERIFY(!Menu().CopyAToBAction().isEnabled());
    Unit().ClearFrameLog();
    QTest::mouseClick(&ab.Button(ComparisonSide::kB), Qt::LeftButton);
    QVERIFY(Drained());
    QVERIFY(OutputsWritten(Unit()).empty());
  }

  void theOtherProgramsCurveIsDrawnWhenAsked() {
    ComparisonPanel& ab = View().ComparisonBar();
    CFStatic& graph = View().GraphRow().Graph();
    ab.Select(ComparisonSide::kB);
    Data().Output(0).Filter(12).SetGainIndex(380);  // +18 dB at band 12, on B
    View().RedrawGraph();
    ab.Select(ComparisonSide::kA);
    QCOMPARE(ab.OtherCurveFor(graph.Model()).points, nullptr);
    const QImage without = graph.grab().toImage();

    Menu().OtherCurveAction().trigger();
    QVERIFY(ab.ShowsOtherCurve());
    const CurveOverlay::Curve curve = ab.OtherCurveFor(graph.Model());
    QVERIFY(curve.points != nullptr);
    const auto expected = View().Comparison().OtherCurvePoints(0, graph.Model().PlotRect());
    QCOMPARE(curve.points->size(), expected.size());
    QCOMPARE(curve.points->at(120).y(), static_cast<double>(expected[120].y));
    // B's peak stands well above A's flat curve.
    double highest = 1e9;
    for (const QPointF& p : *curve.points) highest = std::min(highest, p.y());
    QVERIFY(highest < graph.Model().PlotRect().Center().y - 20);
    QTRY_VERIFY(graph.grab().toImage() != without);

    Menu().OtherCurveAction().trigger();
    QCOMPARE(ab.OtherCurveFor(graph.Model()).points, nullptr);
  }

  void exportWritesTheShownTextToTheChosenFile() {
    Data().Output(3).Filter(4).SetGainIndex(245);
    View().SelectChannel(3);
    QTemporaryDir dir;
    FilterExportDlg& dlg = View().ExportDialog();
    QString offered;
    const QString target = dir.filePath(QStringLiteral("out.txt"));
    dlg.SetFileChooser([&](const QString& suggested, const QString&) {
      offered = suggested;
      return target;
    });
    View().ExportFilters();
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.windowTitle(), QStringLiteral("导出滤波器 - CH4"));
    dlg.SetFormat(ExchangeFormat::kEqualizerApo);
    const QString text = dlg.Preview().toPlainText();
    QVERIFY(text.contains(QStringLiteral("Filter 1: ON PK Fc")));
    QVERIFY(text.contains(QStringLiteral("Gain 4.5 dB")));
    QTest::mouseClick(&dlg.SaveButton(), Qt::LeftButton);
    QVERIFY(offered.endsWith(QStringLiteral("CH4-eqapo.txt")));
    QVERIFY(!dlg.isVisible());
    std::ifstream in(target.toStdString(), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    QCOMPARE(QString::fromStdString(written), text);

    // A file that cannot be written is named, and the dialog stays.
    View().ToggleLanguage();
    View().ExportFilters();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Export filters - CH4"));
    const QString bad = dir.filePath(QStringLiteral("missing/out.txt"));
    QVERIFY(!dlg.SaveTo(bad));
    QVERIFY(form_->messages.last().startsWith(bad));
    QVERIFY(dlg.isVisible());
    dlg.reject();
  }

  void anImportWithARefusedLineChangesNothingUnlessAccepted() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "room.txt",
                                   "Filter Settings file\n"
                                   "\n"
                                   "Filter  1: ON  PK  Fc  500 Hz  Gain  -4.5 dB  Q  2.000\n"
                                   "Filter  2: ON  PK  Fc  125 Hz  Gain  3.0 dB  Q  1.000\n"
                                   "Filter  3: ON  NOTCH  Fc  1000 Hz\n");
    View().SelectChannel(5);
    FilterImportDlg& dlg = View().ImportDialog();
    dlg.SetFileChooser([&](const QString&) { return path; });
    const int before = Data().Output(5).Filter(0).Frequency();

    View().ImportFilters();
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.Report().rowCount(), 1);
    QCOMPARE(dlg.Report().item(0, 0)->text(), QStringLiteral("5"));
    QCOMPARE(dlg.Report().item(0, 1)->text(), QStringLiteral("无法导入"));
    QCOMPARE(dlg.AcceptButton().text(), QStringLiteral("导入其余各行"));
    QVERIFY(dlg.CancelButton().isDefault());
    QVERIFY(dlg.Summary().text().contains(QStringLiteral("2 个频段")));
    QTest::mouseClick(&dlg.CancelButton(), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(Data().Output(5).Filter(0).Frequency(), before);
    QCOMPARE(History().UndoCount(), std::size_t{0});

    View().ToggleLanguage();
    View().ImportFilters();
    QCOMPARE(dlg.AcceptButton().text(), QStringLiteral("Import the rest"));
    QCOMPARE(dlg.Report().item(0, 1)->text(), QStringLiteral("cannot be imported"));
    QTest::mouseClick(&dlg.AcceptButton(), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(Data().Output(5).Filter(0).Frequency(), 125);
    QCOMPARE(Data().Output(5).Filter(1).GainIndex(), 155);
    QCOMPARE(View().OutputDialog().GainSlider(1).GetPos(), 155);
    QCOMPARE(History().UndoCount(), std::size_t{1});
    QCOMPARE(*History().UndoName(), TextId::StepFilterImport);
    Key(Qt::Key_Z);
    QCOMPARE(Data().Output(5).Filter(0).Frequency(), before);
    QCOMPARE(Data().Output(5).Filter(1).GainIndex(), kGainIndexFlat);
  }

  void anUnreadableImportIsNamedAndOpensNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone.txt"));
    FilterImportDlg& dlg = View().ImportDialog();
    dlg.SetFileChooser([&](const QString&) { return path; });
    View().ImportFilters();
    QVERIFY(!dlg.isVisible());
    QVERIFY(form_->messages.last().startsWith(path));
    // A complete file: "Import", the default.
    const QString good =
        WriteFile(dir, "ok.txt", "Filter 1: ON PK Fc 1000 Hz Gain 2.0 dB Q 1.41\n");
    QVERIFY(dlg.Load(good, 0));
    QCOMPARE(dlg.AcceptButton().text(), QStringLiteral("导入"));
    QVERIFY(dlg.AcceptButton().isDefault());
    QCOMPARE(dlg.Report().rowCount(), 0);
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::EditingTest)
#include "EditingTest.moc"
