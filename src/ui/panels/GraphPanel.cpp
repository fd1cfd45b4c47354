#include "ui/panels/GraphPanel.h"

#include <QPainter>
#include <cstdio>

#include "history/EditHistory.h"
#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "tuning/ChannelSelection.h"
#include "ui/QtText.h"
#include "ui/app/FormLayout.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"
#include "ui/dialogs/MeasureDlg.h"
#include "ui/dialogs/ToolWindow.h"

namespace vantor {
namespace {

// 574 pixels wide: the plot's 529 pixels (three decades of 176) put a whole 4000 Hz on a
// pixel.
const QRect kGraphRect(0, 0, 574, 282);
const QRect kEqResetRect(0, 290, 96, 24);
const QRect kLimiterRect(104, 290, 136, 24);
const QRect kEqBypassRect(248, 290, 96, 24);
const QRect kMeasureRect(352, 290, 80, 24);
const QRect kCaptionRect(440, 290, 140, 24);

}  // namespace

GraphPanel::GraphPanel(PanelHost& host, QWidget* parent)
    : Panel(host, parent), m_session(host.Data()) {
  m_graph = new CFStatic(this);
  m_graph->setObjectName(QStringLiteral("graph"));
  m_graph->setGeometry(kGraphRect);
  connect(m_graph, &CFStatic::graphChanged, this, &GraphPanel::OnGraphChanged,
          Qt::QueuedConnection);
  // A gesture opens its step before it changes anything, and closes it after the change
  // notices it caused, which travel queued.
  connect(m_graph, &CFStatic::gestureBegun, this, &GraphPanel::OnGestureBegun,
          Qt::DirectConnection);
  connect(m_graph, &CFStatic::gestureEnded, this, &GraphPanel::OnGestureEnded,
          Qt::QueuedConnection);
  m_graph->SetOverlaySource([this] {
    const ChannelSelection& selection = Host().Selection();
    std::array<bool, rec::kOutputCount> behind{};
    for (int i = 0; i < rec::kOutputCount; ++i) {
      behind[static_cast<std::size_t>(i)] = selection.CurveShown(i);
    }
    return m_session.Overlay(selection.Current(), behind);
  });

  m_eqReset = new TwoStateButton(kEqResetId, QString(), this);
  m_eqReset->setGeometry(kEqResetRect);
  connect(m_eqReset, &QAbstractButton::clicked, this, &GraphPanel::OnEqReset);
  m_limiter = new TwoStateButton(kLimiterButtonId, QString(), this);
  m_limiter->setGeometry(kLimiterRect);
  connect(m_limiter, &QAbstractButton::clicked, this, &GraphPanel::limiterRoutingRequested);
  m_eqBypass = new TwoStateButton(kEqBypassId, QString(), this);
  m_eqBypass->setGeometry(kEqBypassRect);
  m_eqBypass->SetAccent(QColor(0xC0, 0x6A, 0x1E));
  connect(m_eqBypass, &QAbstractButton::clicked, this, &GraphPanel::eqBypassClicked);
  m_measure = new TwoStateButton(kMeasureButtonId, QString(), this);
  m_measure->setGeometry(kMeasureRect);
  connect(m_measure, &QAbstractButton::clicked, this, &GraphPanel::OpenMeasureDialog);

  m_saveTimer.setSingleShot(true);
  m_saveTimer.setInterval(kSaveDelayMs);
  connect(&m_saveTimer, &QTimer::timeout, this, [this] { SaveMeasurements(); });

  Host().Selection().Listen([this](ChannelSelection::Change change) {
    if (change == ChannelSelection::Change::kCurves) {
      ShowCurves();
      Redraw();
    } else {
      FollowSelection();
    }
  });
}

GraphPanel::~GraphPanel() {
  // The graph and the dialog go with the widget's children, after the session: neither may
  // reach it meanwhile.
  m_graph->SetOverlaySource({});
  delete m_dialog;
}

void GraphPanel::AttachModel() {
  m_graph->Attach(Host().Data());
  ShowCurves();
}

void GraphPanel::Refresh() {
  if (m_dialog != nullptr) m_dialog->Refresh();
  Redraw();
}

void GraphPanel::ApplyLanguage() {
  m_eqReset->setText(Text(TextId::EqResetButton));
  m_limiter->setText(Text(TextId::LimiterRoutingButton));
  m_eqBypass->setText(Text(TextId::EqBypassButton));
  m_measure->setText(Text(TextId::MeasureButton));
  m_graph->SetLayerNames({Text(TextId::LayerMeasurement), Text(TextId::LayerPrediction),
                          Text(TextId::LayerTarget), Text(TextId::LayerAutoEq)});
  if (m_dialog != nullptr) m_dialog->ApplyLanguage();
}

void GraphPanel::ShowEqBypass(bool on) { m_eqBypass->SetState(on ? 1 : 0); }

void GraphPanel::Redraw(int highlight) { m_graph->Redraw(highlight); }

void GraphPanel::FollowSelection() {
  m_graph->ShowOutput(Host().Selection().Current());
  UpdateCaption();
  if (m_dialog != nullptr) m_dialog->Refresh();
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
  if (notifyCode == kGraphNotifyBase + Host().Selection().Current()) emit elementEdited(index);
  if (m_closeAfterNotice && !m_graph->Model().NotifyPending()) CloseStep();
}

// Whatever changed on the graph, it shows the new curve; the panels that show the element
// follow on their own.
void GraphPanel::OnGraphEdited(int /*element*/) { Redraw(); }

// Another panel changed outputs: the curves, and the fit's default range, follow; the
// label that panel asked for stays.
void GraphPanel::OnOutputsEdited() {
  if (m_dialog != nullptr) m_dialog->Refresh();
  m_graph->update();
}

// ---------------------------------------------------------------------------------------
// Undo steps of the graph's gestures

void GraphPanel::OnGestureBegun(int serial) {
  // A step still waiting for its notice ends where the next gesture begins.
  CloseStep();
  Host().History().Begin(TextId::StepGraphDrag);
  m_stepSerial = serial;
}

void GraphPanel::OnGestureEnded(int serial) {
  if (serial != m_stepSerial) return;
  if (m_graph->Model().NotifyPending()) {
    m_closeAfterNotice = true;
  } else {
    CloseStep();
  }
}

void GraphPanel::CloseStep() {
  if (m_stepSerial == 0) return;
  m_stepSerial = 0;
  m_closeAfterNotice = false;
  Host().History().Commit();
}

// ---------------------------------------------------------------------------------------
// Measurements

MeasureDlg& GraphPanel::MeasureDialog() {
  if (m_dialog == nullptr) {
    m_dialog = new MeasureDlg(Host(), m_session, this);
    connect(m_dialog, &MeasureDlg::measurementsChanged, this, &GraphPanel::OnMeasurementsChanged);
    connect(m_dialog, &MeasureDlg::bandsApplied, this, [this] { Host().OutputsEdited(*this); });
  }
  return *m_dialog;
}

void GraphPanel::OpenMeasureDialog() {
  MeasureDlg& dialog = MeasureDialog();
  dialog.Refresh();
  // Over the right of the form's lower band, clear of the graph, the crossovers and the
  // channel strips.
  ShowToolWindow(dialog, [this](QSize size) {
    const QRect form = window()->geometry();
    return QPoint(form.right() - size.width() - 12, form.top() + form::kDialogPanel.top());
  });
}

void GraphPanel::OnMeasurementsChanged() {
  Redraw();
  if (m_session.Modified() && m_session.Keeping()) m_saveTimer.start();
}

bool GraphPanel::KeepMeasurementsIn(const std::filesystem::path& file) {
  MeasureError error;
  const bool ok = m_session.Open(file, error);
  if (!ok) {
    QString text = Text(TextId::MeasureFileRefused);
    text.replace(QStringLiteral("{file}"), QString::fromStdU16String(file.u16string()));
    text.replace(QStringLiteral("{reason}"), Q(MeasureErrorText(error, Host().Chinese())));
    Host().Message(text);
  }
  if (m_dialog != nullptr) m_dialog->Refresh();
  Redraw();
  return ok;
}

bool GraphPanel::SaveMeasurements(bool quiet) {
  m_saveTimer.stop();
  MeasureError error;
  if (m_session.SaveIfModified(error)) return true;
  QString text = Text(TextId::MeasureSaveFailed);
  const auto& file = m_session.File();
  text.replace(QStringLiteral("{file}"),
               file ? QString::fromStdU16String(file->u16string()) : QString());
  text += Q(MeasureErrorText(error, Host().Chinese()));
  if (quiet) {
    std::fprintf(stderr, "vantor: %s\n", text.toUtf8().constData());
  } else {
    Host().Message(text);
  }
  return false;
}

void GraphPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setFont(skin::Font2());
  p.setPen(skin::Text());
  p.drawText(kCaptionRect, Qt::AlignVCenter | Qt::AlignLeft, m_caption);
}

}  // namespace vantor
