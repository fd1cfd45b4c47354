#pragma once
// The main form: the one working window inside the frame. It holds the device link (the
// connection controller, over whatever DeviceHost provides) and is its screen: the
// transfer window, the status message window, and through its top bar the connect button
// and the source list. It arranges the panels (top bar, car picture, graph row, channel
// strips, crossovers, delays, the output channel dialog) and loops over them to reload, relabel and
// hand on device events; every control belongs to its panel. The channel selection is one object
// the panels follow. It owns the preset operations and opens the windows of its menus
// (FormDialogs). The keyboard rests with the form itself until the person clicks into a control.

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <vector>

#include "link/ClaimStore.h"
#include "link/ConnectionScreen.h"
#include "link/FrameTap.h"
#include "link/HidDevice.h"
#include "link/LinkTimings.h"
#include "ui/app/DeviceEventType.h"
#include "ui/app/QtStandardTexts.h"
#include "ui/app/ViewPrompts.h"
#include "ui/panels/PanelHost.h"

namespace vantor {

class CDisplayDlg;
class CKTV_Data;
class CMsgBox;
class CVantorDoc;
class CarPanel;
class ChannelSelection;
class ComparisonPanel;
class ConnectionController;
class CrossoverPanel;
class CurveOverlay;
class DelayPanel;
class DeviceHost;
class FormDialogs;
class GraphPanel;
class LimiterDlg;
class LinkPanel;
class Panel;
class EditHistory;
class EditMenu;
class FilterExportDlg;
class FilterImportDlg;
class OutputDlg;
class PanelCommands;
class PresetController;
class ProgramComparison;
class ProgramState;
struct PresetResult;
class StripPanel;
class TopBarPanel;

class CVantorView : public QWidget, public ConnectionScreen, public PanelHost {
  Q_OBJECT

 public:
  explicit CVantorView(CVantorDoc& doc, QWidget* parent = nullptr);
  ~CVantorView() override;

  // The processor to work with, before OnInitialUpdate (without a call: none is found).
  // `host` must outlive the view. `timings` are the link's time limits (tests shorten them).
  void AttachDevice(DeviceHost& host, LinkTimings timings = {});
  // Frames on the wire are shown to this tap (traces); set before connecting.
  void SetFrameTap(FrameTap tap);
  void SetDemoBadge(bool on);
  // The open preset dialog, which the transfer window disables during a slot transfer
  // instead of the form (null: none open).
  void SetPresetDialog(QWidget* dialog) { m_presetDialog = dialog; }
  // Replaces the prompts that are given; the others stay.
  void SetPrompts(ViewPrompts prompts);
  // A question with Yes and No (true for Yes).
  bool YesNo(const QString& text) { return m_prompts.yesNo(text); }
  // The file chooser; a request without a folder starts where the last file was, and the
  // folder of the chosen file is remembered. Empty when cancelled.
  QString ChooseFile(FileRequest request);

  // Start-up: loads the outputs from the live record, shows output 0, listens for the
  // processor being plugged in and out, and posts the first connection attempt.
  void OnInitialUpdate();
  // True once the first connection attempt is over: no processor found, or the read-back
  // is done (or the connection ended on the way).
  bool StartupSettled() const;

  // Makes output i current; every panel that shows the current output follows.
  void SelectChannel(int channel);
  int CurrentChannel() const;
  // Reloads every panel from the model, ends any linking and shows the current output.
  void RefreshAll() override;
  // Relabels every panel for the language flag.
  void ApplyLanguage();
  // Button 3418: opens the limiter and routing dialog over the form, unless it is open.
  void OpenLimiterDialog();
  void ToggleLanguage();
  // A preset dialog loaded a file (PresetController::LoadFile): an all-presets file also
  // puts its selected listening position's delays into the front delay fields.
  void OnPresetFileLoaded(const PresetResult& result);

  // Ctrl+Z and Ctrl+Y: take back the last step, or take it again, and show the outcome. A
  // step that changed speaker types reloads the form as a speaker-type choice does. False
  // when there was nothing to take.
  bool Undo();
  bool Redo();
  // The filters of the current output: the export dialog, and the import (a file chooser,
  // then the import dialog with its report).
  void ExportFilters();
  void ImportFilters();

  // Runs once before the window goes away (the close command or the frame's close): stops
  // the worker and the hot-plug watcher and releases the device claim.
  void Shutdown();
  bool ClosingHandled() const { return m_closingHandled; }

  // --- ConnectionScreen.
  void ShowStatusMessage(TextId text) override;
  void ShowMessage(TextId text) override;
  void ShowDetailedMessage(TextId text, const std::string& detail) override;
  void ShowTransferWindow(TransferOwner owner) override;
  void HideTransferWindow() override;
  void SetTransferRange(int low, int high) override;
  void SetTransferPosition(int position) override;
  void SetConnectionIndicator(bool connected) override;
  void ShowInputSource(int source) override;
  void OnDeviceEvent(const DeviceEventMessage& message) override;

