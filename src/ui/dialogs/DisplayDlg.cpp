#include "ui/dialogs/DisplayDlg.h"

#include <QPainter>

#include "ui/controls/GradientProgressCtrl.h"
#include "ui/controls/Skin.h"

namespace vantor {
namespace {

const QColor kBackground(229, 229, 229);
constexpr int kBarMargin = 24;
constexpr int kBarTop = 64;
constexpr int kBarHeight = 14;

}  // namespace

CDisplayDlg::CDisplayDlg(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  m_bar = new GradientProgressCtrl(this);
  m_bar->setGeometry(kBarMargin, kBarTop, kWidth - 2 * kBarMargin, kBarHeight);
}

void CDisplayDlg::SetTexts(const QString& title, const QString& caption) {
  setWindowTitle(title);
  m_caption = caption;
  update();
}

void CDisplayDlg::SetRange(int low, int high) { m_bar->SetRange(low, high); }

void CDisplayDlg::SetPosition(int position) { m_bar->SetPosition(position); }

int CDisplayDlg::Low() const { return m_bar->Low(); }

int CDisplayDlg::High() const { return m_bar->High(); }

int CDisplayDlg::Position() const { return m_bar->Position(); }

void CDisplayDlg::ShowFor(QWidget* owner) {
  if (m_owner != nullptr && m_owner != owner) m_owner->setEnabled(true);
  m_owner = owner;
  if (owner != nullptr) {
    owner->setEnabled(false);
    const QRect area(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    move(area.center() - QPoint(kWidth / 2, kHeight / 2));
  }
  show();
  raise();
}

void CDisplayDlg::HideAndRelease() {
  if (m_owner != nullptr) m_owner->setEnabled(true);
  m_owner = nullptr;
  hide();
}

void CDisplayDlg::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), kBackground);
  p.setFont(skin::Font3());
  p.setPen(skin::Text());
  p.drawText(QRect(kBarMargin, 18, width() - 2 * kBarMargin, 30), Qt::AlignLeft | Qt::AlignVCenter,
             m_caption);
}

}  // namespace vantor
