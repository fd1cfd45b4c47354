#include "ui/app/VantorView.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardPaths>
#include <algorithm>
#include <vector>

#include "compare/ProgramComparison.h"
#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "presets/PresetController.h"
#include "tuning/ChannelSelection.h"
#include "tuning/PanelCommands.h"
#include "ui/QtText.h"
#include "ui/app/AppSettings.h"
#include "ui/app/DeviceHost.h"
#include "ui/app/EditMenu.h"
#include "ui/app/FormDialogs.h"
#include "ui/app/FormLayout.h"
#include "ui/app/VantorDoc.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/CurveOverlay.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/Skin.h"
#include "ui/dialogs/DisplayDlg.h"
#include "ui/dialogs/FilterExportDlg.h"
#include "ui/dialogs/FilterImportDlg.h"
#include "ui/dialogs/LimiterDlg.h"
#include "ui/dialogs/MsgBox.h"
#include "ui/panels/CarPanel.h"
#include "ui/panels/ComparisonPanel.h"
#include "ui/panels/CrossoverPanel.h"
#include "ui/panels/DelayPanel.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/LinkPanel.h"
#include "ui/panels/OutputDlg.h"
#include "ui/panels/StripPanel.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

CVantorView::CVantorView(CVantorDoc& doc, QWidget* parent)
    : QWidget(parent),
      m_doc(doc),
      m_state(doc.State()),
      m_selection(std::make_unique<ChannelSelection>(doc.State(), doc.Data().Links())) {
  qRegisterMetaType<DeviceEventMessage>();
  setFixedSize(form::kFormSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // A click on the body or on a control that takes no keys gives the keyboard back to the
  // form, which commits an edit being typed in before the click acts.
  setFocusPolicy(Qt::ClickFocus);
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
  m_prompts.yesNo = [this](const QString& text) {
    return QMessageBox::question(this, Q(kApplicationTitle), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
  };
  m_prompts.chooseFile = [this](const FileRequest& request) {
    QFileDialog dialog(this, request.title, request.folder, request.filter);
    const bool save = request.kind == FileRequest::Kind::kSave;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, !save);
    // The suffix is added before the dialog asks about replacing a file.
    if (!request.suffix.isEmpty()) dialog.setDefaultSuffix(request.suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };
  // Before any panel: a channel selected takes the keyboard from an edit before the panels
  // show the new output.
  m_selection->Listen([this](ChannelSelection::Change) { ParkKeyboard(); });
  m_noDevice = DeviceHost::NoDevice();
  MakeController(m_noDevice->Backend(), m_noDevice->Claims(), LinkTimings{});
  BuildPanels();
  m_dialogs = std::make_unique<FormDialogs>(*this);
}

CVantorView::~CVantorView() {
  // The dialog works on this view's model and history.
  delete m_limiterDlg.data();
  Shutdown();
  m_dialogs.reset();
  m_presets.reset();
  m_comparison.reset();
  m_history.reset();
  m_commands.reset();
  m_controller.reset();
}

void CVantorView::BuildPanels() {
  m_topBar = new TopBarPanel(*this, this);
  m_topBar->setGeometry(form::kTopBar);
  connect(m_topBar, &TopBarPanel::languageToggleRequested, this, &CVantorView::ToggleLanguage);
  connect(m_topBar, &TopBarPanel::minimiseRequested, this, &CVantorView::minimiseRequested);
  connect(m_topBar, &TopBarPanel::closeRequested, this, [this] {
    Shutdown();
    emit closeRequested();
  });
  connect(m_topBar, &TopBarPanel::presetLoadRequested, this,
          [this] { m_dialogs->OpenPresetLoad(); });
  connect(m_topBar, &TopBarPanel::presetSaveRequested, this,
          [this] { m_dialogs->OpenPresetSave(); });
  connect(m_topBar, &TopBarPanel::firmwareRequested, this, [this] { m_dialogs->OpenFirmware(); });
  connect(m_topBar, &TopBarPanel::reportRequested, this, [this] { m_dialogs->OpenReport(); });
  connect(m_topBar, &TopBarPanel::aboutRequested, this, [this] { m_dialogs->OpenAbout(); });

  m_car = new CarPanel(*this, this);
  m_car->setGeometry(form::kCarPanel);
  // The delay fields lie on the car picture, under its position buttons.
  m_delay = new DelayPanel(*this, m_car);
  m_delay->setGeometry(m_car->rect());
  m_delay->lower();

  m_graph = new GraphPanel(*this, this);
  m_graph->setGeometry(form::kGraphPanel);
  connect(m_graph, &GraphPanel::elementEdited, this, &CVantorView::OnGraphEdited);
  connect(m_graph, &GraphPanel::limiterRoutingRequested, this, &CVantorView::OpenLimiterDialog);

  m_strips = new StripPanel(*this, this);
  m_strips->setGeometry(form::kStripPanel);

  m_crossover = new CrossoverPanel(*this, this);
  m_crossover->setGeometry(form::kCrossoverPanel);

  // Over the strips, drawn on their body.
  m_link = new LinkPanel(*this, this);
  m_link->setGeometry(form::kLinkButton);

  // The output channel dialog lives in the bottom band for the life of the view; the
  // form's EQ bypass button (2388) mirrors its all-bypass.
  m_output = new OutputDlg(*this, this);
  m_output->setGeometry(form::kDialogPanel);
  connect(m_graph, &GraphPanel::eqBypassClicked, m_output, &OutputDlg::OnAllBypass);
  connect(m_graph, &GraphPanel::eqResetClicked, m_output, &OutputDlg::OnEqReset);
  connect(m_output, &OutputDlg::allBypassShown, m_graph, &GraphPanel::ShowEqBypass);

  m_compare = new ComparisonPanel(*this, this);
  m_compare->setGeometry(form::kComparisonPanel);

  m_panels = {m_topBar,    m_car,    m_delay, m_graph,  m_strips,
              m_crossover, m_output, m_link,  m_compare};
  BuildEditing();

  // A window of its own over the frame, so that disabling the form leaves it alive.
  m_transfer = new CDisplayDlg(window() != this ? window() : this);
  m_transfer->hide();

  m_msgBox = new CMsgBox(this);
  m_msgBox->SetPresenter([this](const QString& text) { m_prompts.message(text); });
}

// Undo and redo, the A/B comparison's menu entries and curve, and the filter exchange.
void CVantorView::BuildEditing() {
  m_otherCurve = new CurveOverlay(
      &m_graph->Graph(), [this] { return m_compare->OtherCurveFor(m_graph->Graph().Model()); },
      QPen(QColor(0xB8, 0xBC, 0xC8), 1.5, Qt::DashLine));
  connect(m_compare, &ComparisonPanel::otherCurveChanged, this, [this] { RedrawGraph(); });
  m_exportDlg = new FilterExportDlg(*this, this);
  m_importDlg = new FilterImportDlg(*this, this);

  EditMenu::Commands commands;
  commands.undo = [this] { Undo(); };
  commands.redo = [this] { Redo(); };
  commands.copyAToB = [this] { m_compare->CopyAToB(); };
  commands.copyBToA = [this] { m_compare->CopyBToA(); };
  commands.showOtherCurve = [this](bool on) { m_compare->SetShowOtherCurve(on); };
  commands.exportFilters = [this] { ExportFilters(); };
  commands.importFilters = [this] { ImportFilters(); };
  m_editMenu = new EditMenu(*this, m_topBar->SystemMenu(), *this, std::move(commands));
  m_editMenu->WatchEdits(*this);
}

CKTV_Data& CVantorView::Data() { return m_doc.Data(); }

// ---------------------------------------------------------------------------------------
// The device link

void CVantorView::MakeController(HidBackend& backend, ClaimStore& claims, LinkTimings timings) {
  if (m_controller) {
    m_controller->SetWakeCallback({});
    m_controller->StopHotPlug();
    m_controller->Shutdown();
  }
  // The windows work on the link that goes.
  if (m_dialogs) m_dialogs->CloseAll();
  m_presets.reset();
  m_comparison.reset();
  m_history.reset();
  m_commands.reset();
  m_controller.reset();
  m_controller = std::make_unique<ConnectionController>(Data(), backend, claims, *this, timings);
  if (m_frameTap) m_controller->SetFrameTap(m_frameTap);
  m_controller->SetWakeCallback([this] { WakeFromLink(); });
  m_commands = std::make_unique<PanelCommands>(Data(), m_controller->Queue());
  m_history = std::make_unique<EditHistory>(Data(), m_controller->Queue());
  m_presets = std::make_unique<PresetController>(*m_controller);
  m_comparison = std::make_unique<ProgramComparison>(Data(), m_controller->Queue());
}

void CVantorView::AttachDevice(DeviceHost& host, LinkTimings timings) {
  MakeController(host.Backend(), host.Claims(), timings);
}

void CVantorView::SetFrameTap(FrameTap tap) {
  m_frameTap = std::move(tap);
  if (m_controller) m_controller->SetFrameTap(m_frameTap);
}

void CVantorView::SetDemoBadge(bool on) { m_topBar->SetDemoBadge(on); }

void CVantorView::SetPrompts(ViewPrompts prompts) {
  if (prompts.message) m_prompts.message = std::move(prompts.message);
  if (prompts.question) m_prompts.question = std::move(prompts.question);
  if (prompts.yesNo) m_prompts.yesNo = std::move(prompts.yesNo);
  if (prompts.chooseFile) m_prompts.chooseFile = std::move(prompts.chooseFile);
}

QString CVantorView::ChooseFile(FileRequest request) {
  if (request.folder.isEmpty()) request.folder = settings::LastFileFolder();
  if (request.folder.isEmpty()) {
    request.folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  }
  const QString chosen = m_prompts.chooseFile(request);
  if (!chosen.isEmpty()) settings::SetLastFileFolder(QFileInfo(chosen).absolutePath());
  return chosen;
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

void CVantorView::HideTransferWindow() {
  m_transfer->HideAndRelease();
  // Disabled behind the transfer, the form lost the keyboard; it is not handed to the
  // first edit when the window becomes active again.
  ParkKeyboard();
}

void CVantorView::SetTransferRange(int low, int high) { m_transfer->SetRange(low, high); }

void CVantorView::SetTransferPosition(int position) { m_transfer->SetPosition(position); }

void CVantorView::SetConnectionIndicator(bool connected) {
  m_topBar->ShowConnection(connected);
  emit connectionShown(connected);
}

void CVantorView::ShowInputSource(int source) { m_topBar->ShowInputSource(source); }

void CVantorView::OnDeviceEvent(const DeviceEventMessage& message) {
  // The all-presets save writes its file when the last slot has arrived.
  m_presets->OnDeviceEvent(message);
  for (Panel* panel : m_panels) panel->OnDeviceEvent(message);
  emit deviceEvent(message);
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

void CVantorView::OnInitialUpdate() {
  m_closingHandled = false;
  m_graph->AttachModel();
  ApplyLanguage();
  Data().LoadOutputs();
  RefreshAll();
  m_controller->StartHotPlug();
  ParkKeyboard();
  // The first attempt to connect runs once the window exists.
  QMetaObject::invokeMethod(
      this, [this] { OnConnectUsb(); }, Qt::QueuedConnection);
}

void CVantorView::Shutdown() {
  if (m_closingHandled) return;
  m_closingHandled = true;
  m_graph->SaveMeasurements(true);
  if (m_controller) {
    m_controller->StopHotPlug();
    m_controller->Shutdown();
  }
  m_transfer->HideAndRelease();
}

// ---------------------------------------------------------------------------------------
// Channel selection, reloading, language

int CVantorView::CurrentChannel() const { return m_selection->Current(); }

void CVantorView::SelectChannel(int channel) { m_selection->Select(channel); }

void CVantorView::RefreshAll() {
  CKTV_Data& data = Data();
  auto system = m_state.SystemBlock();
  if (system[rec::kSysInputSource] > kInputSourceCount - 1) {
    system[rec::kSysInputSource] = kInputSourceCount - 1;
  }
  // Any linking ends: every output in its own group.
  data.Links().Reset();
  m_selection->SetLinkingActive(false);
  for (Panel* panel : m_panels) panel->Refresh();
  if (m_limiterDlg) m_limiterDlg->Refresh();
  SelectChannel(CurrentChannel());
}

void CVantorView::ApplyLanguage() {
  m_qtTexts.Apply(Chinese());
  for (Panel* panel : m_panels) panel->ApplyLanguage();
  if (m_limiterDlg) m_limiterDlg->ApplyLanguage();
  m_editMenu->Update();
  m_exportDlg->ApplyLanguage();
  m_importDlg->ApplyLanguage();
  m_transfer->SetTexts(Text(TextId::TransferTitle), Text(TextId::TransferCaption));
  ParkKeyboard();
  update();
}

void CVantorView::ToggleLanguage() {
  m_state.chinese.store(!m_state.chinese.load());
  ApplyLanguage();
}

void CVantorView::ParkKeyboard() {
  // The window's own keyboard holder, whether or not the window is active now.
  QWidget* holder = window()->focusWidget();
  if (holder != nullptr && holder != this && !isAncestorOf(holder)) return;  // not the form's
  if (holder == nullptr || qobject_cast<CNumEdit*>(holder) != nullptr ||
      qobject_cast<BitmapSlider*>(holder) != nullptr) {
    setFocus(Qt::OtherFocusReason);
  }
}

void CVantorView::OnPresetFileLoaded(const PresetResult& result) {
  if (result.loaded && result.kind == PresetKind::kAll) m_delay->ShowListeningPosition();
}

void CVantorView::RedrawGraph(int highlight) { m_graph->Redraw(highlight); }

void CVantorView::ModelEdited() {
  for (Panel* panel : m_panels) panel->OnModelEdited();
  // A level or a limiter value may have been taken back.
  if (m_limiterDlg) m_limiterDlg->Refresh();
  RedrawGraph();
}

bool CVantorView::Undo() { return TakeStep(true); }

bool CVantorView::Redo() { return TakeStep(false); }

bool CVantorView::TakeStep(bool undo) {
  const auto types = m_state.SpeakerTypes();
  const std::vector<std::uint8_t> typesBefore(types.begin(), types.end());
  // Taking the link's copy back leaves the pairs holding different data again, so edits must
  // no longer reach both sides; taking it again makes them equal and linked as before.
  const bool linkStep =
      (undo ? m_history->UndoName() : m_history->RedoName()) == TextId::StepLinkCopy;
  if (!(undo ? m_history->Undo() : m_history->Redo())) return false;
  if (linkStep && undo) m_link->Unlink();
  if (linkStep && !undo) m_link->Relink();
  if (!std::equal(typesBefore.begin(), typesBefore.end(), types.begin(), types.end())) {
    RefreshAll();
  } else {
    ModelEdited();
  }
  return true;
}

void CVantorView::ExportFilters() { m_exportDlg->ShowFor(CurrentChannel()); }

void CVantorView::ImportFilters() { m_importDlg->Start(CurrentChannel()); }

void CVantorView::OutputsEdited(Panel& source) {
  for (Panel* panel : m_panels) {
    if (panel != &source) panel->OnOutputsEdited();
  }
  // A whole channel rewritten may carry other mixer levels.
  if (m_limiterDlg) m_limiterDlg->Refresh();
}

LimiterDlg* CVantorView::LimiterDialog() const { return m_limiterDlg.data(); }

void CVantorView::OpenLimiterDialog() {
  if (m_limiterDlg) return;
  QWidget* owner = window();
  m_limiterDlg = new LimiterDlg(*this, owner);
  // Over the middle of the form.
  const QRect form = owner->frameGeometry();
  m_limiterDlg->move(form.center() - m_limiterDlg->rect().center());
  m_limiterDlg->show();
  // No level edit is being typed into until the person picks one.
  m_limiterDlg->setFocus();
}

void CVantorView::OnGraphEdited(int element) {
  for (Panel* panel : m_panels) panel->OnGraphEdited(element);
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
// The form's background; every panel draws its own body.

void CVantorView::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), skin::FormBackground());
}

}  // namespace vantor
