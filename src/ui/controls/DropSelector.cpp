#include "ui/controls/DropSelector.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <algorithm>

#include "ui/controls/DropList.h"
#include "ui/controls/Skin.h"

namespace vantor {

DropSelector::DropSelector(int id, QWidget* parent) : QAbstractButton(parent), m_id(id) {
  setFocusPolicy(Qt::NoFocus);
  setFont(skin::Font2());
  m_list = new DropList(this);
  connect(m_list, &DropList::chosen, this, &DropSelector::OnChosen);
  connect(m_list, &DropList::dismissed, this, &DropSelector::OnDismissed);
  connect(this, &QAbstractButton::clicked, this, &DropSelector::OpenList);
}

DropSelector::~DropSelector() = default;

void DropSelector::AddItem(const QString& text) {
  m_items.push_back(text);
  update();
}

void DropSelector::SetItems(const QStringList& items) {
  m_items = items;
  if (m_selection >= Count()) m_selection = -1;
  update();
}

void DropSelector::Clear() {
  m_items.clear();
  m_selection = -1;
  update();
}

QString DropSelector::ItemText(int index) const {
  return index >= 0 && index < Count() ? m_items[index] : QString();
}

void DropSelector::SetSelection(int index) {
  if (index < -1 || index >= Count()) return;
  m_selection = index;
  update();
}

QRect DropSelector::ListGeometry(const QRect& selector, int listHeight, const QRect& workArea) {
  QRect r(selector.left(), selector.bottom() + 1, selector.width(), listHeight);
  if (r.bottom() > workArea.bottom()) r.moveBottom(selector.top() - 1);
  return r;
}

void DropSelector::OpenList() {
  if (m_items.isEmpty() || m_list == nullptr) return;
  m_beforeOpen = m_selection;
  int h = static_cast<int>(m_items.size()) * m_list->RowHeight() + 2;
  if (m_maxListHeight > 0) h = std::min(h, m_maxListHeight);
  const QRect selector(mapToGlobal(QPoint(0, 0)), size());
  const QScreen* s = screen();
  const QRect work = s != nullptr ? s->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
  m_list->Open(m_items, m_selection, ListGeometry(selector, h, work));
}

bool DropSelector::IsListOpen() const { return m_list != nullptr && m_list->isVisible(); }

void DropSelector::ChooseByUser(int index) {
  if (index < 0 || index >= Count()) return;
  m_selection = index;
  update();
  emit selectionChanged(m_id, index);
}

void DropSelector::OnChosen(int index) { ChooseByUser(index); }

void DropSelector::OnDismissed() {
  m_selection = m_beforeOpen;
  update();
}

void DropSelector::enterEvent(QEnterEvent* event) {
  m_hover = true;
  update();
  QAbstractButton::enterEvent(event);
}

void DropSelector::leaveEvent(QEvent* event) {
  m_hover = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void DropSelector::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  skin::FaceState face = skin::FaceState::kNormal;
  if (!isEnabled()) {
    face = skin::FaceState::kDisabled;
  } else if (isDown() || IsListOpen()) {
    face = skin::FaceState::kPressed;
  } else if (m_hover) {
    face = skin::FaceState::kHover;
  }
  skin::DrawFace(p, rect(), face);

  const int arrowW = 16;
  const QRect textRect = rect().adjusted(7, 0, -arrowW - 2, 0);
  p.setFont(font());
  p.setPen(isEnabled() ? skin::Text() : skin::TextDisabled());
  p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
             fontMetrics().elidedText(ItemText(m_selection), Qt::ElideRight, textRect.width()));

  // A small chevron on the right.
  p.setRenderHint(QPainter::Antialiasing, true);
  const QPointF c(width() - arrowW / 2.0 - 3, height() / 2.0 + 1);
  QPainterPath chevron;
  chevron.moveTo(c + QPointF(-3.5, -2));
  chevron.lineTo(c + QPointF(0, 1.5));
  chevron.lineTo(c + QPointF(3.5, -2));
  p.setPen(QPen(isEnabled() ? skin::Accent() : skin::TextDisabled(), 1.5, Qt::SolidLine,
                Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(chevron);
}

}  // namespace vantor
