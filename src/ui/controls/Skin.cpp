#include "ui/controls/Skin.h"

#include <QLinearGradient>
#include <QStringList>

namespace vantor::skin {

QFont Font(int pixelSize) {
  QFont f;
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                 QStringLiteral("WenQuanYi Micro Hei")});
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixelSize);
  f.setWeight(QFont::Normal);
  return f;
}

void DrawFace(QPainter& p, const QRectF& r, FaceState state, qreal radius, const QColor& onColour) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF body = r.adjusted(0.5, 0.5, -0.5, -0.5);
  QColor top;
  QColor bottom;
  QColor border = Border();
  switch (state) {
    case FaceState::kNormal:
      top = FaceTop();
      bottom = FaceBottom();
      break;
    case FaceState::kHover:
      top = FaceHoverTop();
      bottom = FaceHoverBottom();
      border = BorderHover();
      break;
    case FaceState::kPressed:
      top = FacePressed();
      bottom = FacePressed().lighter(104);
      border = BorderHover();
      break;
    case FaceState::kOn:
      top = onColour.lighter(112);
      bottom = onColour;
      border = onColour.darker(130);
      break;
    case FaceState::kOnHover:
      top = onColour.lighter(125);
      bottom = onColour.lighter(108);
      border = onColour.darker(140);
      break;
    case FaceState::kOnPressed:
      top = onColour.darker(115);
      bottom = onColour.darker(108);
      border = onColour.darker(150);
      break;
    case FaceState::kDisabled:
      top = FaceDisabled();
      bottom = FaceDisabled();
      border = Border().lighter(115);
      break;
  }
  QLinearGradient g(body.topLeft(), body.bottomLeft());
  g.setColorAt(0.0, top);
  g.setColorAt(1.0, bottom);
  p.setPen(QPen(border, 1.0));
  p.setBrush(g);
  p.drawRoundedRect(body, radius, radius);
  p.restore();
}

}  // namespace vantor::skin
