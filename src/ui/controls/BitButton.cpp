#include "ui/controls/BitButton.h"

#include <QMouseEvent>

namespace vantor {

int BitButton::PresetSlotOf(int id) {
  if (id >= 2401 && id <= 2406) return id - 2400;
  if (id >= 2419 && id <= 2424) return id - 2418;
  return 0;
}

const ButtonImages& BitButton::ImagesFor(int state) const {
  const ButtonImages& own = TwoStateButton::ImagesFor(state);
  if (state == 1 && own.IsEmpty()) return TwoStateButton::ImagesFor(0);
  return own;
}

void BitButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    const int slot = PresetSlotOf(Id());
    if (slot != 0 && isEnabled()) {
      emit presetSlotMenu(slot);
      event->accept();
      return;
    }
  }
  TwoStateButton::mousePressEvent(event);
}

}  // namespace vantor
