// The delay fields on the car picture: shown with the position buttons, reloaded by
// RefreshAll, switched between milliseconds, centimetres and inches without touching the
// codes, an edit acting on its output and making it current, the listening position of
// an all-presets file, and edits against the simulated processor.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "UiTestSupport.h"
#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "base/LittleEndian.h"
#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "presets/PresetController.h"
#include "presets/PresetSerializer.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/dialogs/AlignDlg.h"
#include "ui/panels/CarPanel.h"
#include "ui/panels/CrossoverPanel.h"
#include "ui/panels/DelayPanel.h"
#include "ui/panels/GraphPanel.h"

namespace vantor {

using uitest::Form;

namespace {

// The delay of the last item 31 the unit stored for an output, or −1.
int LastDelayWrite(const sim::SimulatedProcessor& unit, int channel) {
  const auto p = uitest::LastOutputItemWrite(unit, channel, rec::kItemSettings);
  return p.empty() ? -1 : le::GetI16(p, rec::kOutDelay - rec::kOutOn);
}

}  // namespace

class DelayPanelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;

  CVantorView& View() { return form_->View(); }
  DelayPanel& Delays() { return View().Delays(); }
  CKTV_Data& Data() { return form_->Data(); }
  // Front: left high on output 0, right high on 1; rear: left high on 2, right high on 3;
  // centre full range on 4, subwoofer on 5; nothing on 6 and 7.
  static constexpr std::uint8_t kTypes[8] = {1, 7, 13, 16, 21, 24, 0, 0};
  void Speakers() {
    for (int o = 0; o < 8; ++o) Data().SetSpeakerType(o, kTypes[o]);
  }
  // The same speakers in a simulated processor's memory, read back at start-up.
  bool StartWithUnit() {
    auto unit = uitest::InstantUnit();
    unit->Modify([](ProgramState& m) {
      std::copy(std::begin(kTypes), std::end(kTypes), m.SpeakerTypes().begin());
    });
    form_ = std::make_unique<Form>(unit);
    return form_->StartLive();
  }

