#pragma once
// The filter set of one channel: its EQ bands in band order, then the high-pass and the
// low-pass filter. It sums their responses into the channel curve that the graph draws.

#include <array>
#include <memory>
#include <vector>

#include "dsp/Filter.h"
#include "dsp/Geometry.h"
#include "dsp/LiveSync.h"
#include "dsp/ResponseGrid.h"

namespace vantor {

class ByteArchive;

// Band frequency tables of the builders.
extern const std::array<int, 9> kInputBandFrequencies;
extern const std::array<int, 3> kEffectBandFrequencies;
extern const std::array<int, 31> kOutputBandFrequencies;

class CKTVEQ {
 public:
  explicit CKTVEQ(const LiveSyncFlag* liveSync = nullptr);
  CKTVEQ(const CKTVEQ&) = delete;
  CKTVEQ& operator=(const CKTVEQ&) = delete;

  // Builders; count is the number of bands minus one. Each replaces what the set held.
  // Input EQ: first band a low shelf, last a high shelf; crossovers on the reduced list.
  void BuildInput(int count, int lowPassHz, int bandNumber);
  // Effect EQ: plain bands; crossovers on the reduced list, limit mode 6.
  void BuildEffect(int count, int lowPassHz, int bandNumber);
  // Output EQ: third-octave bands; crossovers with the channel's drag limit mode.
  void BuildOutput(int count, int highPassHz, int lowPassHz, int limitMode, int bandNumber);

  int Count() const { return static_cast<int>(m_filters.size()); }
  int BandCount() const { return Count() - 2; }
  CFilter& At(int index) { return *m_filters[static_cast<std::size_t>(index)]; }
  const CFilter& At(int index) const { return *m_filters[static_cast<std::size_t>(index)]; }
  CFilter& HighPass() { return At(Count() - 2); }
  CFilter& LowPass() { return At(Count() - 1); }

  // Hands the model's live-sync flag to the set and every filter in it.
  void SetLiveSync(const LiveSyncFlag* flag);

  void Layout(const Rect& plot);
  void SumResponse();
  void CopyValues(const CKTVEQ& other);
  // The element count (u16), then each filter's 48 bytes. Loading needs the same count
  // and a complete image; otherwise nothing changes.
  bool Serialize(ByteArchive& ar);

  const std::array<Point, kGridPoints>& Points() const { return m_points; }
  const std::array<PointF, kGridPoints>& PointsF() const { return m_pointsF; }
  int PlotWidth() const { return m_plotWidth; }
  int PlotHeight() const { return m_plotHeight; }
  // True when every filter of the set is effectively off.
  bool AllFlat() const;

 private:
  CFilter& AddFilter();
  void AddCrossover(int type, int hz, bool fromUser);

  std::vector<std::unique_ptr<CFilter>> m_filters;
  std::array<Point, kGridPoints> m_points{};
  std::array<PointF, kGridPoints> m_pointsF{};
  int m_plotHeight = 0;
  int m_plotWidth = 0;
  const LiveSyncFlag* m_liveSync = nullptr;
};

}  // namespace vantor
