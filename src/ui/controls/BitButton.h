#pragma once
// The two-state button of the panels. A state-1 look that was not given takes the
// state-0 one. A right click on one of the preset slot buttons asks the open preset
// dialog for that slot's menu.

#include "ui/controls/TwoStateButton.h"

namespace vantor {

class BitButton : public TwoStateButton {
  Q_OBJECT

 public:
  using TwoStateButton::TwoStateButton;

  // The preset slot 1..6 of a slot button's control id (2401..2406, 2419..2424), or 0.
  static int PresetSlotOf(int id);

 signals:
  void presetSlotMenu(int slot);

 protected:
  const ButtonImages& ImagesFor(int state) const override;
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace vantor
