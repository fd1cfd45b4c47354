#pragma once
// The filter set of one channel: its EQ bands in band order, then the high-pass and the
// low-pass filter. It sums their responses into the channel curve that the graph draws.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
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

// The 8-byte band record in which one band travels to the device and sits in the records:
// i16 frequency, i16 gain code (gain index + 400), i16 bandwidth index, u8 slope, u8 type,
// little-endian.
using BandRecord = std::array<std::uint8_t, 8>;

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
  // The channel curve in dB: every filter's response added in element order, unclipped.
  Response SumDb() const;
  // The channel curve in plot pixels, from SumDb.
  void SumResponse();
  void CopyValues(const CKTVEQ& other);
  // The element count (u16), then each filter's 48 bytes. Loading needs the same count
  // and a complete image; otherwise nothing changes.
  bool Serialize(ByteArchive& ar);

  // Band record of filter i: its sent frequency, 600 while it is effectively off (else its
  // gain index + 400), its bandwidth index, slope and type.
  BandRecord GetBandRecord(int i) const;
  // Sets filter i from a band record (at least 8 bytes): gain index, bandwidth index, slope
  // (as from the user), type, frequency (also as the sent frequency), then
  // StepSentFrequency(0): the filter is left at the record's values with nothing pending.
  void SetBandRecord(std::span<const std::uint8_t> record, int i);

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
