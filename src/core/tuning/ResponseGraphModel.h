#pragma once
// Everything the response graph decides, without any toolkit: where the plot and its
// labels sit, which handle the pointer is on, how a drag changes a band or a crossover,
// and when the owner is told about a change. The widget only paints what this says and
// forwards the mouse.

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dsp/Geometry.h"
#include "dsp/KTVEQ.h"
#include "model/DataDefine.h"

namespace vantor {

inline constexpr int kGraphGridLines = 27;
// Mode of the graph: nothing shown yet, or an output channel's EQ.
inline constexpr int kGraphModeNone = 0;
inline constexpr int kGraphModeOutput = 4;
// The notify code of output i is 768 + i.
inline constexpr int kGraphNotifyBase = 768;
// Element indexes of the crossovers of an output EQ, as the owner sees them.
inline constexpr int kGraphHighPassIndex = 31;
inline constexpr int kGraphLowPassIndex = 32;
// A change notice goes out at most this often, however fast the mouse moves.
inline constexpr std::chrono::milliseconds kGraphNotifyInterval{50};

struct GraphNotification {
  int index = 0;       // element of the shown set that changed
  int notifyCode = 0;  // 768 + output index
  friend bool operator==(const GraphNotification&, const GraphNotification&) = default;
};

// An axis label: its text in a box of its own, which no handle reaches.
struct GraphText {
  std::string text;
  Rect box;
  bool alignRight = false;  // the dB column is right-aligned, the frequencies left-aligned
};

// The width in pixels of a text as the painter will draw it.
using TextWidthFn = std::function<int(const std::string&)>;

// A handle is drawn as a disc this much larger than its rectangle on every side.
inline constexpr int kHandleDiscGrowth = 3;
// One wheel notch steps a band's gain by this many gain-index steps (0.5 dB).
inline constexpr int kWheelGainSteps = 5;

// The parts of a curve that lie within a horizontal band, as polylines. A channel sum can
// reach hundreds of dB beyond the plot; cutting the curve where it leaves the band keeps
// the visible part exactly as drawn and spares the painter the long invisible strokes.
struct CurveRuns {
  std::vector<PointF> points;
  std::vector<std::size_t> starts;  // first point of each run; a run ends at the next start
  std::size_t RunCount() const { return starts.size(); }
  std::size_t RunLength(std::size_t run) const {
    return (run + 1 < starts.size() ? starts[run + 1] : points.size()) - starts[run];
  }
};
void ClipCurveToBand(const PointF* points, std::size_t count, float top, float bottom,
                     CurveRuns& out);

class ResponseGraphModel {
 public:
  using Clock = std::chrono::steady_clock;

  ResponseGraphModel() = default;

  // The eight output filter sets, in output order. A null entry is an output that is
  // not drawn and cannot be shown. The sets must outlive the model or be detached.
  void Attach(const std::array<CKTVEQ*, rec::kOutputCount>& sets);
  // Client size of the control; lays out the plot and hands it to every attached set.
  void Layout(int clientWidth, int clientHeight);
  // Shows output i: mode 4, its notify code, no current filter.
  void ShowOutput(int index);
  void SetMode(int mode) { m_mode = mode; }
  int Mode() const { return m_mode; }
  // Element whose label is shown; −1 shows the current filter's label.
  void SetHighlight(int index) { m_highlight = index; }
  int Highlight() const { return m_highlight; }
  // Outputs drawn in grey behind the shown one (the strip's show-curve buttons).
  void SetShowCurve(int output, bool on);
  bool ShowCurve(int output) const;

  // --- Mouse, in client pixels. Each returns true when the plot must be redrawn.
  bool MouseMove(Point p);
  bool ButtonDown(Point p);
  bool ButtonUp(Point p);
  // The pointer left the control: unless a drag holds on, nothing stays current and no
  // label is left on the plot.
  bool PointerLeft();
  // The move cursor is shown while this is set.
  bool Hover() const { return m_hover != 0; }
  // A handle is held (from the press that grabbed it to the release).
  bool Dragging() const;
  // One notch of the wheel at p (direction +1 up, −1 down) over a band handle that can be
  // grabbed: its gain by 0.5 dB, or with `bandwidth` its bandwidth by one index (peaking
  // bands outside graphic mode). The band becomes current and the change is reported like
  // a drag's. The element changed, or nothing (no band there, a drag holds on, the value
  // is at its end). The band a notch stepped stays the wheel's while the pointer does not
  // move, even as its handle moves away under it.
  std::optional<int> WheelNotch(Point p, int direction, bool bandwidth);

