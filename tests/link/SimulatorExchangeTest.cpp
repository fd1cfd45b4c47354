// The host's frames and receiver against the simulated processor, whose frame handling was
// written separately: what one side writes, the other must read the same way.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "LinkTestUtil.h"
#include "link/CommandSequences.h"
#include "link/FrameBuilders.h"
#include "model/ProgramState.h"
#include "sim/SimulatedProcessor.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;
using sim::SimFault;
using sim::SimulatedProcessor;

class SimExchange : public ::testing::Test {
 protected:
  SimExchange() {
    sim::SimOptions options;
    options.timing = sim::SimTiming::Instant();
    unit = SimulatedProcessor::Create(options);
    unit->Plug();
    device = unit->Open();
    model.LoadOutputs();
    state.connected = true;
    queue.SetEventSink(&sink);
  }

  // One exchange as the transport will do it: the head's reports out, reports in until
  // the receiver has an answer. False when no answer came.
  bool Exchange() {
    std::lock_guard lock(queue.QueueLock());
    CSendData* head = queue.Head();
    if (!head) return false;
    Report out;
    while (head->NextReportChunk(out)) {
      if (!device->WriteReport(out, 50ms)) return false;
    }
    for (int i = 0; i < 20; ++i) {
      Report in;
      if (device->ReadReport(in, 50ms) != HidReadResult::kOk) return false;
      if (queue.Feed(std::span(in).subspan(1))) return true;
    }
    return false;
  }

  // Exchanges until the queue is empty; the number of exchanges that got no answer.
  int Drain(int limit = 500) {
    int unanswered = 0;
    while (queue.Count() > 0 && limit-- > 0) {
      if (!Exchange()) {
        ++unanswered;
        queue.RewindHead();  // the transport's timeout would end here; resend for the test
        queue.ResetReceiver();
      }
    }
    return unanswered;
  }

  std::shared_ptr<SimulatedProcessor> unit;
  std::unique_ptr<HidDevice> device;
  ProgramState state;
  CKTV_Data model{state};
  CKTVCommand queue{state};
  CommandSequences seq{model, queue};
  test::RecordingSink sink;
};

TEST_F(SimExchange, IdentityAndInformationReads) {
  ASSERT_TRUE(seq.QueueIdentityRead().Queued());
  EXPECT_EQ(Drain(), 0);
  EXPECT_EQ(std::string(state.Identity().begin(), state.Identity().end()), "TRX-620-31EQ-V3.2 ");

  unit->Modify([](ProgramState& s) {
    s.SpeakerTypes()[3] = 26;
    const std::string name = "Road trip";
    std::copy(name.begin(), name.end(), s.Slot(4).begin());
  });
  seq.QueueInfoReads();
  EXPECT_EQ(Drain(), 0);
  EXPECT_EQ(state.SpeakerTypes()[3], 26);
  EXPECT_EQ(std::string(state.Slot(4).begin(), state.Slot(4).begin() + 9), "Road trip");
}

TEST_F(SimExchange, AProgramStoredIntoASlotReadsBackTheSame) {
  // A live program unlike the unit's factory one.
  for (std::size_t i = rec::kMusicBlock; i < rec::kStateRecordSize; ++i) {
    state.Live()[i] = static_cast<std::uint8_t>(i * 31 + 7);
  }
  const std::string name = "Evening";
  std::fill_n(state.Live().begin(), 16, std::uint8_t{0});
  std::copy(name.begin(), name.end(), state.Live().begin());
  const auto live = state.Live();

  ASSERT_TRUE(seq.WriteProgram(2, false).Queued());
  EXPECT_EQ(Drain(), 0);
  EXPECT_EQ(state.Live(), [&] {
    auto expected = live;
    expected[rec::kMusicOnFlag] = 1;  // a stored program has its music input on
    return expected;
  }());

  ASSERT_TRUE(seq.ReadProgram(2, false).Queued());
  EXPECT_EQ(Drain(), 0);
  const auto& slot = state.Slot(2);
  EXPECT_TRUE(std::equal(slot.begin() + rec::kMusicBlock, slot.begin() + rec::kMusicBlock + 112,
                         state.Live().begin() + rec::kMusicBlock));
  for (int c = 0; c < rec::kOutputCount; ++c) {
    const auto at = static_cast<std::ptrdiff_t>(rec::OutputOffset(c));
    EXPECT_TRUE(std::equal(slot.begin() + at, slot.begin() + at + 296, state.Live().begin() + at))
        << "output " << c;
  }
  const auto events = sink.Take();
  EXPECT_NE(std::find(events.begin(), events.end(), test::Ev(DeviceEvent::WM_DEV_BATCH_DONE, 0, 1)),
            events.end());
}

TEST_F(SimExchange, FaultsOnTheWireAreSurvived) {
  // Noise with preamble-like runs, but no false start (one would swallow the answer: a
  // frame that fails its checks is dropped with the rest of its report).
  unit->InjectFault(SimFault::GarbageBefore(
      {0x00, 0xA2, 0xA2, 0xA2, 0xA2, 0xA3, 0x13, 0xA2, 0xA2, 0x55, 0xA3, 0x01}, 1));
  unit->InjectFault(SimFault::Resend(2));
  unit->InjectFault(SimFault::CorruptChecksum(3));
  for (int c = 0; c < rec::kOutputCount; ++c) queue.Add(BuildBlockRead(0, 3, c, true));
  const int unanswered = Drain();
  EXPECT_EQ(unanswered, 1) << "only the corrupted answer is lost";
  EXPECT_EQ(queue.Count(), 0);
  const auto events = sink.Take();
  EXPECT_EQ(events.back(), test::Ev(DeviceEvent::WM_DEV_READBACK_DONE, 0));
}

TEST_F(SimExchange, AnEmptyDataReplyStopsTransfers) {
  unit->InjectFault(SimFault::EmptyData());
  queue.Add(BuildBlockRead(0, 3, 0, true));
  EXPECT_TRUE(Exchange());
  EXPECT_TRUE(state.stopTransfers.load());
  EXPECT_EQ(queue.Count(), 1);
  EXPECT_EQ(sink.Take(), (std::vector{test::Ev(DeviceEvent::WM_DEV_NO_DATA)}));
}

TEST_F(SimExchange, TheStatusPollFollowsTheUnitsSource) {
  unit->SetInputSource(3);
  queue.Add(BuildStatusPoll());
  EXPECT_TRUE(Exchange());
  EXPECT_EQ(sink.Take(), (std::vector{test::Ev(DeviceEvent::WM_DEV_SOURCE_CHANGED, 3)}));
}

}  // namespace
}  // namespace vantor
