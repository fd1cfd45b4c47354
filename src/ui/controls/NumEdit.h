#pragma once
// The numeric edit: shows a parameter code in its unit and turns typed text back into a
// code when it loses the focus. The conversions live in NumEditState; this widget feeds
// it the text and draws it: white on a dark field at rest, black on the editing colour
// while it has the focus or its slider has. A committed change, and every left click, is
// reported as changeNotice(id). It takes the keyboard only when clicked into, and offers no
// context menu.

#include <QLineEdit>
#include <QPointer>

#include "tuning/NumEditState.h"

namespace vantor {

class CNumEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CNumEdit(int id, QWidget* parent = nullptr);

  int Id() const { return m_id; }
  void SetMode(int mode);
  int Mode() const { return m_state.Mode(); }
  void SetScale(double scale) { m_state.SetScale(scale); }
  void SetOffset(double offset) { m_state.SetOffset(offset); }
  void SetTemperature(int temperature) { m_state.SetTemperature(temperature); }
  // Stores the range; the value becomes the minimum.
  void SetRange(int minimum, int maximum);
  // Takes the code when it is in the range and shows it; false (nothing changed) otherwise.
  bool SetValue(int code);
  // The code; typed text not yet committed is read first.
  int GetValue();
  // The code as stored, without reading pending text.
  int Value() const { return m_state.Value(); }
  bool Dirty() const { return m_state.Dirty(); }
  void SetDirty(bool dirty) { m_state.SetDirty(dirty); }
  // A control repainted together with the edit.
  void SetLinked(QWidget* linked) { m_linked = linked; }
  bool Editing() const { return m_editing; }

  NumEditState& State() { return m_state; }

 signals:
  void changeNotice(int id);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void ShowStateText();
  void UpdateColours();
  bool Highlighted() const;

  int m_id;
  NumEditState m_state;
  QPointer<QWidget> m_linked;
  bool m_editing = false;
  bool m_focusClick = false;
};

}  // namespace vantor
