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

const QSize kButton(40, 20);

// Button centres in panel coordinates, front of the car at the top: the centre speakers
// on the dash, the front and rear speakers in the doors, the subwoofers in the boot. 2707
// and 2710 have no speaker type of their own and stay hidden.
constexpr std::array<QPoint, kPositionButtonCount> kCentres = {{
    {38, 160},   // 2700 front left high
    {202, 160},  // 2701 front right high
    {38, 184},   // 2702 front left mid
    {202, 184},  // 2703 front right mid
    {38, 208},   // 2704 front left low
    {202, 208},  // 2705 front right low
    {38, 244},   // 2706 rear left high
    {120, 340},  // 2707 output 5
    {38, 268},   // 2708 rear left mid-low / full range
    {202, 244},  // 2709 rear right high
    {120, 230},  // 2710 none
    {202, 268},  // 2711 rear right mid-low / full range
    {78, 318},   // 2712 left sub
    {120, 318},  // 2713 sub
    {162, 318},  // 2714 right sub
    {120, 130},  // 2715 centre mid-low
    {164, 130},  // 2716 centre full range
    {76, 130},   // 2717 centre high
}};

}  // namespace

CarPanel::CarPanel(PanelHost& host, QWidget* parent) : Panel(host, parent) {
  for (int k = 0; k < kPositionButtonCount; ++k) {
    auto* b = new BitButton(kPositionButtonFirst + k, QString(), this);
    b->setGeometry(QRect(
        kCentres[static_cast<std::size_t>(k)] - QPoint(kButton.width() / 2, kButton.height() / 2),
        kButton));
    b->hide();
    connect(b, &TwoStateButton::clickedId, this, &CarPanel::OnPositionButton);
    m_buttons[static_cast<std::size_t>(k)] = b;
  }
  Host().Selection().Listen([this](ChannelSelection::Change change) {
    if (change == ChannelSelection::Change::kCurrent) ShowPositions();
  });
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
  p.drawText(QRect(12, 6, width() - 24, 20), Qt::AlignLeft | Qt::AlignVCenter, m_caption);

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
  rear.moveTo(body.left() + 14, 284);
  rear.lineTo(body.right() - 14, 284);
  rear.lineTo(body.right() - 22, 302);
  rear.lineTo(body.left() + 22, 302);
  rear.closeSubpath();
  p.drawPath(rear);

  p.setBrush(QColor(0xE1, 0xE4, 0xEE));
  for (const QRectF& seat :
       {QRectF(76, 154, 36, 44), QRectF(128, 154, 36, 44), QRectF(74, 236, 92, 40)}) {
    p.drawRoundedRect(seat, 7, 7);
  }
}

}  // namespace vantor
