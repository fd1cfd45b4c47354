#include "tuning/ResponseGraphModel.h"

#include <algorithm>
#include <cmath>

#include "dsp/FilterCodes.h"
#include "dsp/FilterControl.h"
#include "dsp/PlotMapping.h"
#include "tuning/GraphTextLayout.h"

namespace vantor {
namespace {

constexpr std::array<int, kGraphGridLines> kGridFrequencies = {
    20,  30,  40,  50,   60,   70,   80,   90,   100,  200,  300,  400,  500,  600,
    700, 800, 900, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000};

constexpr int kShelfSplitHz = 2000;
// The dB labels' column, and the height and width of an axis label's box.
constexpr int kAxisColumnLeft = 1;
constexpr int kAxisColumnRight = kPlotOffsetX - 8 - kHandleDiscGrowth;
constexpr int kAxisTextHeight = 14;
constexpr int kFrequencyTextWidth = 26;
constexpr int kHandleTextPad = 2;
constexpr double kMinOctaves = 0.05;
constexpr double kMaxOctaves = 3.0;

// The device only takes part of an EQ on the front and rear outputs: the hover scan
// offers bands 0..5 on outputs 0 and 1, bands 0..2 on outputs 2..5 and everything on
// outputs 6 and 7.
int ScannedElements(int output, int elementCount) {
  if (output <= 1) return std::min(6, elementCount);
  if (output <= 5) return std::min(3, elementCount);
  return elementCount;
}

}  // namespace

void ClipCurveToBand(const PointF* points, std::size_t count, float top, float bottom,
                     CurveRuns& out) {
  out.points.clear();
  out.starts.clear();
  bool open = false;  // the last point added ends an unfinished run
  auto add = [&](PointF p, bool startRun) {
    if (startRun || !open) out.starts.push_back(out.points.size());
    out.points.push_back(p);
    open = true;
  };
  auto inside = [&](PointF p) { return p.y >= top && p.y <= bottom; };
  if (count == 1 && inside(points[0])) add(points[0], true);
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const PointF a = points[i];
    const PointF b = points[i + 1];
    // The part of the segment a→b whose y lies in [top, bottom], as t0..t1 along it.
    float t0 = 0.0F;
    float t1 = 1.0F;
    const float dy = b.y - a.y;
    if (dy == 0.0F) {
      if (!inside(a)) {
        open = false;
        continue;
      }
    } else {
      float ta = (top - a.y) / dy;
      float tb = (bottom - a.y) / dy;
      if (ta > tb) std::swap(ta, tb);
      t0 = std::max(t0, ta);
      t1 = std::min(t1, tb);
      if (t0 > t1) {
        open = false;
        continue;
      }
    }
    const auto at = [&](float t) { return PointF{a.x + (b.x - a.x) * t, a.y + dy * t}; };
    if (t0 > 0.0F || !open) add(t0 > 0.0F ? at(t0) : a, true);
    add(t1 < 1.0F ? at(t1) : b, false);
    if (t1 < 1.0F) open = false;
  }
}

void ResponseGraphModel::Attach(const std::array<CKTVEQ*, rec::kOutputCount>& sets) {
  if (m_current != nullptr) m_current->Drag().Clear();
  m_sets = sets;
  m_current = nullptr;
  m_hover = 0;
  m_shown = m_mode == kGraphModeOutput ? m_sets[static_cast<std::size_t>(m_outputIndex)] : nullptr;
  Layout(m_clientWidth, m_clientHeight);
}

void ResponseGraphModel::Layout(int clientWidth, int clientHeight) {
  m_clientWidth = clientWidth;
  m_clientHeight = clientHeight;
  m_plot = {kPlotOffsetX, kPlotOffsetY, clientWidth - 10, clientHeight - 20};
  const int w = m_plot.Width();
  for (std::size_t i = 0; i < kGridFrequencies.size(); ++i) {
    m_gridX[i] = PlotX(kGridFrequencies[i], w) + kPlotOffsetX;
  }
  for (CKTVEQ* set : m_sets) {
    if (set != nullptr) set->Layout(m_plot);
  }
}

