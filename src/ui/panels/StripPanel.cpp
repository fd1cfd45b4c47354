#include "ui/panels/StripPanel.h"

#include <QLabel>
#include <QPainter>

#include "model/ChannelTable.h"
#include "model/EditConversion.h"
#include "model/ValueScales.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/Skin.h"

namespace vantor {
namespace {

// Columns of 44 pixels on a 47-pixel pitch; rows from the panel's top.
constexpr int kColumnLeft = 5;
constexpr int kPitch = 47;
constexpr int kWidth = 44;
constexpr int kSelectTop = 6;
constexpr int kTypeTop = 37;
constexpr int kOnTop = 70;
constexpr int kPhaseTop = 94;
constexpr int kEditTop = 120;
constexpr int kSliderTop = 144;
constexpr int kSliderHeight = 160;
constexpr int kCurveTop = 308;
constexpr int kLabelTop = 330;

int ColumnX(int column) { return kColumnLeft + column * kPitch; }

void SetUpLevelSlider(BitmapSlider* s) {
  // The maximum at the top, as on a mixing desk.
  s->SetDirect(false);
  s->SetPage(5);
  s->SetMargins(0, 2, 0, 2);
}

void SetUpGainEdit(CNumEdit* e, CNumSpin* s, int maximum) {
  e->SetScale(1.0);
  e->SetOffset(60.0);
  e->SetMode(kEditGainDb);
  s->SetBuddy(e);
  s->SetRange32(0, maximum);
}

}  // namespace

StripPanel::StripPanel(QWidget* parent) : QWidget(parent) {
  for (int i = 0; i < 8; ++i) BuildStrip(i);
  BuildMaster();
}

void StripPanel::BuildStrip(int i) {
  ChannelStripControls& s = Strip(i);
  const int x = ColumnX(i);
  const QString label = QString::fromStdString(ChannelLabel(i));

  s.select = new BitButton(kSelectBaseId + i, label, this);
  s.select->setGeometry(x, kSelectTop, kWidth, 24);
  s.select->SetAccent(QColor(kOutputChannels[static_cast<std::size_t>(i)].colour.r,
                             kOutputChannels[static_cast<std::size_t>(i)].colour.g,
                             kOutputChannels[static_cast<std::size_t>(i)].colour.b)
                          .darker(135));

  s.speakerType = new BitButton(kSpeakerTypeBaseId + i, QString(), this);
  s.speakerType->setGeometry(x, kTypeTop, kWidth, 30);

  s.on = new BitButton(kOnBaseId + i, QString(), this);
  s.on->setGeometry(x, kOnTop, kWidth, 20);
  s.on->SetAccent(QColor(0x2E, 0x8B, 0x57));

  s.phase = new BitButton(kPhaseBaseId + i, QString(), this);
  s.phase->setGeometry(x, kPhaseTop, kWidth, 20);
  s.phase->SetAccent(QColor(0xC0, 0x6A, 0x1E));

  s.gainEdit = new CNumEdit(kGainEditBaseId + i, this);
  s.gainEdit->setGeometry(x, kEditTop, kWidth, 20);
  s.gainSpin = new CNumSpin(kGainSpinBaseId + i, this);
  s.gainSpin->hide();
  SetUpGainEdit(s.gainEdit, s.gainSpin, kOutputGainCodeMax);

  s.gainSlider = new BitmapSlider(kGainSliderBaseId + i, Qt::Vertical, this);
  s.gainSlider->setGeometry(x, kSliderTop, kWidth, kSliderHeight);
  s.gainSlider->SetRange(0, kOutputGainCodeMax);
  SetUpLevelSlider(s.gainSlider);
  s.gainSlider->AttachEdit(s.gainEdit);

  s.curve = new BitButton(kCurveBaseId + i, QString(), this);
  s.curve->setGeometry(x, kCurveTop, kWidth, 18);

  s.label = new QLabel(label, this);
  s.label->setObjectName(QStringLiteral("label%1").arg(kLabelBaseId + i));
  s.label->setAlignment(Qt::AlignCenter);
  s.label->setFont(skin::Font2());
  s.label->setGeometry(x, kLabelTop, kWidth, 16);
  SetLabelShown(i, false);
}

void StripPanel::BuildMaster() {
  const int x = ColumnX(8);
  m_master.caption = new QLabel(this);
  m_master.caption->setAlignment(Qt::AlignCenter);
  m_master.caption->setFont(skin::Font2());
  m_master.caption->setGeometry(x - 2, kSelectTop, kWidth + 4, 24);

  m_master.on = new BitButton(kMasterOnId, QString(), this);
  m_master.on->setGeometry(x, kOnTop, kWidth, 20);
  m_master.on->SetAccent(QColor(0x2E, 0x8B, 0x57));

  m_master.edit = new CNumEdit(kMasterEditId, this);
  m_master.edit->setGeometry(x, kEditTop, kWidth - 13, 20);
  m_master.spin = new CNumSpin(kMasterSpinId, this);
  m_master.spin->setGeometry(x + kWidth - 12, kEditTop, 12, 20);
  SetUpGainEdit(m_master.edit, m_master.spin, kMasterVolumeCodeMax);

  m_master.slider = new BitmapSlider(kMasterSliderId, Qt::Vertical, this);
  m_master.slider->setGeometry(x, kSliderTop, kWidth, kSliderHeight);
  m_master.slider->SetRange(0, kMasterVolumeCodeMax);
  SetUpLevelSlider(m_master.slider);
  m_master.slider->AttachEdit(m_master.edit);
}

void StripPanel::SetLabelShown(int channel, bool shown) {
  QLabel* l = Strip(channel).label;
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, shown ? LabelShownColour() : LabelHiddenColour());
  l->setPalette(pal);
}

bool StripPanel::LabelShown(int channel) const {
  return m_strips[static_cast<std::size_t>(channel)].label->palette().color(QPalette::WindowText) ==
         LabelShownColour();
}

void StripPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0xC6, 0xCA, 0xD8), 1.0));
  p.setBrush(QColor(0xEC, 0xEE, 0xF5));
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  // A chip of each output's curve colour under its select button, and a rule before the
  // master strip.
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 8; ++i) {
    const auto& c = kOutputChannels[static_cast<std::size_t>(i)].colour;
    p.setBrush(QColor(c.r, c.g, c.b));
    p.drawRoundedRect(QRectF(ColumnX(i) + 6, kSelectTop + 25, kWidth - 12, 3), 1.5, 1.5);
  }
  p.setPen(QPen(QColor(0xC6, 0xCA, 0xD8), 1.0));
  const qreal rule = ColumnX(8) - 2.5;
  p.drawLine(QPointF(rule, 10), QPointF(rule, height() - 10));
}

}  // namespace vantor
