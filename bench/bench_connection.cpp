// The device link against the simulated processor with its USB timing model (one report a
// millisecond each way, 2 ms of firmware time per frame) and the default link timings:
// connect-to-live, edit-to-wire latency and coalescing, the push of a tuned preset file and an
// A/B switch of every output,
// each beside the protocol's own floor (one exchange = the pause after a cycle + its reports
// each way + the device's delay).

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "QuietScreen.h"
#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "compare/ProgramComparison.h"
#include "device/FileClaimStore.h"
#include "link/ConnectionController.h"
#include "link/Frame.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "presets/PresetController.h"
#include "presets/PresetSerializer.h"
#include "presets/TunedProgram.h"
#include "sim/SimulatedBackend.h"
#include "sim/SimulatedProcessor.h"

namespace vantor {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// One program and one simulated unit with real timing.
struct Bench {
  Bench()
      : claimsDir(std::filesystem::temp_directory_path() /
                  ("vantor-bench-" + std::to_string(::getpid()))),
        claims(claimsDir),
        unit(sim::SimulatedProcessor::Create()),
        controller(model, bus, claims, screen) {
    bus.Attach(unit);
    unit->Plug();
  }
  ~Bench() {
    controller.Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(claimsDir, ec);
  }
  // Presses connect and waits until the program is live; the benchmark is skipped if not.
  bool Connect(benchmark::State& st) {
    controller.ToggleConnection();
    if (Live()) return true;
    st.SkipWithError("did not connect");
    return false;
  }
  bool Live() {
    return controller.ProcessUntil([this] { return controller.Phase() == ConnectionPhase::kLive; },
                                   30s);
  }

