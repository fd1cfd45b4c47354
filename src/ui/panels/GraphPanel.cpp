#include "ui/panels/GraphPanel.h"

#include <QPainter>

#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "tuning/ChannelSelection.h"
#include "ui/QtText.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

// 574 pixels wide: the plot's 529 pixels (three decades of 176) put a whole 4000 Hz on a
// pixel.
const QRect kGraphRect(0, 0, 574, 282);
const QRect kEqResetRect(0, 290, 96, 24);
const QRect kLimiterRect(104, 290, 136, 24);
const QRect kEqBypassRect(248, 290, 96, 24);
const QRect kCaptionRect(356, 290, 224, 24);

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
  m_eqBypass = new TwoStateButton(kEqBypassId, QString(), this);
  m_eqBypass->setGeometry(kEqBypassRect);
  m_eqBypass->SetAccent(QColor(0xC0, 0x6A, 0x1E));
  connect(m_eqBypass, &QAbstractButton::clicked, this, &GraphPanel::eqBypassClicked);

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
  m_eqBypass->setText(Text(TextId::EqBypassButton));
}

void GraphPanel::ShowEqBypass(bool on) { m_eqBypass->SetState(on ? 1 : 0); }

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

// The output channel dialog resets as its own reset button does (the question, the link
// group, one undo step).
void GraphPanel::OnEqReset() { emit eqResetClicked(); }

// The graph's notice of a change: only one about the output shown counts.
void GraphPanel::OnGraphChanged(int index, int notifyCode) {
  if (notifyCode != kGraphNotifyBase + Host().Selection().Current()) return;
  emit elementEdited(index);
}

// Whatever changed on the graph, it shows the new curve; the panels that show the element
// follow on their own.
void GraphPanel::OnGraphEdited(int /*element*/) { Redraw(); }

void GraphPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setFont(skin::Font2());
  p.setPen(skin::Text());
  p.drawText(kCaptionRect, Qt::AlignVCenter | Qt::AlignLeft, m_caption);
}

}  // namespace vantor
