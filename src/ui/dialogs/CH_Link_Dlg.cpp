#include "ui/dialogs/CH_Link_Dlg.h"

#include <QLabel>
#include <QPainter>

#include "text/TextCatalog.h"
#include "ui/QtText.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

constexpr QSize kSize(430, 170);
const QRect kHeadingRect(16, 10, 398, 24);
const QRect kQuestionRect(16, 42, 398, 22);
const QRect kLeftRect(40, 74, 166, 30);
const QRect kRightRect(224, 74, 166, 30);
const QRect kOkRect(214, 126, 96, 28);
const QRect kCancelRect(318, 126, 96, 28);

TextId CaptionOf(LinkGroupKind kind) {
  switch (kind) {
    case LinkGroupKind::kRear:
      return TextId::LinkCaptionRear;
    case LinkGroupKind::kSub:
      return TextId::LinkCaptionSub;
    case LinkGroupKind::kFront:
      break;
  }
  return TextId::LinkCaptionFront;
}

}  // namespace

CH_Link_Dlg::CH_Link_Dlg(bool chinese, LinkGroupKind kind, QWidget* parent) : QDialog(parent) {
  const auto text = [chinese](TextId id) { return Q(Tr(id, chinese)); };
  setWindowTitle(text(CaptionOf(kind)));
  setFixedSize(kSize);
  setFont(skin::Font1());

  m_heading = new QLabel(windowTitle(), this);
  m_heading->setFont(skin::Font3());
  m_heading->setGeometry(kHeadingRect);
  m_question = new QLabel(text(TextId::LinkQuestion), this);
  m_question->setGeometry(kQuestionRect);

  m_left = new TwoStateButton(kLeftId, text(TextId::LinkLeftData), this);
  m_left->setGeometry(kLeftRect);
  m_right = new TwoStateButton(kRightId, text(TextId::LinkRightData), this);
  m_right->setGeometry(kRightRect);
  m_ok = new TwoStateButton(kOkId, text(TextId::LinkOk), this);
  m_ok->setGeometry(kOkRect);
  m_cancel = new TwoStateButton(kCancelId, text(TextId::LinkCancel), this);
  m_cancel->setGeometry(kCancelRect);

  connect(m_left, &QAbstractButton::clicked, this, [this] { Choose(LinkSide::kLeft); });
  connect(m_right, &QAbstractButton::clicked, this, [this] { Choose(LinkSide::kRight); });
  connect(m_ok, &QAbstractButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  Choose(LinkSide::kLeft);
}

void CH_Link_Dlg::Choose(LinkSide side) {
  m_choice = side;
  m_left->SetState(side == LinkSide::kLeft ? 1 : 0);
  m_right->SetState(side == LinkSide::kRight ? 1 : 0);
}

void CH_Link_Dlg::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), skin::FormBackground());
  p.setPen(QColor(0xC6, 0xCA, 0xD8));
  p.drawLine(16, kHeadingRect.bottom() + 3, width() - 16, kHeadingRect.bottom() + 3);
}

}  // namespace vantor
