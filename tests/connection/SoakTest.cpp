// Ten thousand random edits against a processor that drops, corrupts, splits and resends
// at random: whatever the device acknowledged is in its memory, and after a clean
// reconnect program and device agree on every byte that travels.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include "connection/LinkRig.h"

namespace vantor::testing {
namespace {

using namespace std::chrono_literals;

void RandomEdit(CKTV_Data& model, std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  CKTV_OutData& out = model.Output(pick(0, 7));
  switch (pick(0, 11)) {
    case 0:
      out.Filter(pick(0, 30)).SetGainIndex(pick(0, 400));
      break;
    case 1:
      out.Filter(pick(0, 30)).SetFrequency(pick(20, 20000), true);
      break;
    case 2:
      out.Filter(pick(0, 30)).SetBandwidthIndex(pick(0, 295));
      break;
    case 3:
      out.SetGainCode(pick(0, 60));
      break;
    case 4:
      out.SetDelayCode(pick(0, 2400));
      break;
    case 5:
      out.SetPhase(pick(0, 1));
      break;
    case 6:
      out.SetOutputOn(pick(0, 1));
      break;
    case 7:
      out.SetThresholdCode(pick(0, 360));
      break;
    case 8:
      out.SetAttackCode(pick(0, 106));
      break;
    case 9:
      out.SetReleaseCode(pick(0, 5));
      break;
    case 10:
      out.HighPass().SetFrequency(pick(20, 1000), true);
      break;
    default: {
      // As the routing grid does: change sources of one item only, then mark that item.
      MixerRow row = out.Mixer();
      const bool low = pick(0, 1) == 0;
      const int source = low ? pick(0, 7) : pick(8, 13);
      row[static_cast<std::size_t>(source)] = static_cast<std::uint8_t>(pick(0, 100));
      if (low) {
        out.SetMixerLow(row);
      } else {
        out.SetMixerHigh(row);
      }
      break;
    }
  }
}

// The bytes of the outputs that travel to the device (296 of each 298-byte record). The
// soak never edits names; a name read back is trimmed, so packing it again writes zero
// bytes where the device holds spaces: leave names out when comparing objects.
std::vector<std::uint8_t> OutputBytes(const rec::StateRecord& record, bool withNames = true) {
  std::vector<std::uint8_t> bytes;
  for (int c = 0; c < rec::kOutputCount; ++c) {
    const auto* begin = record.data() + rec::OutputOffset(c);
    bytes.insert(bytes.end(), begin, begin + (withNames ? rec::kOutputBlockSize : rec::kOutName));
  }
  return bytes;
}

TEST(Soak, TenThousandEditsUnderRandomFaults) {
  LinkTimings timings = FastTimings();
  timings.readWait = 100ms;  // each lost answer costs one reply time-out
  timings.exchangeLimit = 150ms;
  LinkRig rig(sim::SimTiming::Instant(), timings);
  ASSERT_TRUE(rig.ConnectLive());
  sim::SimFaultRates rates;
  rates.dropReply = 0.005;
  rates.corruptChecksum = 0.005;
  rates.resend = 0.05;
  rates.splitReply = 0.1;
  rates.garbageBefore = 0.1;
  rig.unit->SetRandomFaults(20261209, rates);

  std::mt19937 rng(7);
  int reconnects = 0;
  for (int edit = 0; edit < 10000; ++edit) {
    RandomEdit(rig.Model(), rng);
    rig.Controller().ProcessEvents();
    if (edit % 10 == 0) std::this_thread::sleep_for(1ms);  // an installer's pace, roughly
    if (!rig.Controller().Connected()) {
      // A lost answer ends the connection; the installer connects again.
      ++reconnects;
      ASSERT_LT(reconnects, 200);
      rig.Controller().ToggleConnection();
      rig.Until([&] {
        return rig.Controller().Phase() == ConnectionPhase::kLive || !rig.Controller().Connected();
      });
    }
  }

  // Let every edit go out with the faults still on, connecting again when an answer is
  // lost; then faults off and one last clean round.
  auto live = [&] {
    if (!rig.Controller().Connected()) {
      ++reconnects;
      rig.Controller().ToggleConnection();
    }
    return rig.Until([&] {
      return rig.Controller().Phase() == ConnectionPhase::kLive || !rig.Controller().Connected();
    }) && rig.Controller().Phase() == ConnectionPhase::kLive;
  };
  for (int round = 0; round < 100; ++round) {
    if (live() && rig.Drained(30s)) break;
  }
  rig.unit->ClearFaults();
  // A machine busy with other work can still miss the short reply limit now and then:
  // connect again until one clean round drains.
  bool drained = false;
  for (int round = 0; round < 5 && !drained; ++round) drained = live() && rig.Drained(30s);
  ASSERT_TRUE(drained);

  // Everything the program sent and the device acknowledged is in the device's memory.
  const rec::StateRecord hostLive = [&] {
    std::lock_guard lock(rig.Controller().Queue().QueueLock());
    return rig.State().Live();
  }();
  EXPECT_EQ(OutputBytes(rig.unit->Record(0)), OutputBytes(hostLive));

  // And the objects hold exactly what was sent.
  {
    std::lock_guard lock(rig.Controller().Queue().QueueLock());
    rig.Model().Store();
    EXPECT_EQ(OutputBytes(rig.State().Live(), false), OutputBytes(hostLive, false));
  }

  // A clean reconnect reads the same back.
  rig.Controller().ToggleConnection();
  ASSERT_TRUE(rig.ConnectLive());
  EXPECT_EQ(OutputBytes(rig.State().Live()), OutputBytes(hostLive));
  std::size_t faults = 0;
  for (const auto& f : rig.unit->FrameLog()) faults += f.faults.size();
  RecordProperty("reconnects", reconnects);
  RecordProperty("frames", static_cast<int>(rig.unit->FramesReceived()));
  RecordProperty("faults", static_cast<int>(faults));
  // The run must have met the faults it is about.
  EXPECT_GT(faults, 20U);
  EXPECT_GT(reconnects, 0);
}

}  // namespace
}  // namespace vantor::testing
