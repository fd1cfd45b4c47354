// A 200 KiB processor update against the simulated boot loader with its USB timing model
// (one report per millisecond each way, 2 ms of firmware time per frame) and the host's
// real time limits, next to the floor of one acknowledged 64-byte report exchange per
// packet: one output report and one input report, a bus interval each.
//
// Counters: total_s (the whole update, wake-up and restart waits included), data_s (from
// the header's acknowledgement to the end packet's), packets, floor_s (packets x two
// intervals), ratio_total (total_s / (floor_s + the protocol's fixed 6 s of waiting)),
// ratio_data (data_s / the floor of the packets in it).

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>

#include "QuietScreen.h"
#include "firmware/FirmwarePackets.h"
#include "firmware/FirmwareUpdater.h"
#include "link/ConnectionController.h"
#include "model/KTV_Data.h"
#include "sim/SimulatedBackend.h"
#include "sim/SimulatedProcessor.h"

namespace vantor {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kImageSize = 200 * 1024;

class MemoryClaims : public ClaimStore {
 public:
  bool IsPathUnclaimed(const std::string& path) override { return !m_claimed.count(path); }
  bool ClaimPath(const std::string& path) override { return m_claimed.insert(path).second; }
  void ReleaseClaim(const std::string& path) override { m_claimed.erase(path); }

 private:
  std::set<std::string> m_claimed;
};

// When the header (position 2) and the end packet were acknowledged.
class PhaseClock : public FirmwareObserver {
 public:
  void SetProgressRange(int, int) override {}
  void SetStatus(TextId) override {}
  void SetProgressPosition(int position) override {
    if (position == 2) headerDone = Clock::now();
    last = Clock::now();
  }
  Clock::time_point headerDone{};
  Clock::time_point last{};
};

std::string WriteImage() {
  const auto path = std::filesystem::temp_directory_path() /
                    ("vantor-bench-" + std::to_string(::getpid()) + ".dsp");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::uint32_t x = 12345;
  for (std::size_t i = 0; i < kImageSize; ++i) {
    x = x * 1664525U + 1013904223U;
    out.put(static_cast<char>(x >> 24));
  }
  return path.string();
}

void BM_Update200KiBAgainstSimulatedBootLoader(benchmark::State& state) {
  const std::string file = WriteImage();
  const sim::SimTiming timing;  // the USB timing model
  const LinkTimings limits;     // the host's real limits
  double total = 0, data = 0;
  int packets = 0;
  for (auto _ : state) {
    sim::SimulatedBackend bus;
    auto unit = sim::SimulatedProcessor::Create();
    bus.Attach(unit);
    unit->Plug();
    ProgramState program;
    CKTV_Data model(program);
    bench::QuietScreen screen;
    MemoryClaims claims;
    ConnectionController controller(model, bus, claims, screen, limits);
    PhaseClock phases;
    FirmwareUpdater updater(controller);
    screen.listener = [&updater](const DeviceEventMessage& m) { updater.OnDeviceEvent(m); };
    updater.SetObserver(&phases);
    updater.SetFirmwarePath(file);

    const auto start = Clock::now();
    if (updater.Start() != FirmwareStart::kStarted) {
      state.SkipWithError("the update did not start");
      break;
    }
    controller.ProcessUntil([&] { return updater.Outcome() != FirmwareOutcome::kRunning; },
                            std::chrono::minutes(5));
    const auto end = Clock::now();
    if (updater.Outcome() != FirmwareOutcome::kSucceeded ||
        unit->FirmwareImage().size() != kImageSize) {
      state.SkipWithError("the update failed");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    total += std::chrono::duration<double>(end - start).count();
    data += std::chrono::duration<double>(phases.last - phases.headerDone).count();
    packets = updater.PacketsAcknowledged();
  }
  std::filesystem::remove(file);
  const double n = static_cast<double>(state.iterations());
  const double interval = std::chrono::duration<double>(timing.reportInterval).count();
  const double fixed = std::chrono::duration<double>(limits.fwWakeDuration + limits.fwWakePause +
                                                     limits.fwRestartWait)
                           .count();
  const double floor = packets * 2 * interval;
  const double dataFloor = (packets - 2) * 2 * interval;  // 178 x n and 179
  state.counters["total_s"] = total / n;
  state.counters["data_s"] = data / n;
  state.counters["packets"] = packets;
  state.counters["floor_s"] = floor;
  state.counters["ratio_total"] = (total / n) / (floor + fixed);
  state.counters["ratio_data"] = (data / n) / dataFloor;
}
BENCHMARK(BM_Update200KiBAgainstSimulatedBootLoader)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// The host's own share: every packet of a 200 KiB image built by the sequencer.
void BM_SequenceImage200KiB(benchmark::State& state) {
  FirmwareImage image;
  image.bytes.resize(kImageSize);
  for (std::size_t i = 0; i < kImageSize; ++i) image.bytes[i] = static_cast<std::uint8_t>(i * 31);
  image.checksum = FirmwareChecksum(image.bytes);
  image.blockCount = FirmwareBlockCount(kImageSize);
  std::int64_t built = 0;
  for (auto _ : state) {
    FirmwareSequencer sequencer(image);
    for (;;) {
      auto packets = sequencer.NextPackets();
      if (packets.empty()) break;
      built += static_cast<std::int64_t>(packets.size());
      benchmark::DoNotOptimize(packets.data());
    }
  }
  state.SetItemsProcessed(built);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kImageSize));
}
BENCHMARK(BM_SequenceImage200KiB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantor
