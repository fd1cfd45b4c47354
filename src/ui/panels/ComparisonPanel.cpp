#include "ui/panels/ComparisonPanel.h"

#include "model/KTV_Data.h"
#include "tuning/ResponseGraphModel.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

constexpr int kButtonWidth = 30;
constexpr int kGap = 4;

}  // namespace

ComparisonPanel::ComparisonPanel(PanelHost& host, QWidget* parent) : Panel(host, parent) {
  m_a = new TwoStateButton(kButtonAId, QStringLiteral("A"), this);
  m_b = new TwoStateButton(kButtonBId, QStringLiteral("B"), this);
  m_a->setGeometry(0, 0, kButtonWidth, kSize.height());
  m_b->setGeometry(kButtonWidth + kGap, 0, kButtonWidth, kSize.height());
  for (TwoStateButton* b : {m_a, m_b}) {
    b->setFont(skin::Font4());
    b->SetAccent(QColor(0x3A, 0x6E, 0xA5));
  }
  connect(m_a, &QAbstractButton::clicked, this, [this] { Select(ComparisonSide::kA); });
  connect(m_b, &QAbstractButton::clicked, this, [this] { Select(ComparisonSide::kB); });
}

void ComparisonPanel::Refresh() { ShowSide(); }

void ComparisonPanel::ApplyLanguage() {
  const QString tip = Text(TextId::CompareToggleTip);
  m_a->setToolTip(tip);
  m_b->setToolTip(tip);
}

void ComparisonPanel::ShowSide() {
  const bool a = Host().Comparison().Active() == ComparisonSide::kA;
  m_a->SetState(a ? 1 : 0);
  m_b->SetState(a ? 0 : 1);
}

void ComparisonPanel::Select(ComparisonSide side) { AfterPlay(Host().Comparison().Select(side)); }

void ComparisonPanel::CopyAToB() { AfterPlay(Host().Comparison().CopyAToB()); }

void ComparisonPanel::CopyBToA() { AfterPlay(Host().Comparison().CopyBToA()); }

// The model holds another program when anything changed: every panel shows it, as after
// a file load (which also ends any linking).
void ComparisonPanel::AfterPlay(const ApplyResult& result) {
  ++m_serial;
  if (result.Changed()) {
    Host().RefreshAll();
  } else {
    ShowSide();
  }
  emit otherCurveChanged();
}

void ComparisonPanel::SetShowOtherCurve(bool on) {
  if (on == m_showOther) return;
  m_showOther = on;
  emit otherCurveChanged();
}

CurveOverlay::Curve ComparisonPanel::OtherCurveFor(const ResponseGraphModel& graph) {
  const Rect& plot = graph.PlotRect();
  if (!m_showOther || graph.Mode() != kGraphModeOutput || plot.Width() <= 0 || plot.Height() <= 0) {
    return {};
  }
  const CurveKey key{graph.OutputIndex(), plot, Host().Data().ProgramGeneration(), m_serial};
  if (!(key == m_curveKey)) {
    const auto points = Host().Comparison().OtherCurvePoints(key.channel, plot);
    m_curve.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) m_curve[i] = QPointF(points[i].x, points[i].y);
    m_curveKey = key;
  }
  return {QRect(plot.left, plot.top, plot.Width(), plot.Height()), &m_curve};
}

}  // namespace vantor
