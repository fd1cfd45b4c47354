#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "LinkTestUtil.h"
#include "base/LittleEndian.h"
#include "link/DeviceEventQueue.h"
#include "link/FrameBuilders.h"
#include "link/KTVCommand.h"
#include "model/DataDefine.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

using test::Ack;
using test::Bytes;
using test::Data;
using test::Ev;
using test::FeedAsReports;
using test::Resend;

class QueueTest : public ::testing::Test {
 protected:
  QueueTest() {
    q.SetEventSink(&sink);
    q.SetProgressDisplay(&progress);
  }
  std::unique_ptr<CSendData> Cmd(int progressIndex = 0) {
    auto c = BuildStatusPoll();
    c->SetProgressIndex(progressIndex);
    return c;
  }
  ProgramState state;
  CKTVCommand q{state};
  test::RecordingSink sink;
  test::RecordingProgress progress;
};

TEST_F(QueueTest, AckPopsTheHeadAndResendRewindsIt) {
  q.Add(Cmd());
  q.Add(BuildSystemRead(144, 0));
  CSendData* head = q.Head();
  Report r;
  ASSERT_TRUE(head->NextReportChunk(r));
  EXPECT_EQ(head->SendCursor(), 24);

  // 0x65: the same command, sent again from its first byte; nothing is re-queued.
  EXPECT_EQ(FeedAsReports(q, Resend()), 1);
  EXPECT_EQ(q.Count(), 2);
  EXPECT_EQ(q.Head(), head);
  EXPECT_EQ(head->SendCursor(), 0);

  EXPECT_EQ(FeedAsReports(q, Ack()), 1);
  EXPECT_EQ(q.Count(), 1);
  EXPECT_EQ(q.Head()->Frame()[8], 144);

  // An answer with nothing in the queue changes nothing and breaks nothing.
  q.PopHead();
  EXPECT_EQ(FeedAsReports(q, Ack()), 1);
  q.PopHead();
  q.RewindHead();
  EXPECT_EQ(q.Count(), 0);
  EXPECT_EQ(q.Head(), nullptr);
}

TEST_F(QueueTest, ABatchMovesTheProgressBarAndEndsWithBatchDone) {
  std::vector<std::unique_ptr<CSendData>> batch;
  for (int i = 0; i <= 8; ++i) batch.push_back(Cmd(i));
  batch.back()->SetBatchEnd(true);
  batch.insert(batch.begin() + 4, nullptr);  // a failed build is skipped, not queued
  q.AddBatch(std::move(batch));
  ASSERT_EQ(q.Count(), 9);

  for (int i = 0; i <= 8; ++i) {
    EXPECT_TRUE(sink.Take().empty()) << "no notice before the last answer";
    FeedAsReports(q, Ack());
  }
  EXPECT_EQ(progress.positions, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_BATCH_DONE, 0, 0)}));
  EXPECT_EQ(q.Count(), 0);
}

TEST_F(QueueTest, ResendStillRunsTheProgressStep) {
  auto c = Cmd(5);
  c->SetNotice(true);
  q.Add(std::move(c));
  FeedAsReports(q, Resend());
  EXPECT_EQ(progress.positions, (std::vector<int>{5}));
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_BATCH_DONE, 0, 1)}));
  EXPECT_EQ(q.Count(), 1);
  FeedAsReports(q, Ack());
  EXPECT_EQ(progress.positions, (std::vector<int>{5, 5}));
  EXPECT_EQ(q.Count(), 0);
}

TEST_F(QueueTest, BusyEndPostsAtOnceWithoutProgress) {
  auto c = Cmd(3);
  c->SetBusyEnd(true);
  c->SetBatchEnd(true);
  q.Add(std::move(c));
  FeedAsReports(q, Ack());
  EXPECT_TRUE(progress.positions.empty());
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_BATCH_DONE, 0, 0)}));
}

TEST_F(QueueTest, StagedCommandsGoToTheStageHandler) {
  std::vector<int> stages;
  q.SetStageProgress([&](CSendData& c) { stages.push_back(c.StageCode()); });
  auto c = Cmd(1);
  c->SetStageCode(178);
  c->SetBatchEnd(true);
  q.Add(std::move(c));
  auto unstaged = Cmd(0);
  unstaged->SetStageCode(176);  // progress index 0: nothing runs
  q.Add(std::move(unstaged));
  FeedAsReports(q, Ack());
  FeedAsReports(q, Ack());
  EXPECT_EQ(stages, (std::vector<int>{178}));
  EXPECT_TRUE(progress.positions.empty());
  EXPECT_TRUE(sink.Take().empty());
}

