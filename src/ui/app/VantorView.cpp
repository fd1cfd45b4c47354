#include "ui/app/VantorView.h"

#include <QLinearGradient>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include "model/KTV_Data.h"
#include "ui/app/ShellTexts.h"
#include "ui/app/VantorDoc.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/Skin.h"
#include "ui/controls/xSkinButton.h"

namespace vantor {
namespace {

// The fixed layout of the form, in pixels at 96 DPI. The outer two pixels are hidden by
// the frame's mask, so nothing lives there.
constexpr int kTopBarHeight = 44;
const QRect kCarPanel(10, 54, 320, 344);
const QRect kGraphRect(340, 54, 580, 344);
const QRect kStripPanel(930, 54, 344, 344);
const QRect kDialogPanel(10, 408, 1264, 272);
constexpr int kSelectTop = 62;
constexpr int kSelectLeft = 938;
constexpr int kSelectPitch = 37;
const QSize kSelectSize(33, 24);
const QSize kChromeButton(34, 28);

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

QColor ToQColor(Rgb c) { return {c.r, c.g, c.b}; }

}  // namespace

CVantorView::CVantorView(CVantorDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_state(doc.State()), m_systemMenu(this) {
  setFixedSize(kFormWidth, kFormHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  BuildControls();
}

CKTV_Data& CVantorView::Data() { return m_doc.Data(); }

bool CVantorView::Chinese() const { return m_state.chinese.load(); }

void CVantorView::BuildControls() {
  m_graph = new CFStatic(this);
  m_graph->setObjectName(QStringLiteral("graph"));
  m_graph->setGeometry(kGraphRect);
  connect(m_graph, &CFStatic::graphChanged, this, &CVantorView::OnGraphChanged,
          Qt::QueuedConnection);

  for (int i = 0; i < 8; ++i) {
    auto* b = new BitButton(kSelectBaseId + i, Q(ChannelLabel(i)), this);
    b->setGeometry(QRect(QPoint(kSelectLeft + i * kSelectPitch, kSelectTop), kSelectSize));
    connect(b, &TwoStateButton::clickedId, this, [this](int id) {
      const int channel = id - kSelectBaseId;
      if (channel != CurrentChannel()) SelectChannel(channel);
    });
    m_select[static_cast<std::size_t>(i)] = b;
  }

  const int right = kFormWidth - 8;
  m_close = new xSkinButton(kCloseId, xSkinButton::Glyph::kClose, {}, this);
  m_close->setGeometry(QRect(QPoint(right - kChromeButton.width(), 8), kChromeButton));
  m_minimise = new xSkinButton(kMinimiseId, xSkinButton::Glyph::kMinimise, {}, this);
  m_minimise->setGeometry(QRect(QPoint(right - 2 * kChromeButton.width() - 4, 8), kChromeButton));
  m_menuButton = new xSkinButton(kMenuButtonId, xSkinButton::Glyph::kMenu, {}, this);
  m_menuButton->setGeometry(QRect(QPoint(right - 3 * kChromeButton.width() - 8, 8), kChromeButton));
  connect(m_close, &QAbstractButton::clicked, this, [this] {
    Shutdown();
    emit closeRequested();
  });
  connect(m_minimise, &QAbstractButton::clicked, this, &CVantorView::minimiseRequested);
  connect(m_menuButton, &QAbstractButton::clicked, this, &CVantorView::OpenSystemMenu);

  // The firmware update arrives with its own dialog; until then the entry is shown
  // disabled rather than doing nothing when clicked.
  m_firmwareAction = m_systemMenu.addAction(QString());
  m_firmwareAction->setEnabled(false);
  m_languageAction = m_systemMenu.addAction(QString());
  m_aboutAction = m_systemMenu.addAction(QString());
  connect(m_languageAction, &QAction::triggered, this, &CVantorView::ToggleLanguage);
  connect(m_aboutAction, &QAction::triggered, this, &CVantorView::ShowAbout);
  m_systemMenu.setFont(skin::Font1());
}

void CVantorView::OnInitialUpdate() {
  m_closingHandled = false;
  m_graph->Attach(Data());
  ApplyLanguage();
  RefreshAll();
}

int CVantorView::CurrentChannel() const { return m_state.currentOutput.load(); }

void CVantorView::SelectChannel(int channel) {
  if (channel < 0 || channel >= kGraphOutputs) return;
  const int previous = CurrentChannel();
  m_select[static_cast<std::size_t>(previous)]->SetState(0);
  m_state.currentOutput.store(channel);
  m_select[static_cast<std::size_t>(channel)]->SetState(1);
  m_graph->ShowOutput(channel);
}

void CVantorView::RefreshAll() {
  // The curves of the other outputs show behind the current one until the strip's
  // show-curve buttons take this over.
  for (int i = 0; i < kGraphOutputs; ++i) m_graph->SetShowCurve(i, true);
  SelectChannel(CurrentChannel());
  m_graph->Redraw();
}

void CVantorView::ApplyLanguage() {
  const bool zh = Chinese();
  m_firmwareAction->setText(Q(shell::Pick(shell::kFirmwareUpdate, zh)));
  m_languageAction->setText(Q(shell::Pick(shell::kLanguageSwitch, zh)));
  m_aboutAction->setText(Q(shell::Pick(shell::kAbout, zh)));
  update();
}

void CVantorView::ToggleLanguage() {
  m_state.chinese.store(!m_state.chinese.load());
  ApplyLanguage();
}

void CVantorView::Shutdown() {
  if (m_closingHandled) return;
  m_closingHandled = true;
}

void CVantorView::OpenSystemMenu() {
  const QRect b = m_menuButton->geometry();
  m_systemMenu.popup(mapToGlobal(QPoint(b.left() - 10, b.bottom() + 1 + 5)));
}

void CVantorView::ShowAbout() {
  const bool zh = Chinese();
  const QString title = Q(shell::Pick(shell::kAbout, zh));
  QMessageBox::about(this, title,
                     QStringLiteral("%1\nVantor %2").arg(QLatin1String(shell::kApplicationTitle),
                                                         QStringLiteral(VANTOR_VERSION)));
}

// A change made on the graph. A crossover is given to the outputs linked with the current
// one; a band is for the output channel dialog to show once it exists.
void CVantorView::OnGraphChanged(int index, int notifyCode) {
  const int channel = CurrentChannel();
  if (notifyCode != kGraphNotifyBase + channel) return;
  CKTV_Data& data = Data();
  if (index == kGraphHighPassIndex || index == kGraphLowPassIndex) {
    const bool high = index == kGraphHighPassIndex;
    CKTV_OutData& out = data.Output(channel);
    const int hz = high ? out.HighPass().Frequency() : out.LowPass().Frequency();
    data.Links().ForEachPartner(channel, [&](CKTV_OutData& partner) {
      (high ? partner.HighPass() : partner.LowPass()).SetFrequency(hz, true);
    });
  }
  m_graph->Redraw();
}

// ---------------------------------------------------------------------------------------
// The borderless window moves with its body.

void CVantorView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_dragging = true;
  m_dragOffset = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void CVantorView::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  window()->move(event->globalPosition().toPoint() - m_dragOffset);
}

void CVantorView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
}

// ---------------------------------------------------------------------------------------
// The form's background: the light body, a top bar with the title, and quiet panels for the
// groups of controls.

void CVantorView::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), skin::FormBackground());

  QLinearGradient bar(0, 0, 0, kTopBarHeight);
  bar.setColorAt(0.0, QColor(0xF2, 0xF3, 0xF8));
  bar.setColorAt(1.0, QColor(0xD9, 0xDC, 0xE8));
  p.fillRect(QRect(0, 0, width(), kTopBarHeight), bar);
  p.setPen(QColor(0xBB, 0xC0, 0xD0));
  p.drawLine(0, kTopBarHeight, width(), kTopBarHeight);

  p.setFont(skin::Font4());
  p.setPen(skin::Text());
  p.drawText(QRect(18, 0, 400, kTopBarHeight), Qt::AlignVCenter | Qt::AlignLeft,
             QLatin1String(shell::kApplicationTitle));

  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0xC6, 0xCA, 0xD8), 1.0));
  p.setBrush(QColor(0xEC, 0xEE, 0xF5));
  for (const QRect& r : {kCarPanel, kStripPanel, kDialogPanel}) {
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  }
  // A chip of each output's curve colour under its select button.
  p.setPen(Qt::NoPen);
  for (int i = 0; i < kGraphOutputs; ++i) {
    const QRect b = m_select[static_cast<std::size_t>(i)]->geometry();
    p.setBrush(ToQColor(Data().Output(i).Colour()));
    p.drawRoundedRect(QRectF(b.left() + 4, b.bottom() + 4, b.width() - 8, 3), 1.5, 1.5);
  }
}

}  // namespace vantor
