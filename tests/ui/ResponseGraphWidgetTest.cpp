// The response graph widget over the model's output filter sets: cursor, mouse drags,
// the rate-limited change signal and what it paints.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "dsp/PlotMapping.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/Skin.h"

namespace vantor {
namespace {

int CountColour(const QImage& image, const QColor& colour, int tolerance) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (qAbs(c.red() - colour.red()) <= tolerance &&
          qAbs(c.green() - colour.green()) <= tolerance &&
          qAbs(c.blue() - colour.blue()) <= tolerance) {
        ++n;
      }
    }
  }
  return n;
}

QPoint Qp(Point p) { return {p.x, p.y}; }

void MoveTo(QWidget* w, QPoint p, Qt::MouseButtons buttons) {
  QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, buttons,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Hover, press, move with the button held, release.
void Drag(QWidget* w, QPoint from, QPoint to) {
  MoveTo(w, from, Qt::NoButton);
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
  MoveTo(w, to, Qt::LeftButton);
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
}

}  // namespace

class ResponseGraphWidgetTest : public QObject {
  Q_OBJECT

 private:
  ProgramState* state_ = nullptr;
  CKTV_Data* data_ = nullptr;
  CFStatic* graph_ = nullptr;

 private slots:
  void init() {
    state_ = new ProgramState;
    data_ = new CKTV_Data(*state_);
    data_->LoadOutputs();
    graph_ = new CFStatic;
    graph_->resize(580, 344);
    graph_->Attach(*data_);
    graph_->show();
    QVERIFY(QTest::qWaitForWindowExposed(graph_));
  }

  void cleanup() {
    delete graph_;
    delete data_;
    delete state_;
  }

  void attachLaysTheSetsOutInThePlot() {
    QCOMPARE(data_->Output(3).Filters().PlotWidth(), 580 - 45);
    QCOMPARE(data_->Output(3).Filters().PlotHeight(), 344 - 30);
    QCOMPARE(graph_->Mode(), kGraphModeNone);
  }

  void theMoveCursorShowsOnAGrabbableHandle() {
    graph_->ShowOutput(0);
    const QPoint band2 = Qp(data_->Output(0).Filter(2).HandleRect().Center());
    MoveTo(graph_, band2, Qt::NoButton);
    QCOMPARE(graph_->cursor().shape(), Qt::SizeAllCursor);
    MoveTo(graph_, QPoint(300, 40), Qt::NoButton);
    QCOMPARE(graph_->cursor().shape(), Qt::ArrowCursor);
    // Drawn, but not offered on output 0.
    const QPoint band10 = Qp(data_->Output(0).Filter(10).HandleRect().Center());
    MoveTo(graph_, band10, Qt::NoButton);
    QCOMPARE(graph_->cursor().shape(), Qt::ArrowCursor);
  }

  // The outputs' own grab ranges and crossover limits, with the real channel table behind
  // the widget: outputs 0 and 1 offer bands 0..5, outputs 2..5 bands 0..2, the low-pass
  // handle is offered on output 5 only.
  void grabRangesFollowTheOutput() {
    graph_->ShowOutput(0);
    for (int b = 0; b <= 5; ++b) {
      MoveTo(graph_, Qp(data_->Output(0).Filter(b).HandleRect().Center()), Qt::NoButton);
      QVERIFY2(graph_->Model().Hover() && graph_->Model().CurrentIndex() == b,
               qPrintable(QString::number(b)));
    }
    MoveTo(graph_, Qp(data_->Output(0).Filter(10).HandleRect().Center()), Qt::NoButton);
    QVERIFY(!graph_->Model().Hover());

    for (int o : {2, 5}) {
      graph_->ShowOutput(o);
      data_->Output(o).LowPass().SetFrequency(8000, false);
      MoveTo(graph_, QPoint(5, 5), Qt::NoButton);
      MoveTo(graph_, Qp(data_->Output(o).LowPass().HandleRect().Center()), Qt::NoButton);
      QCOMPARE(graph_->Model().Hover(), o == 5);
    }
  }

