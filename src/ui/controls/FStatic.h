#pragma once
// The response graph: draws the curves of the output filter sets on the logarithmic plot
// and lets the user drag bands, bandwidths and crossovers. Every decision is made by
// ResponseGraphModel; this widget paints what it says, forwards the mouse and, from its
// 50 ms timer, emits graphChanged(index, notifyCode) for the owner (at most 20 a second).

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <vector>

#include "tuning/ResponseGraphModel.h"

namespace vantor {

class CKTV_Data;

class CFStatic : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kNotifyTimerMs = 50;

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

  // Draws the whole control as it appears on screen.
  void Render(QPainter& p);
  QImage RenderImage();

 signals:
  void graphChanged(int index, int notifyCode);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void OnNotifyTimer();
  void AfterMouse(bool redraw);
  void PaintBackground(QPainter& p);
  void PaintPlot(QPainter& p);
  void PaintCurve(QPainter& p, const CKTVEQ& set, const QColor& colour);
  void PaintHandles(QPainter& p);

  ResponseGraphModel m_model;
  std::array<QColor, rec::kOutputCount> m_colours{};
  QTimer m_notifyTimer;
  QFont m_axisFont;
  QFont m_handleFont;
  QFont m_labelFont;
  // Everything that does not depend on the filters (body, axis labels, grid), drawn once
  // per size and mode.
  QImage m_background;
  CurveRuns m_runs;
  std::vector<QPointF> m_polyline;
  int m_backgroundMode = -1;
};

}  // namespace vantor
