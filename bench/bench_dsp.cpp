// Cost of the response computation: single filters, a drag step, the full recompute of
// all eight outputs, and the same full recompute done literally point by point
// (coefficients and cos/sin recomputed at every grid point) for the speed-up ratio.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>

#include "dsp/CrossoverTables.h"
#include "dsp/FilterDesign.h"
#include "dsp/KTVEQ.h"

namespace vantor {
namespace {

constexpr Rect kPlot{0, 0, 820, 420};

// An output set with every band boosted or cut and both crossovers active.
std::unique_ptr<CKTVEQ> BusyOutputSet(int channel) {
  auto set = std::make_unique<CKTVEQ>();
  set->BuildOutput(30, 20, 20000, 7, 32);
  set->Layout(kPlot);
  for (int b = 0; b < set->BandCount(); ++b) {
    set->At(b).SetGainIndex(b % 2 == 0 ? 230 + channel : 170 - channel);
    set->At(b).SetBandwidthIndex(10 + 3 * b);
  }
  set->HighPass().SetFamily(channel % 3, false);
  set->HighPass().SetSlope(6, false);
  set->HighPass().SetFrequency(60 + 10 * channel, false);
  set->LowPass().SetFamily((channel + 1) % 3, false);
  set->LowPass().SetSlope(5, false);
  set->LowPass().SetFrequency(8000 + 500 * channel, false);
  return set;
}

void BM_PeakingRecompute(benchmark::State& state) {
  CFilter f;
  f.Layout(kPlot);
  f.SetGainIndex(260);
  for (auto _ : state) {
    f.Recompute();
    benchmark::DoNotOptimize(f.ResponseDb().data());
  }
}
BENCHMARK(BM_PeakingRecompute);

void BM_Crossover48Recompute(benchmark::State& state) {
  CFilter f;
  f.SetBandFlag(0);
  f.SetType(kHighPass);
  f.SetFamily(kButterworth, false);
  f.SetSlope(6, false);
  f.SetFrequency(80, false);
  f.Layout(kPlot);
  for (auto _ : state) {
    f.Recompute();
    benchmark::DoNotOptimize(f.ResponseDb().data());
  }
}
BENCHMARK(BM_Crossover48Recompute);

void BM_DragStep(benchmark::State& state) {
  auto set = BusyOutputSet(2);
  int step = 0;
  for (auto _ : state) {
    set->At(5).SetFrequency(step % 2 == 0 ? 63 : 64, true);
    set->SumResponse();
    benchmark::DoNotOptimize(set->Points().data());
    ++step;
  }
}
BENCHMARK(BM_DragStep);

std::array<std::unique_ptr<CKTVEQ>, 8> EightSets() {
  std::array<std::unique_ptr<CKTVEQ>, 8> sets;
  for (int c = 0; c < 8; ++c) sets[static_cast<std::size_t>(c)] = BusyOutputSet(c);
  return sets;
}

void BM_AllEightSets(benchmark::State& state) {
  auto sets = EightSets();
  for (auto _ : state) {
    for (auto& set : sets) {
      for (int k = 0; k < set->Count(); ++k) set->At(k).Recompute();
      set->SumResponse();
    }
    benchmark::DoNotOptimize(sets[7]->Points().data());
  }
}
BENCHMARK(BM_AllEightSets);

// --- The literal computation: everything recomputed at every grid point. ----------------

double EvalAt(const Biquad& q, double f) { return BiquadDbAt(q, f); }

double LiteralAt(const CFilter& f, double gridHz) {
  switch (f.Type()) {
    case kPeaking:
      if (f.Bypass() != 0 || f.Flat() != 0) return 0.0;
      return EvalAt(DesignPeaking(f.Frequency(), f.Gain(), f.Bandwidth()), gridHz);
    case kLowShelf:
    case kHighShelf:
      if (f.Bypass() != 0 || f.Flat() != 0) return 0.0;
      return EvalAt(DesignShelf(f.Type(), f.Frequency(), f.Gain(), f.Slope()), gridHz);
    default: {
      const CrossoverCascade c =
          DesignCrossover(f.Type(), f.Frequency(), f.Family(), f.Slope(), f.ReducedSlopes() != 0);
      double sum = 0.0;
      for (int k = 0; k < c.count; ++k)
        sum += EvalAt(c.sections[static_cast<std::size_t>(k)], gridHz);
      return sum;
    }
  }
}

void BM_AllEightSetsLiteral(benchmark::State& state) {
  auto sets = EightSets();
  // The literal computation must give the engine's numbers, or the ratio means nothing.
  for (auto& set : sets) {
    for (int k = 0; k < set->Count(); ++k) {
      for (std::size_t i = 0; i < kGridPoints; ++i) {
        const double d = LiteralAt(set->At(k), kResponseGrid[i]) - set->At(k).ResponseDb()[i];
        if (std::fabs(d) > 1e-12) {
          state.SkipWithError("literal and tabled responses differ");
          return;
        }
      }
    }
  }
  std::array<double, kGridPoints> sum{};
  for (auto _ : state) {
    for (auto& set : sets) {
      for (std::size_t i = 0; i < kGridPoints; ++i) {
        double s = 0.0;
        for (int k = 0; k < set->Count(); ++k) s += LiteralAt(set->At(k), kResponseGrid[i]);
        sum[i] = s;
      }
    }
    benchmark::DoNotOptimize(sum.data());
  }
}
BENCHMARK(BM_AllEightSetsLiteral);

}  // namespace
}  // namespace vantor
