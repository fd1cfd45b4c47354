#pragma once
// One undo step for a gesture on a control: from the left button's press to its release,
// however many change notices the control sends in between (a slider dragged, a spin held).
// The handlers' own EditSteps join it. The step closes after the control has handled the
// release, so the notice a release sends still belongs to it.

#include <QObject>
#include <QPointer>
#include <functional>

#include "text/TextCatalog.h"

class QWidget;

namespace vantor {

class EditHistory;

class GestureStep : public QObject {
  Q_OBJECT

 public:
  // `history` gives the form's history of the moment.
  GestureStep(std::function<EditHistory&()> history, QObject* parent);
  ~GestureStep() override;

  // Presses on `control` open a step named `name`.
  void Watch(QWidget* control, TextId name);
  // Closes an open gesture now (another channel shown, the panel going away).
  void Close();
  bool IsOpen() const { return m_open != nullptr; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<EditHistory&()> m_history;
  EditHistory* m_open = nullptr;
};

}  // namespace vantor
