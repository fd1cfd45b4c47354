// The response graph on the screen: a full repaint with eight curves and every handle,
// and one drag step (a mouse move handled, the band recomputed, the plot repainted).
// Goals: repaint within 4 ms, drag step within 8 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <memory>

#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "ui/app/SampleTune.h"
#include "ui/controls/FStatic.h"

namespace vantor {
namespace {

// The graph as the main form has it: 580 × 344, every output's curve shown.
struct GraphFixture {
  ProgramState state;
  CKTV_Data data{state};
  CFStatic graph;
  QImage image{580, 344, QImage::Format_ARGB32_Premultiplied};

  explicit GraphFixture(int output) {
    data.LoadOutputs();
    ApplySampleTune(data);
    graph.resize(580, 344);
    for (int i = 0; i < rec::kOutputCount; ++i) graph.SetShowCurve(i, true);
    graph.Attach(data);
    graph.ShowOutput(output);
  }

  void Paint() {
    QPainter p(&image);
    graph.Render(p);
  }

  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(at), QPointF(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&graph, &e);
  }
};

void BM_GraphRepaint(benchmark::State& st) {
  GraphFixture f(6);
  for (auto _ : st) {
    f.Paint();
    benchmark::DoNotOptimize(f.image.constBits());
  }
}
BENCHMARK(BM_GraphRepaint)->Unit(benchmark::kMillisecond);

void BM_GraphDragStep(benchmark::State& st) {
  GraphFixture f(6);
  const Point c = f.data.Output(6).Filter(17).HandleRect().Center();
  const QPoint start(c.x, c.y);
  f.Send(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
  f.Send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  int step = 0;
  for (auto _ : st) {
    // Back and forth over a few dozen pixels, so every step changes the band.
    const int dx = (step % 40) - 20;
    const int dy = ((step / 40) % 2 == 0 ? 1 : -1) * (step % 40) / 2;
    f.Send(QEvent::MouseMove, start + QPoint(dx * 3, dy), Qt::NoButton, Qt::LeftButton);
    f.Paint();
    benchmark::DoNotOptimize(f.image.constBits());
    ++step;
  }
  f.Send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_GraphDragStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantor

// Widgets need the application object for the whole run, created before and destroyed
// after every benchmark.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
