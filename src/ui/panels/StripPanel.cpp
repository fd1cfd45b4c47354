#include "ui/panels/StripPanel.h"

#include <QLabel>
#include <QPainter>
#include <algorithm>

#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/ChannelTable.h"
#include "model/EditConversion.h"
#include "model/KTV_Data.h"
#include "model/ValueScales.h"
#include "tuning/ChannelSelection.h"
#include "tuning/PanelCommands.h"
#include "tuning/SpeakerTypeMenu.h"
#include "ui/QtText.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/Skin.h"
#include "ui/panels/GestureStep.h"
#include "ui/panels/SpeakerMenu.h"

namespace vantor {
namespace {

// Output columns of 42 pixels on a 45-pixel pitch; rows from the panel's top. The master
// strip is wider: its edit shows "-60dB" whole with the spin beside it.
constexpr int kColumnLeft = 5;
constexpr int kPitch = 45;
constexpr int kWidth = 42;
constexpr int kMasterEditWidth = 44;
constexpr int kMasterSpinWidth = 13;
constexpr int kMasterWidth = kMasterEditWidth + 1 + kMasterSpinWidth;
constexpr int kSelectTop = 6;
constexpr int kTypeTop = 37;
constexpr int kOnTop = 70;
constexpr int kPhaseTop = 94;
constexpr int kEditTop = 120;
constexpr int kSliderTop = 144;
constexpr int kSliderHeight = 160;
constexpr int kCurveTop = 308;
constexpr int kLabelTop = 330;
// The master strip takes the column after the outputs.
constexpr int kMasterColumn = rec::kOutputCount;

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

// A speaker-type name on two lines when it does not fit one: the position, then the band.
QString TwoLineTypeName(int type) {
  const QString name = Q(SpeakerTypeName(type));
  if (name.size() <= 3) return name;
  return name.left(2) + QLatin1Char('\n') + name.mid(2);
}

}  // namespace

StripPanel::StripPanel(PanelHost& host, QWidget* parent) : Panel(host, parent) {
  m_gesture = new GestureStep([this]() -> EditHistory& { return Host().History(); }, this);
  for (int i = 0; i < rec::kOutputCount; ++i) BuildStrip(i);
  BuildMaster();
  Host().Selection().Listen([this](ChannelSelection::Change) { FollowSelection(); });
}

StripPanel::~StripPanel() = default;

void StripPanel::BuildStrip(int i) {
  Strip& s = At(i);
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
  m_gesture->Watch(s.gainSlider, TextId::StepGain);

  s.curve = new BitButton(kCurveBaseId + i, QString(), this);
  s.curve->setGeometry(x, kCurveTop, kWidth, 18);

  s.label = new QLabel(label, this);
  s.label->setObjectName(QStringLiteral("label%1").arg(kLabelBaseId + i));
  s.label->setAlignment(Qt::AlignCenter);
  s.label->setFont(skin::Font2());
  s.label->setGeometry(x, kLabelTop, kWidth, 16);
  SetLabelShown(i, false);

  connect(s.select, &QAbstractButton::clicked, this, [this, i] { OnSelectButton(i); });
  connect(s.speakerType, &QAbstractButton::clicked, this, [this, i] { OpenSpeakerTypeMenu(i); });
  connect(s.on, &QAbstractButton::clicked, this, [this, i] { OnOutputOnButton(i); });
  connect(s.phase, &QAbstractButton::clicked, this, [this, i] { OnPhaseButton(i); });
  connect(s.gainEdit, &CNumEdit::changeNotice, this, [this, i] { OnGainEditChanged(i); });
  connect(s.gainSpin, &CNumSpin::changeNotice, this, [this, i] { OnGainEditChanged(i); });
  connect(s.gainSlider, &BitmapSlider::moving, this, [this, i] { OnGainSlider(i); });
  connect(s.gainSlider, &BitmapSlider::moved, this, [this, i] { OnGainSlider(i); });
  connect(s.curve, &QAbstractButton::clicked, this, [this, i] { OnShowCurveButton(i); });
  s.gainSpin->SetLanguage(&Host().State().chinese);
  s.gainSpin->SetMessageHandler([this](const QString& text) { Host().Message(text); });
}

void StripPanel::BuildMaster() {
  const int x = ColumnX(kMasterColumn);
  m_master.caption = new QLabel(this);
  m_master.caption->setAlignment(Qt::AlignCenter);
  m_master.caption->setFont(skin::Font2());
  m_master.caption->setGeometry(x, kSelectTop, kMasterWidth, 24);

  m_master.on = new BitButton(kMasterOnId, QString(), this);
  m_master.on->setGeometry(x, kOnTop, kMasterEditWidth, 20);
  m_master.on->SetAccent(QColor(0x2E, 0x8B, 0x57));

  m_master.edit = new CNumEdit(kMasterEditId, this);
  m_master.edit->setGeometry(x, kEditTop, kMasterEditWidth, 20);
  m_master.spin = new CNumSpin(kMasterSpinId, this);
  m_master.spin->setGeometry(x + kMasterEditWidth + 1, kEditTop, kMasterSpinWidth, 20);
  SetUpGainEdit(m_master.edit, m_master.spin, kMasterVolumeCodeMax);

  m_master.slider = new BitmapSlider(kMasterSliderId, Qt::Vertical, this);
  m_master.slider->setGeometry(x, kSliderTop, kMasterEditWidth, kSliderHeight);
  m_master.slider->SetRange(0, kMasterVolumeCodeMax);
  SetUpLevelSlider(m_master.slider);
  m_master.slider->AttachEdit(m_master.edit);
  m_gesture->Watch(m_master.slider, TextId::StepMasterLevel);
  m_gesture->Watch(m_master.spin, TextId::StepMasterLevel);

  connect(m_master.on, &QAbstractButton::clicked, this, &StripPanel::OnMasterOnButton);
  connect(m_master.edit, &CNumEdit::changeNotice, this, &StripPanel::OnMasterEditChanged);
  connect(m_master.spin, &CNumSpin::changeNotice, this, &StripPanel::OnMasterEditChanged);
  connect(m_master.slider, &BitmapSlider::moving, this, &StripPanel::OnMasterSlider);
  connect(m_master.slider, &BitmapSlider::moved, this, &StripPanel::OnMasterSlider);
  m_master.spin->SetLanguage(&Host().State().chinese);
  m_master.spin->SetMessageHandler([this](const QString& text) { Host().Message(text); });
}

// ---------------------------------------------------------------------------------------
// Reloading and the language

void StripPanel::Refresh() {
  ShowValues();
  // No linking after a reload: the speaker types are free to change.
  for (Strip& s : m_strips) s.speakerType->setEnabled(true);
  FollowSelection();
}

void StripPanel::ShowValues() {
  CKTV_Data& data = Host().Data();
  ShowMaster();
  for (int i = 0; i < rec::kOutputCount; ++i) {
    const CKTV_OutData& out = data.Output(i);
    ShowSwitch(*At(i).on, out.OutputOn() != 0);
    At(i).phase->SetState(out.Phase() != 0 ? 1 : 0);
    ShowGain(i);
  }
  ShowSpeakerTypes();
}

void StripPanel::ApplyLanguage() {
  for (Strip& s : m_strips) {
    ShowSwitch(*s.on, s.on->State() != 0);
    s.phase->setText(Text(TextId::PhaseButton));
    s.curve->setText(Text(TextId::CurveCaption));
    s.gainSlider->setToolTip(Text(TextId::GainCaption));
  }
  m_master.caption->setText(Text(TextId::MasterCaption));
  ShowSwitch(*m_master.on, m_master.on->State() != 0);
}

void StripPanel::OnOutputsEdited() {
  for (int i = 0; i < rec::kOutputCount; ++i) ShowGain(i);
}

void StripPanel::OnModelEdited() { ShowValues(); }

// The select buttons, the show-curve buttons and the labels show the selection: the
// current output always selected and drawn, the others as their flags say.
void StripPanel::FollowSelection() {
  const ChannelSelection& selection = Host().Selection();
  for (int i = 0; i < rec::kOutputCount; ++i) {
    const bool shown = selection.CurveShown(i);
    At(i).select->SetState(selection.IsSelected(i) ? 1 : 0);
    // While outputs are linked by their speaker types, the types stay as they are.
    At(i).speakerType->setEnabled(!selection.LinkingActive());
    At(i).curve->SetState(shown ? 1 : 0);
    SetLabelShown(i, shown);
  }
}

void StripPanel::SetLabelShown(int channel, bool shown) {
  QLabel* l = At(channel).label;
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, shown ? LabelShownColour() : LabelHiddenColour());
  l->setPalette(pal);
}

