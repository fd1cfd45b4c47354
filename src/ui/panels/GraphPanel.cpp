#include "ui/panels/GraphPanel.h"

#include <QPainter>

#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "tuning/ChannelSelection.h"
#include "tuning/PanelCommands.h"
#include "ui/QtText.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

// 574 pixels wide: the plot's 529 pixels (three decades of 176) put a whole 4000 Hz on a
// pixel.
const QRect kGraphRect(0, 0, 574, 316);
const QRect kEqResetRect(0, 324, 96, 24);
const QRect kLimiterRect(104, 324, 136, 24);
const QRect kCaptionRect(252, 324, 328, 24);

}  // namespace

GraphPanel::GraphPanel(PanelHost& host, QWidget* parent) : Panel(host, parent) {
  m_graph = new CFStatic(this);
  m_graph->setObjectName(QStringLiteral("graph"));
  m_graph->setGeometry(kGraphRect);
  connect(m_graph, &CFStatic::graphChanged, this, &GraphPanel::OnGraphChanged,
          Qt::QueuedConnection);

  m_eqReset = new TwoStateButton(kEqResetId, QString(), this);
  m_eqReset->setGeometry(kEqResetRect);
  connect(m_eqReset, &QAbstractButton::clicked, this, &GraphPanel::OnEqReset);
  // The limiter and routing dialog arrives later; until then its button is shown disabled.
  m_limiter = new TwoStateButton(kLimiterButtonId, QString(), this);
  m_limiter->setGeometry(kLimiterRect);
  m_limiter->setEnabled(false);

  Host().Selection().Listen([this](ChannelSelection::Change change) {
    if (change == ChannelSelection::Change::kCurves) {
      ShowCurves();
      Redraw();
    } else {
      FollowSelection();
    }
  });
}

void GraphPanel::AttachModel() {
  m_graph->Attach(Host().Data());
  ShowCurves();
}

void GraphPanel::Refresh() { Redraw(); }

void GraphPanel::ApplyLanguage() {
  m_eqReset->setText(Text(TextId::EqResetButton));
  m_limiter->setText(Text(TextId::LimiterRoutingButton));
}

void GraphPanel::Redraw(int highlight) { m_graph->Redraw(highlight); }

void GraphPanel::FollowSelection() {
  m_graph->ShowOutput(Host().Selection().Current());
  UpdateCaption();
}

void GraphPanel::ShowCurves() {
  const ChannelSelection& selection = Host().Selection();
  for (int i = 0; i < rec::kOutputCount; ++i) m_graph->SetShowCurve(i, selection.CurveFlag(i));
}

void GraphPanel::UpdateCaption() {
  const int c = Host().Selection().Current();
  const CKTV_OutData& out = Host().Data().Output(c);
  m_caption = QString::fromStdString(ChannelLabel(c));
  const QString name = QString::fromStdString(out.NameText()).trimmed();
  if (!name.isEmpty()) m_caption += QStringLiteral("  ·  ") + name;
  const int type = Host().Data().SpeakerType(c);
  if (type != 0) m_caption += QStringLiteral("  ·  ") + Q(SpeakerTypeName(type));
  update(kCaptionRect);
}

void GraphPanel::OnEqReset() {
  if (!Host().Question(Text(TextId::ResetAllEq))) return;
  Host().Commands().ResetEq(Host().Selection().Current());
  Redraw();
}

// The graph's notice of a change: only one about the output shown counts.
void GraphPanel::OnGraphChanged(int index, int notifyCode) {
  if (notifyCode != kGraphNotifyBase + Host().Selection().Current()) return;
  emit elementEdited(index);
}

// A crossover moved on the graph is given to the outputs linked with the current one; a
// band is for the output channel dialog to show.
void GraphPanel::OnGraphEdited(int element) {
  if (element == kGraphHighPassIndex || element == kGraphLowPassIndex) {
    const int channel = Host().Selection().Current();
    const bool high = element == kGraphHighPassIndex;
    CKTV_Data& data = Host().Data();
    CKTV_OutData& out = data.Output(channel);
    const int hz = high ? out.HighPass().Frequency() : out.LowPass().Frequency();
    data.Links().ForEachPartner(channel, [&](CKTV_OutData& partner) {
      (high ? partner.HighPass() : partner.LowPass()).SetFrequency(hz, true);
    });
  }
  Redraw();
}

void GraphPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setFont(skin::Font2());
  p.setPen(skin::Text());
  p.drawText(kCaptionRect, Qt::AlignVCenter | Qt::AlignLeft, m_caption);
}

}  // namespace vantor