  void bandDragsKeepTheirLimits() {
    graph_->ShowOutput(6);
    const int h = data_->Output(6).Filters().PlotHeight();
    // Above the top: +20 dB.
    CFilter& band = data_->Output(6).Filter(17);
    const QPoint c = Qp(band.HandleRect().Center());
    Drag(graph_, c, QPoint(c.x(), -40));
    QCOMPARE(band.Gain(), 20.0);

    // Graphic mode: only up and down.
    CFilter& graphic = data_->Output(6).Filter(20);
    graphic.SetGraphicMode(1);
    const int hz = graphic.Frequency();
    const QPoint g = Qp(graphic.HandleRect().Center());
    Drag(graph_, g, g + QPoint(90, PlotY(6.0, h) + kPlotOffsetY - g.y()));
    QCOMPARE(graphic.Frequency(), hz);
    QVERIFY(std::abs(graphic.Gain() - 6.0) <= 0.15);

    // A low shelf stays at or below 2 kHz.
    CFilter& shelf = data_->Output(6).Filter(4);
    shelf.SetEqType(1);
    const QPoint l = Qp(shelf.HandleRect().Center());
    const int w = data_->Output(6).Filters().PlotWidth();
    Drag(graph_, l, QPoint(PlotX(5000, w) + kPlotOffsetX, l.y()));
    QCOMPARE(shelf.Frequency(), 2000);
  }

  void crossoverDragsFollowTheLimitModes() {
    const int w = data_->Output(0).Filters().PlotWidth();
    // Output 2: the high-pass dragged to the left edge is off.
    graph_->ShowOutput(2);
    CFilter& hp2 = data_->Output(2).HighPass();
    hp2.SetFrequency(300, false);
    const QPoint h2 = Qp(hp2.HandleRect().Center());
    Drag(graph_, h2, QPoint(kPlotOffsetX - 20, h2.y()));
    QCOMPARE(hp2.Frequency(), 20);
    for (double db : hp2.ResponseDb()) QCOMPARE(db, 0.0);

    // Output 1 (mode 8) stops at the low-pass; output 0 (mode 9) too, unless dragged to
    // the right edge, which opens it to 20 kHz.
    for (int o : {1, 0}) {
      graph_->ShowOutput(o);
      CKTV_OutData& out = data_->Output(o);
      out.LowPass().SetFrequency(5000, false);
      out.HighPass().SetFrequency(100, false);
      const QPoint start = Qp(out.HighPass().HandleRect().Center());
      Drag(graph_, start, QPoint(PlotX(8000, w) + kPlotOffsetX, start.y()));
      QCOMPARE(out.HighPass().Frequency(), 5000);
      const QPoint again = Qp(out.HighPass().HandleRect().Center());
      Drag(graph_, again, QPoint(graph_->width() + 50, again.y()));
      QCOMPARE(out.HighPass().Frequency(), o == 0 ? 20000 : 5000);
    }
  }

