#pragma once
// A window of the form's own over the main window: modal, fixed in size, in the form's
// colours, titled and labelled in the language the program had when it opened (the
// language cannot change while a modal window is open), with skinned buttons.

#include <QDialog>

#include "text/TextCatalog.h"

namespace vantor {

class TwoStateButton;

class FormDialog : public QDialog {
  Q_OBJECT

 public:
  FormDialog(QWidget* parent, bool chinese, TextId title, QSize size);

  bool Chinese() const { return m_chinese; }
  QString Text(TextId id) const;

 protected:
  // A push button of the skin with its text, placed at `at`.
  TwoStateButton* AddButton(int id, TextId text, const QRect& at);
  void paintEvent(QPaintEvent* event) override;

 private:
  bool m_chinese;
};

}  // namespace vantor
