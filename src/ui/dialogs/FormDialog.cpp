#include "ui/dialogs/FormDialog.h"

#include <QPainter>

#include "ui/QtText.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {

FormDialog::FormDialog(QWidget* parent, bool chinese, TextId title, QSize size)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_chinese(chinese) {
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(size);
  setFont(skin::Font1());
  setWindowTitle(Text(title));
}

QString FormDialog::Text(TextId id) const { return Q(Tr(id, m_chinese)); }

TwoStateButton* FormDialog::AddButton(int id, TextId text, const QRect& at) {
  auto* b = new TwoStateButton(id, Text(text), this);
  b->setFont(skin::Font1());
  b->setGeometry(at);
  return b;
}

void FormDialog::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), skin::FormBackground());
}

}  // namespace vantor
