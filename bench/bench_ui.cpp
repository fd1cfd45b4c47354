// The response graph on the screen: a full repaint with eight curves and every handle,
// and one drag step (a mouse move handled, the band recomputed, the plot repainted).
// Goals: repaint within 4 ms, drag step within 8 ms.
// The same repaint with the measurement layers: the current output's prediction alone
// (goal: at most 1 ms more than without), and every output measured with all its layers.
// The main form's channel switch: every panel that follows the selection reloads (strips,
// car picture, graph, crossover panel), and on their own the crossover panel's refill and
// the delay fields' reload. Repainting is left to the event loop and not counted.
// Goal: a channel switch within 2 ms.
// The output channel dialog: LoadChannel for another output (all 31 columns, the crossover,
// gain and limiter controls refilled, the dialog repainted once), goal 5 ms; a band edit
// from the table to the repainted graph (the edit's handler with its undo step, the graph
// drawn), goal 8 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <memory>

#include "measure/MeasureSession.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "ui/app/MainFrame.h"
#include "ui/app/SampleTune.h"
#include "ui/app/VantorDoc.h"
#include "ui/app/VantorView.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/panels/CrossoverPanel.h"
#include "ui/panels/DelayPanel.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/OutputDlg.h"

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

// A rough in-car response: a bump, a dip and a ripple that differ per output.
Measurement MadeUpMeasurement(int output) {
  Measurement m;
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double octave = std::log2(kResponseGrid[i] / 1000.0);
    const double dip = octave - 0.5 - 0.2 * output;
    m.db[i] = 5.0 * std::exp(-4.0 * (octave + 2.5) * (octave + 2.5)) -
              4.0 * std::exp(-6.0 * dip * dip) + 0.8 * std::sin(7.0 * octave + output);
  }
  return m;
}

// The graph with a measurement session behind it, as the graph panel wires it.
struct LayeredGraphFixture : GraphFixture {
  MeasureSession session{data};

  LayeredGraphFixture(int output, std::initializer_list<int> measured, LayerSwitches switches)
      : GraphFixture(output) {
    for (int o : measured) session.SetMeasurement(o, MadeUpMeasurement(o));
    session.SetSwitches(switches);
    graph.SetOverlaySource([this, output] {
      std::array<bool, rec::kOutputCount> behind{};
      behind.fill(true);
      return session.Overlay(output, behind);
    });
  }
};

void BM_GraphRepaintPrediction(benchmark::State& st) {
  LayeredGraphFixture f(6, {6}, {false, true, false});
  for (auto _ : st) {
    f.Paint();
    benchmark::DoNotOptimize(f.image.constBits());
  }
}
BENCHMARK(BM_GraphRepaintPrediction)->Unit(benchmark::kMillisecond);

void BM_GraphRepaintAllLayers(benchmark::State& st) {
  LayeredGraphFixture f(6, {0, 1, 2, 3, 4, 5, 6, 7}, {true, true, true});
  for (auto _ : st) {
    f.Paint();
    benchmark::DoNotOptimize(f.image.constBits());
  }
}
BENCHMARK(BM_GraphRepaintAllLayers)->Unit(benchmark::kMillisecond);

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

// The main form with the example tuning, as after start-up without a processor.
struct FormFixture {
  ProgramState state;
  CVantorDoc doc{state};
  CMainFrame frame{doc};

  FormFixture() {
    ApplySampleTune(doc.Data());
    View().OnInitialUpdate();
    View().RefreshAll();
    // Shown, so that every control's update request is made as on the screen.
    frame.show();
    QApplication::processEvents();
  }
  CVantorView& View() { return frame.View(); }
};

void BM_ChannelSwitch(benchmark::State& st) {
  FormFixture f;
  int channel = 0;
  for (auto _ : st) {
    channel = (channel + 1) % rec::kOutputCount;
    f.View().SelectChannel(channel);
  }
}
BENCHMARK(BM_ChannelSwitch)->Unit(benchmark::kMicrosecond);

void BM_CrossoverPanelRefill(benchmark::State& st) {
  FormFixture f;
  for (auto _ : st) f.View().Crossover().Refill();
}
BENCHMARK(BM_CrossoverPanelRefill)->Unit(benchmark::kMicrosecond);

void BM_DelayPanelRefresh(benchmark::State& st) {
  FormFixture f;
  for (auto _ : st) f.View().Delays().Refresh();
}
BENCHMARK(BM_DelayPanelRefresh)->Unit(benchmark::kMicrosecond);

void BM_OutputDlgLoadChannel(benchmark::State& st) {
  FormFixture f;
  OutputDlg& dlg = f.View().OutputDialog();
  QImage image(dlg.size(), QImage::Format_ARGB32_Premultiplied);
  int channel = 0;
  for (auto _ : st) {
    channel = (channel + 1) % rec::kOutputCount;
    f.state.currentOutput.store(channel);
    dlg.LoadChannel();
    QPainter p(&image);
    dlg.render(&p);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_OutputDlgLoadChannel)->Unit(benchmark::kMillisecond);

void BM_OutputDlgBandEditToGraph(benchmark::State& st) {
  FormFixture f;
  f.View().SelectChannel(6);
  OutputDlg& dlg = f.View().OutputDialog();
  CFStatic& graph = f.View().GraphRow().Graph();
  QImage image(graph.size(), QImage::Format_ARGB32_Premultiplied);
  int step = 0;
  for (auto _ : st) {
    // A typed gain, different every time, as the edit's commit reports it.
    dlg.BandSpin(BandRow::kGain, 12).SetValue(150 + step % 100);
    dlg.OnBandGainEdit(12);
    QPainter p(&image);
    graph.Render(p);
    benchmark::DoNotOptimize(image.constBits());
    ++step;
  }
}
BENCHMARK(BM_OutputDlgBandEditToGraph)->Unit(benchmark::kMillisecond);

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
