#pragma once
// The main form: the one working window inside the frame. It holds the device link (the
// connection controller, over whatever DeviceHost provides) and is its screen: the connect
// button, the transfer window, the status message window. It carries the car picture with
// the speaker positions, the response graph, the eight channel strips and the master strip,
// and the shell commands (system menu, preset menu, minimise, close). Every control acts
// on the parameter model; while a device is live the model's pending flags and the direct
// writes below take the edits to it.

#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <array>
#include <atomic>
#include <memory>

#include "link/ClaimStore.h"
#include "link/ConnectionScreen.h"
#include "link/FrameTap.h"
#include "link/HidDevice.h"
#include "link/LinkTimings.h"
#include "ui/app/ViewPrompts.h"

namespace vantor {

class BitButton;
class CDisplayDlg;
class CFStatic;
class CKTV_Data;
class CMsgBox;
class CVantorDoc;
class CarPanel;
class ComBoxBtn;
class ConnectionController;
class DeviceHost;
class DropBtn;
class PanelCommands;
class ProgramState;
class StripPanel;
class TwoStateButton;
class xSkinButton;
struct ChannelStripControls;
struct MasterStripControls;

class CVantorView : public QWidget, public ConnectionScreen {
  Q_OBJECT

 public:
  // Control identifiers of the form.
  static constexpr int kGraphId = 1000;
  static constexpr int kConnectId = 1413;
  static constexpr int kSourceListId = 1415;
  static constexpr int kSpeakerModeId = 1416;
  static constexpr int kMenuButtonId = 2065;
  static constexpr int kCloseId = 2281;
  static constexpr int kMinimiseId = 2282;
  static constexpr int kEqResetId = 2331;
  static constexpr int kPresetButtonId = 3415;
  static constexpr int kLimiterButtonId = 3418;
  static constexpr int kSelectBaseId = 6703;
  // Commands of the system menu and the preset menu.
  static constexpr int kLanguageCommand = 32774;
  static constexpr int kAboutCommand = 32776;
  static constexpr int kFirmwareCommand = 32777;
  static constexpr int kPresetLoadCommand = 32771;
  static constexpr int kPresetSaveCommand = 32772;

  static constexpr int kFormWidth = 1284;
  static constexpr int kFormHeight = 690;

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
  void SetPrompts(ViewPrompts prompts);

  // Start-up: loads the outputs from the live record, shows output 0, listens for the
  // processor being plugged in and out, and posts the first connection attempt.
  void OnInitialUpdate();
  // True once the first connection attempt is over: no processor found, or the read-back
  // is done (or the connection ended on the way).
  bool StartupSettled() const;

  // --- Channel and EQ panel.
  // Makes output i current: select buttons, show-curve button, CH label, position button,
  // the graph.
  void SelectChannel(int channel);
  int CurrentChannel() const;
  // Reloads every control from the model, ends any linking and redraws.
  void RefreshAll() override;
  // Relabels every control and list for the language flag.
  void ApplyLanguage();
  void ToggleLanguage();

  // What the controls do, callable as a click would.
  void OnSelectButton(int channel);
  void OnPositionButton(int id);
  void OnOutputOnButton(int channel);
  void OnPhaseButton(int channel);
  // The gain edit or spin of output i committed a value.
  void OnGainEditChanged(int channel);
  // The gain slider of output i moved (moving or moved).
  void OnGainSlider(int channel);
  void OnShowCurveButton(int channel);
  bool ShowCurve(int channel) const { return m_showCurve[static_cast<std::size_t>(channel)]; }
  // Selects output i if needed and fills the speaker-type menu for it (OpenSpeakerTypeMenu
  // also shows it under the button).
  QMenu& PrepareSpeakerTypeMenu(int channel);
  void OpenSpeakerTypeMenu(int channel);
  // The current output's speaker type := type (a menu entry).
  void ChooseSpeakerType(int type);
  void OnMasterSlider();
  void OnMasterEditChanged();
  void OnMasterOnButton();
  void OnEqReset();
  void OnSourceSelected(int index);
  // A change notice of the graph (index of the changed element, 768 + output).
  void OnGraphChanged(int index, int notifyCode);
  void OnConnectButton();

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

