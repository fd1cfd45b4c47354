#pragma once
// The graph row of the main form: the response graph of the current output, and under it
// the EQ reset, the limiter and routing button, the EQ bypass, the measurement button and
// the current output's caption. The graph follows the channel selection (the output shown, the
// curves drawn behind it); an element changed on the graph is reported as elementEdited(element)
// for every panel to follow. Every gesture on the graph (a drag, a wheel notch) is one
// undo step. The panel keeps the measurements (MeasureSession) whose layers the graph
// draws, their file, and the measurement dialog.

#include <QTimer>
#include <filesystem>

#include "measure/MeasureSession.h"
#include "ui/panels/Panel.h"

namespace vantor {

class CFStatic;
class MeasureDlg;
class TwoStateButton;

class GraphPanel : public Panel {
  Q_OBJECT

 public:
  static constexpr int kGraphId = 1000;
  static constexpr int kEqResetId = 2331;
  static constexpr int kLimiterButtonId = 3418;
  static constexpr int kEqBypassId = 2388;
  static constexpr int kMeasureButtonId = 3419;
  // Changes to the measurements are saved this long after the last one.
  static constexpr int kSaveDelayMs = 500;

  GraphPanel(PanelHost& host, QWidget* parent);
  ~GraphPanel() override;

  // Hands the model's outputs to the graph (once, at start-up).
  void AttachModel();
  void Refresh() override;
  void ApplyLanguage() override;
  void OnGraphEdited(int element) override;
  void OnOutputsEdited() override;

  // Repaints with element `highlight`'s label shown (−1: the current filter's).
  void Redraw(int highlight = -1);
  void OnEqReset();

  // The measurements are kept in `file` (read now when it exists). A file that exists but
  // is refused is named in a message and left alone. False when it was refused.
  bool KeepMeasurementsIn(const std::filesystem::path& file);
  // Writes changed measurements now; `quiet` leaves a failure to standard error (at the end
  // of the program, when no message can be seen).
  bool SaveMeasurements(bool quiet = false);
  // The measurement dialog, shown over the form.
  void OpenMeasureDialog();

  CFStatic& Graph() { return *m_graph; }
  TwoStateButton& EqResetButton() { return *m_eqReset; }
  TwoStateButton& LimiterButton() { return *m_limiter; }
  // Button 2388 shows the current output's all-bypass state; a click asks for the switch.
  TwoStateButton& EqBypassButton() { return *m_eqBypass; }
  void ShowEqBypass(bool on);
  TwoStateButton& MeasureButton() { return *m_measure; }
  const QString& ChannelCaption() const { return m_caption; }
  MeasureSession& Measurements() { return m_session; }
  // Made on first use.
  MeasureDlg& MeasureDialog();

 signals:
  // An element of the current output changed on the graph.
  void elementEdited(int element);
  // Button 2388 was clicked: the output channel dialog switches all-bypass.
  void eqBypassClicked();
  // Button 3418 was clicked: the form opens the limiter and routing dialog.
  void limiterRoutingRequested();
  // Button 2331 was clicked: the output channel dialog resets the EQ.
  void eqResetClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnGraphChanged(int index, int notifyCode);
  void OnGestureBegun(int serial);
  void OnGestureEnded(int serial);
  void CloseStep();
  void OnMeasurementsChanged();
  void FollowSelection();
  void ShowCurves();
  void UpdateCaption();

  CFStatic* m_graph = nullptr;
  TwoStateButton* m_eqReset = nullptr;
  TwoStateButton* m_limiter = nullptr;
  TwoStateButton* m_eqBypass = nullptr;
  TwoStateButton* m_measure = nullptr;
  MeasureDlg* m_dialog = nullptr;
  QString m_caption;
  MeasureSession m_session;
  QTimer m_saveTimer;
  // The undo step of the graph gesture in progress: its serial (0: none), and whether it
  // waits for the graph's last change notice, so that what the panels do on that notice
  // (a crossover copied to linked outputs) joins the step.
  int m_stepSerial = 0;
  bool m_closeAfterNotice = false;
};

}  // namespace vantor