void ResponseGraphModel::ShowOutput(int index) {
  if (index < 0 || index >= rec::kOutputCount) return;
  if (m_current != nullptr) m_current->Drag().Clear();
  m_shown = m_sets[static_cast<std::size_t>(index)];
  m_mode = kGraphModeOutput;
  m_notifyCode = kGraphNotifyBase + index;
  m_outputIndex = index;
  m_current = nullptr;
  m_currentIndex = 0;
  m_hover = 0;
  m_wheelElement = -1;
}

void ResponseGraphModel::SetShowCurve(int output, bool on) {
  if (output < 0 || output >= rec::kOutputCount) return;
  m_showCurve[static_cast<std::size_t>(output)] = on;
}

bool ResponseGraphModel::ShowCurve(int output) const {
  if (output < 0 || output >= rec::kOutputCount) return false;
  return m_showCurve[static_cast<std::size_t>(output)];
}

CKTVEQ* ResponseGraphModel::Set(int output) const {
  if (output < 0 || output >= rec::kOutputCount) return nullptr;
  return m_sets[static_cast<std::size_t>(output)];
}

// ---------------------------------------------------------------------------------------
// Painting support

std::array<int, 8> ResponseGraphModel::GridY() const {
  std::array<int, 8> ys{};
  const double step = m_plot.Height() / 8.0;
  for (int i = 1; i <= 8; ++i) {
    ys[static_cast<std::size_t>(i - 1)] = m_plot.top + static_cast<int>(step * i);
  }
  return ys;
}

std::vector<GraphText> ResponseGraphModel::AxisLabels() const {
  const int h = m_plot.Height();
  const int w = m_plot.Width();
  const int k = h / 8;
  // The dB column ends where the discs of 20 Hz handles begin (x(20) − 8 − 3), so that
  // a handle at the left edge never covers its level.
  auto level = [&](const char* text, int top) {
    return GraphText{text, {kAxisColumnLeft, top, kAxisColumnRight, top + kAxisTextHeight}, true};
  };
  std::vector<GraphText> labels = {
      level("+20", 5),         level("+15", k + 3),     level("+10", 2 * k + 3),
      level("+5", 3 * k + 3),  level("0dB", 4 * k + 3), level("-5", 5 * k + 3),
      level("-10", 6 * k + 3), level("-15", 7 * k + 3), level("-20", h),
  };
  // The frequencies under the plot, below the discs of handles on its bottom edge.
  const int top = m_plot.bottom + kHandleDiscGrowth;
  auto frequency = [&](const char* text, int left) {
    const int right = std::min(left + kFrequencyTextWidth, m_clientWidth);
    return GraphText{text, {left, top, right, top + kAxisTextHeight}, false};
  };
  labels.push_back(frequency("20", 30));
  labels.push_back(frequency("100", PlotX(100, w) + kPlotOffsetX - 10));
  labels.push_back(frequency("1K", PlotX(1000, w) + kPlotOffsetX - 8));
  labels.push_back(frequency("10K", PlotX(10000, w) + kPlotOffsetX - 10));
  labels.push_back(frequency("20K", PlotX(20000, w) + kPlotOffsetX - 15));
  return labels;
}

std::vector<int> ResponseGraphModel::PrepareCurves() {
  std::vector<int> grey;
  for (int i = 0; i < rec::kOutputCount; ++i) {
    CKTVEQ* set = m_sets[static_cast<std::size_t>(i)];
    if (set == nullptr || set == m_shown || !m_showCurve[static_cast<std::size_t>(i)]) continue;
    set->SumResponse();
    grey.push_back(i);
  }
  if (m_shown != nullptr) m_shown->SumResponse();
  return grey;
}

std::string ResponseGraphModel::HandleText(int element) const {
  if (m_shown == nullptr || element < 0 || element >= m_shown->Count()) return {};
  const CFilter& f = m_shown->At(element);
  if (f.Type() == kHighPass) return "Hi";
  if (f.Type() == kLowPass) return "Lo";
  return std::to_string(element + 1);
}

