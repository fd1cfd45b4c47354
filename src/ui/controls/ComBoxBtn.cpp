#include "ui/controls/ComBoxBtn.h"

#include <QWheelEvent>
#include <algorithm>

namespace vantor {

ComBoxBtn::ComBoxBtn(int id, QWidget* parent) : DropSelector(id, parent) {
  SetMaxListHeight(kMaxListHeight);
}

void ComBoxBtn::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (!isEnabled() || Count() == 0) return;
  m_wheelSum = std::clamp(m_wheelSum + event->angleDelta().y(), -120, 120);
  if (m_wheelSum == -120) {
    m_wheelSum = 0;
    ChooseByUser(std::min(Selection() + 1, Count() - 1));
  } else if (m_wheelSum == 120) {
    m_wheelSum = 0;
    ChooseByUser(std::max(Selection() - 1, 0));
  }
}

}  // namespace vantor
