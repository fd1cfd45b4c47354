// Cost of tuning from measurements: one automatic-EQ fit with all 31 bands of an output to
// use (the goal is at most 200 ms median), the prediction layer's sum, and an import.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>

#include "SyntheticCurves.h"
#include "measure/AutoEq.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

// A rough response: 40 peaks and dips of random place, size (±6 dB) and width, and ±0.3 dB
// of noise; with a boost limit of 12 dB it keeps every band of the fit busy.
Measurement RoughResponse() {
  std::mt19937 random(11);
  auto uniform = [&random](double lo, double hi) {
    return lo + (hi - lo) * (random() / 4294967295.0);
  };
  Measurement m;
  for (int k = 0; k < 40; ++k) {
    const int hz = static_cast<int>(std::exp(uniform(std::log(25.0), std::log(18000.0))));
    const Response r =
        BandResponse(hz, static_cast<int>(uniform(140, 260)), static_cast<int>(uniform(10, 120)));
    for (std::size_t i = 0; i < kGridPoints; ++i) m.db[i] += r[i];
  }
  testing::AddNoise(m, 0.3, 5);
  // Level matched to the target, as the import's normalisation would.
  double mean = 0.0;
  for (double v : m.db) mean += v;
  mean /= kGridPoints;
  for (double& v : m.db) v -= mean;
  return m;
}

void RunFit(benchmark::State& state, const Measurement& m, const TargetCurve& target,
            const AutoEqOptions& options = {}) {
  ProgramState program;
  CKTV_Data model{program};
  model.LoadOutputs();
  double before = 0.0;
  double after = 0.0;
  std::size_t used = 0;
  for (auto _ : state) {
    MeasureError error;
    const auto preview = PreviewAutoEq(model.Output(0), m, target, options, error);
    if (!preview) {
      state.SkipWithError("the fit was refused");
      return;
    }
    before = preview->rmsBeforeDb;
    after = preview->rmsAfterDb;
    used = 0;
    for (const BandSetting& b : preview->bands) used += b.gainIndex != 200 ? 1 : 0;
    benchmark::DoNotOptimize(after);
  }
  state.counters["rms_before_dB"] = before;
  state.counters["rms_after_dB"] = after;
  state.counters["bands_used"] = static_cast<double>(used);
}

void BM_AutoEq31_FiveBandsAndNoise(benchmark::State& state) {
  Measurement m = testing::TargetMinusBands(CarTarget());
  testing::AddNoise(m, 1.0, 7);
  RunFit(state, m, CarTarget());
}
BENCHMARK(BM_AutoEq31_FiveBandsAndNoise)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

void BM_AutoEq31_RoughResponse(benchmark::State& state) {
  AutoEqOptions options;
  options.maxBoostDb = 12.0;
  RunFit(state, RoughResponse(), FlatTarget(), options);
}
BENCHMARK(BM_AutoEq31_RoughResponse)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

void BM_PredictionSum(benchmark::State& state) {
  ProgramState program;
  CKTV_Data model{program};
  model.LoadOutputs();
  const Measurement m = RoughResponse();
  for (auto _ : state) benchmark::DoNotOptimize(PredictResponse(m, model.Output(0).Filters()));
}
BENCHMARK(BM_PredictionSum);

void BM_ImportTextExport(benchmark::State& state) {
  // A 1/48-octave export from 10 Hz to 24 kHz, about 540 rows.
  std::string text = "* Freq(Hz) SPL(dB) Phase(degrees)\n";
  for (double f = 10.0; f <= 24000.0; f *= std::pow(2.0, 1.0 / 48.0)) {
    text += FormatFixed(f, 3) + "\t" + FormatFixed(80.0 + std::sin(f / 300.0), 3) + "\t-45.0\n";
  }
  for (auto _ : state) {
    MeasureError error;
    benchmark::DoNotOptimize(MeasurementFromText(text, error));
  }
}
BENCHMARK(BM_ImportTextExport);

}  // namespace
}  // namespace vantor
