#include <gtest/gtest.h>

#include "LinkTestUtil.h"
#include "link/CommandSequences.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

using test::Bytes;
using test::Ev;

struct Cmd {
  int cls, slot, type, index, item, link, length, progress;
  bool batchEnd, notice, busyEnd;
  Bytes payload;
};

class SequenceTest : public ::testing::Test {
 protected:
  SequenceTest() {
    model.LoadOutputs();
    state.connected = true;
    queue.SetEventSink(&sink);
    queue.SetProgressDisplay(&progress);
  }

  // Everything queued, oldest first; the queue is emptied.
  std::vector<Cmd> Drain() {
    std::vector<Cmd> out;
    while (CSendData* c = queue.Head()) {
      auto f = c->Frame();
      out.push_back(Cmd{f[4], f[6], f[7], f[8], f[9], f[10], c->Length(), c->ProgressIndex(),
                        c->BatchEnd(), c->Notice(), c->BusyEnd(),
                        Bytes(f.begin() + 14, f.end() - 2)});
      queue.PopHead();
    }
    return out;
  }

  // Answers queued commands the way the processor does: writes with 0x64, reads with a
  // data reply that repeats bytes 6..9 and carries the block's size.
  void Answer() {
    while (CSendData* c = queue.Head()) {
      auto f = c->Frame();
      if (f[4] == 0xB3) {
        test::FeedAsReports(queue, test::Ack());
        continue;
      }
      std::size_t n = 8;
      if (f[7] == 2) n = 112;
      if (f[7] == 3) n = 296;
      if (f[7] == 4) n = f[8] == 136 ? 17 : f[8] == 145 ? 12 : f[8] == 134 ? 15 : 8;
      test::FeedAsReports(queue, test::Data(f[6], f[7], f[8], f[9], test::Pattern(n, f[8])));
    }
  }

  ProgramState state;
  CKTV_Data model{state};
  CKTVCommand queue{state};
  CommandSequences seq{model, queue};
  test::RecordingSink sink;
  test::RecordingProgress progress;
};

TEST_F(SequenceTest, RewriteOfALinkedOutputSilencesItAroundTheBlock) {
  model.Links().SetGroup(5, 2);
  state.liveSync = true;
  model.Output(2).SetDelayCode(480);
  model.Output(2).SetChange(OutputChange::Settings, false);

  ASSERT_TRUE(seq.RewriteOutput(2).Queued());
  const auto cmds = Drain();
  ASSERT_EQ(cmds.size(), 3u);
  EXPECT_EQ(cmds[0].item, 31);
  EXPECT_EQ(cmds[0].length, 24);
  EXPECT_EQ(cmds[0].payload[0], 0) << "output off first";
  EXPECT_EQ(cmds[0].link, 0);
  EXPECT_EQ(cmds[1].length, 312);
  EXPECT_EQ(cmds[1].index, 2);
  EXPECT_EQ(cmds[1].link, 1);
  EXPECT_EQ(cmds[1].payload[248], 0) << "the block goes out silent too";
  EXPECT_EQ(cmds[1].payload[252] | (cmds[1].payload[253] << 8), 480);
  EXPECT_EQ(cmds[2].item, 31);
  EXPECT_EQ(cmds[2].payload[0], 1) << "and on again";
  // The object is as it was and nothing is left pending.
  EXPECT_EQ(model.Output(2).OutputOn(), 1);
  EXPECT_FALSE(model.Output(2).Changed(OutputChange::Settings));
  EXPECT_EQ(state.Live()[rec::OutputOffset(2) + rec::kOutOn], 1);

  // The output that ends a linked batch carries the busy end.
  state.busy = false;
  ASSERT_TRUE(seq.RewriteOutput(5, true).Queued());
  const auto linked = Drain();
  EXPECT_TRUE(linked[1].busyEnd);
  EXPECT_FALSE(linked[2].busyEnd);
  EXPECT_TRUE(state.busy.load());
}

