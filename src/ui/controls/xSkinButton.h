#pragma once
// The two-state button of the window chrome (minimise, close, menu). It lies flat on the
// bar and shows its face only under the mouse; its symbol is drawn in code. Like every
// two-state button it keeps the mouse while pressed and never changes its own state.

#include "ui/controls/TwoStateButton.h"

namespace vantor {

class xSkinButton : public TwoStateButton {
  Q_OBJECT

 public:
  enum class Glyph { kNone, kMinimise, kClose, kMenu };

  xSkinButton(int id, Glyph glyph, const QString& text = {}, QWidget* parent = nullptr);

  Glyph GetGlyph() const { return m_glyph; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Glyph m_glyph;
};

}  // namespace vantor
