#include "ui/controls/DropBtn.h"

#include <QWheelEvent>

namespace vantor {

void DropBtn::wheelEvent(QWheelEvent* event) { event->ignore(); }

}  // namespace vantor