  // --- PanelHost.
  CKTV_Data& Data() override;
  ProgramState& State() override { return m_state; }
  ChannelSelection& Selection() override { return *m_selection; }
  ConnectionController& Controller() override { return *m_controller; }
  PanelCommands& Commands() override { return *m_commands; }
  EditHistory& History() override { return *m_history; }
  ProgramComparison& Comparison() override { return *m_comparison; }
  void Message(const QString& text) override { m_prompts.message(text); }
  bool Question(const QString& text) override { return m_prompts.question(text); }
  void RedrawGraph(int highlight = -1) override;
  void OutputsEdited(Panel& source) override;
  void ModelEdited() override;

  // --- The panels, for the frame, the application and tests.
  TopBarPanel& TopBar() { return *m_topBar; }
  CarPanel& Car() { return *m_car; }
  GraphPanel& GraphRow() { return *m_graph; }
  StripPanel& Strips() { return *m_strips; }
  CrossoverPanel& Crossover() { return *m_crossover; }
  DelayPanel& Delays() { return *m_delay; }
  OutputDlg& OutputDialog() { return *m_output; }
  LinkPanel& Link() { return *m_link; }
  // The limiter and routing dialog while it is open, else null.
  LimiterDlg* LimiterDialog() const;
  ComparisonPanel& ComparisonBar() { return *m_compare; }
  EditMenu& Edits() { return *m_editMenu; }
  FilterExportDlg& ExportDialog() { return *m_exportDlg; }
  FilterImportDlg& ImportDialog() { return *m_importDlg; }
  CDisplayDlg& TransferWindow() { return *m_transfer; }
  CMsgBox& StatusWindow() { return *m_msgBox; }
  // The preset operations of the dialogs (recreated with the link).
  PresetController& Presets() { return *m_presets; }
  // The windows of the menus.
  FormDialogs& Dialogs() { return *m_dialogs; }
  // Gives the keyboard back to the form unless a control the person clicked into is
  // meant to keep it: a numeric edit or slider loses it (start-up, a language switch, the
  // end of a transfer, a channel selected).
  void ParkKeyboard();

 signals:
  void minimiseRequested();
  void closeRequested();
  // Every device event after the view and its panels have handled it (for the dialogs that
  // follow them).
  void deviceEvent(const vantor::DeviceEventMessage& message);
  // The connect button was set to show the connection (on or off).
  void connectionShown(bool connected);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void BuildPanels();
  void MakeController(HidBackend& backend, ClaimStore& claims, LinkTimings timings);
  void WakeFromLink();
  // Invoked by name from the worker's wake-up: the queued call is then made entirely inside
  // Qt, with nothing of ours shared between the two threads but the controller's mailbox.
  Q_INVOKABLE void ProcessLinkEvents();
  void OnConnectUsb();
  void OnGraphEdited(int element);
  void BuildEditing();
  bool TakeStep(bool undo);

  CVantorDoc& m_doc;
  ProgramState& m_state;
  ViewPrompts m_prompts;
  std::unique_ptr<ChannelSelection> m_selection;

  // The device link. The view owns a host without devices until one is attached.
  std::unique_ptr<DeviceHost> m_noDevice;
  std::unique_ptr<ConnectionController> m_controller;
  std::unique_ptr<PanelCommands> m_commands;
  std::unique_ptr<EditHistory> m_history;
  std::unique_ptr<PresetController> m_presets;
  std::unique_ptr<FormDialogs> m_dialogs;
  std::unique_ptr<ProgramComparison> m_comparison;
  FrameTap m_frameTap;
  std::atomic<bool> m_wakePosted{false};
  bool m_processing = false;
  bool m_startupAttempted = false;

  TopBarPanel* m_topBar = nullptr;
  CarPanel* m_car = nullptr;
  GraphPanel* m_graph = nullptr;
  StripPanel* m_strips = nullptr;
  CrossoverPanel* m_crossover = nullptr;
  DelayPanel* m_delay = nullptr;
  OutputDlg* m_output = nullptr;
  LinkPanel* m_link = nullptr;
  ComparisonPanel* m_compare = nullptr;
  CurveOverlay* m_otherCurve = nullptr;
  EditMenu* m_editMenu = nullptr;
  FilterExportDlg* m_exportDlg = nullptr;
  FilterImportDlg* m_importDlg = nullptr;
  std::vector<Panel*> m_panels;
  QtStandardTexts m_qtTexts;
  QPointer<LimiterDlg> m_limiterDlg;
  CDisplayDlg* m_transfer = nullptr;
  CMsgBox* m_msgBox = nullptr;
  QPointer<QWidget> m_presetDialog;

  bool m_dragging = false;
  QPoint m_dragOffset;
  bool m_closingHandled = false;
};

}  // namespace vantor
