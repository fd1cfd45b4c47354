#include "ui/controls/DropList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/controls/Skin.h"

namespace vantor {

DropList::DropList(QWidget* owner) : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint) {
  // A click on the selector while its list is open only closes the list.
  setAttribute(Qt::WA_NoMouseReplay);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setFont(skin::Font2());
}

int DropList::RowHeight() const { return fontMetrics().height() + 6; }

int DropList::VisibleRows() const { return std::max(1, (height() - 2) / RowHeight()); }

void DropList::Open(const QStringList& items, int current, const QRect& globalGeometry) {
  m_items = items;
  m_current = current;
  m_hover = current;
  m_chosen = false;
  m_first = 0;
  setGeometry(globalGeometry);
  ScrollTo(std::max(current, 0));
  show();
  setFocus(Qt::PopupFocusReason);
}

int DropList::RowAt(QPoint local) const {
  if (!rect().contains(local)) return -1;
  const int row = m_first + (local.y() - 1) / RowHeight();
  return row >= 0 && row < m_items.size() ? row : -1;
}

void DropList::ScrollTo(int row) {
  const int visible = VisibleRows();
  if (row < m_first) m_first = row;
  if (row >= m_first + visible) m_first = row - visible + 1;
  m_first = std::clamp(m_first, 0, std::max(0, static_cast<int>(m_items.size()) - visible));
  update();
}

void DropList::Choose(int row) {
  m_chosen = true;
  hide();
  emit chosen(row);
}

void DropList::mouseMoveEvent(QMouseEvent* event) {
  const int row = RowAt(event->position().toPoint());
  if (row != m_hover && row >= 0) {
    m_hover = row;
    update();
  }
}

void DropList::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int row = RowAt(event->position().toPoint());
  if (row >= 0) Choose(row);
}

void DropList::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      m_hover = std::max(0, m_hover - 1);
      ScrollTo(m_hover);
      break;
    case Qt::Key_Down:
      m_hover = std::min(static_cast<int>(m_items.size()) - 1, m_hover + 1);
      ScrollTo(m_hover);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (m_hover >= 0) Choose(m_hover);
      break;
    case Qt::Key_Escape:
      hide();
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void DropList::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) {
    m_first -= notches;
    ScrollTo(std::clamp(m_first, 0, std::max(0, static_cast<int>(m_items.size()) - 1)));
  }
  event->accept();
}

void DropList::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!m_chosen) {
    m_chosen = true;  // report a dismissal once
    emit dismissed();
  }
}

void DropList::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), skin::ListBackground());
  p.setPen(skin::Border());
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  const int rowH = RowHeight();
  const int visible = VisibleRows();
  for (int i = 0; i < visible && m_first + i < m_items.size(); ++i) {
    const int row = m_first + i;
    const QRect r(1, 1 + i * rowH, width() - 2, rowH);
    if (row == m_hover) {
      p.fillRect(r, skin::ListHighlight());
    }
    p.setPen(row == m_current ? skin::AccentDark() : skin::Text());
    p.drawText(r.adjusted(6, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
               fontMetrics().elidedText(m_items[row], Qt::ElideRight, r.width() - 10));
  }
  // A thin bar tells that there is more than shows.
  if (m_items.size() > visible) {
    const int track = height() - 2;
    const int bar = std::max(12, track * visible / static_cast<int>(m_items.size()));
    const int y =
        1 + (track - bar) * m_first / std::max(1, static_cast<int>(m_items.size()) - visible);
    p.fillRect(QRect(width() - 4, y, 3, bar), skin::Groove());
  }
}

}  // namespace vantor
