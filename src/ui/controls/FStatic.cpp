#include "ui/controls/FStatic.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "model/KTV_Data.h"
#include "ui/controls/Skin.h"

namespace vantor {
namespace {

const QColor kBackground(28, 28, 30);
const QColor kGrid(62, 62, 65);
const QColor kAxisText(100, 100, 100);
const QColor kHandle(100, 100, 100);
const QColor kHandleText(255, 255, 255);
const QColor kOtherCurve(83, 83, 83, 255);
const QColor kLabelText(226, 228, 236);

QRect ToQRect(const Rect& r) { return {r.left, r.top, r.Width(), r.Height()}; }

QPoint PointerOf(const QMouseEvent* e) {
  const QPointF p = e->position();
  return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

}  // namespace

CFStatic::CFStatic(QWidget* parent)
    : QWidget(parent),
      m_axisFont(skin::Font2()),
      m_handleFont(skin::Font(12)),  // 9 point at 96 DPI
      m_labelFont(skin::Font2()) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  m_notifyTimer.setInterval(kNotifyTimerMs);
  m_notifyTimer.setTimerType(Qt::PreciseTimer);
  connect(&m_notifyTimer, &QTimer::timeout, this, &CFStatic::OnNotifyTimer);
  m_colours.fill(QColor(255, 255, 255));
}

void CFStatic::Attach(const std::array<CKTVEQ*, rec::kOutputCount>& sets,
                      const std::array<QColor, rec::kOutputCount>& colours) {
  m_colours = colours;
  m_model.Attach(sets);
  m_model.Layout(width(), height());
  m_notifyTimer.start();
  update();
}

void CFStatic::Attach(CKTV_Data& data) {
  std::array<CKTVEQ*, rec::kOutputCount> sets{};
  std::array<QColor, rec::kOutputCount> colours{};
  for (int i = 0; i < rec::kOutputCount && i < data.OutputCount(); ++i) {
    CKTV_OutData& out = data.Output(i);
    sets[static_cast<std::size_t>(i)] = &out.Filters();
    colours[static_cast<std::size_t>(i)] = QColor(out.Colour().r, out.Colour().g, out.Colour().b);
  }
  Attach(sets, colours);
}

void CFStatic::ShowOutput(int index) {
  m_model.ShowOutput(index);
  AfterMouse(true);
}

void CFStatic::SetMode(int mode) {
  m_model.SetMode(mode);
  update();
}

void CFStatic::SetShowCurve(int output, bool on) {
  m_model.SetShowCurve(output, on);
  update();
}

void CFStatic::Redraw(int highlight) {
  m_model.SetHighlight(highlight);
  update();
}

void CFStatic::OnNotifyTimer() {
  if (auto n = m_model.Poll(std::chrono::steady_clock::now())) {
    emit graphChanged(n->index, n->notifyCode);
  }
}

// ---------------------------------------------------------------------------------------
// Mouse

void CFStatic::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_model.Layout(width(), height());
}

void CFStatic::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint p = PointerOf(event);
  AfterMouse(m_model.ButtonDown({p.x(), p.y()}));
}

void CFStatic::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = PointerOf(event);
  AfterMouse(m_model.MouseMove({p.x(), p.y()}));
}

void CFStatic::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = PointerOf(event);
  AfterMouse(m_model.ButtonUp({p.x(), p.y()}));
}

void CFStatic::AfterMouse(bool redraw) {
  const Qt::CursorShape shape = m_model.Hover() ? Qt::SizeAllCursor : Qt::ArrowCursor;
  if (cursor().shape() != shape) setCursor(shape);
  if (redraw) update();
}

// ---------------------------------------------------------------------------------------
// Painting. Qt paints widgets into an off-screen backing store and puts it on the screen
// in one step, so the plot never flickers; RenderImage draws the same into an image.

void CFStatic::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  Render(p);
}

QImage CFStatic::RenderImage() {
  QImage image(size(), QImage::Format_ARGB32_Premultiplied);
  QPainter p(&image);
  Render(p);
  return image;
}

void CFStatic::Render(QPainter& p) {
  if (m_background.size() != size() || m_backgroundMode != m_model.Mode()) {
    m_background = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_backgroundMode = m_model.Mode();
    QPainter bp(&m_background);
    PaintBackground(bp);
  }
  p.drawImage(0, 0, m_background);
  PaintPlot(p);
}