  void aFastDragIsReportedAtMostOncePerFiftyMilliseconds() {
    graph_->ShowOutput(7);
    QSignalSpy changed(graph_, &CFStatic::graphChanged);
    const QPoint c = Qp(data_->Output(7).Filter(12).HandleRect().Center());
    MoveTo(graph_, c, Qt::NoButton);
    QTest::mousePress(graph_, Qt::LeftButton, Qt::NoModifier, c);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 120; ++i) {
      MoveTo(graph_, c + QPoint(i % 60, -(i % 40)), Qt::LeftButton);
      QTest::qWait(2);
    }
    QTest::mouseRelease(graph_, Qt::LeftButton, Qt::NoModifier, c);
    const qint64 elapsed = clock.elapsed();
    const int during = static_cast<int>(changed.count());
    QVERIFY(during >= 1);
    QVERIFY2(during <= elapsed / CFStatic::kNotifyTimerMs + 1,
             qPrintable(QStringLiteral("%1 notices in %2 ms").arg(during).arg(elapsed)));
  }

  void dragChangesTheBandAndReportsItWithinFiftyMilliseconds() {
    graph_->ShowOutput(6);
    QSignalSpy changed(graph_, &CFStatic::graphChanged);
    CFilter& band = data_->Output(6).Filter(17);
    const QPoint start = Qp(band.HandleRect().Center());
    MoveTo(graph_, start, Qt::NoButton);
    QTest::mousePress(graph_, Qt::LeftButton, Qt::NoModifier, start);
    const int h = data_->Output(6).Filters().PlotHeight();
    for (int i = 1; i <= 30; ++i) {
      MoveTo(graph_, start + QPoint(i * 3, -i * 2), Qt::LeftButton);
    }
    const QPoint end = start + QPoint(90, -60);
    QTest::mouseRelease(graph_, Qt::LeftButton, Qt::NoModifier, end);
    QVERIFY(band.Frequency() > 1000);
    QVERIFY(band.Gain() > 5.0);
    QVERIFY(std::abs(PlotY(band.Gain(), h) + kPlotOffsetY - end.y()) <= 1);
    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), 17);
    QCOMPARE(changed.at(0).at(1).toInt(), 768 + 6);
    QTest::qWait(120);
    QCOMPARE(changed.count(), 1);  // one change, one notice
  }

  // The axis texts fit the boxes the graph keeps them in (which no handle reaches), and
  // the handle texts, measured with the real font, never run into each other.
  void axisAndHandleTextsFitWithTheRealFont() {
    const QFontMetrics metrics(skin::Font2());
    for (const GraphText& t : graph_->Model().AxisLabels()) {
      QVERIFY2(metrics.horizontalAdvance(QString::fromStdString(t.text)) <= t.box.Width(),
               t.text.c_str());
    }
    graph_->ShowOutput(6);
    const std::vector<QRect> boxes = graph_->HandleTextBoxes();
    QCOMPARE(static_cast<int>(boxes.size()), data_->Output(6).Filters().Count());
    for (std::size_t a = 0; a < boxes.size(); ++a) {
      for (std::size_t b = a + 1; b < boxes.size(); ++b) {
        QVERIFY2(!boxes[a].intersects(boxes[b]),
                 qPrintable(QStringLiteral("%1, %2").arg(a).arg(b)));
      }
    }
  }

  void theLabelSitsOnItsOwnBackgroundAndGoesWhenThePointerLeaves() {
    graph_->ShowOutput(6);
    CFilter& band = data_->Output(6).Filter(17);
    band.SetGainIndex(230);  // +3 dB, just over the row of flat handles
    MoveTo(graph_, Qp(band.HandleRect().Center()), Qt::NoButton);
    const QRect box = graph_->LabelBox();
    QVERIFY(!box.isEmpty());
    for (int i = 0; i < data_->Output(6).Filters().Count(); ++i) {
      const Rect disc = graph_->Model().HandleDisc(i);
      QVERIFY2(!box.intersects(QRect(disc.left, disc.top, disc.Width(), disc.Height())),
               qPrintable(QString::number(i)));
    }
    const QPoint inside = box.topLeft() + QPoint(2, 3);
    const QColor labelBackground = graph_->RenderImage().pixelColor(inside);
    QVERIFY2(
        std::abs(labelBackground.red() - 43) <= 3 && std::abs(labelBackground.blue() - 49) <= 3,
        qPrintable(labelBackground.name()));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(graph_, &leave);
    QVERIFY(graph_->LabelBox().isEmpty());
    QVERIFY(graph_->RenderImage().pixelColor(inside) != labelBackground);
  }

  void paintsTheShownCurveInItsColourAndOthersInGrey() {
    const QColor own(45, 244, 235);  // output 7
    QImage before = graph_->RenderImage();
    QCOMPARE(CountColour(before, own, 8), 0);  // nothing shown yet

    data_->Output(7).Filter(17).SetGainIndex(330);
    data_->Output(2).Filter(8).SetGainIndex(60);
    graph_->ShowOutput(7);
    QImage alone = graph_->RenderImage();
    QVERIFY(CountColour(alone, own, 8) > 100);
    // Anti-aliased handle edges give a few such greys too; a curve adds many.
    const int greyAlone = CountColour(alone, QColor(83, 83, 83), 3);

    graph_->SetShowCurve(2, true);
    QImage both = graph_->RenderImage();
    QVERIFY(CountColour(both, QColor(83, 83, 83), 3) > greyAlone + 100);

    // The curve stays inside the plot even where the sum leaves it.
    data_->Output(7).Filter(20).SetGainIndex(400);
    data_->Output(7).Filter(21).SetGainIndex(400);
    QImage clipped = graph_->RenderImage();
    for (int x = 0; x < clipped.width(); ++x) {
      for (int y = 0; y < 9; ++y) {
        const QColor c = clipped.pixelColor(x, y);
        QVERIFY2(!(c.green() > 200 && c.blue() > 200 && c.red() < 100),
                 "curve drawn above the plot");
      }
    }
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::ResponseGraphWidgetTest)
#include "ResponseGraphWidgetTest.moc"
