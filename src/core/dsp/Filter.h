#pragma once
// One equaliser band or crossover: its parameters, its response in dB on the grid, and
// the pixel rectangles of its handles on the response graph.

#include <array>
#include <atomic>
#include <cstddef>
#include <string>

#include "dsp/FilterCodes.h"
#include "dsp/Geometry.h"
#include "dsp/LiveSync.h"
#include "dsp/ResponseGrid.h"

namespace vantor {

class ByteArchive;
class FilterControl;

// Which handle is hovered or grabbed; kept per filter while the graph drags it.
struct DragState {
  int mainHover = 0;
  int leftHover = 0;
  int rightHover = 0;
  int mainDrag = 0;
  int leftDrag = 0;
  int rightDrag = 0;

  void Clear() { *this = DragState{}; }
};

// Bytes one filter occupies in a serialisation archive.
inline constexpr std::size_t kFilterImageSize = 48;

// What a person sets on a filter, as one value: undo and the program comparison keep it and
// put it back. The gain is the one the filter keeps, also while it is off or bypassed.
struct FilterSettings {
  int type = 0;
  int frequency = 1000;
  int gainIndex = 200;
  int bandwidthIndex = 15;
  int family = 2;
  int slope = 2;
  int flat = 1;
  int bypass = 0;
  int savedBypass = 0;
  friend bool operator==(const FilterSettings&, const FilterSettings&) = default;
};

class CFilter {
 public:
  explicit CFilter(const LiveSyncFlag* liveSync = nullptr);

  CFilter(const CFilter&) = delete;
  CFilter& operator=(const CFilter&) = delete;

  // --- Parameter operations. Each recomputes what it changed; those that mark the
  // change pending give the pending flag the live-sync flag's value.
  void SetFrequency(int hz, bool fromUser);
  void SetGainIndex(int index);
  void SetBandwidthIndex(int index);
  void SetSlope(int slope, bool fromUser);
  void SetFamily(int family, bool fromUser);
  void SetType(int type);
  void SetEqType(int eqType);
  void SetFlat(int on);
  void SetBypass(int on);
  void ResetToDefault(int hz);
  // Moves the sent frequency one octave step toward the target; p is the pending value
  // to keep once the target has been reached.
  void StepSentFrequency(int p);
  void CopyValues(const CFilter& other);
  // Every setting at once. asEdit: an edit like SetFrequency(f, true) and the others (the
  // sent frequency stepping toward a far target, pending := live-sync); otherwise the
  // frequency is also the sent frequency and nothing is marked, for a caller that sends the
  // whole block itself.
  void ApplySettings(const FilterSettings& s, bool asEdit);
  FilterSettings Settings() const;
  void Layout(const Rect& plot);
  // 48 bytes: type, frequency, sent frequency, gain (double), bypass, flat, bandwidth
  // (double), family, slope, band number. Loading changes nothing unless all were read.
  bool Serialize(ByteArchive& ar);

  // --- Getters.
  int Frequency() const { return m_frequency; }
  int SentFrequency() const { return m_sentFrequency; }
  double Gain() const { return m_gain; }
  int GainIndex() const;
  double Bandwidth() const { return m_bandwidth; }
  int BandwidthIndex() const;
  int Type() const { return m_type; }
  int Family() const { return m_family; }
  int Slope() const { return m_slope; }
  int EqType() const;
  int BandNumber() const { return m_bandNumber; }
  int Pending() const { return m_pending; }
  int Flat() const { return m_flat; }
  int Bypass() const { return m_bypass; }
  int SavedBypass() const { return m_savedBypass; }
  int EffectivelyOff() const { return m_bypass != 0 ? m_bypass : m_flat; }
  int BandFlag() const { return m_bandFlag; }
  int LimitMode() const { return m_limitMode; }
  int ReducedSlopes() const { return m_reducedSlopes; }
  int GraphicMode() const { return m_graphicMode; }
  int PlotWidth() const { return m_plotWidth; }
  int PlotHeight() const { return m_plotHeight; }
  const Response& ResponseDb() const { return m_response; }

  // --- Set-up used by the builders and the model (no recompute, nothing pending).
  void SetBandNumber(int n) { m_bandNumber = n; }
  void SetBandFlag(int f) { m_bandFlag = f; }
  void SetLimitMode(int m) { m_limitMode = m; }
  void SetReducedSlopes(int r) { m_reducedSlopes = r; }
  void SetGraphicMode(int g) { m_graphicMode = g; }
  void SetPending(int p) { m_pending = p; }
  void SetLiveSync(const LiveSyncFlag* flag) { m_liveSync = flag; }
  void SetAttachedControl(FilterControl* control) { m_attached = control; }
  FilterControl* AttachedControl() const { return m_attached; }
  // The band drag sets the gain it read off the pointer: flat when exactly 0 dB, and a
  // non-zero gain switches the band back on. The caller re-lays and recomputes.
  void SetGainFromDrag(double gainDb);

  // --- Graph geometry (client pixels).
  const Rect& HandleRect() const { return m_handle; }
  const Rect& LeftWidthHandle() const { return m_leftWidth; }
  const Rect& RightWidthHandle() const { return m_rightWidth; }
  const Rect& LabelRect() const { return m_labelRect; }
  std::string LabelText() const;
  DragState& Drag() { return m_drag; }
  const DragState& Drag() const { return m_drag; }
  Point& DragAnchor() { return m_dragAnchor; }

  void Relayout();
  void Recompute();

 private:
  void MarkPending() { m_pending = IsLive(m_liveSync) ? 1 : 0; }
  void ReconcileSentFrequency();
  void LayoutBand();
  void LayoutCrossover();
  std::string GainText() const;

  Response m_response{};
  Point m_dragAnchor{};
  Rect m_handle{};
  Rect m_leftWidth{};
  Rect m_rightWidth{};
  DragState m_drag{};
  FilterControl* m_attached = nullptr;
  const LiveSyncFlag* m_liveSync = nullptr;

  // What the worker's pending-change scan reads (and, for the sent frequency and the
  // pending flag, writes) while the owner thread edits: atomics, so neither side ever sees a
  // torn value. A setter stores its values before it marks the filter pending, and the scan
  // takes the flag before it packs, so an edit that lands during a scan is either in the
  // packed bytes or leaves the filter pending for the next scan.
  std::atomic<int> m_type{kPeaking};
  std::atomic<int> m_frequency{1000};
  std::atomic<int> m_sentFrequency{20};
  std::atomic<double> m_gain{0.0};
  std::atomic<int> m_flat{1};
  std::atomic<int> m_bypass{0};
  std::atomic<double> m_bandwidth{0.2};
  std::atomic<int> m_family{kButterworth};
  std::atomic<int> m_slope{2};
  std::atomic<int> m_pending{0};

  int m_limitMode = 0;
  int m_savedBypass = 0;
  int m_bandNumber = 0;
  int m_plotWidth = 0;
  int m_plotHeight = 0;
  int m_bandFlag = 1;
  int m_reducedSlopes = 0;
  int m_graphicMode = 0;
  Rect m_labelRect{};
};

// "6dB/Oct", "12dB/Oct", or empty for any other shelf slope.
std::string ShelfSlopeText(int slope);

}  // namespace vantor
