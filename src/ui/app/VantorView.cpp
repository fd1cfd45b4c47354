#include "ui/app/VantorView.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "link/ConnectionController.h"
#include "link/PanelCommands.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "model/SpeakerPositions.h"
#include "model/SpeakerTypeMenu.h"
#include "model/ValueScales.h"
#include "ui/QtText.h"
#include "ui/app/DeviceHost.h"
#include "ui/app/DisplayDlg.h"
#include "ui/app/FormLayout.h"
#include "ui/app/MsgBox.h"
#include "ui/app/VantorDoc.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/DropBtn.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/Skin.h"
#include "ui/controls/xSkinButton.h"
#include "ui/panels/CarPanel.h"
#include "ui/panels/SpeakerMenu.h"
#include "ui/panels/StripPanel.h"

namespace vantor {

using namespace form;
namespace {

// A speaker-type name on two lines when it does not fit one: the position, then the band.
QString TwoLineTypeName(int type) {
  const QString name = Q(SpeakerTypeName(type));
  if (name.size() <= 3) return name;
  return name.left(2) + QLatin1Char('\n') + name.mid(2);
}

}  // namespace

CVantorView::CVantorView(CVantorDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_state(doc.State()), m_systemMenu(this), m_presetMenu(this) {
  setFixedSize(kFormWidth, kFormHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_prompts.message = [this](const QString& text) {
    // Modal, but without a nested event loop: the link's events keep being handled.
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, Q(kApplicationTitle), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
  };
  m_prompts.question = [this](const QString& text) {
    return QMessageBox::question(this, Q(kApplicationTitle), text,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
  };
  BuildControls();
  m_noDevice = DeviceHost::NoDevice();
  MakeController(m_noDevice->Backend(), m_noDevice->Claims(), LinkTimings{});
}

CVantorView::~CVantorView() {
  Shutdown();
  m_panel.reset();
  m_controller.reset();
}

CKTV_Data& CVantorView::Data() { return m_doc.Data(); }

bool CVantorView::Chinese() const { return m_state.chinese.load(); }

QString CVantorView::Text(TextId id) const { return Q(Tr(id, Chinese())); }

BitButton& CVantorView::SelectButton(int channel) { return *Strip(channel).select; }
ChannelStripControls& CVantorView::Strip(int channel) { return m_strips->Strip(channel); }
MasterStripControls& CVantorView::Master() { return m_strips->Master(); }
TwoStateButton& CVantorView::ConnectButton() { return *m_connect; }
TwoStateButton& CVantorView::EqResetButton() { return *m_eqReset; }
TwoStateButton& CVantorView::LimiterButton() { return *m_limiter; }
TwoStateButton& CVantorView::PresetButton() { return *m_presetButton; }

// ---------------------------------------------------------------------------------------
// The device link

void CVantorView::MakeController(HidBackend& backend, ClaimStore& claims, LinkTimings timings) {
  if (m_controller) {
    m_controller->SetWakeCallback({});
    m_controller->StopHotPlug();
    m_controller->Shutdown();
  }
  m_panel.reset();
  m_controller.reset();
  m_controller = std::make_unique<ConnectionController>(Data(), backend, claims, *this, timings);
  if (m_frameTap) m_controller->SetFrameTap(m_frameTap);
  m_controller->SetWakeCallback([this] { WakeFromLink(); });
  m_panel = std::make_unique<PanelCommands>(Data(), m_controller->Queue());
}

void CVantorView::AttachDevice(DeviceHost& host, LinkTimings timings) {
  MakeController(host.Backend(), host.Claims(), timings);
}

void CVantorView::SetFrameTap(FrameTap tap) {
  m_frameTap = std::move(tap);
  if (m_controller) m_controller->SetFrameTap(m_frameTap);
}

void CVantorView::SetDemoBadge(bool on) {
  m_demoBadge = on;
  update();
}

void CVantorView::SetPrompts(ViewPrompts prompts) {
  if (prompts.message) m_prompts.message = std::move(prompts.message);
  if (prompts.question) m_prompts.question = std::move(prompts.question);
}

// Called on the worker's or the hot-plug watcher's thread: one queued call into this
// thread handles whatever has arrived by then.
void CVantorView::WakeFromLink() {
  if (m_wakePosted.exchange(true)) return;
  QMetaObject::invokeMethod(this, "ProcessLinkEvents", Qt::QueuedConnection);
}

void CVantorView::ProcessLinkEvents() {
  m_wakePosted.store(false);
  // A handler that runs an event loop of its own must not start a second round inside the
  // first; the first one goes on until the mailbox is empty.
  if (m_processing || !m_controller) return;
  m_processing = true;
  m_controller->ProcessEvents();
  m_processing = false;
}

void CVantorView::OnConnectUsb() {
  if (m_closingHandled) return;
  m_controller->ConnectAtStartup();
  m_startupAttempted = true;
}

bool CVantorView::StartupSettled() const {
  if (!m_startupAttempted) return false;
  const ConnectionPhase phase = m_controller->Phase();
  return (phase == ConnectionPhase::kClosed || phase == ConnectionPhase::kLive) &&
         !m_transfer->isVisible();
}

void CVantorView::OnConnectButton() { m_controller->ToggleConnection(); }

void CVantorView::ShowStatusMessage(TextId text) { m_msgBox->ShowText(Text(text)); }

void CVantorView::ShowMessage(TextId text) { m_prompts.message(Text(text)); }

void CVantorView::ShowDetailedMessage(TextId text, const std::string& detail) {
  m_prompts.message(Text(text) + QStringLiteral("\n\n") + QString::fromStdString(detail));
}

void CVantorView::ShowTransferWindow(TransferOwner owner) {
  // A slot transfer started from a preset dialog keeps that dialog from being used; every
  // other transfer keeps the form.
  QWidget* disabled = owner == TransferOwner::kPresetDialog && m_presetDialog != nullptr
                          ? m_presetDialog.data()
                          : this;
  m_transfer->SetTexts(Text(TextId::TransferTitle), Text(TextId::TransferCaption));
  m_transfer->ShowFor(disabled);
}

void CVantorView::HideTransferWindow() { m_transfer->HideAndRelease(); }

void CVantorView::SetTransferRange(int low, int high) { m_transfer->SetRange(low, high); }

void CVantorView::SetTransferPosition(int position) { m_transfer->SetPosition(position); }

void CVantorView::SetConnectionIndicator(bool connected) {
  m_connect->SetState(connected ? 1 : 0);
  m_connect->setText(Text(connected ? TextId::ConnectConnected : TextId::ConnectDisconnected));
}

void CVantorView::ShowInputSource(int source) {
  if (source >= 0 && source < m_source->Count()) m_source->SetSelection(source);
}

void CVantorView::OnDeviceEvent(const DeviceEventMessage& message) {
  emit deviceEvent(static_cast<int>(message.id), static_cast<qintptr>(message.wParam),
                   static_cast<qintptr>(message.lParam));
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

void CVantorView::OnInitialUpdate() {
  m_closingHandled = false;
  m_graph->Attach(Data());
  for (int i = 0; i < 8; ++i) m_graph->SetShowCurve(i, m_showCurve[static_cast<std::size_t>(i)]);
  ApplyLanguage();
  Data().LoadOutputs();
  RefreshAll();
  m_controller->StartHotPlug();
  // The first attempt to connect runs once the window exists.
  QMetaObject::invokeMethod(
      this, [this] { OnConnectUsb(); }, Qt::QueuedConnection);
}

void CVantorView::Shutdown() {
  if (m_closingHandled) return;
  m_closingHandled = true;
  if (m_controller) {
    m_controller->StopHotPlug();
    m_controller->Shutdown();
  }
  m_transfer->HideAndRelease();
}

// ---------------------------------------------------------------------------------------
// Channel selection and refresh

int CVantorView::CurrentChannel() const { return m_state.currentOutput.load(); }

void CVantorView::SelectChannel(int channel) {
  if (channel < 0 || channel >= kGraphOutputs) return;
  const int previous = CurrentChannel();
  if (previous >= 0 && previous < kGraphOutputs) {
    ChannelStripControls& p = Strip(previous);
    const bool shown = m_showCurve[static_cast<std::size_t>(previous)];
    p.curve->SetState(shown ? 1 : 0);
    m_strips->SetLabelShown(previous, shown);
    p.select->SetState(0);
  }
  m_state.currentOutput.store(channel);
  ChannelStripControls& s = Strip(channel);
  s.curve->SetState(1);
  m_strips->SetLabelShown(channel, true);
  s.select->SetState(1);
  m_car->Refresh(m_state.SpeakerTypes().first(rec::kOutputCount), Data().SpeakerType(channel));
  m_graph->ShowOutput(channel);
  UpdateChannelCaption();
}

void CVantorView::RefreshAll() {
  CKTV_Data& data = Data();
  ShowMaster();
  const int mode = data.SpeakerMode();
  m_speakerMode->SetSelection(mode < kSpeakerModeCount ? mode : -1);
  for (int i = 0; i < 8; ++i) {
    ChannelStripControls& s = Strip(i);
    CKTV_OutData& out = data.Output(i);
    ShowSwitch(*s.on, out.OutputOn() != 0);
    s.phase->SetState(out.Phase() != 0 ? 1 : 0);
    s.curve->SetState(m_showCurve[static_cast<std::size_t>(i)] ? 1 : 0);
    m_strips->SetLabelShown(i, m_showCurve[static_cast<std::size_t>(i)]);
    ShowGain(i);
  }
  auto system = m_state.SystemBlock();
  if (system[rec::kSysInputSource] > kInputSourceCount - 1) {
    system[rec::kSysInputSource] = kInputSourceCount - 1;
  }
  m_source->SetSelection(data.InputSource());

  // Any linking ends: every output in its own group, only the current select button
  // pressed, the speaker types free to change.
  data.Links().Reset();
  for (int i = 0; i < 8; ++i) {
    Strip(i).select->SetState(i == CurrentChannel() ? 1 : 0);
    Strip(i).speakerType->setEnabled(true);
  }
  m_speakerMode->show();

  m_graph->Redraw();
  ShowSpeakerTypes();
  SelectChannel(CurrentChannel());
}

void CVantorView::ShowSwitch(BitButton& button, bool on) {
  button.SetState(on ? 1 : 0);
  button.setText(Text(on ? TextId::SwitchOn : TextId::SwitchOff));
}

void CVantorView::ShowGain(int channel) {
  ChannelStripControls& s = Strip(channel);
  const int code = std::clamp(Data().Output(channel).GainCode(), 0, kOutputGainCodeMax);
  s.gainSpin->SetValue(code);
  s.gainSlider->SetPos(code);
}

void CVantorView::ShowMaster() {
  MasterStripControls& m = Master();
  ShowSwitch(*m.on, Data().MasterOn() != 0);
  const int code = std::clamp(Data().MasterVolume(), 0, kMasterVolumeCodeMax);
  m.spin->SetValue(code);
  m.slider->SetPos(code);
}

void CVantorView::ShowSpeakerTypes() {
  for (int i = 0; i < 8; ++i) {
    const int type = Data().SpeakerType(i);
    Strip(i).speakerType->setText(TwoLineTypeName(type));
    Strip(i).speakerType->setToolTip(Q(SpeakerTypeName(type)));
  }
}

void CVantorView::UpdateChannelCaption() {
  const int c = CurrentChannel();
  const CKTV_OutData& out = Data().Output(c);
  m_channelCaption = QString::fromStdString(ChannelLabel(c));
  const QString name = QString::fromStdString(out.NameText()).trimmed();
  if (!name.isEmpty()) m_channelCaption += QStringLiteral("  ·  ") + name;
  const int type = Data().SpeakerType(c);
  if (type != 0) m_channelCaption += QStringLiteral("  ·  ") + Q(SpeakerTypeName(type));
  update(kChannelCaption);
}

// ---------------------------------------------------------------------------------------
// Language

void CVantorView::ApplyLanguage() {
  const bool zh = Chinese();
  m_firmwareAction->setText(Text(TextId::MenuFirmwareUpdate));
  m_languageAction->setText(Text(TextId::MenuLanguage));
  m_aboutAction->setText(Text(TextId::MenuAbout));
  m_presetLoadAction->setText(Text(TextId::MenuPresetLoad));
  m_presetSaveAction->setText(Text(TextId::MenuPresetSave));
  m_presetButton->setText(Text(TextId::PresetButton));
  SetConnectionIndicator(m_controller->Connected());

  QStringList sources;
  for (int s = 0; s < kInputSourceCount; ++s) sources << Q(InputSourceName(s, zh));
  m_source->SetItems(sources);
  m_source->SetSelection(std::min(Data().InputSource(), kInputSourceCount - 1));

  m_eqReset->setText(Text(TextId::EqResetButton));
  m_limiter->setText(Text(TextId::LimiterRoutingButton));
  m_car->SetCaption(Text(TextId::SpeakerPositions));
  for (int i = 0; i < 8; ++i) {
    ChannelStripControls& s = Strip(i);
    ShowSwitch(*s.on, s.on->State() != 0);
    s.phase->setText(Text(TextId::PhaseButton));
    s.curve->setText(Text(TextId::CurveCaption));
    s.gainSlider->setToolTip(Text(TextId::GainCaption));
  }
  MasterStripControls& m = Master();
  m.caption->setText(Text(TextId::MasterCaption));
  ShowSwitch(*m.on, m.on->State() != 0);
  m_transfer->SetTexts(Text(TextId::TransferTitle), Text(TextId::TransferCaption));
  update();
}

void CVantorView::ToggleLanguage() {
  m_state.chinese.store(!m_state.chinese.load());
  ApplyLanguage();
}

// ---------------------------------------------------------------------------------------
// Strip controls

void CVantorView::OnSelectButton(int channel) {
  if (channel != CurrentChannel()) SelectChannel(channel);
}

void CVantorView::OnPositionButton(int id) {
  const int output = PositionButtonOutput(id, m_state.SpeakerTypes().first(rec::kOutputCount));
  if (output >= 0 && output != CurrentChannel()) SelectChannel(output);
}

void CVantorView::OnOutputOnButton(int channel) {
  CKTV_OutData& out = Data().Output(channel);
  out.SetOutputOn(out.OutputOn() != 0 ? 0 : 1);
  ShowSwitch(*Strip(channel).on, out.OutputOn() != 0);
}

void CVantorView::OnPhaseButton(int channel) {
  CKTV_OutData& out = Data().Output(channel);
  out.SetPhase(out.Phase() != 0 ? 0 : 1);
  Strip(channel).phase->SetState(out.Phase() != 0 ? 1 : 0);
}

void CVantorView::OnGainEditChanged(int channel) {
  ChannelStripControls& s = Strip(channel);
  const int code = s.gainSpin->GetValue();
  s.gainSpin->SetValue(code);
  s.gainSlider->SetPos(code);
  CKTV_OutData& out = Data().Output(channel);
  if (code == out.GainCode()) return;
  out.SetGainCode(code);
  // The output gave its gain to its link group; their controls follow.
  Data().Links().ForEachPartner(channel,
                                [this](CKTV_OutData& partner) { ShowGain(partner.Channel()); });
}

void CVantorView::OnGainSlider(int channel) {
  ChannelStripControls& s = Strip(channel);
  const int code = s.gainSlider->GetPos();
  s.gainSpin->SetValue(code);
  CKTV_OutData& out = Data().Output(channel);
  if (code == out.GainCode()) return;
  out.SetGainCode(code);
  Data().Links().ForEachPartner(channel,
                                [this](CKTV_OutData& partner) { ShowGain(partner.Channel()); });
}

void CVantorView::OnShowCurveButton(int channel) {
  // The current output's curve is always drawn.
  if (channel == CurrentChannel()) return;
  bool& shown = m_showCurve[static_cast<std::size_t>(channel)];
  shown = !shown;
  Strip(channel).curve->SetState(shown ? 1 : 0);
  m_strips->SetLabelShown(channel, shown);
  m_graph->SetShowCurve(channel, shown);
  m_graph->Redraw();
}

QMenu& CVantorView::PrepareSpeakerTypeMenu(int channel) {
  if (channel != CurrentChannel()) SelectChannel(channel);
  // The menu of an earlier opening may still be delivering its choice.
  if (m_typeMenu) m_typeMenu.release()->deleteLater();
  m_typeMenu = std::make_unique<QMenu>(this);
  m_typeMenu->setFont(skin::Font1());
  FillSpeakerMenu(*m_typeMenu,
                  SpeakerTypeMenuFor(m_state.SpeakerTypes().first(rec::kOutputCount), channel));
  for (QAction* a : m_typeMenu->findChildren<QAction*>()) {
    if (!a->data().isValid()) continue;
    const int type = a->data().toInt();
    connect(a, &QAction::triggered, this, [this, type] { ChooseSpeakerType(type); });
  }
  return *m_typeMenu;
}

void CVantorView::OpenSpeakerTypeMenu(int channel) {
  QMenu& menu = PrepareSpeakerTypeMenu(channel);
  const QWidget* b = Strip(channel).speakerType;
  menu.popup(b->mapToGlobal(QPoint(0, b->height())));
}

void CVantorView::ChooseSpeakerType(int type) {
  if (m_controller->Sequences().SetSpeakerType(CurrentChannel(), type) == RoutingResult::Refused)
    return;
  RefreshAll();
}

void CVantorView::OnSourceSelected(int index) {
  m_controller->Sequences().SelectInputSource(index);
}

// ---------------------------------------------------------------------------------------
// Master

void CVantorView::OnMasterSlider() {
  MasterStripControls& m = Master();
  const int code = m.slider->GetPos();
  m.spin->SetValue(code);
  if (m_panel->SetMasterVolumeFromSlider(code)) ShowSwitch(*m.on, true);
}

void CVantorView::OnMasterEditChanged() {
  MasterStripControls& m = Master();
  const int code = m.spin->GetValue();
  m.spin->SetValue(code);
  m.slider->SetPos(code);
  if (m_panel->SetMasterVolumeFromEdit(code)) ShowSwitch(*m.on, true);
}

void CVantorView::OnMasterOnButton() { ShowSwitch(*Master().on, m_panel->ToggleMasterOn() != 0); }

// ---------------------------------------------------------------------------------------
// EQ reset and the graph

void CVantorView::OnEqReset() {
  if (!m_prompts.question(Text(TextId::ResetAllEq))) return;
  m_panel->ResetEq(CurrentChannel());
  m_graph->Redraw();
}

// A change made on the graph. A crossover is given to the outputs linked with the current
// one; a band is for the output channel dialog to show once it exists.
void CVantorView::OnGraphChanged(int index, int notifyCode) {
  const int channel = CurrentChannel();
  if (notifyCode != kGraphNotifyBase + channel) return;
  CKTV_Data& data = Data();
  if (index == kGraphHighPassIndex || index == kGraphLowPassIndex) {
    const bool high = index == kGraphHighPassIndex;
    CKTV_OutData& out = data.Output(channel);
    const int hz = high ? out.HighPass().Frequency() : out.LowPass().Frequency();
    data.Links().ForEachPartner(channel, [&](CKTV_OutData& partner) {
      (high ? partner.HighPass() : partner.LowPass()).SetFrequency(hz, true);
    });
  }
  m_graph->Redraw();
}

// ---------------------------------------------------------------------------------------
// Menus

void CVantorView::OpenSystemMenu() {
  const QRect b = m_menuButton->geometry();
  m_systemMenu.popup(mapToGlobal(QPoint(b.left() - 10, b.bottom() + 1 + 5)));
}

void CVantorView::OpenPresetMenu() {
  const QRect b = m_menuButton->geometry();
  m_presetMenu.popup(mapToGlobal(QPoint(b.left() + 50, b.bottom() + 1 + 5)));
}

void CVantorView::ShowAbout() {
  QMessageBox::about(
      this, Text(TextId::MenuAbout),
      QStringLiteral("%1\nVantor %2").arg(Q(kApplicationTitle), QStringLiteral(VANTOR_VERSION)));
}

// ---------------------------------------------------------------------------------------
// The borderless window moves with its body.

void CVantorView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_dragging = true;
  m_dragOffset = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void CVantorView::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  window()->move(event->globalPosition().toPoint() - m_dragOffset);
}

void CVantorView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
}

// ---------------------------------------------------------------------------------------
// The form's background: the light body, a top bar with the title and the captions, and a
// quiet panel where the output channel dialog will sit.

void CVantorView::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), skin::FormBackground());

