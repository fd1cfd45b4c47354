// Tuning from measurements in the window: a measurement imported for the current output
// shows its layers on the graph, a refused file is named with its line in both languages,
// the automatic EQ's preview is drawn and Apply sets the bands as one undo step that
// reaches the simulated processor as ordinary band writes, the measurements come back
// from their file, and the graph's gestures are undo steps of their own.

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <fstream>

#include "UiTestSupport.h"
#include "base/LittleEndian.h"
#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "measure/MeasureSession.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/TwoStateButton.h"
#include "ui/dialogs/MeasureDlg.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/OutputDlg.h"

namespace vantor {

using uitest::Form;

namespace {

// A made-up measurement: a bump at 1 kHz and a dip at 150 Hz over 80 dB, 1/6 octave.
std::string MeasurementText() {
  std::string text = "* made-up measurement\n* Freq(Hz) SPL(dB)\n";
  for (double f = 20.0; f <= 20000.0; f *= std::pow(2.0, 1.0 / 6.0)) {
    const double bump = 6.0 * std::exp(-8.0 * std::pow(std::log2(f / 1000.0), 2));
    const double dip = -5.0 * std::exp(-10.0 * std::pow(std::log2(f / 150.0), 2));
    text += std::to_string(f) + " " + std::to_string(80.0 + bump + dip) + "\n";
  }
  return text;
}

int CountNear(const QImage& image, const QColor& colour, int tolerance) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) <= tolerance &&
          std::abs(c.green() - colour.green()) <= tolerance &&
          std::abs(c.blue() - colour.blue()) <= tolerance) {
        ++n;
      }
    }
  }
  return n;
}

