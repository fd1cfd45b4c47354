// Cost of the device link's host side: frames built per second (a band write and a whole
// output write), bytes per second through the receiver (a 312-byte data reply in 64-byte
// input reports, decoded and stored), and the idle pending-change scan that runs on every
// cycle the queue is empty.

#include <benchmark/benchmark.h>

#include <vector>

#include "link/FrameBuilders.h"
#include "link/KTVCommand.h"
#include "link/PendingCommand.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

void BM_BuildBandWrite(benchmark::State& state) {
  ProgramState program;
  int band = 0;
  for (auto _ : state) {
    auto c = BuildItemWrite(program, 3, 2, band, true);
    benchmark::DoNotOptimize(c.get());
    band = (band + 1) % 31;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("frames");
}
BENCHMARK(BM_BuildBandWrite);

void BM_BuildOutputBlockWrite(benchmark::State& state) {
  ProgramState program;
  int channel = 0;
  for (auto _ : state) {
    auto c = BuildBlockWrite(program, 0, 3, channel, true, false);
    benchmark::DoNotOptimize(c.get());
    channel = (channel + 1) % 8;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("frames");
}
BENCHMARK(BM_BuildOutputBlockWrite);

void BM_BuildStatusPoll(benchmark::State& state) {
  for (auto _ : state) {
    auto c = BuildStatusPoll();
    benchmark::DoNotOptimize(c.get());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("frames");
}
BENCHMARK(BM_BuildStatusPoll);

// A data reply for output 3, cut into the five zero-padded reports the transport reads.
std::vector<std::vector<std::uint8_t>> OutputReplyReports() {
  std::vector<std::uint8_t> f = {0xA2, 0xA2, 0xA2, 0xA3, 0x66, 0x01,       0x00,
                                 0x03, 0x03, 0x00, 0x00, 0x00, 296 & 0xFF, 296 >> 8};
  for (int i = 0; i < 296; ++i) f.push_back(static_cast<std::uint8_t>(i * 13));
  std::uint8_t x = 0;
  for (std::size_t i = 4; i < f.size(); ++i) x ^= f[i];
  f.push_back(x);
  f.push_back(0xAA);
  std::vector<std::vector<std::uint8_t>> reports;
  for (std::size_t at = 0; at < f.size(); at += 64) {
    std::vector<std::uint8_t> r(64, 0);
    for (std::size_t i = 0; i < 64 && at + i < f.size(); ++i) r[i] = f[at + i];
    reports.push_back(r);
  }
  return reports;
}

void BM_ReceiverDecodeOutputReply(benchmark::State& state) {
  ProgramState program;
  CKTVCommand queue(program);
  const auto reports = OutputReplyReports();
  std::size_t decoded = 0;
  for (auto _ : state) {
    for (const auto& r : reports) decoded += queue.Feed(r) ? 1 : 0;
  }
  if (decoded != static_cast<std::size_t>(state.iterations())) state.SkipWithError("frames lost");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(reports.size() * 64));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReceiverDecodeOutputReply);

void BM_ReceiverHuntNoise(benchmark::State& state) {
  ProgramState program;
  CKTVCommand queue(program);
  std::vector<std::uint8_t> noise(64);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 + 1);
  for (auto _ : state) benchmark::DoNotOptimize(queue.Feed(noise));
  state.SetBytesProcessed(state.iterations() * 64);
}
BENCHMARK(BM_ReceiverHuntNoise);

// The idle cycle: every flag of the model is checked, nothing is pending, a status poll
// comes back.
void BM_NextPendingCommandIdle(benchmark::State& state) {
  ProgramState program;
  CKTV_Data model(program);
  model.LoadOutputs();
  program.liveSync = true;
  for (auto _ : state) {
    auto c = NextPendingCommand(model);
    benchmark::DoNotOptimize(c.get());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NextPendingCommandIdle);

// The same scan without building the poll, to show what the scan itself costs.
void BM_PendingScanOnlyIdle(benchmark::State& state) {
  ProgramState program;
  CKTV_Data model(program);
  model.LoadOutputs();
  program.liveSync = true;
  for (auto _ : state) benchmark::DoNotOptimize(model.TakePendingChange());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PendingScanOnlyIdle);

// One band edit per iteration: scan, pack, build.
void BM_NextPendingCommandOneBand(benchmark::State& state) {
  ProgramState program;
  CKTV_Data model(program);
  model.LoadOutputs();
  program.liveSync = true;
  int i = 0;
  for (auto _ : state) {
    model.Output(7).Filter(30).SetGainIndex(100 + (i++ % 200));
    auto c = NextPendingCommand(model);
    benchmark::DoNotOptimize(c.get());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NextPendingCommandOneBand);

}  // namespace
}  // namespace vantor
