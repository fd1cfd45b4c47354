#pragma once
// What the main form offers its panels: the model, the one channel selection, the link's
// command layers, the prompts, and the few form-wide operations a panel may start. A panel
// asks for the controller each time it needs it: attaching another device replaces it.

#include <QString>

#include "text/TextCatalog.h"

namespace vantor {

class CKTV_Data;
class ChannelSelection;
class ConnectionController;
class EditHistory;
class Panel;
class PanelCommands;
class ProgramComparison;
class ProgramState;

class PanelHost {
 public:
  virtual ~PanelHost() = default;

  virtual CKTV_Data& Data() = 0;
  virtual ProgramState& State() = 0;
  virtual ChannelSelection& Selection() = 0;
  virtual ConnectionController& Controller() = 0;
  virtual PanelCommands& Commands() = 0;
  // The undo history: a control brackets its setter calls with an EditStep.
  virtual EditHistory& History() = 0;
  // The A/B comparison of two programs.
  virtual ProgramComparison& Comparison() = 0;

  // A message with OK; a question with OK and Cancel (true for OK).
  virtual void Message(const QString& text) = 0;
  virtual bool Question(const QString& text) = 0;

  // Reloads every panel from the model (a speaker type changed, ...).
  virtual void RefreshAll() = 0;
  // Repaints the graph with element `highlight`'s label shown (−1: the current filter's).
  virtual void RedrawGraph(int highlight = -1) = 0;
  // `source` changed output values that other panels show as well; they reload them.
  virtual void OutputsEdited(Panel& source) = 0;
  // Something that is no panel changed the model (an undo or redo, a filter import): every
  // panel shows its values again, linking stays, and the graph redraws.
  virtual void ModelEdited() = 0;

  // The text of an id in the language of the moment.
  QString Text(TextId id);
  bool Chinese();
};

}  // namespace vantor
