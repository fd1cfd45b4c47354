#pragma once
// The borderless list window of a drop-down selector. It closes when an item is clicked
// (chosen) or when the user clicks elsewhere or presses Escape (dismissed).

#include <QStringList>
#include <QWidget>

namespace vantor {

class DropList : public QWidget {
  Q_OBJECT

 public:
  explicit DropList(QWidget* owner);

  // Shows the items at the given screen rectangle with `current` marked.
  void Open(const QStringList& items, int current, const QRect& globalGeometry);
  int RowHeight() const;
  // Row under a point of the list, −1 outside the items.
  int RowAt(QPoint local) const;
  int HoverRow() const { return m_hover; }
  int FirstRow() const { return m_first; }

 signals:
  void chosen(int index);
  void dismissed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  int VisibleRows() const;
  void ScrollTo(int row);
  void Choose(int row);

  QStringList m_items;
  int m_current = -1;
  int m_hover = -1;
  int m_first = 0;
  bool m_chosen = false;
};

}  // namespace vantor