TEST_F(SequenceTest, NothingIsQueuedWithoutADevice) {
  state.connected = false;
  const auto live = state.Live();
  EXPECT_EQ(seq.RewriteOutput(0).status, SequenceStatus::kNotConnected);
  EXPECT_EQ(seq.WriteOutput(0).status, SequenceStatus::kNotConnected);
  EXPECT_EQ(seq.WriteProgram(1, false).status, SequenceStatus::kNotConnected);
  EXPECT_EQ(seq.WriteDevice().status, SequenceStatus::kNotConnected);
  EXPECT_EQ(seq.ReadAllSlots().status, SequenceStatus::kNotConnected);
  EXPECT_EQ(seq.QueueInfoReads().status, SequenceStatus::kNotConnected);
  EXPECT_EQ(seq.SendSystemItem(134, 2).status, SequenceStatus::kNotConnected);
  state.liveSync = true;
  EXPECT_EQ(seq.ReadProgram(2, true).status, SequenceStatus::kNotConnected);
  EXPECT_FALSE(state.liveSync.load()) << "a recall clears live-sync even without a device";
  EXPECT_EQ(seq.SelectInputSource(3), RoutingResult::Stored);
  EXPECT_EQ(queue.Count(), 0);
  EXPECT_EQ(state.Live(), live);
  EXPECT_FALSE(state.busy.load());
  EXPECT_TRUE(progress.ranges.empty());
}

TEST_F(SequenceTest, BadArgumentsQueueNothing) {
  EXPECT_EQ(seq.RewriteOutput(8).status, SequenceStatus::kRefused);
  EXPECT_EQ(seq.WriteProgram(21, true).status, SequenceStatus::kRefused);
  EXPECT_EQ(seq.ReadProgram(-1, true).status, SequenceStatus::kRefused);
  EXPECT_EQ(seq.SendSystemItem(99, 0).status, SequenceStatus::kRefused);
  EXPECT_EQ(queue.Count(), 0);
}

TEST_F(SequenceTest, StoreFromThePanels) {
  state.Live()[rec::kMusicOnFlag] = 0;
  model.Output(3).SetGainCode(12);  // not live: only Store brings it into the record
  const SequenceResult r = seq.WriteProgram(4, true);
  ASSERT_TRUE(r.Queued());
  EXPECT_EQ(r.commands, 10);
  EXPECT_EQ(r.counter, 9);
  const auto cmds = Drain();
  ASSERT_EQ(cmds.size(), 10u);
  EXPECT_EQ(cmds[0].index, 134);
  EXPECT_EQ(cmds[1].type, 2);
  EXPECT_EQ(cmds[1].payload[75], 1) << "music on in a stored program";
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(cmds[static_cast<std::size_t>(i)].slot, 4);
    EXPECT_EQ(cmds[static_cast<std::size_t>(i)].progress, i);
    EXPECT_EQ(cmds[static_cast<std::size_t>(i)].notice, i == 9);
  }
  EXPECT_EQ(cmds[5].payload[250], 12);
  EXPECT_EQ(progress.ranges, (std::vector<std::pair<int, int>>{{0, 9}}));
  EXPECT_TRUE(state.busy.load());
}

TEST_F(SequenceTest, StoreAfterAFileLoadSilencesTheOutputs) {
  state.Live()[rec::OutputOffset(6) + rec::kOutOn] = 0;
  const SequenceResult r = seq.WriteProgram(2, false);
  ASSERT_TRUE(r.Queued());
  EXPECT_EQ(r.counter, 25);
  const auto cmds = Drain();
  ASSERT_EQ(cmds.size(), 26u);
  for (int c = 0; c < 8; ++c) {
    const auto& off = cmds[static_cast<std::size_t>(c)];
    const auto& back = cmds[static_cast<std::size_t>(18 + c)];
    EXPECT_EQ(off.item, 31);
    EXPECT_EQ(off.slot, 0);
    EXPECT_EQ(off.index, c);
    EXPECT_EQ(off.payload[0], 0);
    // The stored program keeps its switches; only the device's live outputs went silent.
    EXPECT_EQ(cmds[static_cast<std::size_t>(10 + c)].payload[248], c == 6 ? 0 : 1);
    EXPECT_EQ(back.index, c);
    EXPECT_EQ(back.payload[0], c == 6 ? 0 : 1);
  }
  EXPECT_EQ(cmds[8].index, 134);
  EXPECT_EQ(cmds.back().progress, 25);
  EXPECT_TRUE(cmds.back().notice);
  EXPECT_EQ(state.Live()[rec::OutputOffset(0) + rec::kOutOn], 1);

  // Into the live program the blocks go out silent; the closing item 31 writes restore.
  ASSERT_TRUE(seq.WriteProgram(0, false).Queued());
  const auto live = Drain();
  ASSERT_EQ(live.size(), 26u);
  EXPECT_EQ(live[10].payload[248], 0);
  EXPECT_EQ(live[18].payload[0], 1);
}