  std::filesystem::path claimsDir;
  FileClaimStore claims;
  ProgramState state;
  CKTV_Data model{state};
  bench::QuietScreen screen;
  sim::SimulatedBackend bus;
  std::shared_ptr<sim::SimulatedProcessor> unit;
  ConnectionController controller;
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The floor of one exchange of a frame of `sent` bytes answered by `received` bytes.
double FloorMs(const sim::SimTiming& t, const LinkTimings& l, std::size_t sent,
               std::size_t received) {
  const auto reports = [](std::size_t bytes) { return static_cast<double>((bytes + 63) / 64); };
  const double interval = std::chrono::duration<double, std::milli>(t.reportInterval).count();
  const double delay = std::chrono::duration<double, std::milli>(t.processingDelay).count();
  return static_cast<double>(l.cyclePause.count()) + reports(sent) * interval + delay +
         reports(received) * interval;
}

void BM_ConnectToLive(benchmark::State& st) {
  std::vector<double> times;
  double floor = 0;
  for (auto _ : st) {
    Bench b;
    const auto start = Clock::now();
    b.controller.ToggleConnection();
    if (!b.Live()) {
      st.SkipWithError("did not connect");
      return;
    }
    const double ms = Ms(Clock::now() - start);
    st.SetIterationTime(ms / 1000.0);
    times.push_back(ms);
    if (floor == 0) {
      // Identity, 9 information reads, music block and 8 outputs: every request is 24 bytes.
      const sim::SimTiming t = b.unit->Timing();
      const LinkTimings l = b.controller.Timings();
      floor = FloorMs(t, l, 24, 16 + 17) + 3 * FloorMs(t, l, 24, 16 + 12) +
              6 * FloorMs(t, l, 24, 16 + 15) + FloorMs(t, l, 24, 16 + 112) +
              8 * FloorMs(t, l, 24, 16 + 296);
    }
  }
  std::sort(times.begin(), times.end());
  st.counters["median_ms"] = times[times.size() / 2];
  st.counters["floor_ms"] = floor;
  st.counters["ratio"] = times[times.size() / 2] / floor;
}
BENCHMARK(BM_ConnectToLive)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_EditToWire(benchmark::State& st) {
  Bench b;
  if (!b.Connect(st)) return;
  std::atomic<Clock::rep> wired{0};
  b.controller.SetFrameTap([&](FrameDirection d, std::span<const std::uint8_t> f) {
    if (d == FrameDirection::kSent && f[frame::kClass] == frame::kWriteClass &&
        f[frame::kBlockType] == 3 && f[frame::kItem] == 4) {
      wired = Clock::now().time_since_epoch().count();
    }
  });
  std::mt19937 rng(5);
  std::vector<double> latencies;
  int gain = 210;
  for (auto _ : st) {
    // Land the edit at a random moment of the idle loop.
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 15000)(rng)));
    wired = 0;
    gain = gain == 210 ? 220 : 210;
    const auto start = Clock::now();
    b.model.Output(0).Filter(4).SetGainIndex(gain);
    while (wired.load() == 0) std::this_thread::sleep_for(100us);
    const double ms = Ms(Clock::time_point(Clock::duration(wired.load())) - start);
    st.SetIterationTime(ms / 1000.0);
    latencies.push_back(ms);
    b.controller.ProcessEvents();
  }
  std::sort(latencies.begin(), latencies.end());
  const double floor = FloorMs(b.unit->Timing(), b.controller.Timings(), 24, 16);
  st.counters["median_ms"] = latencies[latencies.size() / 2];
  st.counters["p99_ms"] = latencies[std::min(latencies.size() - 1, latencies.size() * 99 / 100)];
  st.counters["floor_ms"] = floor;
  st.counters["median_ratio"] = latencies[latencies.size() / 2] / floor;
  st.counters["p99_ratio"] = st.counters["p99_ms"] / floor;
}
BENCHMARK(BM_EditToWire)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_ThousandEditsInOneSecond(benchmark::State& st) {
  Bench b;
  if (!b.Connect(st)) return;
  std::atomic<int> writes{0};
  b.controller.SetFrameTap([&](FrameDirection d, std::span<const std::uint8_t> f) {
    if (d == FrameDirection::kSent && f[frame::kClass] == frame::kWriteClass) ++writes;
  });
  for (auto _ : st) {
    writes = 0;
    const auto start = Clock::now();
    for (int i = 0; i < 1000; ++i) {
      b.model.Output(1).Filter(9).SetGainIndex(100 + i % 200);
      std::this_thread::sleep_until(start + std::chrono::microseconds(1000 * (i + 1)));
    }
    const double ms = Ms(Clock::now() - start);
    st.SetIterationTime(ms / 1000.0);
    const double floor = FloorMs(b.unit->Timing(), b.controller.Timings(), 24, 16);
    st.counters["frames"] = writes.load();
    st.counters["floor_frames"] = ms / floor;
    // How close the link came to one write per floor exchange while edits kept coming.
    st.counters["ratio"] = (ms / floor) / std::max(1, writes.load());
    b.controller.ProcessEvents();
  }
}
BENCHMARK(BM_ThousandEditsInOneSecond)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// A single-preset file of the start-up program, or of a tuned car's (every band and
// crossover moved).
bool WritePresetFile(const std::filesystem::path& path, bool tuned) {
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  if (tuned) testing::TuneEveryBand(model);
  ByteArchive ar;
  return SerializePreset(ar, model) && ReplaceFile(path, ar.Bytes()).Ok();
}

