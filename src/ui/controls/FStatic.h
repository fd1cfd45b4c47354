#pragma once
// The response graph: draws the curves of the output filter sets on the logarithmic plot
// and lets the user drag bands, bandwidths and crossovers, or step a band with the wheel.
// Every decision is made by ResponseGraphModel; this widget paints what it says, forwards
// the mouse and, from its 50 ms timer, emits graphChanged(index, notifyCode) for the owner
// (at most 20 a second). An owner may add layers (measurements and what follows from
// them) through an overlay source, drawn behind the channel curve. Each gesture that may
// edit (a drag from press to release, one wheel notch) is announced by gestureBegun before
// it changes anything and by gestureEnded once it is over, for the owner's undo steps.

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <vector>

#include <QFontMetrics>
#include <functional>

#include "measure/GraphOverlay.h"
#include "tuning/ResponseGraphModel.h"

namespace vantor {

class CKTV_Data;

class CFStatic : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kNotifyTimerMs = 50;
  // One notch of a mouse wheel, in the toolkit's eighths of a degree.
  static constexpr int kWheelNotch = 120;
  using OverlaySource = std::function<GraphOverlay()>;

  explicit CFStatic(QWidget* parent = nullptr);

  // The eight output filter sets and their curve colours; lays out and starts the
  // notification timer. The sets must outlive the graph or be replaced by another Attach.
  void Attach(const std::array<CKTVEQ*, rec::kOutputCount>& sets,
              const std::array<QColor, rec::kOutputCount>& colours);
  // The parameter model's eight outputs, each in its own curve colour.
  void Attach(CKTV_Data& data);
  void ShowOutput(int index);
  void SetMode(int mode);
  int Mode() const { return m_model.Mode(); }
  void SetShowCurve(int output, bool on);
  // Sets the element whose label is shown (−1: the current filter's) and repaints.
  void Redraw(int highlight = -1);

  ResponseGraphModel& Model() { return m_model; }
  const ResponseGraphModel& Model() const { return m_model; }

  // The layers drawn behind the curves, asked for at every repaint (none without a source).
  void SetOverlaySource(OverlaySource source);
  // The legend's names of the four layer kinds, in LayerKind order.
  void SetLayerNames(const std::array<QString, 4>& names);
  // Where the label of the current (or highlighted) element is drawn; empty when none is.
  QRect LabelBox() const;
  // Where the handle texts are drawn, in element order.
  std::vector<QRect> HandleTextBoxes() const;

  // Draws the whole control as it appears on screen.
  void Render(QPainter& p);
  QImage RenderImage();

 signals:
  void graphChanged(int index, int notifyCode);
  // A gesture that may edit begins (before any change) and ends; `serial` pairs the two.
  void gestureBegun(int serial);
  void gestureEnded(int serial);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void OnNotifyTimer();
  void AfterMouse(bool redraw);
  void PaintBackground(QPainter& p);
  void PaintPlot(QPainter& p);
  void PaintCurve(QPainter& p, const PointF* points, const QPen& pen);
  void PaintLayer(QPainter& p, const LayerCurve& layer);
  void PaintMarkers(QPainter& p, const GraphOverlay& overlay);
  // The legend of the current output's layers; returns where it lies (empty: none).
  QRect PaintLegend(QPainter& p, const GraphOverlay& overlay);
  void PaintHandles(QPainter& p, const QRect& legend);
  QRect LabelBoxAvoiding(const std::vector<Rect>& texts) const;
  int BeginGesture();

  ResponseGraphModel m_model;
  std::array<QColor, rec::kOutputCount> m_colours{};
  QTimer m_notifyTimer;
  QFont m_axisFont;
  QFont m_handleFont;
  QFont m_labelFont;
  QFontMetrics m_handleMetrics;
  QFontMetrics m_labelMetrics;
  OverlaySource m_overlaySource;
  std::array<QString, 4> m_layerNames{};
  std::array<PointF, kGridPoints> m_layerPoints{};
  QRect m_legend;
  int m_gestureSerial = 0;
  int m_dragSerial = 0;  // the serial of the drag in progress, 0 when none
  int m_wheelRest = 0;   // wheel movement short of a whole notch
  // Everything that does not depend on the filters (body, axis labels, grid), drawn once
  // per size and mode.
  QImage m_background;
  CurveRuns m_runs;
  std::vector<QPointF> m_polyline;
  int m_backgroundMode = -1;
};

}  // namespace vantor
