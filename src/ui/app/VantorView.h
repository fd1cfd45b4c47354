#pragma once
// The main form: the one working window inside the frame. It carries the panels and the
// response graph, moves the borderless window when its body is dragged, and holds the
// shell commands (system menu, minimise, close). The device link and the channel strip
// attach here as they arrive.

#include <QMenu>
#include <QPoint>
#include <QWidget>
#include <array>

namespace vantor {

class BitButton;
class CFStatic;
class CVantorDoc;
class CKTV_Data;
class ProgramState;
class xSkinButton;

class CVantorView : public QWidget {
  Q_OBJECT

 public:
  // Control identifiers of the form.
  static constexpr int kGraphId = 1000;
  static constexpr int kMenuButtonId = 2065;
  static constexpr int kCloseId = 2281;
  static constexpr int kMinimiseId = 2282;
  static constexpr int kSelectBaseId = 6703;
  // Commands of the system menu.
  static constexpr int kLanguageCommand = 32774;
  static constexpr int kAboutCommand = 32776;
  static constexpr int kFirmwareCommand = 32777;

  static constexpr int kFormWidth = 1284;
  static constexpr int kFormHeight = 690;

  explicit CVantorView(CVantorDoc& doc, QWidget* parent = nullptr);

  // Start-up: loads the outputs from the live record and shows output 0.
  void OnInitialUpdate();
  // Makes output i current: its select button, the graph.
  void SelectChannel(int channel);
  int CurrentChannel() const;
  // Reloads every control from the model and redraws.
  void RefreshAll();
  // Relabels every control for the language flag.
  void ApplyLanguage();
  void ToggleLanguage();
  // Runs once before the window goes away (the close command or the frame's close).
  void Shutdown();
  bool ClosingHandled() const { return m_closingHandled; }

  CFStatic& Graph() { return *m_graph; }
  BitButton& SelectButton(int channel) { return *m_select[static_cast<std::size_t>(channel)]; }
  QMenu& SystemMenu() { return m_systemMenu; }
  CKTV_Data& Data();

 signals:
  void minimiseRequested();
  void closeRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void BuildControls();
  void OnGraphChanged(int index, int notifyCode);
  void OpenSystemMenu();
  void ShowAbout();
  bool Chinese() const;

  CVantorDoc& m_doc;
  ProgramState& m_state;
  CFStatic* m_graph = nullptr;
  std::array<BitButton*, 8> m_select{};
  xSkinButton* m_menuButton = nullptr;
  xSkinButton* m_minimise = nullptr;
  xSkinButton* m_close = nullptr;
  QMenu m_systemMenu;
  QAction* m_firmwareAction = nullptr;
  QAction* m_languageAction = nullptr;
  QAction* m_aboutAction = nullptr;

  bool m_dragging = false;
  QPoint m_dragOffset;
  bool m_closingHandled = false;
};

}  // namespace vantor
