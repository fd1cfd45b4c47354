#pragma once
// A skinned button with two looks, state 0 and state 1, each with normal, hover, pressed
// and disabled faces. The owner sets the state; a click never changes it, it is only
// reported (clicked() and clickedId()). Faces come from the project's own images when
// given, otherwise they are drawn in code: state 1 in the button's accent colour.

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace vantor {

struct ButtonImages {
  QPixmap normal;
  QPixmap hover;
  QPixmap pressed;
  QPixmap disabled;
  bool IsEmpty() const { return normal.isNull(); }
};

class TwoStateButton : public QAbstractButton {
  Q_OBJECT

 public:
  TwoStateButton(int id, const QString& text, QWidget* parent = nullptr);

  int Id() const { return m_id; }
  void SetState(int state);
  int State() const { return m_state; }
  bool IsHovered() const { return m_hover; }
  bool IsPressed() const { return isDown(); }

  void SetImages(const ButtonImages& state0, const ButtonImages& state1);
  // Colour of the state-1 face when it is drawn in code.
  void SetAccent(const QColor& colour);
  void SetTextColors(const QColor& state0, const QColor& state1);

  QSize sizeHint() const override;

 signals:
  void clickedId(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  // The images of a state; a subclass may fall back on the other state's.
  virtual const ButtonImages& ImagesFor(int state) const;

 private:
  int m_id;
  int m_state = 0;
  bool m_hover = false;
  ButtonImages m_images[2];
  QColor m_accent;
  QColor m_text0;
  QColor m_text1;
};

}  // namespace vantor
