#include "tuning/NumEditState.h"

namespace vantor {

void NumEditState::SetMode(int mode) {
  m_edit.mode = mode;
  Redraw();
}

void NumEditState::SetRange(int minimum, int maximum) {
  m_edit.minimum = minimum;
  m_edit.maximum = maximum;
  m_value = minimum;
  Redraw();
}

bool NumEditState::SetValue(int code) {
  if (code < m_edit.minimum || code > m_edit.maximum) return false;
  m_value = code;
  Redraw();
  return true;
}

int NumEditState::GetValue() {
  if (m_dirty) {
    if (const auto r = ReadEditText(m_edit, m_text); r.code) m_value = *r.code;
    m_dirty = false;
  }
  return m_value;
}

void NumEditState::SetText(std::string text) {
  m_text = std::move(text);
  m_dirty = true;
}

NumEditState::CommitOutcome NumEditState::Commit() {
  const bool alwaysConvert =
      m_edit.mode == kEditEqFrequency || m_edit.mode == kEditCrossoverFrequency;
  if (!alwaysConvert && !m_dirty) return {};
  const EditResult r = CommitEditText(m_edit, m_text);
  if (r.code) m_value = *r.code;
  if (!m_dirty) return {};
  Redraw();
  return {true, r.unreadable};
}

}  // namespace vantor
