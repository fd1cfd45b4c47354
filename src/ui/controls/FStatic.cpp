#include "ui/controls/FStatic.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "dsp/PlotMapping.h"
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
const QColor kLabelBackground(44, 45, 50, 235);
const QColor kLabelBorder(96, 98, 108);
const QColor kPreview(236, 236, 240);
// Label box padding around its text.
constexpr int kLabelPadX = 8;
constexpr int kLabelPadY = 4;

Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

QRect ToQRect(const Rect& r) { return {r.left, r.top, r.Width(), r.Height()}; }

QPoint PointerOf(const QPointF& p) {
  return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

}  // namespace

CFStatic::CFStatic(QWidget* parent)
    : QWidget(parent),
      m_axisFont(skin::Font2()),
      m_handleFont(skin::Font(12)),  // 9 point at 96 DPI
      m_labelFont(skin::Font2()),
      m_handleMetrics(m_handleFont),
      m_labelMetrics(m_labelFont) {
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

void CFStatic::SetOverlaySource(OverlaySource source) {
  m_overlaySource = std::move(source);
  update();
}

void CFStatic::SetLayerNames(const std::array<QString, 4>& names) {
  m_layerNames = names;
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

int CFStatic::BeginGesture() {
  ++m_gestureSerial;
  emit gestureBegun(m_gestureSerial);
  return m_gestureSerial;
}

void CFStatic::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint p = PointerOf(event->position());
  AfterMouse(m_model.ButtonDown({p.x(), p.y()}));
  if (m_model.Dragging() && m_dragSerial == 0) m_dragSerial = BeginGesture();
}

void CFStatic::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = PointerOf(event->position());
  AfterMouse(m_model.MouseMove({p.x(), p.y()}));
}

void CFStatic::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = PointerOf(event->position());
  AfterMouse(m_model.ButtonUp({p.x(), p.y()}));
  if (m_dragSerial != 0) {
    emit gestureEnded(m_dragSerial);
    m_dragSerial = 0;
  }
}

void CFStatic::wheelEvent(QWheelEvent* event) {
  // With Shift held some systems turn the wheel sideways.
  const QPoint angle = event->angleDelta();
  const int delta = angle.y() != 0 ? angle.y() : angle.x();
  if (delta == 0 || m_model.Mode() != kGraphModeOutput) {
    event->ignore();
    return;
  }
  event->accept();
  const bool bandwidth = (event->modifiers() & Qt::ShiftModifier) != 0;
  const QPoint p = PointerOf(event->position());
  m_wheelRest += delta;
  bool changed = false;
  // Each whole notch is a step of its own; fine-grained wheels add up to one.
  while (std::abs(m_wheelRest) >= kWheelNotch) {
    const int direction = m_wheelRest > 0 ? 1 : -1;
    m_wheelRest -= direction * kWheelNotch;
    const int serial = BeginGesture();
    changed = m_model.WheelNotch({p.x(), p.y()}, direction, bandwidth).has_value() || changed;
    emit gestureEnded(serial);
  }
  AfterMouse(changed);
}