// A file push, from the load until the link is idle again (its first status poll): the
// outputs switched off, the name, the music block, eight outputs, the outputs back on. Each
// push of the tuned file starts from the start-up program, so every band has moved.
void BM_PushTunedPreset(benchmark::State& st) {
  Bench b;
  if (!b.Connect(st)) return;
  const auto tuned = b.claimsDir / "tuned.dsps";
  const auto startup = b.claimsDir / "startup.dsps";
  if (!WritePresetFile(tuned, true) || !WritePresetFile(startup, false)) {
    st.SkipWithError("cannot write the preset files");
    return;
  }
  constexpr int kPushCommands = 26;
  std::atomic<int> writes{0};
  std::atomic<Clock::rep> idle{0};
  b.controller.SetFrameTap([&](FrameDirection d, std::span<const std::uint8_t> f) {
    if (d != FrameDirection::kSent) return;
    if (f[frame::kClass] == frame::kWriteClass) {
      ++writes;
    } else if (f[frame::kBlockType] == 4 && f[frame::kIndex] == 3 && writes >= kPushCommands &&
               idle.load() == 0) {
      idle = Clock::now().time_since_epoch().count();
    }
  });
  PresetController presets(b.controller);
  // Milliseconds from the load to the idle link; negative when the push did not complete.
  const auto push = [&](const std::filesystem::path& file) {
    writes = 0;
    idle = 0;
    const auto start = Clock::now();
    if (!presets.LoadSinglePresetFile(file).Ok()) return -1.0;
    if (!b.controller.ProcessUntil([&] { return idle.load() != 0 && !b.state.busy.load(); }, 60s))
      return -1.0;
    return Ms(Clock::time_point(Clock::duration(idle.load())) - start);
  };

  std::vector<double> times;
  int frames = 0;
  for (auto _ : st) {
    const double ms = push(startup) >= 0 ? push(tuned) : -1.0;
    if (ms < 0) {
      st.SkipWithError("the push did not complete");
      return;
    }
    st.SetIterationTime(ms / 1000.0);
    times.push_back(ms);
    frames = writes.load();
  }
  // 16 single items (24 bytes), the name (32), the music block (128) and 8 outputs (312),
  // each acknowledged by a 16-byte frame.
  const sim::SimTiming t = b.unit->Timing();
  const LinkTimings l = b.controller.Timings();
  const double floor = 16 * FloorMs(t, l, 24, 16) + FloorMs(t, l, 32, 16) + FloorMs(t, l, 128, 16) +
                       8 * FloorMs(t, l, 312, 16);
  std::sort(times.begin(), times.end());
  st.counters["median_ms"] = times[times.size() / 2];
  st.counters["floor_ms"] = floor;
  st.counters["ratio"] = times[times.size() / 2] / floor;
  st.counters["frames"] = frames;
}
BENCHMARK(BM_PushTunedPreset)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ABSwitchEveryOutput(benchmark::State& st) {
  Bench b;
  if (!b.Connect(st)) return;
  std::atomic<int> writes{0};
  std::atomic<int> polls{0};
  std::atomic<Clock::rep> answered{0};
  constexpr int kSwitchWrites = 3 * rec::kOutputCount;  // off, block, on for each output
  b.controller.SetFrameTap([&](FrameDirection d, std::span<const std::uint8_t> f) {
    if (d == FrameDirection::kSent) {
      if (f[frame::kClass] == frame::kWriteClass) ++writes;
      if (f[frame::kClass] != frame::kWriteClass && f[frame::kBlockType] == 4 &&
          f[frame::kIndex] == 3)
        ++polls;
    } else if (writes.load() == kSwitchWrites && answered.load() == 0) {
      answered = Clock::now().time_since_epoch().count();
    }
  });
  // Nothing left to send once two more status polls went out.
  auto settle = [&] {
    const int start = polls.load();
    while (polls.load() < start + 2) std::this_thread::sleep_for(1ms);
    b.controller.ProcessEvents();
  };
  ProgramComparison ab(b.model, b.controller.Queue());
  ab.Active();
  for (int c = 0; c < rec::kOutputCount; ++c) b.model.Output(c).Filter(c + 3).SetGainIndex(260);
  settle();

  std::vector<double> times;
  for (auto _ : st) {
    writes = 0;
    answered = 0;
    const auto start = Clock::now();
    ab.Toggle();
    while (answered.load() == 0) std::this_thread::sleep_for(100us);
    const double ms = Ms(Clock::time_point(Clock::duration(answered.load())) - start);
    st.SetIterationTime(ms / 1000.0);
    times.push_back(ms);
    settle();
  }
  const sim::SimTiming t = b.unit->Timing();
  const LinkTimings l = b.controller.Timings();
  // Every output silenced and back on (item 31, 24-byte frames) and its 296-byte block.
  const double floor = 2 * rec::kOutputCount * FloorMs(t, l, 24, 16) +
                       rec::kOutputCount * FloorMs(t, l, 16 + rec::kOutputBlockSize, 16);
  std::sort(times.begin(), times.end());
  st.counters["median_ms"] = times[times.size() / 2];
  st.counters["floor_ms"] = floor;
  st.counters["ratio"] = times[times.size() / 2] / floor;
}
BENCHMARK(BM_ABSwitchEveryOutput)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantor
