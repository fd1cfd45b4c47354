#include "ui/controls/NumEdit.h"

#include <QContextMenuEvent>
#include <QDynamicPropertyChangeEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/controls/BitmapSlider.h"
#include "ui/controls/Skin.h"

namespace vantor {
namespace {

const QColor kRestField(0x3A, 0x41, 0x50);
const QColor kRestText(0xFF, 0xFF, 0xFF);
const QColor kEditText(0x00, 0x00, 0x00);

}  // namespace

CNumEdit::CNumEdit(int id, QWidget* parent) : QLineEdit(parent), m_id(id) {
  // Only a click puts the keys into an edit: never the window's activation, Tab, or a
  // neighbour going away, so typing cannot land in an output the person is not looking at.
  setFocusPolicy(Qt::ClickFocus);
  setFrame(false);
  setAlignment(Qt::AlignCenter);
  setFont(skin::Font2());
  QPalette pal = palette();
  pal.setColor(QPalette::Base, Qt::transparent);
  pal.setColor(QPalette::Text, kRestText);
  pal.setColor(QPalette::Highlight, skin::AccentDark());
  pal.setColor(QPalette::HighlightedText, kRestText);
  setPalette(pal);
  connect(this, &QLineEdit::textEdited, this,
          [this](const QString& text) { m_state.SetText(text.toStdString()); });
  ShowStateText();
}

void CNumEdit::ShowStateText() {
  const QString text = QString::fromStdString(m_state.Text());
  if (text != this->text()) setText(text);
  update();
  if (m_linked != nullptr) m_linked->update();
}

void CNumEdit::SetMode(int mode) {
  m_state.SetMode(mode);
  ShowStateText();
}

void CNumEdit::SetRange(int minimum, int maximum) {
  m_state.SetRange(minimum, maximum);
  ShowStateText();
}

bool CNumEdit::SetValue(int code) {
  if (!m_state.SetValue(code)) return false;
  ShowStateText();
  return true;
}

int CNumEdit::GetValue() { return m_state.GetValue(); }

bool CNumEdit::Highlighted() const {
  return m_editing || property(BitmapSlider::kHighlightProperty).toBool();
}

void CNumEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // The click that brought the focus only takes it, so the whole text stays selected.
  m_focusClick = event->reason() == Qt::MouseFocusReason;
  m_editing = true;
  if (isReadOnly()) {
    setCursorPosition(0);
  } else {
    selectAll();
  }
  UpdateColours();
}

void CNumEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  const NumEditState::CommitOutcome outcome = m_state.Commit();
  m_editing = false;
  m_focusClick = false;
  UpdateColours();
  ShowStateText();
  if (outcome.notify) emit changeNotice(m_id);
}

void CNumEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    emit changeNotice(m_id);
    if (m_focusClick) {
      m_focusClick = false;
      event->accept();
      return;
    }
  }
  QLineEdit::mousePressEvent(event);
}

void CNumEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  if (!isReadOnly()) selectAll();
}

void CNumEdit::contextMenuEvent(QContextMenuEvent* event) {
  // The toolkit's edit menu would be English in both languages, and its "Delete" leaves an
  // empty text that commits as 0. A value is typed or stepped, so there is no menu.
  event->accept();
}

bool CNumEdit::event(QEvent* event) {
  // The attached slider marks the edit while it has the focus.
  if (event->type() == QEvent::DynamicPropertyChange) UpdateColours();
  return QLineEdit::event(event);
}

void CNumEdit::UpdateColours() {
  const QColor text = Highlighted() ? kEditText : kRestText;
  QPalette pal = palette();
  if (pal.color(QPalette::Text) != text) {
    pal.setColor(QPalette::Text, text);
    setPalette(pal);
  }
  update();
}

void CNumEdit::paintEvent(QPaintEvent* event) {
  const bool lit = Highlighted();
  {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? skin::EditHighlight() : (isEnabled() ? kRestField : skin::TextDisabled()));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  }
  QLineEdit::paintEvent(event);
}

}  // namespace vantor