Rect ResponseGraphModel::HandleDisc(int element) const {
  if (m_shown == nullptr || element < 0 || element >= m_shown->Count()) return {};
  return Grown(m_shown->At(element).HandleRect(), kHandleDiscGrowth);
}

std::vector<Rect> ResponseGraphModel::HandleTextBoxes(const TextWidthFn& width, int height) const {
  std::vector<Rect> boxes;
  if (m_shown == nullptr) return boxes;
  boxes.reserve(static_cast<std::size_t>(m_shown->Count()));
  for (int i = 0; i < m_shown->Count(); ++i) {
    const Rect& h = m_shown->At(i).HandleRect();
    // A little room on each side keeps neighbouring numbers from running together.
    const int w = width(HandleText(i)) + 2 * kHandleTextPad;
    const Point c = h.Center();
    const int left = c.x - w / 2;
    const int top = c.y - height / 2;
    boxes.push_back({left, top, left + w, top + height});
  }
  SpreadApart(boxes, 0, m_clientWidth);
  return boxes;
}

Rect ResponseGraphModel::LabelBox(int width, int height, const std::vector<Rect>& texts) const {
  const CFilter* f = LabelFilter();
  if (f == nullptr || m_shown == nullptr) return {};
  std::vector<Rect> obstacles = texts;
  for (int i = 0; i < m_shown->Count(); ++i) obstacles.push_back(HandleDisc(i));
  if (ShowsWidthHandles()) {
    obstacles.push_back(m_current->LeftWidthHandle());
    obstacles.push_back(m_current->RightWidthHandle());
  }
  for (const GraphText& t : AxisLabels()) obstacles.push_back(t.box);
  // The place the filter keeps for its label (below the handle, or above it near the
  // bottom), with the box centred on that place's height.
  const Rect& kept = f->LabelRect();
  const Rect& h = f->HandleRect();
  const Point preferred{kept.left, kept.top + (kept.Height() - height) / 2};
  const std::vector<int> columns = {h.Center().x - width / 2, h.right - width,
                                    h.right + kHandleDiscGrowth + 2,
                                    h.left - kHandleDiscGrowth - 2 - width};
  const Rect inside{m_plot.left + 1, m_plot.top + 1, m_plot.right - 1, m_plot.bottom - 1};
  return PlaceClear(preferred, width, height, inside, obstacles, columns);
}

void ResponseGraphModel::CurveOfDb(const Response& db, std::array<PointF, kGridPoints>& out) const {
  const int w = m_plot.Width();
  const double scale = m_plot.Height() / 40.0;
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    out[i] = {static_cast<float>(PlotXExact(kResponseGrid[i], w) + kPlotOffsetX),
              static_cast<float>(scale * (20.0 - db[i]) + kPlotOffsetY)};
  }
}

bool ResponseGraphModel::ShowsWidthHandles() const {
  return m_current != nullptr && m_current->Type() == kPeaking && m_current->BandFlag() != 0 &&
         m_current->GraphicMode() == 0;
}

const CFilter* ResponseGraphModel::LabelFilter() const {
  if (m_shown == nullptr) return nullptr;
  if (m_highlight >= 0) {
    return m_highlight < m_shown->Count() ? &m_shown->At(m_highlight) : nullptr;
  }
  return m_current;
}

bool ResponseGraphModel::Grabbable(int output, int element, int elementCount) {
  if (element < 0 || element >= elementCount) return false;
  if (element < ScannedElements(output, elementCount)) return true;
  if (element == elementCount - 2) return true;       // high-pass
  return output == 5 && element == elementCount - 1;  // low-pass
}

double ResponseGraphModel::GainOfPlotY(int y, int plotHeight) {
  if (plotHeight <= 0) return 0.0;
  const double db = 20.0 - y * 40.0 / plotHeight;
  const long index = std::lround((db + 20.0) * 10.0);
  return GainDbFromIndex(static_cast<int>(std::clamp(index, 0L, static_cast<long>(kGainIndexMax))));
}

