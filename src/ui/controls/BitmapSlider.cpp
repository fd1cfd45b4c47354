#include "ui/controls/BitmapSlider.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "ui/controls/Skin.h"

namespace vantor {

BitmapSlider::BitmapSlider(int id, Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent),
      m_id(id),
      m_orientation(orientation),
      m_thumb(orientation == Qt::Vertical ? QSize(22, 12) : QSize(12, 22)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_Hover);
  m_tick.setInterval(kMovingIntervalMs);
  m_tick.setTimerType(Qt::PreciseTimer);
  connect(&m_tick, &QTimer::timeout, this, &BitmapSlider::OnTick);
}

QSize BitmapSlider::sizeHint() const {
  return m_orientation == Qt::Vertical ? QSize(m_thumb.width() + 4, 120)
                                       : QSize(120, m_thumb.height() + 4);
}

// ---------------------------------------------------------------------------------------
// Range and position

void BitmapSlider::SetRange(int minimum, int maximum) {
  m_min = std::min(minimum, maximum);
  m_max = std::max(minimum, maximum);
  m_pos = Clamp(m_pos);
  update();
}

void BitmapSlider::SetMargins(int left, int top, int right, int bottom) {
  m_marginLeft = left;
  m_marginTop = top;
  m_marginRight = right;
  m_marginBottom = bottom;
  update();
}

void BitmapSlider::SetThumbSize(QSize size) {
  m_thumb = size;
  update();
}

void BitmapSlider::SetDirect(bool direct) {
  const int value = GetPos();
  m_direct = direct;
  SetPos(value);
}

// With the direct flag clear the stored position mirrors the value within the range
// (minimum + maximum − value; for the usual ranges from 0 that is maximum − value).
void BitmapSlider::SetPos(int value) {
  const int v = std::clamp(value, m_min, m_max);
  SetStored(m_direct ? v : m_min + m_max - v);
}

int BitmapSlider::GetPos() const { return m_direct ? m_pos : m_min + m_max - m_pos; }

int BitmapSlider::Clamp(int stored) const { return std::clamp(stored, m_min, m_max); }

void BitmapSlider::SetStored(int stored) {
  const int s = Clamp(stored);
  if (s == m_pos) return;
  m_pos = s;
  update();
}

// ---------------------------------------------------------------------------------------
// Geometry: the thumb travels along the axis between the margins.

int BitmapSlider::AxisLength() const { return m_orientation == Qt::Vertical ? height() : width(); }

int BitmapSlider::AxisCoord(QPointF p) const {
  return static_cast<int>(std::floor(m_orientation == Qt::Vertical ? p.y() : p.x()));
}

int BitmapSlider::MarginStart() const {
  return m_orientation == Qt::Vertical ? m_marginTop : m_marginLeft;
}

int BitmapSlider::MarginEnd() const {
  return m_orientation == Qt::Vertical ? m_marginBottom : m_marginRight;
}

int BitmapSlider::ThumbLength() const {
  return m_orientation == Qt::Vertical ? m_thumb.height() : m_thumb.width();
}

int BitmapSlider::Travel() const {
  return std::max(0, AxisLength() - MarginStart() - MarginEnd() - ThumbLength());
}

int BitmapSlider::ThumbStart(int stored) const {
  const int span = m_max - m_min;
  if (span <= 0) return MarginStart();
  return MarginStart() +
         static_cast<int>(std::lround(static_cast<double>(stored - m_min) * Travel() / span));
}

int BitmapSlider::StoredFromThumbCentre(int centre) const {
  const int travel = Travel();
  if (travel <= 0) return m_min;
  const double along = centre - ThumbLength() / 2 - MarginStart();
  return Clamp(m_min + static_cast<int>(std::lround(along * (m_max - m_min) / travel)));
}

QRect BitmapSlider::ThumbRect() const {
  const int start = ThumbStart(m_pos);
  if (m_orientation == Qt::Vertical) {
    const int x = (width() - m_thumb.width()) / 2;
    return {x, start, m_thumb.width(), m_thumb.height()};
  }
  const int y = (height() - m_thumb.height()) / 2;
  return {start, y, m_thumb.width(), m_thumb.height()};
}

// ---------------------------------------------------------------------------------------
// Input

void BitmapSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  m_dragging = true;
  const int pointer = AxisCoord(event->position());
  const int centre = ThumbStart(m_pos) + ThumbLength() / 2;
  // Caught on the thumb: keep the distance, so the thumb does not jump. Elsewhere the
  // thumb comes to the pointer.
  m_grabOffset = std::abs(pointer - centre) <= ThumbLength() / 2 ? pointer - centre : 0;
  const int stored = StoredFromThumbCentre(pointer - m_grabOffset);
  if (stored != m_pos) {
    SetStored(stored);
    m_movedSinceTick = true;
  }
  m_tick.start();
  update();
}

