// The response graph widget over the model's output filter sets: cursor, mouse drags,
// the rate-limited change signal and what it paints.

#include <QSignalSpy>
#include <QTest>

#include "dsp/PlotMapping.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "ui/controls/FStatic.h"

namespace vantor {
namespace {

int CountColour(const QImage& image, const QColor& colour, int tolerance) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (qAbs(c.red() - colour.red()) <= tolerance && qAbs(c.green() - colour.green()) <= tolerance &&
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
        QVERIFY2(!(c.green() > 200 && c.blue() > 200 && c.red() < 100), "curve drawn above the plot");
      }
    }
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::ResponseGraphWidgetTest)
#include "ResponseGraphWidgetTest.moc"
