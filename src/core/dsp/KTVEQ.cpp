#include "dsp/KTVEQ.h"

#include <algorithm>

#include "base/ByteArchive.h"
#include "base/LittleEndian.h"
#include "dsp/PlotMapping.h"

namespace vantor {

const std::array<int, 9> kInputBandFrequencies = {40, 80, 160, 317, 632, 1261, 2515, 5018, 10000};
const std::array<int, 3> kEffectBandFrequencies = {100, 1000, 10000};
const std::array<int, 31> kOutputBandFrequencies = {
    20,  25,   32,   40,   50,   63,   80,   100,  125,  160,  200,  250,   315,   400,   500,  630,
    800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

namespace {

// Band record fields.
constexpr std::size_t kRecFrequency = 0;
constexpr std::size_t kRecGainCode = 2;
constexpr std::size_t kRecWidth = 4;
constexpr std::size_t kRecSlope = 6;
constexpr std::size_t kRecType = 7;
constexpr int kGainCodeOffset = 400;
constexpr int kGainCodeOff = 600;  // what an effectively-off band sends: 0 dB

template <std::size_t N>
int BandsFor(int count, const std::array<int, N>& /*table*/) {
  return std::clamp(count + 1, 0, static_cast<int>(N));
}

}  // namespace

CKTVEQ::CKTVEQ(const LiveSyncFlag* liveSync) : m_liveSync(liveSync) {}

CFilter& CKTVEQ::AddFilter() {
  m_filters.push_back(std::make_unique<CFilter>(m_liveSync));
  return *m_filters.back();
}

void CKTVEQ::SetLiveSync(const LiveSyncFlag* flag) {
  m_liveSync = flag;
  for (auto& f : m_filters) f->SetLiveSync(flag);
}

void CKTVEQ::BuildInput(int count, int lowPassHz, int bandNumber) {
  m_filters.clear();
  const int bands = BandsFor(count, kInputBandFrequencies);
  for (int b = 0; b < bands; ++b) {
    CFilter& f = AddFilter();
    f.SetBandNumber(b);
    f.SetFrequency(kInputBandFrequencies[static_cast<std::size_t>(b)], false);
  }
  if (bands > 0) {
    CFilter& first = At(0);
    first.SetEqType(1);  // low shelf, 6 dB/Oct
    CFilter& last = At(bands - 1);
    last.SetEqType(3);  // high shelf, 6 dB/Oct
    first.SetPending(0);
    last.SetPending(0);
  }
  for (int type : {kHighPass, kLowPass}) {
    CFilter& f = AddFilter();
    f.SetBandFlag(0);
    f.SetType(type);
    f.SetSlope(0, false);
    f.SetFamily(kButterworth, false);
    f.SetReducedSlopes(1);
    f.SetBandNumber(bandNumber);
    f.SetFrequency(type == kHighPass ? 20 : lowPassHz, false);
    f.SetPending(0);
  }
}

void CKTVEQ::BuildEffect(int count, int lowPassHz, int bandNumber) {
  m_filters.clear();
  const int bands = BandsFor(count, kEffectBandFrequencies);
  for (int b = 0; b < bands; ++b) {
    CFilter& f = AddFilter();
    f.SetBandNumber(b);
    f.SetFrequency(kEffectBandFrequencies[static_cast<std::size_t>(b)], false);
  }
  for (int type : {kHighPass, kLowPass}) {
    CFilter& f = AddFilter();
    f.SetBandFlag(0);
    f.SetType(type);
    f.SetReducedSlopes(1);
    f.SetLimitMode(6);
    f.SetBandNumber(bandNumber);
    f.SetFrequency(type == kHighPass ? 20 : lowPassHz, false);
    f.SetPending(0);
  }
}

void CKTVEQ::BuildOutput(int count, int highPassHz, int lowPassHz, int limitMode, int bandNumber) {
  m_filters.clear();
  const int bands = BandsFor(count, kOutputBandFrequencies);
  for (int b = 0; b < bands; ++b) {
    CFilter& f = AddFilter();
    f.SetBandNumber(b);
    f.SetFrequency(kOutputBandFrequencies[static_cast<std::size_t>(b)], false);
  }
  for (int type : {kHighPass, kLowPass}) {
    CFilter& f = AddFilter();
    f.SetBandFlag(0);
    f.SetType(type);
    f.SetLimitMode(limitMode);
    f.SetBandNumber(bandNumber);
    f.SetFrequency(type == kHighPass ? highPassHz : lowPassHz, false);
    f.SetPending(0);
  }
}

void CKTVEQ::Layout(const Rect& plot) {
  m_plotHeight = plot.Height();
  m_plotWidth = plot.Width();
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double f = kResponseGrid[i];
    m_points[i] = {PlotX(f, m_plotWidth) + kPlotOffsetX, m_plotHeight / 2};
    m_pointsF[i].x = static_cast<float>(PlotXExact(f, m_plotWidth) + kPlotOffsetX);
  }
  for (auto& f : m_filters) f->Layout(plot);
}

Response CKTVEQ::SumDb() const {
  // Filter by filter over the whole grid: each response is read once, front to back. Every
  // point still adds the filters in their order, so the sums are the same to the last bit.
  Response sum{};
  for (const auto& f : m_filters) {
    const Response& r = f->ResponseDb();
    for (std::size_t i = 0; i < kGridPoints; ++i) sum[i] += r[i];
  }
  return sum;
}

void CKTVEQ::SumResponse() {
  const double scale = m_plotHeight / 40.0;
  const Response sum = SumDb();
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    m_points[i].y = static_cast<int>(scale * (20.0 - sum[i]) + 0.5) + kPlotOffsetY;
    m_pointsF[i].y = static_cast<float>(scale * (20.0 - sum[i]) + kPlotOffsetY);
  }
}

