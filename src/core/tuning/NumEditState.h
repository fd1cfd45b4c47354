#pragma once
// Everything a numeric edit control does except being a widget: the code, mode, range,
// scale and offset, the shown text, the dirty flag, and the conversions on commit and on
// GetValue. The Qt control forwards typing, focus loss and repaint to it.

#include <string>
#include <string_view>

#include "model/EditConversion.h"

namespace vantor {

class NumEditState {
 public:
  int Mode() const { return m_edit.mode; }
  // Stores the mode and redraws the text.
  void SetMode(int mode);
  void SetScale(double scale) { m_edit.scale = scale; }
  void SetOffset(double offset) { m_edit.offset = offset; }
  // °C + 50 (75 = 25 °C), for the distance modes.
  void SetTemperature(int temperature) { m_edit.temperature = temperature; }
  // Stores the range and sets the value to the minimum.
  void SetRange(int minimum, int maximum);
  int Minimum() const { return m_edit.minimum; }
  int Maximum() const { return m_edit.maximum; }
  const EditScale& Scale() const { return m_edit; }

  // Takes the code only when minimum <= code <= maximum, then redraws; false otherwise.
  bool SetValue(int code);
  // The code; a modified text is converted first (GetValue rules) and dirty cleared.
  int GetValue();
  // The code as stored, without reading the text.
  int Value() const { return m_value; }

  // The user changed the text.
  void SetText(std::string text);
  const std::string& Text() const { return m_text; }
  bool Dirty() const { return m_dirty; }
  void SetDirty(bool dirty) { m_dirty = dirty; }

  struct CommitOutcome {
    bool notify = false;      // tell the parent a value was committed
    bool unreadable = false;  // the text held no number; the code was kept
  };
  // The edit lost focus: converts the text (commit rules), stores the code and redraws.
  // Modes other than 4 and 8 do nothing unless dirty; modes 4 and 8 always take the code
  // and redraw and notify only when dirty. Dirty stays set until the next GetValue.
  CommitOutcome Commit();

 private:
  void Redraw() { m_text = FormatEditCode(m_edit, m_value); }

  EditScale m_edit{};
  int m_value = 0;
  bool m_dirty = false;
  std::string m_text = "0";
};

}  // namespace vantor
