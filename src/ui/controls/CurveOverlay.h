#pragma once
// A curve drawn over the response graph (the other program's, in the A/B comparison): a
// child of the graph that covers it, lets the mouse through, and asks its source for the
// points and the plot to clip them to at every repaint, so it is redrawn with the graph.

#include <QPen>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

namespace vantor {

class CurveOverlay : public QWidget {
  Q_OBJECT

 public:
  struct Curve {
    QRect clip;
    const std::vector<QPointF>* points = nullptr;  // none: nothing is drawn
  };
  using Source = std::function<Curve()>;

  CurveOverlay(QWidget* graph, Source source, const QPen& pen);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Source m_source;
  QPen m_pen;
};

}  // namespace vantor
