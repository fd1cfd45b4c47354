#pragma once
// The car seen from above with a button at every speaker position (control ids 2700..2717).
// A button is shown while some output plays its position and carries the label of the
// output it selects; the position of the current output is highlighted. Clicks are
// reported as positionClicked(id); which output that means is the form's decision.

#include <QWidget>
#include <array>
#include <cstdint>
#include <span>

namespace vantor {

class BitButton;

class CarPanel : public QWidget {
  Q_OBJECT

 public:
  explicit CarPanel(QWidget* parent = nullptr);

  // Button 2700 + k; null outside the range.
  BitButton* PositionButton(int id) const;
  void SetCaption(const QString& caption);
  // Shows the buttons in use, each with the label of the output it selects, and highlights
  // the button of `currentType`.
  void Refresh(std::span<const std::uint8_t> types, int currentType);

 signals:
  void positionClicked(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<BitButton*, 18> m_buttons{};
  QString m_caption;
};

}  // namespace vantor
