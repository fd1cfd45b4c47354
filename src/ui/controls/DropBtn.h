#pragma once
// The drop-down selector of the dialogs: its list grows to show every item (it opens
// above the button when it would leave the work area), and the wheel does not step it,
// so that scrolling a dialog never changes a setting by accident.

#include "ui/controls/DropSelector.h"

namespace vantor {

class DropBtn : public DropSelector {
  Q_OBJECT

 public:
  using DropSelector::DropSelector;

 protected:
  void wheelEvent(QWheelEvent* event) override;
};

}  // namespace vantor
