#pragma once
// The A/B comparison in the top bar: buttons A and B, the playing program's pressed.
// Choosing the other sends the processor only what differs (ProgramComparison: the whole
// blocks of the outputs that differ, silenced around them) and the form shows that program
// as after a file load. The system menu's "Copy A to B" / "Copy B to A" act here, and the
// graph can draw the other program's curve of the current output in grey.

#include <QPointF>
#include <vector>

#include "compare/ProgramComparison.h"
#include "ui/controls/CurveOverlay.h"
#include "ui/panels/Panel.h"

namespace vantor {

class ResponseGraphModel;
class TwoStateButton;

class ComparisonPanel : public Panel {
  Q_OBJECT

 public:
  static constexpr int kButtonAId = 3430;
  static constexpr int kButtonBId = 3431;
  static constexpr QSize kSize{64, 28};

  ComparisonPanel(PanelHost& host, QWidget* parent);

  // Shows the playing side (a new program from a read-back, recall or file plays as A).
  void Refresh() override;
  void ApplyLanguage() override;

  // Plays `side`; nothing when it plays already.
  void Select(ComparisonSide side);
  void CopyAToB();
  void CopyBToA();

  bool ShowsOtherCurve() const { return m_showOther; }
  void SetShowOtherCurve(bool on);
  // The other program's curve of the output the graph shows, in its pixels (nothing while
  // the option is off or the graph shows no output).
  CurveOverlay::Curve OtherCurveFor(const ResponseGraphModel& graph);

  TwoStateButton& Button(ComparisonSide side) { return *(side == ComparisonSide::kA ? m_a : m_b); }

 signals:
  // The other program's curve changed, or its option: the graph redraws.
  void otherCurveChanged();

 private:
  void AfterPlay(const ApplyResult& result);
  void ShowSide();

  TwoStateButton* m_a = nullptr;
  TwoStateButton* m_b = nullptr;
  bool m_showOther = false;
  // The curve last computed, and what it was computed for: the other program only changes
  // by a switch, a copy or a new program, not while the playing one is edited.
  std::vector<QPointF> m_curve;
  struct CurveKey {
    int channel = -1;
    Rect plot;
    std::uint64_t generation = 0;
    int serial = -1;
    bool operator==(const CurveKey&) const = default;
  };
  CurveKey m_curveKey;
  int m_serial = 0;  // counts switches and copies
};

}  // namespace vantor