// ---------------------------------------------------------------------------------------
// Mouse

bool ResponseGraphModel::IsCrossover(const CFilter& f) const {
  return f.Type() == kHighPass || f.Type() == kLowPass || f.BandFlag() == 0;
}

bool ResponseGraphModel::MouseMove(Point p) {
  if (m_mode != kGraphModeOutput || m_shown == nullptr) return false;
  // The pointer on the plot takes the label over from a panel's highlight.
  const bool relabel = m_highlight >= 0;
  m_highlight = -1;
  if (!(p == m_wheelPoint)) m_wheelElement = -1;
  bool redraw = false;
  if (m_current != nullptr) {
    redraw = IsCrossover(*m_current) ? MoveOnCrossover(p) : MoveOnBand(p);
  } else {
    redraw = HoverScan(p);
  }
  return redraw || relabel;
}

bool ResponseGraphModel::PointerLeft() {
  if (Dragging()) return false;
  const bool shown = m_current != nullptr || m_highlight >= 0;
  m_wheelElement = -1;
  if (m_current != nullptr) m_current->Drag().Clear();
  m_current = nullptr;
  m_hover = 0;
  m_highlight = -1;
  return shown;
}

bool ResponseGraphModel::Dragging() const {
  if (m_current == nullptr) return false;
  const DragState& d = m_current->Drag();
  return d.mainDrag != 0 || d.leftDrag != 0 || d.rightDrag != 0;
}

bool ResponseGraphModel::MoveOnCrossover(Point p) {
  DragState& d = m_current->Drag();
  if (m_current->HandleRect().Contains(p)) {
    d.mainHover = 1;
    m_hover = 1;
    return d.mainDrag != 0 && DragCrossover(p);
  }
  if (d.mainDrag == 0) {
    // Left the handle without holding it: let go, and look for another handle at once.
    d.Clear();
    m_current = nullptr;
    m_hover = 0;
    HoverScan(p);
    return true;
  }
  m_hover = 1;
  return DragCrossover(p);
}

bool ResponseGraphModel::MoveOnBand(Point p) {
  DragState& d = m_current->Drag();
  const bool insideMain = m_current->HandleRect().Contains(p);
  if (!insideMain && d.mainDrag != 0) {
    DragBand(p);
    m_hover = 0;
    return true;
  }
  if (insideMain) {
    d.mainHover = 1;
    d.leftHover = 0;
    d.rightHover = 0;
    m_hover = 1;
    if (d.mainDrag != 0) {
      DragBand(p);
      return true;
    }
    return false;
  }
  if (ShowsWidthHandles()) {
    if (m_current->LeftWidthHandle().Contains(p) || d.leftDrag != 0) {
      d.leftHover = 1;
      d.mainHover = 0;
      d.rightHover = 0;
      d.rightDrag = 0;
      m_hover = 1;
      return d.leftDrag != 0 && DragBandwidth(p, true);
    }
    if (m_current->RightWidthHandle().Contains(p) || d.rightDrag != 0) {
      d.rightHover = 1;
      d.mainHover = 0;
      d.leftHover = 0;
      d.leftDrag = 0;
      m_hover = 1;
      return d.rightDrag != 0 && DragBandwidth(p, false);
    }
  }
  return HoverScan(p);
}

// The first element under p that the hover scan offers: the bands in the output's range,
// then (unless bandsOnly) the high-pass, and on output 5 the low-pass. −1 for none.
int ResponseGraphModel::HandleAt(Point p, bool bandsOnly) const {
  const int count = m_shown->Count();
  const int scanned = ScannedElements(m_outputIndex, count);
  for (int i = 0; i < scanned; ++i) {
    if (m_shown->At(i).HandleRect().Contains(p)) return i;
  }
  if (bandsOnly || count < 2) return -1;
  if (m_shown->At(count - 2).HandleRect().Contains(p)) return count - 2;
  if (m_outputIndex == 5 && m_shown->At(count - 1).HandleRect().Contains(p)) return count - 1;
  return -1;
}

