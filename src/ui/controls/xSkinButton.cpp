#include "ui/controls/xSkinButton.h"

#include <QPainter>

#include "ui/controls/Skin.h"

namespace vantor {

xSkinButton::xSkinButton(int id, Glyph glyph, const QString& text, QWidget* parent)
    : TwoStateButton(id, text, parent), m_glyph(glyph) {}

void xSkinButton::paintEvent(QPaintEvent* event) {
  if (m_glyph == Glyph::kNone) {
    TwoStateButton::paintEvent(event);
    return;
  }
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  const bool closing = m_glyph == Glyph::kClose;
  QColor ink = isEnabled() ? skin::Text() : skin::TextDisabled();
  if (isEnabled() && (IsHovered() || isDown() || State() == 1)) {
    // The close button warms to red under the mouse; the others take the form's accent.
    const QColor face = closing ? QColor(0xC8, 0x3C, 0x3C) : skin::Accent();
    p.setPen(Qt::NoPen);
    p.setBrush(isDown() ? face.darker(115) : face);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    ink = skin::AccentText();
  }
  const QRectF r =
      QRectF(rect()).adjusted(width() * 0.33, height() * 0.33, -width() * 0.33, -height() * 0.33);
  p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
  switch (m_glyph) {
    case Glyph::kMinimise:
      p.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.right(), r.bottom()));
      break;
    case Glyph::kClose:
      p.drawLine(r.topLeft(), r.bottomRight());
      p.drawLine(r.topRight(), r.bottomLeft());
      break;
    case Glyph::kMenu:
      for (int i = 0; i < 3; ++i) {
        const qreal y = r.top() + i * r.height() / 2.0;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
      }
      break;
    case Glyph::kNone:
      break;
  }
}

}  // namespace vantor