void CFStatic::PaintBackground(QPainter& p) {
  // The rounded body sits on the form's colour.
  p.fillRect(rect(), skin::FormBackground());
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(kBackground);
  p.setBrush(kBackground);
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  p.setRenderHint(QPainter::Antialiasing, false);

  p.setFont(m_axisFont);
  p.setPen(kAxisText);
  for (const GraphText& t : m_model.AxisLabels()) {
    p.drawText(QRect(t.topLeft.x, t.topLeft.y, 40, 16), Qt::AlignLeft | Qt::AlignTop,
               QString::fromStdString(t.text));
  }

  const QRect plot = ToQRect(m_model.PlotRect());
  if (plot.width() <= 0 || plot.height() <= 0) return;
  p.fillRect(plot, kBackground);
  QPen dotted(kGrid, 1);
  dotted.setCapStyle(Qt::FlatCap);
  dotted.setDashPattern({1.0, 2.0});
  p.setPen(dotted);
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot.adjusted(0, 0, -1, -1));

  // The maker's mark, faint behind the curves.
  p.setPen(kGrid);
  QFont mark = skin::Font(26);
  mark.setLetterSpacing(QFont::AbsoluteSpacing, 6);
  p.setFont(mark);
  p.drawText(QRect(220, 60, std::max(0, plot.right() - 220), 40), Qt::AlignLeft | Qt::AlignTop,
             QStringLiteral("VANTOR"));

  p.setPen(dotted);
  const auto& xs = m_model.GridX();
  for (std::size_t i = 1; i < xs.size(); ++i) {
    p.drawLine(xs[i], plot.top(), xs[i], plot.bottom());
  }
  for (int y : m_model.GridY()) p.drawLine(plot.left(), y, plot.right(), y);
}

void CFStatic::PaintPlot(QPainter& p) {
  if (m_model.Mode() != kGraphModeOutput || m_model.ShownSet() == nullptr) return;
  if (m_model.PlotWidth() <= 0 || m_model.PlotHeight() <= 0) return;
  for (int o : m_model.PrepareCurves()) PaintCurve(p, *m_model.Set(o), kOtherCurve);
  PaintCurve(p, *m_model.ShownSet(), m_colours[static_cast<std::size_t>(m_model.OutputIndex())]);
  PaintHandles(p);
}

void CFStatic::PaintCurve(QPainter& p, const CKTVEQ& set, const QColor& colour) {
  // Only what can show is stroked: the curve is cut a little beyond the plot's top and
  // bottom (the pen is 2 pixels wide), then clipped to the plot exactly.
  const Rect& plot = m_model.PlotRect();
  ClipCurveToBand(set.PointsF().data(), kGridPoints, static_cast<float>(plot.top - 4),
                  static_cast<float>(plot.bottom + 4), m_runs);
  if (m_runs.RunCount() == 0) return;
  p.save();
  p.setClipRect(ToQRect(plot));
  p.setRenderHint(QPainter::Antialiasing, true);
  QPen pen(colour, 2.0);
  pen.setJoinStyle(Qt::BevelJoin);
  pen.setCapStyle(Qt::FlatCap);
  p.setPen(pen);
  for (std::size_t r = 0; r < m_runs.RunCount(); ++r) {
    const std::size_t first = m_runs.starts[r];
    const std::size_t n = m_runs.RunLength(r);
    m_polyline.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      m_polyline[i] = QPointF(m_runs.points[first + i].x, m_runs.points[first + i].y);
    }
    p.drawPolyline(m_polyline.data(), static_cast<int>(n));
  }
  p.restore();
}

void CFStatic::PaintHandles(QPainter& p) {
  const CKTVEQ& set = *m_model.ShownSet();
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setFont(m_handleFont);
  // Last to first, so that lower element numbers lie on top.
  for (int i = set.Count() - 1; i >= 0; --i) {
    const QRect r = ToQRect(set.At(i).HandleRect());
    p.setPen(Qt::NoPen);
    p.setBrush(kHandle);
    p.drawEllipse(QRectF(r).adjusted(-3, -3, 3, 3));
    Qt::Alignment align = Qt::AlignVCenter;
    switch (m_model.HandleAlign(i)) {
      case HandleTextAlign::kLeft:
        align |= Qt::AlignLeft;
        break;
      case HandleTextAlign::kRight:
        align |= Qt::AlignRight;
        break;
      case HandleTextAlign::kCenter:
        align |= Qt::AlignHCenter;
        break;
    }
    p.setPen(kHandleText);
    p.drawText(r, align, QString::fromStdString(m_model.HandleText(i)));
  }
  if (m_model.ShowsWidthHandles()) {
    const CFilter& f = *m_model.CurrentFilter();
    p.setPen(QPen(kHandle, 1.0));
    p.setBrush(kHandle);
    p.drawEllipse(ToQRect(f.LeftWidthHandle()));
    p.drawEllipse(ToQRect(f.RightWidthHandle()));
  }
  if (const CFilter* f = m_model.LabelFilter()) {
    p.setFont(m_labelFont);
    p.setPen(kLabelText);
    p.drawText(ToQRect(f->LabelRect()), Qt::AlignCenter, QString::fromStdString(f->LabelText()));
  }
  p.restore();
}

}  // namespace vantor