void WheelAt(QWidget* w, QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
  QWheelEvent e(QPointF(at), QPointF(w->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

}  // namespace

class MeasurementWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;
  QTemporaryDir dir_;

  CVantorView& View() { return form_->View(); }
  GraphPanel& Row() { return View().GraphRow(); }
  MeasureDlg& Dialog() { return Row().MeasureDialog(); }
  CFStatic& Graph() { return Row().Graph(); }
  CKTV_Data& Data() { return form_->Data(); }
  EditHistory& History() { return View().History(); }

  QString Write(const QString& name, const std::string& text) {
    const QString path = dir_.filePath(name);
    std::ofstream(path.toStdString()) << text;
    return path;
  }
  // The prediction of the current output is drawn lighter than its channel curve.
  QColor PredictionColour(int output) {
    const Rgb c = Data().Output(output).Colour();
    return QColor(c.r, c.g, c.b).lighter(135);
  }
  bool StartWithUnit() {
    form_ = std::make_unique<Form>(uitest::InstantUnit());
    return form_->StartLive();
  }
  bool Drained() { return form_->Drained(); }

 private slots:
  void init() { QVERIFY(dir_.isValid()); }
  void cleanup() { form_.reset(); }

  void anImportedMeasurementShowsItsLayers() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    const QColor prediction = PredictionColour(0);
    const int before = CountNear(Graph().RenderImage(), prediction, 6);

    QVERIFY(Dialog().ImportFile(Write("fl.txt", MeasurementText())));
    QCOMPARE(Dialog().SourceLabel().text(), QStringLiteral("fl.txt"));
    QVERIFY(Row().Measurements().Controller().MeasurementOf(0) != nullptr);
    const int shown = CountNear(Graph().RenderImage(), prediction, 6);
    QVERIFY2(shown > before + 200, qPrintable(QStringLiteral("%1 → %2").arg(before).arg(shown)));

    // The layer switched off is gone from the graph.
    Dialog().LayerBox(LayerKind::kPrediction).setChecked(false);
    QVERIFY(!Row().Measurements().Switches().prediction);
    QVERIFY(CountNear(Graph().RenderImage(), prediction, 6) < before + 50);
    Dialog().LayerBox(LayerKind::kPrediction).setChecked(true);

    // Another output shows its own (none) and draws output 0's layers in grey only when its
    // curve is drawn behind.
    View().SelectChannel(2);
    QCOMPARE(Dialog().SourceLabel().text(), QStringLiteral("（未导入测量）"));
    QVERIFY(!Dialog().PreviewButton().isEnabled());
    QVERIFY(CountNear(Graph().RenderImage(), prediction, 6) < before + 50);
  }

  void aRefusedFileIsNamedWithItsLineInBothLanguages() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    const QString bad = Write("falling.txt", "* header\n100 80\n200 81\n150 82\n");
    for (bool chinese : {false, true}) {
      form_->state.chinese.store(chinese);
      View().ApplyLanguage();
      form_->messages.clear();
      QCOMPARE(Dialog().PreviewButton().text(),
               chinese ? QStringLiteral("预览") : QStringLiteral("Preview"));
      QCOMPARE(Row().MeasureButton().text(),
               chinese ? QStringLiteral("测量…") : QStringLiteral("Measure…"));
      QVERIFY(!Dialog().ImportFile(bad));
      QCOMPARE(form_->messages.size(), 1);
      const QString m = form_->messages.first();
      QVERIFY2(m.contains(QStringLiteral("falling.txt")), qPrintable(m));
      QVERIFY2(m.contains(chinese ? QStringLiteral("第 4 行") : QStringLiteral("line 4")),
               qPrintable(m));
    }
    QVERIFY(Row().Measurements().Controller().MeasurementOf(0) == nullptr);
  }

  void autoEqPreviewThenApplyReachesTheProcessorAsBandWrites() {
    QVERIFY(StartWithUnit());
    QVERIFY(Drained());
    QVERIFY(Dialog().ImportFile(Write("fl.txt", MeasurementText())));
    QVERIFY(!Dialog().ApplyButton().isEnabled());
    QVERIFY(Dialog().Preview());
    const AutoEqPreview preview = *Row().Measurements().PreviewOf(0);
    QVERIFY(preview.rmsAfterDb < preview.rmsBeforeDb);
    QVERIFY(Dialog().ApplyButton().isEnabled());
    QVERIFY(Dialog().ResultLabel().text().contains(QStringLiteral("→")));
    // The preview is drawn: its dotted curve in near-white.
    QVERIFY(CountNear(Graph().RenderImage(), QColor(236, 236, 240), 10) > 100);
    // Nothing is set before Apply.
    for (const BandSetting& b : preview.bands) {
      QCOMPARE(Data().Output(0).Filter(b.band).GainIndex(), kGainIndexFlat);
    }

    const std::uint64_t mark = form_->unit->FrameLog().back().number;
    const std::size_t stepsBefore = History().UndoCount();
    QTest::mouseClick(&Dialog().ApplyButton(), Qt::LeftButton);
    QCOMPARE(History().UndoCount(), stepsBefore + 1);
    QCOMPARE(History().UndoName(), std::optional<TextId>(TextId::StepAutoEq));
    QVERIFY(!Dialog().ApplyButton().isEnabled());
    std::vector<BandSetting> changed;
    for (const BandSetting& b : preview.bands) {
      QCOMPARE(Data().Output(0).Filter(b.band).GainIndex(), b.gainIndex);
      if (b.gainIndex != kGainIndexFlat) changed.push_back(b);
    }
    QVERIFY(changed.size() >= 2);
    // The output channel dialog shows the new gains at once.
    for (const BandSetting& b : changed) {
      QCOMPARE(View().OutputDialog().BandEdit(BandRow::kGain, b.band).text(),
               QString::number(GainDbFromIndex(b.gainIndex), 'f', 1));
    }

    // Each changed band reaches the unit as its own single-band write, nothing else.
    QVERIFY(Drained());
    for (const BandSetting& b : changed) {
      const auto payload = uitest::LastOutputItemWrite(*form_->unit, 0, b.band);
      QVERIFY2(!payload.empty(), qPrintable(QStringLiteral("band %1").arg(b.band)));
      QCOMPARE(le::GetI16(payload, rec::kBandGainCode), b.gainIndex + rec::kBandGainCodeOffset);
      QCOMPARE(le::GetI16(payload, rec::kBandWidth), b.widthIndex);
    }
    for (const sim::SimFrameRecord& r : form_->unit->FrameLog()) {
      if (r.number <= mark || !r.IsWrite()) continue;
      QCOMPARE(r.block, rec::kBlockOutput);
      QCOMPARE(r.payload.size(), rec::kBandRecordSize);
    }

    // One undo takes the whole fit back.
    QVERIFY(History().Undo());
    for (const BandSetting& b : preview.bands) {
      QCOMPARE(Data().Output(0).Filter(b.band).GainIndex(), kGainIndexFlat);
    }
  }

  void measurementsComeBackFromTheirFile() {
    const std::filesystem::path file = dir_.filePath(QStringLiteral("car.vmeas")).toStdString();
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    QVERIFY(Row().KeepMeasurementsIn(file));
    View().SelectChannel(5);
    QVERIFY(Dialog().ImportFile(Write("sub.txt", MeasurementText())));
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(file), 5000);  // saved shortly after

    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    QVERIFY(Row().KeepMeasurementsIn(file));
    const Measurement* m = Row().Measurements().Controller().MeasurementOf(5);
    QVERIFY(m != nullptr);
    QCOMPARE(m->source, std::string("sub.txt"));

    // A damaged file is named, in either language, and left as it is.
    const QString damaged = Write("damaged.vmeas", "vantor-measurements 1\nbogus\n");
    for (bool chinese : {false, true}) {
      form_->state.chinese.store(chinese);
      form_->messages.clear();
      QVERIFY(!Row().KeepMeasurementsIn(damaged.toStdString()));
      QCOMPARE(form_->messages.size(), 1);
      QVERIFY(form_->messages.first().contains(QStringLiteral("damaged.vmeas")));
      QVERIFY(form_->messages.first().contains(chinese ? QStringLiteral("第 2 行")
                                                       : QStringLiteral("line 2")));
    }
    QVERIFY(Dialog().ImportFile(Write("fl.txt", MeasurementText())));
    QVERIFY(Row().SaveMeasurements());
    std::ifstream in(damaged.toStdString());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QCOMPARE(text, std::string("vantor-measurements 1\nbogus\n"));
  }

  void aDragAndEachWheelNotchAreOneUndoStepEach() {
    QVERIFY(StartWithUnit());
    View().SelectChannel(6);
    CFilter& band = Data().Output(6).Filter(17);
    const Point c = band.HandleRect().Center();
    const QPoint at(c.x, c.y);

    // A drag with many moves is one step, however many notices it sent.
    const std::size_t before = History().UndoCount();
    uitest::DragThrough(&Graph(), at,
                        {at + QPoint(5, -10), at + QPoint(10, -20), at + QPoint(15, -30)});
    QTRY_COMPARE(History().UndoCount(), before + 1);
    QCOMPARE(History().UndoName(), std::optional<TextId>(TextId::StepGraphDrag));
    QVERIFY(band.Gain() > 3.0);
    QVERIFY(History().Undo());
    QCOMPARE(band.GainIndex(), kGainIndexFlat);

    // Three notches over the handle: three steps of +0.5 dB, sent like a drag.
    const Point h = band.HandleRect().Center();
    uitest::MouseMoveTo(&Graph(), QPoint(h.x, h.y), Qt::NoButton);
    for (int i = 0; i < 3; ++i) WheelAt(&Graph(), QPoint(h.x, h.y), 120, Qt::NoModifier);
    QCOMPARE(band.Gain(), 1.5);
    QTRY_COMPARE(History().UndoCount(), before + 3);
    QTRY_VERIFY(band.Pending() == 0);
    const auto payload = uitest::LastOutputItemWrite(*form_->unit, 6, 17);
    QVERIFY(!payload.empty());
    QCOMPARE(le::GetI16(payload, rec::kBandGainCode), 215 + rec::kBandGainCodeOffset);
    QVERIFY(History().Undo());
    QCOMPARE(band.Gain(), 1.0);

    // Half a notch does nothing until the other half arrives; Shift steps the bandwidth.
    const int width = band.BandwidthIndex();
    WheelAt(&Graph(), QPoint(h.x, h.y), 60, Qt::ShiftModifier);
    QCOMPARE(band.BandwidthIndex(), width);
    WheelAt(&Graph(), QPoint(h.x, h.y), 60, Qt::ShiftModifier);
    QCOMPARE(band.BandwidthIndex(), width + 1);
    QCOMPARE(band.Gain(), 1.0);
  }

  // The crossover panel copies a dragged crossover to the linked outputs when the graph's
  // notice arrives, after the release: the copy still belongs to the drag's step.
  void aCrossoverDragOnLinkedOutputsIsUndoneWhole() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    Data().Links().SetGroup(1, 0);
    View().SelectChannel(0);
    for (int o : {0, 1}) Data().Output(o).HighPass().SetFrequency(100, false);
    Graph().Redraw();
    const std::size_t before = History().UndoCount();
    const Point c = Data().Output(0).HighPass().HandleRect().Center();
    uitest::DragThrough(&Graph(), QPoint(c.x, c.y), {QPoint(c.x + 60, c.y)});
    QTRY_COMPARE(Data().Output(1).HighPass().Frequency(), Data().Output(0).HighPass().Frequency());
    QTRY_COMPARE(History().UndoCount(), before + 1);
    QVERIFY(Data().Output(0).HighPass().Frequency() > 150);
    QVERIFY(History().Undo());
    QCOMPARE(Data().Output(0).HighPass().Frequency(), 100);
    QCOMPARE(Data().Output(1).HighPass().Frequency(), 100);
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::MeasurementWindowTest)
#include "MeasurementWindowTest.moc"
