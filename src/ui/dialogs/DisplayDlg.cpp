#include "ui/dialogs/DisplayDlg.h"

#include <QPainter>
#include <algorithm>

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
}

void CDisplayDlg::SetTexts(const QString& title, const QString& caption) {
  setWindowTitle(title);
  m_caption = caption;
  update();
}

void CDisplayDlg::SetRange(int low, int high) {
  m_low = std::min(low, high);
  m_high = std::max(low, high);
  m_position = std::clamp(m_position, m_low, m_high);
  update();
}

void CDisplayDlg::SetPosition(int position) {
  m_position = std::clamp(position, m_low, m_high);
  update();
}

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

  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF bar(kBarMargin, kBarTop, width() - 2 * kBarMargin, kBarHeight);
  p.setPen(QPen(skin::Border(), 1.0));
  p.setBrush(skin::Groove());
  p.drawRoundedRect(bar.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  const int span = m_high - m_low;
  if (span > 0 && m_position > m_low) {
    const double share = static_cast<double>(m_position - m_low) / span;
    QRectF fill = bar.adjusted(1.5, 1.5, -1.5, -1.5);
    fill.setWidth(fill.width() * share);
    p.setPen(Qt::NoPen);
    p.setBrush(skin::Accent());
    p.drawRoundedRect(fill, 3, 3);
  }
}

}  // namespace vantor