  // Called by the owner's 50 ms timer: the pending change notice, if one is due. Never
  // more than one per kGraphNotifyInterval, measured on the times passed in.
  std::optional<GraphNotification> Poll(Clock::time_point now);
  bool NotifyPending() const { return m_notifyPending != 0; }

  // --- What the painter needs.
  const Rect& PlotRect() const { return m_plot; }
  int PlotWidth() const { return m_plot.Width(); }
  int PlotHeight() const { return m_plot.Height(); }
  int ClientWidth() const { return m_clientWidth; }
  int ClientHeight() const { return m_clientHeight; }
  const std::array<int, kGraphGridLines>& GridX() const { return m_gridX; }
  // y of the eight horizontal grid lines (the last is the plot's bottom edge).
  std::array<int, 8> GridY() const;
  // The dB labels on the left and the frequency labels under the plot.
  std::vector<GraphText> AxisLabels() const;
  int OutputIndex() const { return m_outputIndex; }
  int NotifyCode() const { return m_notifyCode; }
  CKTVEQ* ShownSet() const { return m_shown; }
  CKTVEQ* Set(int output) const;
  CFilter* CurrentFilter() const { return m_current; }
  int CurrentIndex() const { return m_currentIndex; }
  // Sums the curves that will be drawn: every output whose show-curve flag is set and the
  // shown one. Returns the outputs to draw in grey, in order (the shown one excluded).
  std::vector<int> PrepareCurves();
  // The text inside element i's handle: "Hi", "Lo" or the element number from 1.
  std::string HandleText(int element) const;
  // The disc drawn for element i's handle.
  Rect HandleDisc(int element) const;
  // Where each element's handle text is drawn, in element order: a box as wide as the text
  // (and a little room) and `height` high (the glyphs), centred on its handle, and where
  // handles crowd, moved apart so that no text covers another. The painter draws every
  // disc first and the texts over them, so no disc hides a text either.
  std::vector<Rect> HandleTextBoxes(const TextWidthFn& width, int height) const;
  // The box for the label of LabelFilter(), `width` × `height` pixels: inside the plot,
  // clear of every handle disc, of the bandwidth handles, of `texts` (the handle texts) and
  // of the axis labels, as near as possible to the place the filter keeps for it.
  Rect LabelBox(int width, int height, const std::vector<Rect>& texts) const;
  // The points of a curve given in dB on the grid, mapped as the channel curves are.
  void CurveOfDb(const Response& db, std::array<PointF, kGridPoints>& out) const;
  // Whether the current filter's bandwidth handles are drawn (and can be grabbed).
  bool ShowsWidthHandles() const;
  // The filter whose label is drawn, or null.
  const CFilter* LabelFilter() const;
  // Whether output `output`'s element `element` is in the grab range of the hover scan.
  static bool Grabbable(int output, int element, int elementCount);

  // The dB value a pointer y (plot pixels, 0 at the top) stands for, quantised to the
  // 0.1 dB steps of the gain index and clamped to ±20 dB.
  static double GainOfPlotY(int y, int plotHeight);

 private:
  bool MoveOnCrossover(Point p);
  bool MoveOnBand(Point p);
  bool HoverScan(Point p);
  int HandleAt(Point p, bool bandsOnly) const;
  void MakeCurrent(int index);
  bool DragBand(Point p);
  bool DragBandwidth(Point p, bool left);
  bool DragCrossover(Point p);
  bool IsCrossover(const CFilter& f) const;

  std::array<CKTVEQ*, rec::kOutputCount> m_sets{};
  std::array<bool, rec::kOutputCount> m_showCurve{};
  CKTVEQ* m_shown = nullptr;
  CFilter* m_current = nullptr;
  std::array<int, kGraphGridLines> m_gridX{};
  Rect m_plot{};
  int m_clientWidth = 0;
  int m_clientHeight = 0;
  int m_hover = 0;
  int m_dragChanged = 0;
  int m_notifyPending = 0;
  int m_currentIndex = 0;
  int m_highlight = -1;
  int m_mode = kGraphModeNone;
  int m_notifyCode = 0;
  int m_outputIndex = 0;
  std::optional<Clock::time_point> m_lastNotice;
  // Where the wheel last stepped a band, and which (−1: none since the pointer moved).
  Point m_wheelPoint{};
  int m_wheelElement = -1;
};

}  // namespace vantor
