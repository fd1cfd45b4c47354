#include "tuning/NumSpinState.h"

#include <algorithm>

#include "dsp/ResponseGrid.h"
#include "text/TextCatalog.h"

namespace vantor {
namespace {

int GridHz(int index) {
  return static_cast<int>(kResponseGrid[static_cast<std::size_t>(index)]);  // truncated
}

}  // namespace

void NumSpinState::SetRange32(int minimum, int maximum) {
  m_min = minimum;
  m_max = maximum;
  m_current = std::clamp(m_current, std::min(minimum, maximum), std::max(minimum, maximum));
  if (m_buddy != nullptr) {
    m_buddy->SetRange(minimum, maximum);
    m_mode = m_buddy->Mode();
    m_current = m_buddy->Value();
  }
}

int NumSpinState::GetValue() { return m_buddy != nullptr ? m_buddy->GetValue() : m_current; }

bool NumSpinState::SetValue(int v) {
  if (v < m_min || v > m_max) return false;
  m_current = v;
  if (m_buddy != nullptr) m_buddy->SetValue(v);
  return true;
}

bool NumSpinState::Step(int delta) {
  if (IsBuddyDirty()) m_current = m_buddy->GetValue();
  const int next = std::clamp(m_current + delta, m_min, m_max);
  if (next != m_current) {
    m_current = next;
    m_changed = true;
  }
  const int buddyValue = m_buddy != nullptr ? m_buddy->Value() : m_current;
  if ((m_mode == kEditEqFrequency || m_mode == kEditCrossoverFrequency) &&
      buddyValue != m_current) {
    const int g = GridIndexOf(m_current);
    const int last = static_cast<int>(kGridPoints) - 1;
    if (buddyValue < m_current) {
      m_current = std::min(GridHz(std::min(g + 1, last)), m_max);
    } else {
      m_current = std::max(GridHz(std::max(g - 1, 1)), m_min);
    }
    SetValue(m_current);
  }
  if (m_buddy != nullptr) m_buddy->SetValue(m_current);
  if (m_held) return false;
  const bool notify = m_changed;
  m_changed = false;
  return notify;
}

void NumSpinState::Press() { m_held = true; }

bool NumSpinState::Tick() {
  if (!m_held || !m_changed) return false;
  m_changed = false;
  return true;
}

bool NumSpinState::Release() {
  m_held = false;
  const bool notify = m_changed;
  m_changed = false;
  return notify;
}

std::string NumSpinState::DataErrorMessage(int controlId, bool chinese) {
  return std::to_string(controlId) + ":" + std::string(Tr(TextId::DataError, chinese));
}

}  // namespace vantor