 private slots:
  void init() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    Speakers();
    View().RefreshAll();
  }
  void cleanup() { form_.reset(); }

  void fieldsAreShownWithTheirPositionButtonsAndReloaded() {
    CarPanel& car = View().Car();
    for (int field : {2580, 2583, 2586, 2589, 2596, 2593}) {
      QVERIFY2(Delays().Field(field)->isVisibleTo(&car), qPrintable(QString::number(field)));
    }
    for (int field : {2581, 2582, 2584, 2585, 2588, 2591, 2592, 2594, 2595, 2597}) {
      QVERIFY2(!Delays().Field(field)->isVisibleTo(&car), qPrintable(QString::number(field)));
    }
    // A field lies just under its button, centred on it.
    const QRect button = car.PositionButton(2700)->geometry();
    const QRect field = Delays().Field(2580)->geometry();
    QCOMPARE(field.center().x(), button.center().x());
    QVERIFY(field.top() > button.bottom() && field.top() - button.bottom() < 6);

    Data().Output(3).SetDelayCode(96);
    Data().SetSpeakerType(6, 8);
    View().RefreshAll();
    QCOMPARE(Delays().Field(2589)->text(), QStringLiteral("2.000"));
    QVERIFY(Delays().Field(2584)->isVisibleTo(&car));
    QVERIFY(car.PositionButton(2703)->isVisibleTo(&car));
  }

  void theUnitChangesTheTextButNotTheCode() {
    Data().Output(4).SetDelayCode(2400);
    View().RefreshAll();
    CNumEdit& centre = *Delays().Field(2596);
    QCOMPARE(centre.text(), QStringLiteral("50.000"));
    QTest::mouseClick(&Delays().UnitButton(DelayUnit::kCentimetres), Qt::LeftButton);
    QCOMPARE(centre.text(), QStringLiteral("1730"));
    QCOMPARE(centre.Value(), 2400);
    QCOMPARE(Data().Output(4).DelayCode(), 2400);
    QCOMPARE(Delays().UnitButton(DelayUnit::kCentimetres).State(), 1);
    QCOMPARE(Delays().UnitButton(DelayUnit::kMilliseconds).State(), 0);
    QCOMPARE(Delays().Field(2580)->text(), QStringLiteral("0"));
    Delays().ChooseUnit(DelayUnit::kInches);
    QCOMPARE(centre.text(), QStringLiteral("681"));
    // A distance typed in the unit of the moment becomes a code: 346 cm is 10 ms.
    Delays().ChooseUnit(DelayUnit::kCentimetres);
    QVERIFY(uitest::TypeInto(*Delays().Field(2596), QStringLiteral("346"), *Delays().Field(2580)));
    QCOMPARE(Data().Output(4).DelayCode(), 480);
    Delays().ChooseUnit(DelayUnit::kMilliseconds);
    QCOMPARE(centre.text(), QStringLiteral("10.000"));
  }

  void editingAnotherOutputsFieldMakesItCurrent() {
    View().SelectChannel(0);
    Data().Output(3).HighPass().SetFrequency(250, false);
    QVERIFY(uitest::TypeInto(*Delays().Field(2589), QStringLiteral("1.5"), *Delays().Field(2580)));
    QCOMPARE(Data().Output(3).DelayCode(), 72);
    QCOMPARE(View().CurrentChannel(), 3);
    QCOMPARE(View().GraphRow().Graph().Model().OutputIndex(), 3);
    QCOMPARE(View().Crossover().FrequencySpin(CrossoverSide::kHighPass).GetValue(), 250);
    QCOMPARE(View().Car().PositionButton(2709)->State(), 1);
    QCOMPARE(Data().Output(2).DelayCode(), 0);  // no other output touched
  }

  void anUnchangedValueKeepsTheCurrentOutput() {
    View().SelectChannel(1);
    Data().Output(2).SetDelayCode(48);
    View().RefreshAll();
    QVERIFY(uitest::TypeInto(*Delays().Field(2586), QStringLiteral("1"), *Delays().Field(2580)));
    QCOMPARE(View().CurrentChannel(), 1);
    QCOMPARE(Data().Output(2).DelayCode(), 48);
  }

  void anAllPresetsFileShowsItsListeningPosition() {
    // An all-presets file whose delay table has listening position 9 selected.
    ProgramState other;
    CKTV_Data source(other);
    source.LoadOutputs();
    for (int p = 0; p < 4; ++p) {
      for (int c = 0; c < 6; ++c) {
        le::PutI16(other.DelayPositions(), rec::DelayPositionOffset(p, c),
                   static_cast<std::int16_t>(100 * (p + 1) + 10 * c));
      }
    }
    other.DelayPositions()[rec::kDelaySelectedPosition] = 9;
    ByteArchive ar;
    QVERIFY(SerializeAllPresets(ar, source));
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath(QStringLiteral("all.dspa")).toStdString();
    QVERIFY(ReplaceFile(path, ar.Bytes()).Ok());

    PresetController presets(View().Controller());
    const PresetResult r = presets.LoadFile(path);
    QVERIFY(r.loaded);
    View().OnPresetFileLoaded(r);
    // Position 3 (the last one) and its six codes in fields 2580..2585.
    const int expected[6] = {400, 410, 420, 430, 440, 450};
    for (int c = 0; c < 6; ++c) QCOMPARE(Delays().Spin(2580 + c)->GetValue(), expected[c]);
    QCOMPARE(static_cast<int>(form_->state.DelayPositions()[rec::kDelaySelectedPosition]), 3);
  }

  void editsReachTheProcessorAndAnUnchangedOneSendsNothing() {
    QVERIFY(StartWithUnit());
    View().SelectChannel(0);
    form_->unit->ClearFrameLog();

    QVERIFY(uitest::TypeInto(*Delays().Field(2583), QStringLiteral("3.25"), *Delays().Field(2580)));
    QCOMPARE(Data().Output(1).DelayCode(), 156);
    QTRY_COMPARE_WITH_TIMEOUT(LastDelayWrite(*form_->unit, 1), 156, 10000);
    form_->unit->Inspect([&](const ProgramState& m) {
      QCOMPARE(le::GetI16(m.Live(), rec::OutputOffset(1) + rec::kOutDelay), 156);
    });

    // The same value again: nothing goes out. A phase switch afterwards is the only write
    // once it has arrived.
    const std::uint64_t before = form_->unit->FramesReceived();
    QVERIFY(uitest::TypeInto(*Delays().Field(2583), QStringLiteral("3.25"), *Delays().Field(2580)));
    Data().Output(5).SetPhase(1);
    QTRY_VERIFY_WITH_TIMEOUT(uitest::WritesSince(*form_->unit, before) >= 1, 10000);
    QTest::qWait(50);
    QCOMPARE(uitest::WritesSince(*form_->unit, before), 1);
  }

  // Front left 95 cm from the seat, front right 130, rear left 150, rear right 155: each
  // waits for the rear right's sound, (155 − d) / 346 m/s in 1/48 ms steps.
  void distancesSetEveryDelayAsOneStep() {
    QVERIFY(StartWithUnit());
    Data().Output(5).SetDelayCode(500);  // given no distance: kept

    QTest::mouseClick(&Delays().AlignButton(), Qt::LeftButton);
    AlignDlg& align = Delays().AlignDialog();
    QVERIFY(align.isVisible());
    QVERIFY(!align.ApplyButton().isEnabled());
    const char* distances[4] = {"95", "130", "150", "155"};
    for (int o = 0; o < 4; ++o) align.DistanceEdit(o).setText(QString::fromLatin1(distances[o]));
    QCOMPARE(align.NewDelayLabel(0).text(), QStringLiteral("1.729 ms"));  // code 83
    QCOMPARE(align.NewDelayLabel(3).text(), QStringLiteral("0.000 ms"));
    QVERIFY(align.NewDelayLabel(5).text().isEmpty());

    // A distance that is no number stops the preview and names its output.
    align.DistanceEdit(4).setText(QStringLiteral("1,2,3"));
    QVERIFY(!align.ApplyButton().isEnabled());
    QVERIFY(align.ErrorLabel().text().contains(QStringLiteral("CH5")));
    QVERIFY(!align.Apply());
    align.DistanceEdit(4).clear();
    QVERIFY(align.ApplyButton().isEnabled());

    form_->unit->ClearFrameLog();
    const std::size_t steps = View().History().UndoCount();
    QTest::mouseClick(&align.ApplyButton(), Qt::LeftButton);
    const int expected[4] = {83, 35, 7, 0};
    for (int o = 0; o < 4; ++o) QCOMPARE(Data().Output(o).DelayCode(), expected[o]);
    QCOMPARE(Data().Output(5).DelayCode(), 500);
    QCOMPARE(Delays().Spin(2580)->GetValue(), 83);  // the field of front left high
    QCOMPARE(View().History().UndoCount(), steps + 1);
    QCOMPARE(View().History().UndoName(), std::optional<TextId>(TextId::StepDelay));
    for (int o = 0; o < 3; ++o) {
      QTRY_COMPARE_WITH_TIMEOUT(LastDelayWrite(*form_->unit, o), expected[o], 10000);
    }

    QVERIFY(View().History().Undo());
    for (int o = 0; o < 4; ++o) QCOMPARE(Data().Output(o).DelayCode(), 0);

    // In inches the same numbers are farther: 60 in more is 4.4 ms.
    align.SetInches(true);
    QCOMPARE(align.NewDelayLabel(0).text(), QStringLiteral("4.396 ms"));

    // Both languages, the button on the car picture too.
    for (bool chinese : {true, false}) {
      form_->state.chinese.store(chinese);
      View().ApplyLanguage();
      QCOMPARE(align.ApplyButton().text(),
               chinese ? QStringLiteral("应用") : QStringLiteral("Apply"));
      QCOMPARE(Delays().AlignButton().text(),
               chinese ? QStringLiteral("距离对齐") : QStringLiteral("Align…"));
    }
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::DelayPanelTest)
#include "DelayPanelTest.moc"
