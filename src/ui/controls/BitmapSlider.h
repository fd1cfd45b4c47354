#pragma once
// The skinned slider of every level control. It keeps a stored position in its range;
// with the direct flag clear the stored position is the mirror of the value, so a
// vertical slider has its maximum at the top. Dragging reports "moving" at most every
// 50 ms while the thumb moves and "moved" on release; keys and the wheel report "moved"
// at every step. Both carry the slider's control id and the stored position.

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace vantor {

class BitmapSlider : public QWidget {
  Q_OBJECT

 public:
  // Interval of the moving notices during a drag.
  static constexpr int kMovingIntervalMs = 50;
  // Dynamic property set on the attached edit while the slider has the focus.
  static constexpr const char* kHighlightProperty = "vantorHighlight";

  explicit BitmapSlider(int id, Qt::Orientation orientation = Qt::Vertical,
                        QWidget* parent = nullptr);

  int Id() const { return m_id; }
  Qt::Orientation Orientation() const { return m_orientation; }

  void SetRange(int minimum, int maximum);
  int Minimum() const { return m_min; }
  int Maximum() const { return m_max; }
  void SetPage(int page) { m_page = page; }
  int Page() const { return m_page; }
  // Distances from the edges that bound the thumb's travel.
  void SetMargins(int left, int top, int right, int bottom);
  void SetThumbSize(QSize size);
  QSize ThumbSize() const { return m_thumb; }
  void SetDirect(bool direct);
  bool Direct() const { return m_direct; }
  void SetReversedKeys(bool reversed) { m_reversedKeys = reversed; }
  // An edit that is highlighted while the slider has the focus.
  void AttachEdit(QWidget* edit) { m_edit = edit; }

  // Positions in values; the stored position follows the direct flag.
  void SetPos(int value);
  int GetPos() const;
  int StoredPos() const { return m_pos; }
  bool IsDragging() const { return m_dragging; }
  bool IsFocused() const { return m_focused; }

  // Client rectangle of the thumb at the current position.
  QRect ThumbRect() const;

  QSize sizeHint() const override;

 public slots:
  // Keyboard travel between sliders: take the focus and show it.
  void TakeFocus();

 signals:
  void moving(int id, int storedPos);
  void moved(int id, int storedPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int AxisLength() const;
  int AxisCoord(QPointF p) const;
  int MarginStart() const;
  int MarginEnd() const;
  int ThumbLength() const;
  int Travel() const;
  int ThumbStart(int stored) const;
  int StoredFromThumbCentre(int centre) const;
  int Clamp(int stored) const;
  void SetStored(int stored);
  void OnTick();
  void Highlight(bool on);

  int m_id;
  Qt::Orientation m_orientation;
  int m_min = 0;
  int m_max = 100;
  int m_pos = 0;
  int m_page = 10;
  bool m_direct = true;
  bool m_reversedKeys = false;
  int m_marginLeft = 0;
  int m_marginTop = 0;
  int m_marginRight = 0;
  int m_marginBottom = 0;
  QSize m_thumb;
  QPointer<QWidget> m_edit;

  bool m_dragging = false;
  int m_grabOffset = 0;
  bool m_movedSinceTick = false;
  bool m_focused = false;
  int m_wheelSum = 0;
  QTimer m_tick;
};

}  // namespace vantor