bool ResponseGraphModel::HoverScan(Point p) {
  const int i = HandleAt(p, false);
  if (i < 0) {
    m_hover = 0;
    return false;
  }
  MakeCurrent(i);
  return true;
}

void ResponseGraphModel::MakeCurrent(int index) {
  CFilter* next = &m_shown->At(index);
  if (m_current != nullptr && m_current != next) m_current->Drag().Clear();
  m_current = next;
  m_current->Drag().mainHover = 1;
  m_currentIndex = index;
  m_hover = 1;
}

bool ResponseGraphModel::ButtonDown(Point p) {
  if (m_mode != kGraphModeOutput || m_hover == 0 || m_current == nullptr) return false;
  DragState& d = m_current->Drag();
  if (d.mainHover != 0) {
    d.mainDrag = 1;
    // The anchor is taken from the point that stands for the band's value rather than
    // from the handle's centre: near the edges the handle is pushed inside the plot, and
    // the first move would otherwise read a different level off the pointer.
    Point c = m_current->HandleRect().Center();
    if (!IsCrossover(*m_current)) {
      const double gain = m_current->EffectivelyOff() != 0 ? 0.0 : m_current->Gain();
      c = {PlotX(m_current->Frequency(), m_plot.Width()) + kPlotOffsetX,
           PlotY(gain, m_plot.Height()) + kPlotOffsetY};
    }
    m_current->DragAnchor() = {p.x - c.x, p.y - c.y};
  } else if (ShowsWidthHandles()) {
    if (d.leftHover != 0) {
      d.leftDrag = 1;
    } else if (d.rightHover != 0) {
      d.rightDrag = 1;
    }
  }
  return false;
}