void BitmapSlider::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  const int stored = StoredFromThumbCentre(AxisCoord(event->position()) - m_grabOffset);
  if (stored != m_pos) {
    SetStored(stored);
    m_movedSinceTick = true;
  }
}

void BitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_dragging) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  m_dragging = false;
  m_movedSinceTick = false;
  m_tick.stop();
  update();
  emit moved(m_id, m_pos);
}

void BitmapSlider::OnTick() {
  if (!m_movedSinceTick) return;
  m_movedSinceTick = false;
  emit moving(m_id, m_pos);
}

void BitmapSlider::keyPressEvent(QKeyEvent* event) {
  const int back = m_reversedKeys ? 1 : -1;
  int stored = m_pos;
  switch (event->key()) {
    case Qt::Key_PageUp:
      stored -= m_page;
      break;
    case Qt::Key_PageDown:
      stored += m_page;
      break;
    case Qt::Key_End:
      stored = m_max;
      break;
    case Qt::Key_Home:
      stored = m_min;
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
      stored += back;
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      stored -= back;
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  SetStored(stored);
  emit moved(m_id, m_pos);
}

void BitmapSlider::wheelEvent(QWheelEvent* event) {
  // Whole notches of 120; finer wheels and touch pads add up to them.
  m_wheelSum += event->angleDelta().y();
  int steps = 0;
  while (m_wheelSum <= -120) {
    ++steps;  // towards the user
    m_wheelSum += 120;
  }
  while (m_wheelSum >= 120) {
    --steps;
    m_wheelSum -= 120;
  }
  event->accept();
  if (steps == 0) return;
  SetStored(m_pos + steps);
  emit moved(m_id, m_pos);
}

void BitmapSlider::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  Highlight(true);
  m_focused = true;
  emit moving(m_id, m_pos);
  update();
}

void BitmapSlider::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  Highlight(false);
  m_focused = false;
  update();
}

void BitmapSlider::TakeFocus() {
  setFocus(Qt::OtherFocusReason);
  m_focused = true;
  update();
}

void BitmapSlider::Highlight(bool on) {
  if (m_edit == nullptr) return;
  m_edit->setProperty(kHighlightProperty, on);
  m_edit->update();
}

// ---------------------------------------------------------------------------------------
// Drawing: a slim groove, filled from the low end of the value to the thumb, and a raised
// thumb with three grip lines.

void BitmapSlider::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  const bool vertical = m_orientation == Qt::Vertical;
  const QRect thumb = ThumbRect();
  const int half = ThumbLength() / 2;
  const int grooveStart = MarginStart() + half;
  const int grooveEnd = std::max(grooveStart, AxisLength() - MarginEnd() - half);
  constexpr qreal kGroove = 4.0;

  QRectF groove;
  if (vertical) {
    groove = QRectF(width() / 2.0 - kGroove / 2, grooveStart, kGroove, grooveEnd - grooveStart);
  } else {
    groove = QRectF(grooveStart, height() / 2.0 - kGroove / 2, grooveEnd - grooveStart, kGroove);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(isEnabled() ? skin::Groove() : skin::FaceDisabled());
  p.drawRoundedRect(groove, 2, 2);

  // The filled part runs from the end where the value is lowest to the thumb.
  const int thumbCentre = (vertical ? thumb.center().y() : thumb.center().x());
  const bool lowAtStart = m_direct;
  QRectF fill = groove;
  if (vertical) {
    if (lowAtStart)
      fill.setBottom(thumbCentre);
    else
      fill.setTop(thumbCentre);
  } else {
    if (lowAtStart)
      fill.setRight(thumbCentre);
    else
      fill.setLeft(thumbCentre);
  }
  if (isEnabled()) {
    p.setBrush(skin::Accent());
    p.drawRoundedRect(fill, 2, 2);
  }

  skin::FaceState state = skin::FaceState::kNormal;
  if (!isEnabled()) {
    state = skin::FaceState::kDisabled;
  } else if (m_dragging) {
    state = skin::FaceState::kPressed;
  } else if (underMouse()) {
    state = skin::FaceState::kHover;
  }
  skin::DrawFace(p, thumb, state, 3.0);
  if (m_focused && isEnabled()) {
    p.setPen(QPen(skin::Focus(), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(thumb).adjusted(1, 1, -1, -1), 2.5, 2.5);
  }
  // Grip lines across the thumb.
  p.setPen(QPen(isEnabled() ? skin::Border() : skin::TextDisabled(), 1.0));
  const QPointF c = QRectF(thumb).center();
  for (int i = -1; i <= 1; ++i) {
    if (vertical) {
      const qreal y = c.y() + i * 2.5;
      p.drawLine(QPointF(thumb.left() + 6, y), QPointF(thumb.right() - 5, y));
    } else {
      const qreal x = c.x() + i * 2.5;
      p.drawLine(QPointF(x, thumb.top() + 6), QPointF(x, thumb.bottom() - 5));
    }
  }
}

}  // namespace vantor
