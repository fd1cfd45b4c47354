#include "ui/panels/Panel.h"

#include <QPainter>

#include "model/ProgramState.h"
#include "ui/QtText.h"

namespace vantor {

QString PanelHost::Text(TextId id) { return Q(Tr(id, Chinese())); }

bool PanelHost::Chinese() { return State().chinese.load(); }

Panel::Panel(PanelHost& host, QWidget* parent) : QWidget(parent), m_host(host) {}

void Panel::PaintBody(QPainter& p) const {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0xC6, 0xCA, 0xD8), 1.0));
  p.setBrush(QColor(0xEC, 0xEE, 0xF5));
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

}  // namespace vantor