bool ResponseGraphModel::ButtonUp(Point /*p*/) {
  if (m_current == nullptr) return false;
  DragState& d = m_current->Drag();
  if (d.mainHover != 0) {
    d.Clear();
    m_hover = 0;
  } else if (d.leftHover != 0) {
    d.leftHover = 0;
    d.leftDrag = 0;
    m_hover = 0;
  } else if (d.rightHover != 0) {
    d.rightHover = 0;
    d.rightDrag = 0;
    m_hover = 0;
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// Drags

bool ResponseGraphModel::DragBand(Point p) {
  CFilter& f = *m_current;
  const int w = m_plot.Width();
  const int h = m_plot.Height();
  const Point anchor = f.DragAnchor();
  const int px = std::clamp(p.x - anchor.x - kPlotOffsetX, 0, std::max(w, 0));
  const int py = std::clamp(p.y - anchor.y - kPlotOffsetY, 0, std::max(h, 0));

  // A pointer that still stands where the handle's value is drawn keeps that value: a
  // purely horizontal drag must not nudge the gain, nor a vertical one the frequency,
  // by the rounding of one pixel.
  const double shownGain = f.EffectivelyOff() != 0 ? 0.0 : f.Gain();
  int hz =
      (f.GraphicMode() != 0 || px == PlotX(f.Frequency(), w)) ? f.Frequency() : FrequencyOfX(px, w);
  // Shelves stay on their side of 2000 Hz. Clamping before the frequency is set keeps the
  // sent frequency from ever carrying a shelf to the wrong side on its way.
  if (f.Type() == kLowShelf && hz > kShelfSplitHz) hz = kShelfSplitHz;
  if (f.Type() == kHighShelf && hz < kShelfSplitHz) hz = kShelfSplitHz;
  const int gainIndex =
      py == PlotY(shownGain, h) ? f.GainIndex() : GainIndexFromDb(GainOfPlotY(py, h));

  const bool counts = hz != f.Frequency() || gainIndex != f.GainIndex() || py == 0;
  m_dragChanged = counts ? 1 : 0;
  if (!counts) return false;
  f.SetGainFromDrag(GainDbFromIndex(gainIndex));
  f.SetFrequency(hz, true);  // re-lays the handles, recomputes, marks pending
  if (f.AttachedControl() != nullptr) f.AttachedControl()->ShowGainIndex(f.GainIndex());
  m_notifyPending = 1;
  return true;
}

bool ResponseGraphModel::DragBandwidth(Point p, bool left) {
  CFilter& f = *m_current;
  const int hz = FrequencyOfX(p.x - kPlotOffsetX, m_plot.Width());
  const double f0 = f.Frequency();
  double octaves =
      left ? std::log10(f0 / hz) / std::log10(2.0) : std::log10(hz / f0) / std::log10(2.0);
  octaves = std::clamp(octaves, kMinOctaves, kMaxOctaves);
  f.SetBandwidthIndex(BandwidthIndexFromOctaves(octaves));
  m_dragChanged = 1;
  m_notifyPending = 1;
  return true;
}

bool ResponseGraphModel::DragCrossover(Point p) {
  CFilter& f = *m_current;
  const int w = m_plot.Width();
  const int x = std::min(p.x - f.DragAnchor().x - kPlotOffsetX, w);
  const int hz = FrequencyOfX(x, w);
  const bool highPass = f.Type() == kHighPass;
  const int count = m_shown->Count();
  const int limit =
      highPass ? m_shown->At(count - 1).Frequency() : m_shown->At(count - 2).Frequency();
  const int mode = f.LimitMode();

  int target = 0;
  bool force = false;
  if (highPass) {
    if (mode == 7 && x < 1) {
      target = kFrequencyMin;  // off
      force = true;
    } else if (hz > limit) {
      target = (mode == 9 && hz >= kFrequencyMax) ? kFrequencyMax : limit;
    } else {
      target = std::clamp(hz, kFrequencyMin, kFrequencyMax);
    }
  } else {
    target = hz < limit ? limit : std::clamp(hz, kFrequencyMin, kFrequencyMax);
  }
  if (!force && target == f.Frequency()) {
    m_dragChanged = 0;
    return false;
  }
  f.SetFrequency(target, true);
  m_dragChanged = 1;
  m_notifyPending = 1;
  return true;
}

// ---------------------------------------------------------------------------------------
// Wheel

std::optional<int> ResponseGraphModel::WheelNotch(Point p, int direction, bool bandwidth) {
  if (m_mode != kGraphModeOutput || m_shown == nullptr || Dragging() || direction == 0) {
    return std::nullopt;
  }
  const bool same = m_wheelElement >= 0 && p == m_wheelPoint && m_wheelElement < m_shown->Count();
  const int i = same ? m_wheelElement : HandleAt(p, true);
  if (i < 0) return std::nullopt;
  CFilter& f = m_shown->At(i);
  if (IsCrossover(f)) return std::nullopt;
  const int step = direction > 0 ? 1 : -1;
  if (bandwidth) {
    // The bandwidth handles' own rule: peaking bands outside graphic mode only.
    if (f.Type() != kPeaking || f.GraphicMode() != 0) return std::nullopt;
    const int index =
        std::clamp(f.BandwidthIndex() + step, kBandwidthIndexNarrowest, kBandwidthIndexMax);
    if (index == f.BandwidthIndex()) return std::nullopt;
    f.SetBandwidthIndex(index);
  } else {
    const int index = std::clamp(f.GainIndex() + step * kWheelGainSteps, 0, kGainIndexMax);
    if (index == f.GainIndex()) return std::nullopt;
    f.SetGainIndex(index);  // re-lays, recomputes, marks pending like a drag
    if (f.AttachedControl() != nullptr) f.AttachedControl()->ShowGainIndex(f.GainIndex());
  }
  MakeCurrent(i);
  m_notifyPending = 1;
  m_wheelPoint = p;
  m_wheelElement = i;
  return i;
}

// ---------------------------------------------------------------------------------------
// Notification

std::optional<GraphNotification> ResponseGraphModel::Poll(Clock::time_point now) {
  if (m_notifyPending == 0) return std::nullopt;
  if (m_lastNotice && now - *m_lastNotice < kGraphNotifyInterval) return std::nullopt;
  m_notifyPending = 0;
  m_lastNotice = now;
  return GraphNotification{m_currentIndex, m_notifyCode};
}

}  // namespace vantor
