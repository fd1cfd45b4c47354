#pragma once
// The export of the current output's filters for another tool: the format (REW filter
// settings, Equalizer APO, CamillaDSP), the text as it will be written, what the format
// cannot hold, and "Save...", which asks for the file (offering "CH3-rew.txt" and the like)
// and writes it through a temporary file. A failed save names the file and the reason and
// leaves the dialog open.

#include <QDialog>
#include <functional>

#include "exchange/ExchangeFormat.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vantor {

class PanelHost;

class FilterExportDlg : public QDialog {
  Q_OBJECT

 public:
  // Asks for the file to write: the suggested path and the chooser's filter list; an empty
  // answer cancels.
  using FileChooser = std::function<QString(const QString& suggested, const QString& filters)>;

  FilterExportDlg(PanelHost& host, QWidget* parent);

  // Shows the filters of output `channel` over the form.
  void ShowFor(int channel);
  void SetFormat(ExchangeFormat format);
  ExchangeFormat Format() const;
  // Asks for the file and saves; closes the dialog once saved.
  void Save();
  // Writes the text to `path`: false, after a message that names the file, when it failed.
  bool SaveTo(const QString& path);
  void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
  void ApplyLanguage();

  int Channel() const { return m_channel; }
  QComboBox& FormatList() { return *m_formats; }
  QPlainTextEdit& Preview() { return *m_preview; }
  QLabel& Notes() { return *m_notes; }
  QPushButton& SaveButton() { return *m_save; }
  QPushButton& CloseButton() { return *m_close; }

 private:
  void ShowText();

  PanelHost& m_host;
  FileChooser m_chooser;
  int m_channel = 0;
  QString m_folder;  // where the last file went
  QLabel* m_formatCaption = nullptr;
  QComboBox* m_formats = nullptr;
  QPlainTextEdit* m_preview = nullptr;
  QLabel* m_notes = nullptr;
  QPushButton* m_save = nullptr;
  QPushButton* m_close = nullptr;
};

}  // namespace vantor