TEST_F(QueueTest, ClearAllMidTransferDropsCommandsAndThePartialReply) {
  for (int i = 0; i < 5; ++i) q.Add(Cmd(i));
  Report r;
  q.Head()->NextReportChunk(r);
  const Bytes ack = Ack();
  q.Feed(Bytes(ack.begin(), ack.begin() + 12));  // half an answer
  EXPECT_TRUE(q.Receiver().InFrame());
  q.ClearAll();
  EXPECT_EQ(q.Count(), 0);
  EXPECT_FALSE(q.Receiver().InFrame());
  // The rest of the old answer decodes to nothing, and a fresh command works normally.
  EXPECT_FALSE(q.Feed(Bytes(ack.begin() + 12, ack.end())));
  q.Add(Cmd());
  EXPECT_EQ(FeedAsReports(q, Ack()), 1);
  EXPECT_EQ(q.Count(), 0);
}

TEST_F(QueueTest, BadFramesLeaveTheHeadInFlight) {
  q.Add(Cmd());
  Bytes bad = Ack();
  bad[bad.size() - 2] ^= 0xFF;
  EXPECT_EQ(FeedAsReports(q, bad), 0);
  EXPECT_EQ(q.Count(), 1);
  // An unknown reply code is decoded but not acted upon.
  EXPECT_EQ(FeedAsReports(q, test::DeviceFrame(0x70, 0, 0, 0, 0, Bytes(8, 0))), 1);
  EXPECT_EQ(q.Count(), 1);
  // A data reply for a block type the host never asks for: likewise.
  EXPECT_EQ(FeedAsReports(q, Data(0, 7, 0, 0, Bytes(8, 1))), 1);
  EXPECT_EQ(q.Count(), 1);
}

// --- Data replies -------------------------------------------------------------------------

TEST_F(QueueTest, EmptyDataReplyStopsTransfersAndKeepsTheCommand) {
  q.Add(BuildBlockRead(0, 3, 0, true));
  const auto before = state.Live();
  EXPECT_EQ(FeedAsReports(q, Data(0, 3, 0, 0, {})), 1);
  EXPECT_EQ(q.Count(), 1);
  EXPECT_TRUE(state.stopTransfers.load());
  EXPECT_EQ(state.Live(), before);
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_NO_DATA)}));
}

TEST_F(QueueTest, OutputBlocksGoToTheRecordTheRequestNamed) {
  const Bytes block = test::Pattern(296, 11);
  auto bytesAt = [](const rec::StateRecord& r, int channel) {
    return Bytes(r.begin() + static_cast<std::ptrdiff_t>(rec::OutputOffset(channel)),
                 r.begin() + static_cast<std::ptrdiff_t>(rec::OutputOffset(channel) + 296));
  };

  // Slot 3 with the slot-store flag, output 7: stored in slot record 3, nothing notified.
  const auto liveBefore = state.Live();
  q.Add(Cmd());
  FeedAsReports(q, Data(3, 3, 7, 0xAB, block));
  EXPECT_EQ(bytesAt(state.Slot(3), 7), block);
  EXPECT_EQ(state.Live(), liveBefore);
  EXPECT_TRUE(sink.Take().empty());
  EXPECT_EQ(q.Count(), 0);

  // Slot 3 without the flag: the live record, and the read-back of slot 3 is done.
  q.Add(Cmd());
  FeedAsReports(q, Data(3, 3, 7, 0x00, block));
  EXPECT_EQ(bytesAt(state.Live(), 7), block);
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_READBACK_DONE, 3)}));

  // Slot 6 with the flag: all slots read.
  FeedAsReports(q, Data(6, 3, 7, 0xAB, block));
  EXPECT_EQ(bytesAt(state.Slot(6), 7), block);
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_SLOTS_READ_DONE, 6)}));

  // Slot 0 with the flag still means the live record.
  FeedAsReports(q, Data(0, 3, 2, 0xAB, test::Pattern(296, 1)));
  EXPECT_EQ(bytesAt(state.Live(), 2), test::Pattern(296, 1));

  // Music block (index 2) into record byte 296.
  FeedAsReports(q, Data(2, 2, 2, 0xAB, test::Pattern(112, 5)));
  EXPECT_EQ(Bytes(state.Slot(2).begin() + 296, state.Slot(2).begin() + 408), test::Pattern(112, 5));
}

