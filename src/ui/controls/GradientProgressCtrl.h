#pragma once
// The skinned progress bar: a rounded groove filled from the left in the accent colour by
// the share of its range the position has reached.

#include <QWidget>

namespace vantor {

class GradientProgressCtrl : public QWidget {
  Q_OBJECT

 public:
  explicit GradientProgressCtrl(QWidget* parent = nullptr);

  // The position is kept inside the range.
  void SetRange(int low, int high);
  void SetPosition(int position);
  int Low() const { return m_low; }
  int High() const { return m_high; }
  int Position() const { return m_position; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_low = 0;
  int m_high = 100;
  int m_position = 0;
};

}  // namespace vantor
