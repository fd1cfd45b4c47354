#pragma once
// The editing entries of the form's system menu and their keys: undo and redo named after
// their step ("Undo band"), the A/B copies and the other program's curve, and the filter
// export and import. Each time the menu opens, the entries say what they would do and are
// enabled only when they can. Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z work anywhere in the form,
// in a numeric edit too, unless it holds typing of its own to take back.

#include <QKeySequence>
#include <QObject>
#include <array>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace vantor {

class PanelHost;

class EditMenu : public QObject {
  Q_OBJECT

 public:
  struct Commands {
    std::function<void()> undo;
    std::function<void()> redo;
    std::function<void()> copyAToB;
    std::function<void()> copyBToA;
    std::function<void(bool)> showOtherCurve;
    std::function<void()> exportFilters;
    std::function<void()> importFilters;
  };

  // Appends the entries to `menu` and binds the keys in `form`'s window.
  EditMenu(PanelHost& host, QMenu& menu, QWidget& form, Commands commands);

  // The entries' texts, in the language of the moment, and their states.
  void Update();
  // The keys pass from every line edit under `root` to the form while the edit has nothing
  // of its own to undo or redo.
  void WatchEdits(QWidget& root);

  QAction& UndoAction() { return *m_undo; }
  QAction& RedoAction() { return *m_redo; }
  QAction& CopyAToBAction() { return *m_copyAToB; }
  QAction& CopyBToAAction() { return *m_copyBToA; }
  QAction& OtherCurveAction() { return *m_otherCurve; }
  QAction& ExportAction() { return *m_export; }
  QAction& ImportAction() { return *m_import; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PanelHost& m_host;
  Commands m_commands;
  QAction* m_undo = nullptr;
  QAction* m_redo = nullptr;
  QAction* m_copyAToB = nullptr;
  QAction* m_copyBToA = nullptr;
  QAction* m_otherCurve = nullptr;
  QAction* m_export = nullptr;
  QAction* m_import = nullptr;
  const QKeySequence m_undoKey{Qt::CTRL | Qt::Key_Z};
  const std::array<QKeySequence, 2> m_redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
};

}  // namespace vantor