void CFStatic::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  m_wheelRest = 0;
  AfterMouse(m_model.PointerLeft());
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
    const Qt::Alignment align = (t.alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    p.drawText(ToQRect(t.box), align, QString::fromStdString(t.text));
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

namespace {

// How each layer is stroked: the current output's in its colour, the others' in grey,
// told apart by width and dashes. The prediction, what the car will sound like, is the
// boldest; the measurement a thin trace under it.
QPen LayerPen(LayerKind kind, bool current, const QColor& colour) {
  QColor c = current ? colour : kOtherCurve;
  QPen pen;
  pen.setJoinStyle(Qt::BevelJoin);
  pen.setCapStyle(Qt::FlatCap);
  switch (kind) {
    case LayerKind::kMeasurement:
      c.setAlpha(current ? 170 : 200);
      pen.setWidthF(current ? 1.3 : 1.0);
      break;
    case LayerKind::kPrediction:
      if (current) c = colour.lighter(135);
      pen.setWidthF(current ? 2.6 : 1.6);
      break;
    case LayerKind::kTarget:
      pen.setWidthF(1.5);
      pen.setDashPattern({5.0, 4.0});
      break;
    case LayerKind::kAutoEqPreview:
      c = kPreview;
      pen.setWidthF(2.0);
      pen.setDashPattern({1.0, 2.0});
      break;
  }
  pen.setColor(c);
  return pen;
}

}  // namespace

void CFStatic::PaintPlot(QPainter& p) {
  m_legend = QRect();
  if (m_model.Mode() != kGraphModeOutput || m_model.ShownSet() == nullptr) return;
  if (m_model.PlotWidth() <= 0 || m_model.PlotHeight() <= 0) return;
  const GraphOverlay overlay = m_overlaySource ? m_overlaySource() : GraphOverlay{};
  for (const LayerCurve& layer : overlay.curves) {
    if (!layer.current) PaintLayer(p, layer);
  }
  QPen channelPen(kOtherCurve, 2.0);
  channelPen.setJoinStyle(Qt::BevelJoin);
  channelPen.setCapStyle(Qt::FlatCap);
  for (int o : m_model.PrepareCurves()) PaintCurve(p, m_model.Set(o)->PointsF().data(), channelPen);
  for (const LayerCurve& layer : overlay.curves) {
    if (layer.current) PaintLayer(p, layer);
  }
  channelPen.setColor(m_colours[static_cast<std::size_t>(m_model.OutputIndex())]);
  PaintCurve(p, m_model.ShownSet()->PointsF().data(), channelPen);
  PaintMarkers(p, overlay);
  m_legend = PaintLegend(p, overlay);
  PaintHandles(p, m_legend);
}

void CFStatic::PaintLayer(QPainter& p, const LayerCurve& layer) {
  m_model.CurveOfDb(layer.db, m_layerPoints);
  PaintCurve(p, m_layerPoints.data(),
             LayerPen(layer.kind, layer.current,
                      m_colours[static_cast<std::size_t>(std::clamp(layer.output, 0, 7))]));
}

void CFStatic::PaintCurve(QPainter& p, const PointF* points, const QPen& pen) {
  // Only what can show is stroked: the curve is cut a little beyond the plot's top and
  // bottom (the pen is up to 3 pixels wide), then clipped to the plot exactly.
  const Rect& plot = m_model.PlotRect();
  ClipCurveToBand(points, kGridPoints, static_cast<float>(plot.top - 4),
                  static_cast<float>(plot.bottom + 4), m_runs);
  if (m_runs.RunCount() == 0) return;
  p.save();
  p.setClipRect(ToQRect(plot));
  p.setRenderHint(QPainter::Antialiasing, true);
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

void CFStatic::PaintMarkers(QPainter& p, const GraphOverlay& overlay) {
  if (overlay.markers.empty()) return;
  const int w = m_model.PlotWidth();
  const int h = m_model.PlotHeight();
  p.save();
  p.setClipRect(ToQRect(m_model.PlotRect()));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kPreview, 1.5));
  p.setBrush(Qt::NoBrush);
  for (const LayerMarker& m : overlay.markers) {
    const QPointF c(PlotXExact(m.frequencyHz, w) + kPlotOffsetX,
                    h / 40.0 * (20.0 - m.gainDb) + kPlotOffsetY);
    p.drawEllipse(c, 5.0, 5.0);
  }
  p.restore();
}

QRect CFStatic::PaintLegend(QPainter& p, const GraphOverlay& overlay) {
  std::array<bool, 4> present{};
  for (const LayerCurve& layer : overlay.curves) {
    if (layer.current) present[static_cast<std::size_t>(layer.kind)] = true;
  }
  constexpr int kSample = 18;
  constexpr int kGap = 5;
  constexpr int kSpacing = 12;
  const int textHeight = m_labelMetrics.height();
  int width = 0;
  for (std::size_t k = 0; k < present.size(); ++k) {
    if (present[k])
      width += kSample + kGap + m_labelMetrics.horizontalAdvance(m_layerNames[k]) + kSpacing;
  }
  if (width == 0) return {};
  const Rect& plot = m_model.PlotRect();
  const QRect box(plot.left + 4, plot.top + 3, width - kSpacing + 8, textHeight + 4);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(28, 28, 30, 210));
  p.drawRoundedRect(QRectF(box), 3, 3);
  p.setFont(m_labelFont);
  const QColor colour = m_colours[static_cast<std::size_t>(m_model.OutputIndex())];
  int x = box.left() + 4;
  const qreal mid = box.center().y() + 0.5;
  for (std::size_t k = 0; k < present.size(); ++k) {
    if (!present[k]) continue;
    p.setPen(LayerPen(static_cast<LayerKind>(k), true, colour));
    p.drawLine(QPointF(x, mid), QPointF(x + kSample, mid));
    x += kSample + kGap;
    p.setPen(kLabelText);
    const int tw = m_labelMetrics.horizontalAdvance(m_layerNames[k]);
    p.drawText(QRect(x, box.top(), tw + 1, box.height()), Qt::AlignLeft | Qt::AlignVCenter,
               m_layerNames[k]);
    x += tw + kSpacing;
  }
  p.restore();
  return box;
}

