#pragma once
// Everything a spin button beside a numeric edit does except being a widget: the range,
// the current value, stepping (along the response grid for frequency edits), the range
// check with its "Data err" text, and when a held button reports a change.

#include <string>

#include "tuning/NumEditState.h"

namespace vantor {

class NumSpinState {
 public:
  void SetBuddy(NumEditState* buddy) { m_buddy = buddy; }
  NumEditState* GetBuddy() const { return m_buddy; }

  // Stores the range, gives it to the buddy (whose value becomes the minimum) and reads the
  // buddy's mode.
  void SetRange32(int minimum, int maximum);
  int Minimum() const { return m_min; }
  int Maximum() const { return m_max; }
  int Current() const { return m_current; }

  // The buddy's GetValue.
  int GetValue();
  // Takes v when minimum <= v <= maximum (also into the buddy); false otherwise, and the
  // caller shows DataErrorMessage.
  bool SetValue(int v);
  bool IsBuddyDirty() const { return m_buddy != nullptr && m_buddy->Dirty(); }

  // One up/down step of size delta. Returns true when the parent is to be told now (the
  // button is not held).
  bool Step(int delta);

  // Button held: changes are reported at most once per repeat interval and at release.
  static constexpr int kRepeatIntervalMs = 400;
  void Press();
  // A repeat-timer tick; true when a change is to be reported.
  bool Tick();
  // Button released; true when a change is to be reported.
  bool Release();
  bool Held() const { return m_held; }

  // "<id>:数据错误" / "<id>:Data err".
  static std::string DataErrorMessage(int controlId, bool chinese);

 private:
  NumEditState* m_buddy = nullptr;
  int m_current = 0;
  int m_min = 0;
  int m_max = 0;
  int m_mode = 0;
  bool m_held = false;
  bool m_changed = false;
};

}  // namespace vantor
