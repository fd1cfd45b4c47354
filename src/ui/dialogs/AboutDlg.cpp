#include "ui/dialogs/AboutDlg.h"

#include <QPainter>

#include "text/TextFormat.h"
#include "ui/QtText.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

constexpr QSize kSize(440, 196);
constexpr int kCloseId = 1;

}  // namespace

AboutDlg::AboutDlg(QWidget* parent, bool chinese)
    : FormDialog(parent, chinese, TextId::MenuAbout, kSize) {
  m_close = AddButton(kCloseId, TextId::DialogClose, QRect(kSize.width() - 20 - 100, 144, 100, 32));
  connect(m_close, &QAbstractButton::clicked, this, &QDialog::accept);
}

QString AboutDlg::Body() const {
  return Text(TextId::AboutWhat) + QLatin1Char('\n') +
         Q(FormatText(Tr(TextId::AboutVersion, Chinese()), {{"version", VANTOR_VERSION}}));
}

void AboutDlg::paintEvent(QPaintEvent* event) {
  FormDialog::paintEvent(event);
  QPainter p(this);
  p.setPen(skin::Text());
  p.setFont(skin::Font4());
  p.drawText(QRect(24, 22, kSize.width() - 48, 30), Qt::AlignLeft | Qt::AlignVCenter,
             Q(kApplicationTitle));
  p.setPen(skin::Accent());
  p.drawLine(24, 58, kSize.width() - 24, 58);
  p.setPen(skin::Text());
  p.setFont(skin::Font1());
  p.drawText(QRect(24, 70, kSize.width() - 48, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             Body());
}

}  // namespace vantor