  // --- Parts, for the frame, the application and tests.
  CFStatic& Graph() { return *m_graph; }
  BitButton& SelectButton(int channel);
  ChannelStripControls& Strip(int channel);
  MasterStripControls& Master();
  StripPanel& Strips() { return *m_strips; }
  CarPanel& Car() { return *m_car; }
  ComBoxBtn& SourceList() { return *m_source; }
  DropBtn& SpeakerModeSelector() { return *m_speakerMode; }
  TwoStateButton& ConnectButton();
  TwoStateButton& EqResetButton();
  TwoStateButton& LimiterButton();
  TwoStateButton& PresetButton();
  QMenu& SystemMenu() { return m_systemMenu; }
  QMenu& PresetMenu() { return m_presetMenu; }
  CDisplayDlg& TransferWindow() { return *m_transfer; }
  CMsgBox& StatusWindow() { return *m_msgBox; }
  ConnectionController& Controller() { return *m_controller; }
  CKTV_Data& Data();

 signals:
  void minimiseRequested();
  void closeRequested();
  // Every device event after the view has handled it (for the dialogs that follow them).
  void deviceEvent(int id, qintptr wParam, qintptr lParam);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void BuildControls();
  void BuildTopBar();
  void BuildStrips();
  void BuildMenus();
  void MakeController(HidBackend& backend, ClaimStore& claims, LinkTimings timings);
  void WakeFromLink();
  // Invoked by name from the worker's wake-up: the queued call is then made entirely inside
  // Qt, with nothing of ours shared between the two threads but the controller's mailbox.
  Q_INVOKABLE void ProcessLinkEvents();
  void OnConnectUsb();
  void OpenSystemMenu();
  void OpenPresetMenu();
  void ShowAbout();
  void ShowSwitch(BitButton& button, bool on);
  void ShowGain(int channel);
  void ShowMaster();
  void ShowSpeakerTypes();
  void UpdateChannelCaption();
  bool Chinese() const;
  QString Text(TextId id) const;

  CVantorDoc& m_doc;
  ProgramState& m_state;
  ViewPrompts m_prompts;

  // The device link. The view owns a host without devices until one is attached.
  std::unique_ptr<DeviceHost> m_noDevice;
  std::unique_ptr<ConnectionController> m_controller;
  std::unique_ptr<PanelCommands> m_panel;
  FrameTap m_frameTap;
  std::atomic<bool> m_wakePosted{false};
  bool m_processing = false;
  bool m_startupAttempted = false;

  CFStatic* m_graph = nullptr;
  CarPanel* m_car = nullptr;
  StripPanel* m_strips = nullptr;
  TwoStateButton* m_connect = nullptr;
  ComBoxBtn* m_source = nullptr;
  DropBtn* m_speakerMode = nullptr;
  TwoStateButton* m_presetButton = nullptr;
  TwoStateButton* m_eqReset = nullptr;
  TwoStateButton* m_limiter = nullptr;
  xSkinButton* m_menuButton = nullptr;
  xSkinButton* m_minimise = nullptr;
  xSkinButton* m_close = nullptr;
  CDisplayDlg* m_transfer = nullptr;
  CMsgBox* m_msgBox = nullptr;
  QPointer<QWidget> m_presetDialog;
  QMenu m_systemMenu;
  QMenu m_presetMenu;
  std::unique_ptr<QMenu> m_typeMenu;
  QAction* m_firmwareAction = nullptr;
  QAction* m_languageAction = nullptr;
  QAction* m_aboutAction = nullptr;
  QAction* m_presetLoadAction = nullptr;
  QAction* m_presetSaveAction = nullptr;

  std::array<bool, 8> m_showCurve{};
  bool m_demoBadge = false;
  QString m_channelCaption;

  bool m_dragging = false;
  QPoint m_dragOffset;
  bool m_closingHandled = false;
};

}  // namespace vantor
