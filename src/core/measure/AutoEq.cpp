#include "measure/AutoEq.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "dsp/FilterCodes.h"
#include "measure/BandFitter.h"
#include "model/KTV_OutData.h"

namespace vantor {
namespace {

// A range edge given in whole hertz still takes the grid point it names (20000, 1030, ...).
constexpr double kEdgeTolerance = 1e-6;

std::size_t At(int i) { return static_cast<std::size_t>(i); }

bool CrossoverActive(const CFilter& f, int offAt) {
  return f.Frequency() != offAt && f.Slope() != kSlopeOff;
}

// A private copy of a set, computing exactly what the set computes.
std::unique_ptr<CKTVEQ> CopySet(const CKTVEQ& set) {
  auto copy = std::make_unique<CKTVEQ>();
  copy->BuildOutput(set.BandCount() - 1, kFrequencyMin, kFrequencyMax, 0, 0);
  copy->CopyValues(set);
  for (int i = 0; i < set.Count(); ++i) {
    copy->At(i).SetReducedSlopes(set.At(i).ReducedSlopes());
    copy->At(i).Recompute();
  }
  return copy;
}

// Matches fitted bands (rising in frequency) to free bands in band order so that each lands
// on a band whose frequency is near its own: the order-keeping assignment with the smallest
// sum of octave distances.
std::vector<int> AssignInOrder(const std::vector<double>& fitted,
                               const std::vector<double>& bands) {
  const std::size_t m = fitted.size();
  const std::size_t n = bands.size();
  constexpr double kNone = std::numeric_limits<double>::infinity();
  std::vector<std::vector<double>> cost(m + 1, std::vector<double>(n + 1, kNone));
  for (std::size_t j = 0; j <= n; ++j) cost[0][j] = 0.0;
  for (std::size_t i = 1; i <= m; ++i) {
    for (std::size_t j = i; j <= n; ++j) {
      const double take = cost[i - 1][j - 1] + std::abs(std::log2(fitted[i - 1] / bands[j - 1]));
      cost[i][j] = std::min(cost[i][j - 1], take);
    }
  }
  std::vector<int> chosen(m);
  std::size_t j = n;
  for (std::size_t i = m; i > 0; --i) {
    while (j > i && cost[i][j] == cost[i][j - 1]) --j;
    chosen[i - 1] = static_cast<int>(j - 1);
    --j;
  }
  return chosen;
}

}  // namespace

Response PredictResponse(const Measurement& measurement, const CKTVEQ& set) {
  Response out = measurement.Shifted();
  const Response channel = set.SumDb();
  for (std::size_t i = 0; i < kGridPoints; ++i) out[i] += channel[i];
  return out;
}

bool BandIsFree(const CFilter& band) {
  if (band.Bypass() != 0) return false;
  return !(band.Flat() != 0 && band.Gain() != 0.0);
}

std::pair<double, double> DefaultFitRange(const CKTVEQ& set) {
  const CFilter& hp = set.At(set.Count() - 2);
  const CFilter& lp = set.At(set.Count() - 1);
  double from = CrossoverActive(hp, kFrequencyMin) ? hp.Frequency() : kFitLowestHz;
  double to = CrossoverActive(lp, kFrequencyMax) ? lp.Frequency() : kFitHighestHz;
  from = std::clamp(from, kFitLowestHz, kFitHighestHz);
  to = std::clamp(to, kFitLowestHz, kFitHighestHz);
  return {from, to};
}

std::optional<AutoEqPreview> PreviewAutoEq(const CKTVEQ& set, bool graphic,
                                           const Measurement& measurement,
                                           const TargetCurve& target, const AutoEqOptions& options,
                                           MeasureError& error) {
  const auto [defaultFrom, defaultTo] = DefaultFitRange(set);
  const double from = options.fromHz.value_or(defaultFrom);
  const double to = options.toHz.value_or(defaultTo);
  int first = -1;
  int last = -1;
  for (int i = measurement.firstIndex; i <= measurement.lastIndex; ++i) {
    const double f = kResponseGrid[At(i)];
    if (f < from * (1.0 - kEdgeTolerance) || f > to * (1.0 + kEdgeTolerance)) continue;
    if (first < 0) first = i;
    last = i;
  }
  if (first < 0) {
    error = {MeasureErrorKind::kEmptyRange, 0};
    return std::nullopt;
  }

  std::vector<int> free;
  for (int b = 0; b < set.BandCount(); ++b) {
    if (BandIsFree(set.At(b))) free.push_back(b);
  }
  if (free.empty()) {
    error = {MeasureErrorKind::kNoFreeBand, 0};
    return std::nullopt;
  }

  FitProblem problem;
  problem.base = measurement.Shifted();
  for (int i = 0; i < set.Count(); ++i) {
    if (i < set.BandCount() && BandIsFree(set.At(i))) continue;
    const Response& r = set.At(i).ResponseDb();
    for (std::size_t k = 0; k < kGridPoints; ++k) problem.base[k] += r[k];
  }
  problem.target = target.db;
  problem.first = first;
  problem.last = last;
  problem.centreLow = first;
  problem.centreHigh = last;
  problem.maxBoostDb = std::clamp(options.maxBoostDb, 0.0, 20.0);
  problem.maxBands = std::min(options.bands.value_or(static_cast<int>(free.size())),
                              static_cast<int>(free.size()));
  // Parametric bands are interchangeable; graphic ones stay where they are.
  const std::size_t slotCount = graphic ? free.size() : static_cast<std::size_t>(problem.maxBands);
  for (std::size_t s = 0; s < slotCount; ++s) {
    FitSlot slot;
    if (graphic) slot.fixedHz = set.At(free[s]).Frequency();
    problem.slots.push_back(slot);
  }
  const FitOutcome fit = FitPeakingBands(problem);

  AutoEqPreview preview;
  preview.firstIndex = first;
  preview.lastIndex = last;
  std::vector<BandSetting> settings;
  for (int b : free) {
    const CFilter& f = set.At(b);
    settings.push_back({b, f.Frequency(), kGainIndexFlat, f.BandwidthIndex()});
  }
  std::vector<FittedBand> fitted = fit.bands;
  std::vector<int> owner(fitted.size());
  if (graphic) {
    for (std::size_t k = 0; k < fitted.size(); ++k) owner[k] = fitted[k].slot;
  } else {
    std::sort(fitted.begin(), fitted.end(), [](const FittedBand& a, const FittedBand& b) {
      return a.frequencyHz < b.frequencyHz;
    });
    std::vector<double> fittedHz, bandHz;
    for (const FittedBand& fb : fitted) fittedHz.push_back(fb.frequencyHz);
    for (int b : free) bandHz.push_back(std::max(set.At(b).Frequency(), kFrequencyMin));
    owner = AssignInOrder(fittedHz, bandHz);
  }
  for (std::size_t k = 0; k < fitted.size(); ++k) {
    BandSetting& s = settings[At(owner[k])];
    s.frequencyHz = fitted[k].frequencyHz;
    s.gainIndex = fitted[k].gainIndex;
    s.widthIndex = fitted[k].widthIndex;
  }
  preview.bands = settings;

  preview.predictionBefore = PredictResponse(measurement, set);
  const auto after = CopySet(set);
  ApplyBandSettings(*after, settings);
  preview.predictionAfter = PredictResponse(measurement, *after);
  preview.rmsBeforeDb = RmsDeviation(preview.predictionBefore, target.db, first, last);
  preview.rmsAfterDb = RmsDeviation(preview.predictionAfter, target.db, first, last);
  return preview;
}

std::optional<AutoEqPreview> PreviewAutoEq(const CKTV_OutData& output,
                                           const Measurement& measurement,
                                           const TargetCurve& target, const AutoEqOptions& options,
                                           MeasureError& error) {
  return PreviewAutoEq(output.Filters(), output.EqMode() != 0, measurement, target, options, error);
}

void ApplyBandSettings(CKTVEQ& set, const std::vector<BandSetting>& bands) {
  for (const BandSetting& s : bands) {
    CFilter& f = set.At(s.band);
    if (s.gainIndex != kGainIndexFlat) {
      if (f.Type() != kPeaking) f.SetEqType(0);
      if (f.Frequency() != s.frequencyHz) f.SetFrequency(s.frequencyHz, true);
      if (f.BandwidthIndex() != s.widthIndex) f.SetBandwidthIndex(s.widthIndex);
    }
    if (f.GainIndex() != s.gainIndex) f.SetGainIndex(s.gainIndex);
  }
}

void ApplyAutoEq(CKTV_OutData& output, const AutoEqPreview& preview) {
  ApplyBandSettings(output.Filters(), preview.bands);
  output.Filters().SumResponse();
}

}  // namespace vantor