TEST_F(QueueTest, OversizedPayloadsAreCutToTheirDestination) {
  ProgramState reference;
  // 387 bytes for a 296-byte output block: the next output record is not touched.
  FeedAsReports(q, Data(0, 3, 6, 0, Bytes(387, 0xEE)));
  EXPECT_TRUE(
      std::all_of(state.Live().begin() + static_cast<std::ptrdiff_t>(rec::OutputOffset(6)),
                  state.Live().begin() + static_cast<std::ptrdiff_t>(rec::OutputOffset(6) + 296),
                  [](auto b) { return b == 0xEE; }));
  EXPECT_EQ(state.Live()[rec::OutputOffset(6) + 296], reference.Live()[rec::OutputOffset(6) + 296]);
  EXPECT_TRUE(std::equal(
      state.Live().begin() + static_cast<std::ptrdiff_t>(rec::OutputOffset(7)), state.Live().end(),
      reference.Live().begin() + static_cast<std::ptrdiff_t>(rec::OutputOffset(7))));
  // The last output: stops at the end of the record.
  FeedAsReports(q, Data(20, 3, 7, 0xAB, Bytes(387, 0x11)));
  EXPECT_EQ(state.Slot(20)[rec::OutputOffset(7) + 295], 0x11);
  // Indexes and slots the processor does not have store nothing anywhere.
  const auto live = state.Live();
  FeedAsReports(q, Data(0, 3, 8, 0, Bytes(296, 0x22)));
  FeedAsReports(q, Data(0, 1, 200, 0, Bytes(112, 0x22)));
  FeedAsReports(q, Data(0, 2, 0, 0, Bytes(112, 0x22)));
  EXPECT_EQ(state.Live(), live);
  FeedAsReports(q, Data(99, 3, 0, 0xAB, Bytes(296, 0x33)));  // no slot 99: the live record
  EXPECT_EQ(state.Live()[rec::OutputOffset(0)], 0x33);
  // An identity longer than 17 bytes keeps 17, and the byte after them a space.
  FeedAsReports(q, Data(0, 4, 136, 0, test::Text("TRX-620-31EQ-V3.2-and-more")));
  EXPECT_EQ(Bytes(state.Identity().begin(), state.Identity().end()),
            test::Text("TRX-620-31EQ-V3.2 "));
}

TEST_F(QueueTest, EffectRepliesReachImagesSlotsOrTheLiveBlock) {
  const Bytes fx = test::Pattern(96, 17);
  auto image = [&](int n) {
    const auto& im = state.EffectImage(n);
    return Bytes(im.begin() + 16, im.begin() + 112);
  };
  FeedAsReports(q, Data(21, 10, 0, 0xAB, fx));
  EXPECT_EQ(image(0), fx);
  EXPECT_TRUE(sink.Take().empty());
  FeedAsReports(q, Data(40, 10, 0, 0xAB, fx));
  EXPECT_EQ(image(19), fx);
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_AUX_SLOT_READ)}));
  FeedAsReports(q, Data(4, 10, 0, 0xAB, fx));
  EXPECT_EQ(Bytes(state.Slot(4).begin() + 32, state.Slot(4).begin() + 128), fx);
  FeedAsReports(q, Data(25, 10, 0, 0x00, test::Pattern(96, 2)));
  EXPECT_EQ(Bytes(state.Live().begin() + 32, state.Live().begin() + 128), test::Pattern(96, 2));
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_AUX_READ, 25)}));
  // An image reply longer than the effect block does not spill into the image's tail.
  FeedAsReports(q, Data(22, 10, 0, 0xAB, Bytes(200, 0x5A)));
  EXPECT_EQ(state.EffectImage(1)[112], 0);
}

TEST_F(QueueTest, SystemItemRepliesFillTheirBlocks) {
  FeedAsReports(q, Data(0, 4, 144, 0, {3, 0, 50, 0, 0, 1, 2, 0}));
  EXPECT_EQ(state.SystemBlock()[0], 3);
  EXPECT_EQ(le::GetI16(state.SystemBlock(), 2), 50);
  FeedAsReports(q, Data(0, 4, 145, 0, Bytes(12, 4)));
  EXPECT_EQ(Bytes(state.SpeakerTypes().begin(), state.SpeakerTypes().end()), Bytes(12, 4));
  FeedAsReports(q, Data(0, 4, 146, 0, Bytes(20, 9)));  // too long: cut to the block
  EXPECT_EQ(Bytes(state.HiddenLevels().begin(), state.HiddenLevels().end()), Bytes(8, 9));
  EXPECT_EQ(state.SystemArea()[0], 3) << "the neighbouring system block is untouched";
  EXPECT_TRUE(sink.Take().empty());
  FeedAsReports(q, Data(0, 4, 64, 0, {1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(state.LimiterBlock()[2], 3);
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_SYS64_READ)}));

  // A short identity does not keep the tail of an earlier one.
  FeedAsReports(q, Data(0, 4, 136, 0, test::Text("TRX-620-31EQ-V3.2")));
  FeedAsReports(q, Data(0, 4, 136, 0, test::Text("TRX")));
  EXPECT_EQ(Bytes(state.Identity().begin(), state.Identity().end()),
            test::Text("TRX               "));
  EXPECT_EQ(sink.Take(),
            (std::vector{Ev(DeviceEvent::WM_DEV_IDENTITY), Ev(DeviceEvent::WM_DEV_IDENTITY)}));
}

