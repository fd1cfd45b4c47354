#include "ui/controls/CurveOverlay.h"

#include <QEvent>
#include <QPainter>

namespace vantor {

CurveOverlay::CurveOverlay(QWidget* graph, Source source, const QPen& pen)
    : QWidget(graph), m_source(std::move(source)), m_pen(pen) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setGeometry(graph->rect());
  graph->installEventFilter(this);
}

// Keeps covering the graph when it changes size.
bool CurveOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) {
    setGeometry(parentWidget()->rect());
  }
  return QWidget::eventFilter(watched, event);
}

void CurveOverlay::paintEvent(QPaintEvent* /*event*/) {
  const Curve curve = m_source();
  if (curve.points == nullptr || curve.points->size() < 2) return;
  QPainter p(this);
  p.setClipRect(curve.clip);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(m_pen);
  p.drawPolyline(curve.points->data(), static_cast<int>(curve.points->size()));
}

}  // namespace vantor
