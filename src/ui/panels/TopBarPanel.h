#pragma once
// The top bar of the main form: the title, the connect button, the input-source list, the
// speaker-configuration selector (shown, never chosen here), the preset button with its
// menu, and the system menu, minimise and close buttons. Window-wide commands (language,
// minimise, close) and the menus' dialogs are reported for the form to carry out.

#include <QMenu>

#include "ui/panels/Panel.h"

class QAction;

namespace vantor {

class ComBoxBtn;
class DropBtn;
class TwoStateButton;
class xSkinButton;

class TopBarPanel : public Panel {
  Q_OBJECT

 public:
  static constexpr int kHeight = 44;
  static constexpr int kConnectId = 1413;
  static constexpr int kSourceListId = 1415;
  static constexpr int kSpeakerModeId = 1416;
  static constexpr int kMenuButtonId = 2065;
  static constexpr int kCloseId = 2281;
  static constexpr int kMinimiseId = 2282;
  static constexpr int kPresetButtonId = 3415;
  // Commands of the system menu and the preset menu.
  static constexpr int kLanguageCommand = 32774;
  static constexpr int kAboutCommand = 32776;
  static constexpr int kFirmwareCommand = 32777;
  static constexpr int kPresetLoadCommand = 32771;
  static constexpr int kPresetSaveCommand = 32772;

  TopBarPanel(PanelHost& host, QWidget* parent);

  void Refresh() override;
  void ApplyLanguage() override;
  void OnModelEdited() override;

  void SetDemoBadge(bool on);
  // The connect button shows the connection.
  void ShowConnection(bool connected);
  // The device's input source; ignored outside the list.
  void ShowInputSource(int source);
  void OnSourceSelected(int index);
  void OnConnectButton();
  // Where the preset menu opens: its top-left corner under the preset button's left edge.
  QPoint PresetMenuPosition() const;
  void OpenPresetMenu();
  void OpenSystemMenu();

  TwoStateButton& ConnectButton() { return *m_connect; }
  ComBoxBtn& SourceList() { return *m_source; }
  DropBtn& SpeakerModeSelector() { return *m_speakerMode; }
  TwoStateButton& PresetButton() { return *m_presetButton; }
  QMenu& SystemMenu() { return m_systemMenu; }
  QMenu& PresetMenu() { return m_presetMenu; }
  QAction& FirmwareAction() { return *m_firmwareAction; }
  QAction& ReportAction() { return *m_reportAction; }
  QAction& LanguageAction() { return *m_languageAction; }
  QAction& AboutAction() { return *m_aboutAction; }
  QAction& PresetLoadAction() { return *m_presetLoadAction; }
  QAction& PresetSaveAction() { return *m_presetSaveAction; }

 signals:
  void languageToggleRequested();
  void minimiseRequested();
  void closeRequested();
  void firmwareRequested();
  void reportRequested();
  void aboutRequested();
  void presetLoadRequested();
  void presetSaveRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildMenus();

  TwoStateButton* m_connect = nullptr;
  ComBoxBtn* m_source = nullptr;
  DropBtn* m_speakerMode = nullptr;
  TwoStateButton* m_presetButton = nullptr;
  xSkinButton* m_menuButton = nullptr;
  xSkinButton* m_minimise = nullptr;
  xSkinButton* m_close = nullptr;
  QMenu m_systemMenu;
  QMenu m_presetMenu;
  QAction* m_firmwareAction = nullptr;
  QAction* m_reportAction = nullptr;
  QAction* m_languageAction = nullptr;
  QAction* m_aboutAction = nullptr;
  QAction* m_presetLoadAction = nullptr;
  QAction* m_presetSaveAction = nullptr;
  bool m_demoBadge = false;
};

}  // namespace vantor
