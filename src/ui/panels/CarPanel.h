#pragma once
// The car seen from above with a button at every speaker position (control ids 2700..2717).
// A button is shown while some output plays its position and carries the label of the
// output it selects; the position of the current output is highlighted. A click makes
// that output current. The delay panel lies on the same picture, its fields under the
// buttons.

#include <array>

#include "tuning/SpeakerPositions.h"
#include "ui/panels/Panel.h"

namespace vantor {

class BitButton;

class CarPanel : public Panel {
  Q_OBJECT

 public:
  CarPanel(PanelHost& host, QWidget* parent);

  void Refresh() override;
  void ApplyLanguage() override;

  static constexpr QSize kPositionButtonSize{40, 18};
  // Where button `id` sits on the panel; empty outside 2700..2717.
  static QRect PositionButtonRect(int id);
  // Button 2700 + k; null outside the range.
  BitButton* PositionButton(int id) const;
  // What a click on button `id` does.
  void OnPositionButton(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ShowPositions();

  std::array<BitButton*, kPositionButtonCount> m_buttons{};
  QString m_caption;
};

}  // namespace vantor
