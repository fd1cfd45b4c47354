#pragma once
// The parameter report: every output's parameters as a table in the interface language (a
// row per parameter, a column per output), printed (also to PDF) or exported as a CSV file
// that spreadsheets open in either language (UTF-8 with a byte-order mark).

#include "presets/ParameterReport.h"
#include "ui/dialogs/FormDialog.h"

class QPrinter;
class QTableWidget;

namespace vantor {

class CVantorView;
class TwoStateButton;

class ReportDlg : public FormDialog {
  Q_OBJECT

 public:
  explicit ReportDlg(CVantorView& view);

  const ParameterReport& Report() const { return m_report; }
  QTableWidget& Table() { return *m_table; }

  // The buttons, callable as clicks: the print dialog, then PrintTo; the file chooser,
  // then ExportCsv.
  void OnPrint();
  void OnExportCsv();
  // The report on the printer's pages (a PDF printer writes the file).
  void PrintTo(QPrinter& printer) const;
  // False (with the message shown) when the file cannot be written.
  bool ExportCsv(const QString& path);

 private:
  QString Html() const;

  CVantorView& m_view;
  ParameterReport m_report;
  QTableWidget* m_table = nullptr;
  TwoStateButton* m_print = nullptr;
  TwoStateButton* m_export = nullptr;
  TwoStateButton* m_close = nullptr;
};

}  // namespace vantor
