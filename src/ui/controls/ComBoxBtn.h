#pragma once
// The drop-down selector of the main form's lists (input source, crossover families).
// Its list is at most 130 pixels high, and the mouse wheel steps through the items: one
// notch towards the user selects the next item, away the previous one.

#include "ui/controls/DropSelector.h"

namespace vantor {

class ComBoxBtn : public DropSelector {
  Q_OBJECT

 public:
  static constexpr int kMaxListHeight = 130;

  explicit ComBoxBtn(int id, QWidget* parent = nullptr);

 protected:
  void wheelEvent(QWheelEvent* event) override;

 private:
  int m_wheelSum = 0;
};

}  // namespace vantor
