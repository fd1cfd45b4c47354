#include "ui/dialogs/InputSourceNameDlg.h"

#include <QLabel>
#include <QLineEdit>

#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

constexpr QSize kSize(320, 132);
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

}  // namespace

InputSourceNameDlg::InputSourceNameDlg(QWidget* parent, bool chinese, const QString& initial)
    : FormDialog(parent, chinese, TextId::SourceNameCaption, kSize) {
  auto* label = new QLabel(Text(TextId::SourceNameLabel), this);
  label->setGeometry(18, 16, 284, 22);
  m_edit = new QLineEdit(initial, this);
  m_edit->setGeometry(18, 42, 284, 26);
  m_edit->selectAll();
  m_edit->setFocus();
  m_ok = AddButton(kOkId, TextId::ButtonOk, QRect(124, 88, 86, 28));
  m_cancel = AddButton(kCancelId, TextId::ButtonCancel, QRect(216, 88, 86, 28));
  connect(m_ok, &QAbstractButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  // Enter in the edit is OK, as in any name prompt.
  connect(m_edit, &QLineEdit::returnPressed, this, &QDialog::accept);
}

QString InputSourceNameDlg::Name() const { return m_edit->text(); }

}  // namespace vantor
