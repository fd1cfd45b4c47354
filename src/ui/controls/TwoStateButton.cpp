#include "ui/controls/TwoStateButton.h"

#include <QEnterEvent>
#include <QPainter>

#include "ui/controls/Skin.h"

namespace vantor {

TwoStateButton::TwoStateButton(int id, const QString& text, QWidget* parent)
    : QAbstractButton(parent),
      m_id(id),
      m_accent(skin::Accent()),
      m_text0(skin::Text()),
      m_text1(skin::AccentText()) {
  setText(text);
  setCheckable(false);
  setFocusPolicy(Qt::NoFocus);
  setFont(skin::Font2());
  connect(this, &QAbstractButton::clicked, this, [this] { emit clickedId(m_id); });
}

QSize TwoStateButton::sizeHint() const {
  const QSize t = fontMetrics().size(Qt::TextSingleLine, text());
  return {t.width() + 16, t.height() + 8};
}

void TwoStateButton::SetState(int state) {
  const int s = state != 0 ? 1 : 0;
  if (s == m_state) return;
  m_state = s;
  update();
}

void TwoStateButton::SetImages(const ButtonImages& state0, const ButtonImages& state1) {
  m_images[0] = state0;
  m_images[1] = state1;
  update();
}

void TwoStateButton::SetAccent(const QColor& colour) {
  m_accent = colour;
  update();
}

void TwoStateButton::SetTextColors(const QColor& state0, const QColor& state1) {
  m_text0 = state0;
  m_text1 = state1;
  update();
}

const ButtonImages& TwoStateButton::ImagesFor(int state) const { return m_images[state]; }

void TwoStateButton::enterEvent(QEnterEvent* event) {
  m_hover = true;
  update();
  QAbstractButton::enterEvent(event);
}

void TwoStateButton::leaveEvent(QEvent* event) {
  m_hover = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void TwoStateButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  const ButtonImages& images = ImagesFor(m_state);
  const bool pressed = isDown();
  if (!images.IsEmpty()) {
    const QPixmap* pm = &images.normal;
    if (!isEnabled() && !images.disabled.isNull()) {
      pm = &images.disabled;
    } else if (pressed && !images.pressed.isNull()) {
      pm = &images.pressed;
    } else if (m_hover && !images.hover.isNull()) {
      pm = &images.hover;
    }
    p.drawPixmap(rect(), *pm);
  } else {
    skin::FaceState face = skin::FaceState::kNormal;
    if (!isEnabled()) {
      face = skin::FaceState::kDisabled;
    } else if (m_state == 1) {
      face = pressed ? skin::FaceState::kOnPressed
                     : (m_hover ? skin::FaceState::kOnHover : skin::FaceState::kOn);
    } else {
      face = pressed ? skin::FaceState::kPressed
                     : (m_hover ? skin::FaceState::kHover : skin::FaceState::kNormal);
    }
    skin::DrawFace(p, rect(), face, 4.0, m_accent);
  }
  if (!text().isEmpty()) {
    p.setFont(font());
    p.setPen(!isEnabled() ? skin::TextDisabled() : (m_state == 1 ? m_text1 : m_text0));
    // A pressed face moves its caption by a pixel, like a real key.
    const QRect r = pressed ? rect().translated(0, 1) : rect();
    p.drawText(r, Qt::AlignCenter, text());
  }
}

}  // namespace vantor
