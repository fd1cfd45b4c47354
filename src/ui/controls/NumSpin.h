#pragma once
// The spin button beside a numeric edit. Each step moves the edit's code by one, or along
// the response grid for a frequency edit. A click reports changeNotice(id) at release;
// while a half is held the steps repeat, and the change is reported at most once per
// 400 ms and once more at release. Out-of-range values set from code are refused with
// "<edit id>:数据错误" / "<edit id>:Data err".

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>

#include "tuning/NumSpinState.h"

namespace vantor {

class CNumEdit;

class CNumSpin : public QWidget {
  Q_OBJECT

 public:
  // Auto-repeat of the steps while a half is held.
  static constexpr int kRepeatDelayMs = 300;
  static constexpr int kRepeatStepMs = 60;

  explicit CNumSpin(int id, QWidget* parent = nullptr);

  int Id() const { return m_id; }
  void SetBuddy(CNumEdit* buddy);
  CNumEdit* GetBuddy() const { return m_buddy; }
  void SetRange32(int minimum, int maximum);
  void GetRange32(int& minimum, int& maximum) const;
  int GetValue();
  // False, with the "Data err" message, when v is outside the range.
  bool SetValue(int v);
  bool IsBuddyDirty() const { return m_state.IsBuddyDirty(); }
  bool Held() const { return m_state.Held(); }

  // The language of the message (the program's flag); Chinese when not given.
  void SetLanguage(const std::atomic<bool>* chinese) { m_chinese = chinese; }
  // Where the message goes; by default a modal message box.
  void SetMessageHandler(std::function<void(const QString&)> handler) {
    m_message = std::move(handler);
  }

  // One step as the arrow halves do it: +1 up, −1 down.
  void StepBy(int delta);

  QSize sizeHint() const override { return {16, 22}; }

 signals:
  void changeNotice(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int HalfAt(QPointF p) const;  // +1 upper, −1 lower

  int m_id;
  NumSpinState m_state;
  QPointer<CNumEdit> m_buddy;
  const std::atomic<bool>* m_chinese = nullptr;
  std::function<void(const QString&)> m_message;
  int m_pressedHalf = 0;
  QTimer m_repeat;
  QTimer m_report;
};

}  // namespace vantor
