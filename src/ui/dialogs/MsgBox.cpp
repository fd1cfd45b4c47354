#include "ui/dialogs/MsgBox.h"

namespace vantor {

CMsgBox::CMsgBox(QWidget* parent) : QWidget(parent) {
  setObjectName(QLatin1String(kWindowName));
  hide();
  // The notice keeps its one-second timer; nothing else waits for it.
  m_timer.setSingleShot(true);
  m_timer.setInterval(1000);
}

void CMsgBox::ShowText(const QString& text) {
  m_last = text;
  m_timer.start();
  if (m_presenter) m_presenter(text);
}

}  // namespace vantor
