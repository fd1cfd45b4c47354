#pragma once
// Undo and redo of the person's edits, without a window. Every edit is one step: a control
// brackets its setter calls with Begin/Commit (or an EditStep, one line), a drag brackets
// the whole gesture however many notices it sends, and a whole-channel action brackets its
// own work. A step keeps the bytes in which the program image changed; undoing puts the
// earlier bytes back through the model's setters, so the processor receives them by the
// pending scan, or by the whole-block transfer the action itself used.
//
// A read-back, a recall or a file load (anything that gives the model a whole program, see
// CKTV_Data::ProgramGeneration) begins a new history. The history runs on the thread that
// owns the model's edits.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "history/ImageApplier.h"
#include "history/ImageDelta.h"
#include "history/ProgramImage.h"
#include "text/TextCatalog.h"

namespace vantor {

class EditHistory {
 public:
  static constexpr std::size_t kDefaultSteps = 1000;

  EditHistory(CKTV_Data& model, CKTVCommand& queue, std::size_t maxSteps = kDefaultSteps);
  EditHistory(const EditHistory&) = delete;
  EditHistory& operator=(const EditHistory&) = delete;

  // --- Recording. Begin/Commit pairs nest: inner ones join the outermost, which names the
  // step. A step that asks for whole blocks makes the whole step go back as whole blocks.
  void Begin(TextId name, StepTransfer transfer = StepTransfer::kPendingScan);
  // Closes the outermost bracket: a step is recorded when the program changed (and the
  // redo steps are dropped). Nothing when the model was given a whole program meanwhile.
  void Commit();
  bool Recording() const { return m_depth > 0; }

  // --- Undo and redo. False (nothing done) when there is no step, or while recording.
  bool CanUndo() const;
  bool CanRedo() const;
  bool Undo();
  bool Redo();
  // Names of the steps Undo and Redo would take.
  std::optional<TextId> UndoName() const;
  std::optional<TextId> RedoName() const;
  // The menu entries: "Undo <name>" / "Redo <name>" in the language asked for, or the bare
  // word when there is nothing to take.
  std::string UndoText(bool chinese) const;
  std::string RedoText(bool chinese) const;

  // Forgets every step (what a new program does by itself).
  void Clear();
  std::size_t UndoCount() const;
  std::size_t RedoCount() const;
  std::size_t MaxSteps() const { return m_maxSteps; }

 private:
  struct Step {
    TextId name;
    StepTransfer transfer;
    ImageDelta delta;
  };
  struct Open {
    TextId name;
    StepTransfer transfer;
    std::uint64_t generation;
    ProgramImage before;
  };

  bool Current() const;  // no whole program arrived since the steps were recorded
  void Forget();         // Clear, and take the model's generation as the current one
  ProgramImage Capture() const;
  bool Take(bool undo);

  CKTV_Data& m_model;
  ImageApplier m_applier;
  std::size_t m_maxSteps;
  std::deque<Step> m_steps;
  std::size_t m_cursor = 0;  // steps before it can be undone, from it on redone
  std::uint64_t m_generation = 0;
  int m_depth = 0;
  std::optional<Open> m_open;
};

// One line in a control's handler: the setter calls in its scope are one step.
class EditStep {
 public:
  EditStep(EditHistory& history, TextId name, StepTransfer transfer = StepTransfer::kPendingScan)
      : m_history(history) {
    m_history.Begin(name, transfer);
  }
  ~EditStep() { m_history.Commit(); }
  EditStep(const EditStep&) = delete;
  EditStep& operator=(const EditStep&) = delete;

 private:
  EditHistory& m_history;
};

}  // namespace vantor
