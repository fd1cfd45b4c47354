#include "history/EditHistory.h"

#include <mutex>

namespace vantor {

EditHistory::EditHistory(CKTV_Data& model, CKTVCommand& queue, std::size_t maxSteps)
    : m_model(model),
      m_applier(model, queue),
      m_maxSteps(maxSteps == 0 ? 1 : maxSteps),
      m_generation(model.ProgramGeneration()) {}

ProgramImage EditHistory::Capture() const {
  std::lock_guard lock(m_applier.QueueLock());
  return ProgramImage::Capture(m_model);
}

bool EditHistory::Current() const { return m_model.ProgramGeneration() == m_generation; }

void EditHistory::Forget() {
  m_steps.clear();
  m_cursor = 0;
  m_generation = m_model.ProgramGeneration();
}

void EditHistory::Clear() { Forget(); }

void EditHistory::Begin(TextId name, StepTransfer transfer) {
  if (m_depth++ > 0) {
    if (m_open && transfer == StepTransfer::kWholeBlocks) m_open->transfer = transfer;
    return;
  }
  if (!Current()) Forget();
  m_open = Open{name, transfer, m_model.ProgramGeneration(), Capture()};
}

void EditHistory::Commit() {
  if (m_depth == 0) return;
  if (--m_depth > 0) return;
  if (!m_open) return;
  Open open = std::move(*m_open);
  m_open.reset();
  if (m_model.ProgramGeneration() != open.generation) {
    // A whole program arrived during the gesture: what came before it cannot be undone.
    Forget();
    return;
  }
  const ProgramImage after = Capture();
  ImageDelta delta = ImageDelta::Between(open.before.Data(), after.Data());
  if (delta.Empty()) return;
  m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_cursor), m_steps.end());
  m_steps.push_back(Step{open.name, open.transfer, std::move(delta)});
  while (m_steps.size() > m_maxSteps) m_steps.pop_front();
  m_cursor = m_steps.size();
}

bool EditHistory::CanUndo() const { return Current() && m_depth == 0 && m_cursor > 0; }

bool EditHistory::CanRedo() const { return Current() && m_depth == 0 && m_cursor < m_steps.size(); }

std::size_t EditHistory::UndoCount() const { return Current() ? m_cursor : 0; }

std::size_t EditHistory::RedoCount() const { return Current() ? m_steps.size() - m_cursor : 0; }

bool EditHistory::Undo() { return Take(true); }

bool EditHistory::Redo() { return Take(false); }

bool EditHistory::Take(bool undo) {
  if (!Current()) Forget();
  if (undo ? !CanUndo() : !CanRedo()) return false;
  const Step& step = m_steps[undo ? m_cursor - 1 : m_cursor];
  std::lock_guard lock(m_applier.QueueLock());
  ProgramImage target = ProgramImage::Capture(m_model);
  if (undo) {
    step.delta.WriteBefore(target.Data());
  } else {
    step.delta.WriteAfter(target.Data());
  }
  m_applier.Apply(target, step.transfer);
  if (undo) {
    --m_cursor;
  } else {
    ++m_cursor;
  }
  return true;
}

std::optional<TextId> EditHistory::UndoName() const {
  if (!CanUndo()) return std::nullopt;
  return m_steps[m_cursor - 1].name;
}

std::optional<TextId> EditHistory::RedoName() const {
  if (!CanRedo()) return std::nullopt;
  return m_steps[m_cursor].name;
}

namespace {

std::string Entry(TextId word, std::optional<TextId> name, bool chinese) {
  std::string text(Tr(word, chinese));
  if (name) {
    text += ' ';
    text += Tr(*name, chinese);
  }
  return text;
}

}  // namespace

std::string EditHistory::UndoText(bool chinese) const {
  return Entry(TextId::MenuUndo, UndoName(), chinese);
}

std::string EditHistory::RedoText(bool chinese) const {
  return Entry(TextId::MenuRedo, RedoName(), chinese);
}

}  // namespace vantor
