#include "ui/panels/CarPanel.h"

#include <QPainter>
#include <QPainterPath>

#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "text/TextCatalog.h"
#include "tuning/ChannelSelection.h"
#include "tuning/SpeakerPositions.h"
#include "ui/QtText.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/Skin.h"

namespace vantor {
namespace {

// Button top-left corners in panel coordinates, front of the car at the top: the centre
// speakers on the dash, the front and rear speakers beside the doors, the subwoofers in
// the boot. Each button leaves room under it for its delay field. 2707 and 2710 have no
// speaker type of their own and stay hidden.
constexpr int kLeft = 10;
constexpr int kRight = 190;
constexpr std::array<QPoint, kPositionButtonCount> kCorners = {{
    {kLeft, 118},   // 2700 front left high
    {kRight, 118},  // 2701 front right high
    {kLeft, 160},   // 2702 front left mid
    {kRight, 160},  // 2703 front right mid
    {kLeft, 202},   // 2704 front left low
    {kRight, 202},  // 2705 front right low
    {kLeft, 250},   // 2706 rear left high
    {100, 200},     // 2707 output 5
    {kLeft, 292},   // 2708 rear left mid-low / full range
    {kRight, 250},  // 2709 rear right high
    {100, 160},     // 2710 none
    {kRight, 292},  // 2711 rear right mid-low / full range
    {59, 300},      // 2712 left sub
    {100, 300},     // 2713 sub
    {141, 300},     // 2714 right sub
    {100, 62},      // 2715 centre mid-low
    {141, 62},      // 2716 centre full range
    {59, 62},       // 2717 centre high
}};

}  // namespace

CarPanel::CarPanel(PanelHost& host, QWidget* parent) : Panel(host, parent) {
  for (int k = 0; k < kPositionButtonCount; ++k) {
    auto* b = new BitButton(kPositionButtonFirst + k, QString(), this);
    b->setGeometry(PositionButtonRect(kPositionButtonFirst + k));
    b->hide();
    connect(b, &TwoStateButton::clickedId, this, &CarPanel::OnPositionButton);
    m_buttons[static_cast<std::size_t>(k)] = b;
  }
  Host().Selection().Listen([this](ChannelSelection::Change change) {
    if (change == ChannelSelection::Change::kCurrent) ShowPositions();
  });
}

QRect CarPanel::PositionButtonRect(int id) {
  const int k = id - kPositionButtonFirst;
  if (k < 0 || k >= kPositionButtonCount) return {};
  return {kCorners[static_cast<std::size_t>(k)], kPositionButtonSize};
}

BitButton* CarPanel::PositionButton(int id) const {
  const int k = id - kPositionButtonFirst;
  if (k < 0 || k >= kPositionButtonCount) return nullptr;
  return m_buttons[static_cast<std::size_t>(k)];
}

void CarPanel::Refresh() { ShowPositions(); }

void CarPanel::ApplyLanguage() {
  m_caption = Text(TextId::SpeakerPositions);
  update();
}

void CarPanel::OnPositionButton(int id) {
  const int output =
      PositionButtonOutput(id, Host().State().SpeakerTypes().first(rec::kOutputCount));
  ChannelSelection& selection = Host().Selection();
  if (output >= 0 && output != selection.Current()) selection.Select(output);
}

// Shows the buttons in use, each with the label of the output it selects, and highlights
// the button of the current output's speaker type.
void CarPanel::ShowPositions() {
  const auto types = Host().State().SpeakerTypes().first(rec::kOutputCount);
  const int highlighted =
      PositionButtonOfType(Host().Data().SpeakerType(Host().Selection().Current()));
  for (int k = 0; k < kPositionButtonCount; ++k) {
    BitButton* b = m_buttons[static_cast<std::size_t>(k)];
    const int id = kPositionButtonFirst + k;
    const bool inUse = PositionButtonInUse(id, types);
    if (inUse) {
      const int output = PositionButtonOutput(id, types);
      b->setText(QString::fromStdString(ChannelLabel(output)));
      b->setToolTip(Q(SpeakerTypeName(types[static_cast<std::size_t>(output)])));
    }
    b->setVisible(inUse);
    b->SetState(id == highlighted ? 1 : 0);
    b->update();
  }
}

void CarPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  PaintBody(p);

  p.setFont(skin::Font2());
  p.setPen(skin::Text());
  p.drawText(QRect(12, 5, width() - 24, 20), Qt::AlignLeft | Qt::AlignVCenter, m_caption);

  // The car from above: wheels, body, glass and seats, in quiet greys.
  const QRectF body(60, 34, 120, 312);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x5B, 0x60, 0x6E));
  for (qreal y : {62.0, 284.0}) {
    p.drawRoundedRect(QRectF(body.left() - 8, y, 12, 38), 4, 4);
    p.drawRoundedRect(QRectF(body.right() - 4, y, 12, 38), 4, 4);
  }
  p.setPen(QPen(QColor(0x9A, 0xA1, 0xB4), 1.5));
  p.setBrush(QColor(0xF7, 0xF8, 0xFC));
  p.drawRoundedRect(body, 36, 30);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xD2, 0xDB, 0xEA));
  QPainterPath windscreen;
  windscreen.moveTo(body.left() + 12, 142);
  windscreen.lineTo(body.left() + 22, 100);
  windscreen.lineTo(body.right() - 22, 100);
  windscreen.lineTo(body.right() - 12, 142);
  windscreen.closeSubpath();
  p.drawPath(windscreen);
  QPainterPath rear;
  rear.moveTo(body.left() + 14, 270);
  rear.lineTo(body.right() - 14, 270);
  rear.lineTo(body.right() - 22, 288);
  rear.lineTo(body.left() + 22, 288);
  rear.closeSubpath();
  p.drawPath(rear);

  p.setBrush(QColor(0xE1, 0xE4, 0xEE));
  for (const QRectF& seat :
       {QRectF(76, 154, 36, 44), QRectF(128, 154, 36, 44), QRectF(74, 220, 92, 40)}) {
    p.drawRoundedRect(seat, 7, 7);
  }
}

}  // namespace vantor
