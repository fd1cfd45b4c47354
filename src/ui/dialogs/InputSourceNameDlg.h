#pragma once
// The prompt for a preset slot's name: "请输入音效名" in both languages, the label, an edit
// holding the slot's label (selected, with the keyboard in it), and "确定" / "取消".

#include "ui/dialogs/FormDialog.h"

class QLineEdit;

namespace vantor {

class TwoStateButton;

class InputSourceNameDlg : public FormDialog {
  Q_OBJECT

 public:
  InputSourceNameDlg(QWidget* parent, bool chinese, const QString& initial);

  QString Name() const;
  QLineEdit& Edit() { return *m_edit; }
  TwoStateButton& OkButton() { return *m_ok; }
  TwoStateButton& CancelButton() { return *m_cancel; }

 private:
  QLineEdit* m_edit = nullptr;
  TwoStateButton* m_ok = nullptr;
  TwoStateButton* m_cancel = nullptr;
};

}  // namespace vantor