TEST_F(SequenceTest, WholeDeviceWrite) {
  state.Slot(3)[rec::OutputOffset(1) + 10] = 0x5C;
  const SequenceResult r = seq.WriteDevice();
  ASSERT_TRUE(r.Queued());
  EXPECT_EQ(r.counter, 84);
  const auto cmds = Drain();
  ASSERT_EQ(cmds.size(), 86u);
  EXPECT_EQ(cmds[8].type, 2);
  EXPECT_EQ(cmds[8].slot, 0);
  EXPECT_EQ(cmds[17].type, 4);
  EXPECT_EQ(cmds[17].index, 64);
  EXPECT_EQ(cmds[17].progress, 0);
  EXPECT_EQ(cmds[18].progress, 17);
  EXPECT_EQ(cmds[18].item, 31);
  // Slot 3: name, music, outputs from slot record 3.
  const auto& slot3 = cmds[26 + 2 * 10];
  EXPECT_EQ(slot3.index, 134);
  EXPECT_EQ(slot3.slot, 3);
  EXPECT_EQ(cmds[26 + 2 * 10 + 3].payload[10], 0x5C);
  EXPECT_EQ(cmds.back().slot, 6);
  EXPECT_EQ(cmds.back().index, 7);
  EXPECT_EQ(cmds.back().progress, 84);
  EXPECT_TRUE(cmds.back().notice);
  int notices = 0;
  for (const auto& c : cmds) notices += c.notice ? 1 : 0;
  EXPECT_EQ(notices, 1);
}

TEST_F(SequenceTest, ReadsAndTheirProgressIndexes) {
  SequenceResult r = seq.QueueInfoReads();
  EXPECT_EQ(r.counter, 9);
  r = seq.ReadProgram(0, true, r.counter);
  EXPECT_EQ(r.counter, 17);
  auto cmds = Drain();
  ASSERT_EQ(cmds.size(), 18u);
  std::vector<int> idx;
  for (const auto& c : cmds) idx.push_back(c.progress);
  EXPECT_EQ(idx, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
  EXPECT_EQ(cmds[0].index, 144);
  EXPECT_EQ(cmds[1].index, 146);
  EXPECT_EQ(cmds[2].index, 145);
  EXPECT_EQ(cmds[3].slot, 1);
  EXPECT_EQ(cmds[8].slot, 6);
  EXPECT_TRUE(cmds.back().batchEnd);
  EXPECT_EQ(progress.ranges, (std::vector<std::pair<int, int>>{{0, 17}}));

  // Recall of slot 3: into the live record, no slot-store flag.
  ASSERT_TRUE(seq.ReadProgram(3, true).Queued());
  cmds = Drain();
  ASSERT_EQ(cmds.size(), 9u);
  for (const auto& c : cmds) {
    EXPECT_EQ(c.cls, 0xB4);
    EXPECT_EQ(c.slot, 3);
    EXPECT_EQ(c.item, 0);
  }
  EXPECT_EQ(cmds.back().progress, 8);

  // Read all: 54 with the flag, counted to the end.
  r = seq.ReadAllSlots();
  EXPECT_EQ(r.counter, 54);
  cmds = Drain();
  ASSERT_EQ(cmds.size(), 54u);
  for (const auto& c : cmds) EXPECT_EQ(c.item, 0xAB);
  EXPECT_EQ(cmds.back().slot, 6);
  EXPECT_EQ(cmds.back().index, 7);
  EXPECT_EQ(cmds.back().progress, 53);
  EXPECT_TRUE(cmds.back().batchEnd);
}

TEST_F(SequenceTest, RoutingEditsQueueTheirSystemItemWhenConnected) {
  EXPECT_EQ(seq.SelectInputSource(2), RoutingResult::QueueSystem);
  EXPECT_EQ(seq.SetSpeakerType(4, 20), RoutingResult::QueueSystem);
  EXPECT_EQ(seq.SetSpeakerType(4, 99), RoutingResult::Refused);
  const auto cmds = Drain();
  ASSERT_EQ(cmds.size(), 2u);
  EXPECT_EQ(cmds[0].index, 144);
  EXPECT_EQ(cmds[0].payload[0], 2);
  EXPECT_EQ(cmds[1].index, 145);
  EXPECT_EQ(cmds[1].payload[4], 20);
}

TEST_F(SequenceTest, AConnectReadBackEndsWithBatchDoneThenReadBackDone) {
  ASSERT_TRUE(seq.QueueIdentityRead().Queued());
  Answer();
  EXPECT_EQ(sink.Take(), (std::vector{Ev(DeviceEvent::WM_DEV_IDENTITY)}));

  const int counter = seq.QueueInfoReads().counter;
  seq.ReadProgram(0, true, counter);
  Answer();
  // Reset to 0 when the read-back is queued, then one step per answer after the first.
  EXPECT_EQ(progress.positions,
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
  const auto events = sink.Take();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2], Ev(DeviceEvent::WM_DEV_BATCH_DONE, 0, 0));
  EXPECT_EQ(events.back(), Ev(DeviceEvent::WM_DEV_READBACK_DONE, 0));
  EXPECT_EQ(std::count(events.begin(), events.end(), Ev(DeviceEvent::WM_DEV_SLOT_NAME, 3)), 1);
  // The answers landed: slot 3's name and output 7 of the live record.
  EXPECT_EQ(state.Slot(3)[13], ' ');
  EXPECT_EQ(state.Live()[rec::OutputOffset(7)], test::Pattern(296, 7)[0]);

  // Reading everything back into the slot records ends with all-slots-read.
  seq.ReadAllSlots();
  Answer();
  const auto all = sink.Take();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0], Ev(DeviceEvent::WM_DEV_BATCH_DONE, 0, 0));
  EXPECT_EQ(all[1], Ev(DeviceEvent::WM_DEV_SLOTS_READ_DONE, 6));
  EXPECT_EQ(state.Slot(5)[rec::OutputOffset(2)], test::Pattern(296, 2)[0]);
}

}  // namespace
}  // namespace vantor

