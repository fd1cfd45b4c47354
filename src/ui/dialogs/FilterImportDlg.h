#pragma once
// The import of another tool's filters (a REW filter settings file or an Equalizer APO
// configuration) into the current output. The file is read and planned first; the dialog
// then says what would change and lists every line left out or refused, with the reason.
// Nothing changes until the person accepts; when lines were refused the button says
// "Import the rest" and Cancel is the default. Accepting is one undo step, and linked
// outputs take the import as they take band edits.

#include <QDialog>
#include <functional>
#include <string>

#include "exchange/FilterImport.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace vantor {

class PanelHost;

class FilterImportDlg : public QDialog {
  Q_OBJECT

 public:
  // Asks for the file to read: the folder to start in; an empty answer cancels.
  using FileChooser = std::function<QString(const QString& folder)>;

  FilterImportDlg(PanelHost& host, QWidget* parent);

  // Asks for a file and shows its plan for output `channel`.
  void Start(int channel);
  // Reads `path` and shows its plan for output `channel` (not yet the dialog itself). False,
  // after a message that names the file and the reason, when it cannot be read.
  bool Load(const QString& path, int channel);
  // Applies the plan (the person accepted it) and closes.
  void accept() override;
  void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
  void ApplyLanguage();

  const ImportPlan& Plan() const { return m_plan; }
  QLabel& Summary() { return *m_summary; }
  QTableWidget& Report() { return *m_report; }
  QPushButton& AcceptButton() { return *m_accept; }
  QPushButton& CancelButton() { return *m_cancel; }

 private:
  void ShowPlan();

  PanelHost& m_host;
  FileChooser m_chooser;
  int m_channel = 0;
  std::string m_text;
  ImportPlan m_plan;
  QString m_folder;  // where the last file came from
  QLabel* m_summary = nullptr;
  QTableWidget* m_report = nullptr;
  QPushButton* m_accept = nullptr;
  QPushButton* m_cancel = nullptr;
};

}  // namespace vantor
