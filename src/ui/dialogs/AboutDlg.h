#pragma once
// The about box: the program's title, what it is, and its version.

#include "ui/dialogs/FormDialog.h"

namespace vantor {

class TwoStateButton;

class AboutDlg : public FormDialog {
  Q_OBJECT

 public:
  AboutDlg(QWidget* parent, bool chinese);

  // The lines shown under the title.
  QString Body() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TwoStateButton* m_close = nullptr;
};

}  // namespace vantor
