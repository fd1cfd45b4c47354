#include "ui/app/EditMenu.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

#include "compare/ProgramComparison.h"
#include "history/EditHistory.h"
#include "ui/QtText.h"
#include "ui/panels/PanelHost.h"

namespace vantor {

EditMenu::EditMenu(PanelHost& host, QMenu& menu, QWidget& form, Commands commands)
    : QObject(&form), m_host(host), m_commands(std::move(commands)) {
  menu.addSeparator();
  m_undo = menu.addAction(QString());
  m_redo = menu.addAction(QString());
  menu.addSeparator();
  m_copyAToB = menu.addAction(QString());
  m_copyBToA = menu.addAction(QString());
  m_otherCurve = menu.addAction(QString());
  m_otherCurve->setCheckable(true);
  menu.addSeparator();
  m_export = menu.addAction(QString());
  m_import = menu.addAction(QString());
  // The keys are the form's own shortcuts; the menu only names them.
  m_undo->setShortcut(m_undoKey);
  m_redo->setShortcut(m_redoKeys[0]);
  for (QAction* a : {m_undo, m_redo}) a->setShortcutContext(Qt::WidgetShortcut);

  connect(m_undo, &QAction::triggered, this, [this] { m_commands.undo(); });
  connect(m_redo, &QAction::triggered, this, [this] { m_commands.redo(); });
  connect(m_copyAToB, &QAction::triggered, this, [this] { m_commands.copyAToB(); });
  connect(m_copyBToA, &QAction::triggered, this, [this] { m_commands.copyBToA(); });
  connect(m_otherCurve, &QAction::toggled, this,
          [this](bool on) { m_commands.showOtherCurve(on); });
  connect(m_export, &QAction::triggered, this, [this] { m_commands.exportFilters(); });
  connect(m_import, &QAction::triggered, this, [this] { m_commands.importFilters(); });
  connect(&menu, &QMenu::aboutToShow, this, &EditMenu::Update);

  auto bind = [this, &form](const QKeySequence& key, const std::function<void()>& command) {
    auto* shortcut = new QShortcut(key, &form);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, command);
  };
  bind(m_undoKey, [this] { m_commands.undo(); });
  for (const QKeySequence& key : m_redoKeys) bind(key, [this] { m_commands.redo(); });
  Update();
}

void EditMenu::Update() {
  const bool zh = m_host.Chinese();
  const EditHistory& history = m_host.History();
  m_undo->setText(Q(history.UndoText(zh)));
  m_undo->setEnabled(history.CanUndo());
  m_redo->setText(Q(history.RedoText(zh)));
  m_redo->setEnabled(history.CanRedo());
  const bool differ = m_host.Comparison().Differs();
  m_copyAToB->setText(m_host.Text(TextId::CompareCopyAToB));
  m_copyAToB->setEnabled(differ);
  m_copyBToA->setText(m_host.Text(TextId::CompareCopyBToA));
  m_copyBToA->setEnabled(differ);
  m_otherCurve->setText(m_host.Text(TextId::CompareShowOther));
  m_export->setText(m_host.Text(TextId::MenuExportFilters));
  m_import->setText(m_host.Text(TextId::MenuImportFilters));
}

void EditMenu::WatchEdits(QWidget& root) {
  for (QLineEdit* edit : root.findChildren<QLineEdit*>()) edit->installEventFilter(this);
}

// A line edit claims the undo and redo keys for its own typing. When it has none to take
// back, the claim is refused here, so that the form's shortcut runs.
bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (edit == nullptr) return false;
  const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
  const bool undo = key == m_undoKey;
  const bool redo = key == m_redoKeys[0] || key == m_redoKeys[1];
  if ((undo && !edit->isUndoAvailable()) || (redo && !edit->isRedoAvailable())) {
    event->ignore();
    return true;
  }
  return false;
}

}  // namespace vantor