bool StripPanel::LabelShown(int channel) const {
  return At(channel).label->palette().color(QPalette::WindowText) == LabelShownColour();
}

void StripPanel::ShowSwitch(BitButton& button, bool on) {
  button.SetState(on ? 1 : 0);
  button.setText(Text(on ? TextId::SwitchOn : TextId::SwitchOff));
}

void StripPanel::ShowGain(int channel) {
  const int code = std::clamp(Host().Data().Output(channel).GainCode(), 0, kOutputGainCodeMax);
  At(channel).gainSpin->SetValue(code);
  At(channel).gainSlider->SetPos(code);
}

void StripPanel::ShowMaster() {
  ShowSwitch(*m_master.on, Host().Data().MasterOn() != 0);
  const int code = std::clamp(Host().Data().MasterVolume(), 0, kMasterVolumeCodeMax);
  m_master.spin->SetValue(code);
  m_master.slider->SetPos(code);
}

void StripPanel::ShowSpeakerTypes() {
  for (int i = 0; i < rec::kOutputCount; ++i) {
    const int type = Host().Data().SpeakerType(i);
    At(i).speakerType->setText(TwoLineTypeName(type));
    At(i).speakerType->setToolTip(Q(SpeakerTypeName(type)));
  }
}

// ---------------------------------------------------------------------------------------
// Output strips

void StripPanel::OnSelectButton(int channel) {
  ChannelSelection& selection = Host().Selection();
  if (channel != selection.Current()) selection.Select(channel);
}