  QLinearGradient bar(0, 0, 0, kTopBarHeight);
  bar.setColorAt(0.0, QColor(0xF2, 0xF3, 0xF8));
  bar.setColorAt(1.0, QColor(0xD9, 0xDC, 0xE8));
  p.fillRect(QRect(0, 0, width(), kTopBarHeight), bar);
  p.setPen(QColor(0xBB, 0xC0, 0xD0));
  p.drawLine(0, kTopBarHeight, width(), kTopBarHeight);

  p.setFont(skin::Font4());
  p.setPen(skin::Text());
  p.drawText(QRect(18, 0, 150, kTopBarHeight), Qt::AlignVCenter | Qt::AlignLeft,
             Q(kApplicationTitle));
  if (m_demoBadge) {
    p.setFont(skin::Font2());
    p.setPen(skin::AccentDark());
    p.drawText(QRect(160, 0, 166, kTopBarHeight), Qt::AlignVCenter | Qt::AlignLeft,
               Text(TextId::DemoBadge));
  }
  p.setFont(skin::Font2());
  p.setPen(skin::Text());
  p.drawText(kSourceCaption, Qt::AlignVCenter | Qt::AlignRight, Text(TextId::SourceCaption));
  p.drawText(kModeCaption, Qt::AlignVCenter | Qt::AlignRight, Text(TextId::SpeakerModeCaption));
  p.drawText(kChannelCaption, Qt::AlignVCenter | Qt::AlignLeft, m_channelCaption);

  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0xC6, 0xCA, 0xD8), 1.0));
  p.setBrush(QColor(0xEC, 0xEE, 0xF5));
  p.drawRoundedRect(QRectF(kDialogPanel).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

}  // namespace vantor
