#pragma once
// The graph row of the main form: the response graph of the current output, and under it
// the EQ reset, the limiter and routing button and the current output's caption. The graph
// follows the channel selection (the output shown, the curves drawn behind it); an element
// changed on the graph is reported as elementEdited(element) for every panel to follow.

#include "ui/panels/Panel.h"

namespace vantor {

class CFStatic;
class TwoStateButton;

class GraphPanel : public Panel {
  Q_OBJECT

 public:
  static constexpr int kGraphId = 1000;
  static constexpr int kEqResetId = 2331;
  static constexpr int kLimiterButtonId = 3418;
  static constexpr int kEqBypassId = 2388;

  GraphPanel(PanelHost& host, QWidget* parent);

  // Hands the model's outputs to the graph (once, at start-up).
  void AttachModel();
  void Refresh() override;
  void ApplyLanguage() override;
  void OnGraphEdited(int element) override;

  // Repaints with element `highlight`'s label shown (−1: the current filter's).
  void Redraw(int highlight = -1);
  void OnEqReset();

  CFStatic& Graph() { return *m_graph; }
  TwoStateButton& EqResetButton() { return *m_eqReset; }
  TwoStateButton& LimiterButton() { return *m_limiter; }
  // Button 2388 shows the current output's all-bypass state; a click asks for the switch.
  TwoStateButton& EqBypassButton() { return *m_eqBypass; }
  void ShowEqBypass(bool on);
  const QString& ChannelCaption() const { return m_caption; }

 signals:
  // An element of the current output changed on the graph.
  void elementEdited(int element);
  // Button 2388 was clicked: the output channel dialog switches all-bypass.
  void eqBypassClicked();
  // Button 2331 was clicked: the output channel dialog resets the EQ.
  void eqResetClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnGraphChanged(int index, int notifyCode);
  void FollowSelection();
  void ShowCurves();
  void UpdateCaption();

  CFStatic* m_graph = nullptr;
  TwoStateButton* m_eqReset = nullptr;
  TwoStateButton* m_limiter = nullptr;
  TwoStateButton* m_eqBypass = nullptr;
  QString m_caption;
};

}  // namespace vantor