void StripPanel::OnOutputOnButton(int channel) {
  EditStep step(Host().History(), TextId::StepOutputOn);
  CKTV_OutData& out = Host().Data().Output(channel);
  out.SetOutputOn(out.OutputOn() != 0 ? 0 : 1);
  ShowSwitch(*At(channel).on, out.OutputOn() != 0);
}

void StripPanel::OnPhaseButton(int channel) {
  EditStep step(Host().History(), TextId::StepPhase);
  CKTV_OutData& out = Host().Data().Output(channel);
  out.SetPhase(out.Phase() != 0 ? 0 : 1);
  At(channel).phase->SetState(out.Phase() != 0 ? 1 : 0);
}

void StripPanel::OnGainEditChanged(int channel) {
  Strip& s = At(channel);
  const int code = s.gainSpin->GetValue();
  s.gainSpin->SetValue(code);
  s.gainSlider->SetPos(code);
  StoreGain(channel, code);
}

void StripPanel::OnGainSlider(int channel) {
  Strip& s = At(channel);
  const int code = s.gainSlider->GetPos();
  s.gainSpin->SetValue(code);
  StoreGain(channel, code);
}

void StripPanel::StoreGain(int channel, int code) {
  CKTV_OutData& out = Host().Data().Output(channel);
  if (code == out.GainCode()) return;
  EditStep step(Host().History(), TextId::StepGain);
  out.SetGainCode(code);
  // The output gave its gain to its link group; their controls follow.
  Host().Data().Links().ForEachPartner(
      channel, [this](CKTV_OutData& partner) { ShowGain(partner.Channel()); });
  Host().OutputsEdited(*this);
}

void StripPanel::OnShowCurveButton(int channel) {
  // The current output's curve is always drawn; the selection refuses to switch it.
  Host().Selection().ToggleCurve(channel);
}

QMenu& StripPanel::PrepareSpeakerTypeMenu(int channel) {
  OnSelectButton(channel);
  // The menu of an earlier opening may still be delivering its choice.
  if (m_typeMenu) m_typeMenu.release()->deleteLater();
  m_typeMenu = std::make_unique<QMenu>(this);
  m_typeMenu->setFont(skin::Font1());
  FillSpeakerMenu(
      *m_typeMenu,
      SpeakerTypeMenuFor(Host().State().SpeakerTypes().first(rec::kOutputCount), channel));
  for (QAction* a : m_typeMenu->findChildren<QAction*>()) {
    if (!a->data().isValid()) continue;
    const int type = a->data().toInt();
    connect(a, &QAction::triggered, this, [this, type] { ChooseSpeakerType(type); });
  }
  return *m_typeMenu;
}

void StripPanel::OpenSpeakerTypeMenu(int channel) {
  QMenu& menu = PrepareSpeakerTypeMenu(channel);
  const QWidget* b = At(channel).speakerType;
  menu.popup(b->mapToGlobal(QPoint(0, b->height())));
}

void StripPanel::ChooseSpeakerType(int type) {
  const int channel = Host().Selection().Current();
  {
    EditStep step(Host().History(), TextId::StepSpeakerType);
    if (Host().Controller().Sequences().SetSpeakerType(channel, type) == RoutingResult::Refused) {
      return;
    }
  }
  Host().RefreshAll();
}

// ---------------------------------------------------------------------------------------
// Master

void StripPanel::OnMasterSlider() {
  EditStep step(Host().History(), TextId::StepMasterLevel);
  const int code = m_master.slider->GetPos();
  m_master.spin->SetValue(code);
  if (Host().Commands().SetMasterVolumeFromSlider(code)) ShowSwitch(*m_master.on, true);
}

void StripPanel::OnMasterEditChanged() {
  EditStep step(Host().History(), TextId::StepMasterLevel);
  const int code = m_master.spin->GetValue();
  m_master.spin->SetValue(code);
  m_master.slider->SetPos(code);
  if (Host().Commands().SetMasterVolumeFromEdit(code)) ShowSwitch(*m_master.on, true);
}

void StripPanel::OnMasterOnButton() {
  EditStep step(Host().History(), TextId::StepMasterLevel);
  ShowSwitch(*m_master.on, Host().Commands().ToggleMasterOn() != 0);
}

void StripPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  PaintBody(p);
  // A chip of each output's curve colour under its select button, and a rule before the
  // master strip.
  p.setPen(Qt::NoPen);
  for (int i = 0; i < rec::kOutputCount; ++i) {
    const auto& c = kOutputChannels[static_cast<std::size_t>(i)].colour;
    p.setBrush(QColor(c.r, c.g, c.b));
    p.drawRoundedRect(QRectF(ColumnX(i) + 6, kSelectTop + 25, kWidth - 12, 3), 1.5, 1.5);
  }
  p.setPen(QPen(QColor(0xC6, 0xCA, 0xD8), 1.0));
  const qreal rule = ColumnX(kMasterColumn) - 2.5;
  p.drawLine(QPointF(rule, 10), QPointF(rule, height() - 10));
}

}  // namespace vantor