void CKTVEQ::CopyValues(const CKTVEQ& other) {
  const int n = std::min(Count(), other.Count());
  for (int i = 0; i < n; ++i) At(i).CopyValues(other.At(i));
}

bool CKTVEQ::Serialize(ByteArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteU16(static_cast<std::uint16_t>(m_filters.size()));
    for (auto& f : m_filters) f->Serialize(ar);
    return true;
  }
  // Check the whole image is there before touching any filter, so that a short or
  // mismatched image leaves the set as it was.
  if (ar.ReadU16() != m_filters.size() || !ar.Ok()) return false;
  if (ar.Remaining() < m_filters.size() * kFilterImageSize) return false;
  for (auto& f : m_filters) f->Serialize(ar);
  return ar.Ok();
}

BandRecord CKTVEQ::GetBandRecord(int i) const {
  const CFilter& f = At(i);
  BandRecord r{};
  le::PutI16(r, kRecFrequency, static_cast<std::int16_t>(f.SentFrequency()));
  const int gainCode = f.EffectivelyOff() != 0 ? kGainCodeOff : f.GainIndex() + kGainCodeOffset;
  le::PutI16(r, kRecGainCode, static_cast<std::int16_t>(gainCode));
  le::PutI16(r, kRecWidth, static_cast<std::int16_t>(f.BandwidthIndex()));
  r[kRecSlope] = static_cast<std::uint8_t>(f.Slope());
  r[kRecType] = static_cast<std::uint8_t>(f.Type());
  return r;
}

void CKTVEQ::SetBandRecord(std::span<const std::uint8_t> record, int i) {
  if (record.size() < std::tuple_size_v<BandRecord>) return;
  CFilter& f = At(i);
  // Gain and bandwidth codes outside their ranges come only from a damaged image; a shelf
  // far beyond ±20 dB has no real response (its design takes the root of a negative
  // number), so they read as the nearest code the program can show.
  f.SetGainIndex(std::clamp(le::GetI16(record, kRecGainCode) - kGainCodeOffset, 0, kGainIndexMax));
  f.SetBandwidthIndex(std::clamp<int>(le::GetI16(record, kRecWidth), 0, kBandwidthIndexMax));
  f.SetSlope(record[kRecSlope], true);
  f.SetType(record[kRecType]);
  // Only a damaged image holds a frequency of 0 or below; it would never be reached by
  // the octave steps and has no place on the graph, so it reads as the lowest frequency.
  // A record arrives from the device or goes to it as a whole block, so the device holds
  // this frequency already: it becomes the sent frequency at once. Taken as a live edit,
  // a band moved upward would be walked again in octave steps (an audible sweep after a
  // preset push, and a save right after a load would keep the old frequency).
  const int hz = le::GetI16(record, kRecFrequency);
  f.SetFrequency(hz > 0 ? hz : kFrequencyMin, false);
  f.StepSentFrequency(0);
}

bool CKTVEQ::AllFlat() const {
  return std::all_of(m_filters.begin(), m_filters.end(),
                     [](const auto& f) { return f->EffectivelyOff() != 0; });
}

}  // namespace vantor