std::vector<QRect> CFStatic::HandleTextBoxes() const {
  // The digits' height: boxes of neighbours a little above or below the row do not touch.
  const auto boxes = m_model.HandleTextBoxes(
      [this](const std::string& text) {
        return m_handleMetrics.horizontalAdvance(QString::fromStdString(text));
      },
      m_handleMetrics.capHeight() + 2);
  std::vector<QRect> out;
  out.reserve(boxes.size());
  for (const Rect& r : boxes) out.push_back(ToQRect(r));
  return out;
}

QRect CFStatic::LabelBoxAvoiding(const std::vector<Rect>& texts) const {
  const CFilter* f = m_model.LabelFilter();
  if (f == nullptr) return {};
  const QString text = QString::fromStdString(f->LabelText());
  return ToQRect(m_model.LabelBox(m_labelMetrics.horizontalAdvance(text) + 2 * kLabelPadX,
                                  m_labelMetrics.height() + kLabelPadY, texts));
}

QRect CFStatic::LabelBox() const {
  std::vector<Rect> texts;
  for (const QRect& r : HandleTextBoxes()) texts.push_back(ToRect(r));
  if (!m_legend.isEmpty()) texts.push_back(ToRect(m_legend));
  return LabelBoxAvoiding(texts);
}

void CFStatic::PaintHandles(QPainter& p, const QRect& legend) {
  const CKTVEQ& set = *m_model.ShownSet();
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  // Every disc first, last to first so that lower element numbers lie on top; then the
  // texts, so that no disc cuts a neighbour's number.
  // A fine rim in the plot's colour tells overlapping discs apart.
  p.setPen(QPen(kBackground, 1.0));
  p.setBrush(kHandle);
  for (int i = set.Count() - 1; i >= 0; --i) {
    p.drawEllipse(QRectF(ToQRect(m_model.HandleDisc(i))).adjusted(0.5, 0.5, -0.5, -0.5));
  }
  p.setFont(m_handleFont);
  p.setPen(kHandleText);
  const std::vector<QRect> boxes = HandleTextBoxes();
  for (int i = set.Count() - 1; i >= 0; --i) {
    p.drawText(boxes[static_cast<std::size_t>(i)], Qt::AlignCenter,
               QString::fromStdString(m_model.HandleText(i)));
  }
  if (m_model.ShowsWidthHandles()) {
    const CFilter& f = *m_model.CurrentFilter();
    p.setPen(QPen(kHandle, 1.0));
    p.setBrush(kHandle);
    p.drawEllipse(ToQRect(f.LeftWidthHandle()));
    p.drawEllipse(ToQRect(f.RightWidthHandle()));
  }
  if (const CFilter* f = m_model.LabelFilter()) {
    std::vector<Rect> texts;
    for (const QRect& r : boxes) texts.push_back(ToRect(r));
    if (!legend.isEmpty()) texts.push_back(ToRect(legend));
    const QRect box = LabelBoxAvoiding(texts);
    p.setPen(QPen(kLabelBorder, 1.0));
    p.setBrush(kLabelBackground);
    p.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setFont(m_labelFont);
    p.setPen(kLabelText);
    p.drawText(box, Qt::AlignCenter, QString::fromStdString(f->LabelText()));
  }
  p.restore();
}

}  // namespace vantor