TEST_F(QueueTest, StatusAnswerReportsASourceChange) {
  Bytes status(12, 0);
  status[11] = 0;
  FeedAsReports(q, Data(0, 4, 3, 0, status));
  EXPECT_TRUE(sink.Take().empty());
  status[11] = 4;
  FeedAsReports(q, Data(0, 4, 3, 0, status));
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_SOURCE_CHANGED, 4)}));
  state.lastReportedSource = 4;  // the view took it
  FeedAsReports(q, Data(0, 4, 3, 0, status));
  EXPECT_TRUE(sink.Take().empty());
  // Too short to carry a source: ignored.
  FeedAsReports(q, Data(0, 4, 3, 0, Bytes(11, 1)));
  EXPECT_TRUE(sink.Take().empty());
}

TEST_F(QueueTest, ProgramNamesKeepThirteenCharactersAndTwoSpaces) {
  FeedAsReports(q, Data(2, 4, 134, 0, test::Text("ABCDEFGHIJKLMNO")));
  const auto& slot2 = state.Slot(2);
  EXPECT_EQ(Bytes(slot2.begin(), slot2.begin() + 16),
            test::Text(std::string("ABCDEFGHIJKLM  ") + '\0'));
  FeedAsReports(q, Data(0, 4, 134, 0, test::Text("A much longer")));
  FeedAsReports(q, Data(0, 4, 134, 0, test::Text("Live")));
  EXPECT_EQ(Bytes(state.Live().begin(), state.Live().begin() + 16),
            (Bytes{'L', 'i', 'v', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, ' ', ' ', 0}));
  EXPECT_EQ(sink.Take(),
            (std::vector{Ev(DeviceEvent::WM_DEV_SLOT_NAME, 2), Ev(DeviceEvent::WM_DEV_SLOT_NAME, 0),
                         Ev(DeviceEvent::WM_DEV_SLOT_NAME, 0)}));
  // Slots without a record store nothing.
  FeedAsReports(q, Data(30, 4, 134, 0, test::Text("XXXXXXXXXXXXXXX")));
  EXPECT_TRUE(sink.Take().empty());
}

// The worker decodes a name reply while holding the queue lock and the user-interface
// thread is waiting for that lock. The notice must not wait for the user interface: Feed
// returns, the lock is released, and the user-interface thread then finds the name stored.
TEST(SlotNameNotice, CannotDeadlockWithAUserInterfaceWaitingForTheLock) {
  ProgramState state;
  CKTVCommand q(state);

  // A user-interface thread with a mailbox, like the Qt view's event loop.
  class UiSink : public DeviceEventSink {
   public:
    explicit UiSink(ProgramState& s) : m_state(s) {}
    void Post(const DeviceEventMessage& m) override {
      // By the time the notice is raised, the name is stored.
      nameStoredWhenRaised = m_state.Slot(1)[0] == 'N';
      mailbox.Post(m);
    }
    ProgramState& m_state;
    std::atomic<bool> nameStoredWhenRaised{false};
    DeviceEventQueue mailbox;
  } ui(state);
  q.SetEventSink(&ui);
  q.Add(BuildSystemRead(134, 1));

  std::promise<void> workerHasLock;
  std::promise<void> uiIsWaiting;
  auto worker = std::async(std::launch::async, [&] {
    std::lock_guard lock(q.QueueLock());
    workerHasLock.set_value();
    uiIsWaiting.get_future().wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the UI is blocked in lock()
    return FeedAsReports(q, Data(1, 4, 134, 0, test::Text("NAME-ONE-ABCDEF")));
  });
  workerHasLock.get_future().wait();
  auto uiThread = std::async(std::launch::async, [&] {
    uiIsWaiting.set_value();
    std::lock_guard lock(q.QueueLock());  // e.g. a producer queuing an edit
    auto m = ui.mailbox.WaitTake(std::chrono::seconds(5));
    return m && m->id == DeviceEvent::WM_DEV_SLOT_NAME && state.Slot(1)[0] == 'N';
  });

  ASSERT_EQ(worker.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "deadlock";
  ASSERT_EQ(uiThread.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "deadlock";
  EXPECT_EQ(worker.get(), 1);
  EXPECT_TRUE(uiThread.get());
  EXPECT_TRUE(ui.nameStoredWhenRaised.load());
  EXPECT_EQ(q.Count(), 0);
}

}  // namespace
}  // namespace vantor