namespace vantor {
namespace {

TEST_F(SequenceTest, APresetTransferIsFollowedUntilItsLastAnswer) {
  // Something queued before the transfer is answered first and does not count for it.
  ASSERT_TRUE(seq.SendSystemItem(rec::kSysItemProgramName, 0).Queued());
  EXPECT_FALSE(seq.CurrentTransfer()) << "a single item is no transfer";
  ASSERT_TRUE(seq.WriteProgram(0, false).Queued());
  auto t = seq.CurrentTransfer();
  ASSERT_TRUE(t);
  EXPECT_EQ(t->operation, TextId::TransferOpPush);
  EXPECT_TRUE(t->writes);
  EXPECT_EQ(t->commands, 26);
  EXPECT_EQ(t->answered, 0);

  test::FeedAsReports(queue, test::Ack());  // the item before the transfer
  EXPECT_EQ(seq.CurrentTransfer()->answered, 0);
  for (int i = 0; i < 7; ++i) test::FeedAsReports(queue, test::Ack());
  test::FeedAsReports(queue, test::Resend());  // asked again: not answered yet
  EXPECT_EQ(seq.CurrentTransfer()->answered, 7);
  EXPECT_EQ(DescribeBrokenTransfer(*seq.CurrentTransfer(), false),
            "Sending the preset file stopped at command 8 of 26.\n"
            "The processor may now hold a mix of old and new settings, and some outputs may be "
            "silent.\n"
            "Connect the device again and do it once more.");

  Answer();
  EXPECT_FALSE(seq.CurrentTransfer()) << "every command answered";

  ASSERT_TRUE(seq.ReadAllSlots().Queued());
  t = seq.CurrentTransfer();
  ASSERT_TRUE(t);
  EXPECT_EQ(t->operation, TextId::TransferOpReadAll);
  EXPECT_FALSE(t->writes);
  EXPECT_EQ(t->commands, 54);
  EXPECT_EQ(DescribeBrokenTransfer(*t, true),
            "读取全部音效在第 1 条命令处中断（共 54 "
            "条）。\n处理器上的设置没有改变；请重新连接设备后再试。");
  seq.ForgetTransfer();
  EXPECT_FALSE(seq.CurrentTransfer());

  ASSERT_TRUE(seq.ReadProgram(0, true).Queued());
  EXPECT_FALSE(seq.CurrentTransfer()) << "the read-back of a connection is part of connecting";
  ASSERT_TRUE(seq.ReadProgram(3, true).Queued());
  EXPECT_EQ(seq.CurrentTransfer()->operation, TextId::TransferOpRecall);
}

TEST_F(SequenceTest, ResendsOfTheHeadAreCountedUntilItIsAnswered) {
  ASSERT_TRUE(seq.SendSystemItem(rec::kSysItemProgramName, 0).Queued());
  for (int i = 0; i < 3; ++i) test::FeedAsReports(queue, test::Resend());
  EXPECT_EQ(queue.HeadResends(), 3);
  test::FeedAsReports(queue, test::Ack());
  EXPECT_EQ(queue.HeadResends(), 0);
  EXPECT_EQ(queue.Count(), 0);
}

}  // namespace
}  // namespace vantor
