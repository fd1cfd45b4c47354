#include "ui/controls/GradientProgressCtrl.h"

#include <QPainter>
#include <algorithm>

#include "ui/controls/Skin.h"

namespace vantor {

GradientProgressCtrl::GradientProgressCtrl(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
}

void GradientProgressCtrl::SetRange(int low, int high) {
  m_low = std::min(low, high);
  m_high = std::max(low, high);
  m_position = std::clamp(m_position, m_low, m_high);
  update();
}

void GradientProgressCtrl::SetPosition(int position) {
  m_position = std::clamp(position, m_low, m_high);
  update();
}

void GradientProgressCtrl::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF bar(rect());
  p.setPen(QPen(skin::Border(), 1.0));
  p.setBrush(skin::Groove());
  p.drawRoundedRect(bar.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  const int span = m_high - m_low;
  if (span > 0 && m_position > m_low) {
    const double share = static_cast<double>(m_position - m_low) / span;
    QRectF fill = bar.adjusted(1.5, 1.5, -1.5, -1.5);
    fill.setWidth(fill.width() * share);
    p.setPen(Qt::NoPen);
    p.setBrush(skin::Accent());
    p.drawRoundedRect(fill, 3, 3);
  }
}

}  // namespace vantor
