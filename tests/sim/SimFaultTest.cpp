// Every fault the unit can commit, each on request, and the seeded random faults.
#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "sim/SimulatedProcessor.h"

namespace {

using namespace simtest;
using vantor::HidReadResult;
using vantor::Report;
using vantor::sim::SimFault;
using vantor::sim::SimFaultKind;
using vantor::sim::SimFaultRates;
using vantor::sim::SimFrameFate;
using vantor::sim::SimulatedProcessor;

class SimFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    unit->Plug();
    device = unit->Open();
    ASSERT_TRUE(device);
  }

  bool NothingToRead() {
    Report r{};
    return device->ReadReport(r, 0ms) == HidReadResult::kTimeout;
  }

  const Bytes kIdentity = ReadRequest(0, 4, 136);
  const Bytes kWrite = HostFrame(0xB3, 0, 3, 0, 31, 0, Bytes(8, 0x42));

  std::shared_ptr<SimulatedProcessor> unit = SimulatedProcessor::Create(InstantOptions());
  std::unique_ptr<vantor::HidDevice> device;
};

TEST_F(SimFaults, DropReplyStoresTheWriteButAnswersNothing) {
  unit->InjectFault(SimFault::DropReply());
  Send(*device, kWrite);
  EXPECT_TRUE(NothingToRead());
  EXPECT_EQ(unit->Record(0)[vantor::rec::OutputOffset(0) + 248], 0x42);
  const auto log = unit->FrameLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].fate, SimFrameFate::kStored);
  EXPECT_FALSE(log[0].reply.has_value());
  EXPECT_EQ(log[0].faults, std::vector{SimFaultKind::kDropReply});
  // One-shot: the next frame is answered.
  EXPECT_TRUE(Exchange(*device, kIdentity).has_value());
}

TEST_F(SimFaults, CorruptChecksumSpoilsOnlyTheChecksumByte) {
  unit->InjectFault(SimFault::CorruptChecksum());
  auto bad = Exchange(*device, kIdentity);
  ASSERT_TRUE(bad);
  EXPECT_FALSE(bad->ChecksumOk());
  auto good = Exchange(*device, kIdentity);
  ASSERT_TRUE(good);
  EXPECT_TRUE(good->ChecksumOk());
  Bytes repaired = bad->frame;
  repaired[repaired.size() - 2] = good->frame[good->frame.size() - 2];
  EXPECT_EQ(repaired, good->frame);
}

TEST_F(SimFaults, ResendAnswers0x65AndDoesNotActOnTheFrame) {
  unit->InjectFault(SimFault::Resend());
  auto a = Exchange(*device, kWrite);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Code(), 0x65);
  EXPECT_EQ(a->Address(), Hex("00 03 00 1F"));
  EXPECT_NE(unit->Record(0)[vantor::rec::OutputOffset(0) + 248], 0x42);
  EXPECT_EQ(unit->FrameLog()[0].fate, SimFrameFate::kRefused);
  // Sent again in full, it is taken.
  EXPECT_EQ(Exchange(*device, kWrite)->Code(), 0x64);
  EXPECT_EQ(unit->Record(0)[vantor::rec::OutputOffset(0) + 248], 0x42);
}

TEST_F(SimFaults, SplitReplyStartsANewReportAtTheGivenByte) {
  unit->InjectFault(SimFault::SplitReply(10));
  Send(*device, kIdentity);
  Report first{}, second{};
  ASSERT_EQ(device->ReadReport(first, 100ms), HidReadResult::kOk);
  ASSERT_EQ(device->ReadReport(second, 100ms), HidReadResult::kOk);
  EXPECT_TRUE(NothingToRead());
  // Zero fill, then the first 10 frame bytes ending the report; the rest (23 bytes) in the
  // second report, so the stream runs on without a gap.
  EXPECT_TRUE(std::all_of(first.begin() + 1, first.begin() + 55, [](auto b) { return b == 0; }));
  EXPECT_EQ(Bytes(first.begin() + 55, first.begin() + 59), Hex("A2 A2 A2 A3"));
  EXPECT_EQ(second[1], 0x00) << "byte 10 of the frame is the link byte";
  EXPECT_EQ(second[23], 0xAA);

  // Joined again, it is the unsplit answer.
  Bytes joined(first.begin() + 55, first.end());
  joined.insert(joined.end(), second.begin() + 1, second.begin() + 24);
  EXPECT_EQ(joined, Exchange(*device, kIdentity)->frame);
}

TEST_F(SimFaults, SplitBeyondTheEndStillSplitsBeforeTheLastByte) {
  unit->InjectFault(SimFault::SplitReply(500));
  Send(*device, kWrite);  // a 16-byte acknowledgement
  Report first{}, second{};
  ASSERT_EQ(device->ReadReport(first, 100ms), HidReadResult::kOk);
  ASSERT_EQ(device->ReadReport(second, 100ms), HidReadResult::kOk);
  EXPECT_EQ(first[64], 0x79) << "checksum of 64 01 00 03 00 1F 00 00 00 00, ending the report";
  EXPECT_EQ(second[1], 0xAA);
}

TEST_F(SimFaults, EmptyDataAnswersTheNextReadWithLengthZero) {
  unit->InjectFault(SimFault::EmptyData());
  EXPECT_EQ(Exchange(*device, kWrite)->Code(), 0x64) << "writes are not affected";
  auto a = Exchange(*device, ReadRequest(2, 3, 5, 0xAB));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Code(), 0x66);
  EXPECT_EQ(a->Length(), 0u);
  EXPECT_EQ(a->Address(), Hex("02 03 05 AB"));
  EXPECT_TRUE(a->ChecksumOk());
  EXPECT_EQ(Exchange(*device, ReadRequest(2, 3, 5))->Length(), 296u);
}

TEST_F(SimFaults, GarbageBeforeAFrameNeverLooksLikeAFrameStart) {
  unit->InjectFault(SimFault::GarbageBefore(150));
  auto a = Exchange(*device, kIdentity);
  ASSERT_TRUE(a);
  ASSERT_EQ(a->before.size(), 150u);
  EXPECT_EQ(std::count(a->before.begin(), a->before.end(), 0xA2), 0);
  EXPECT_EQ(std::count(a->before.begin(), a->before.end(), 0xEE), 0);
  EXPECT_TRUE(a->ChecksumOk());
  EXPECT_EQ(a->reports, 3);  // 150 + 33 bytes

  unit->InjectFault(SimFault::GarbageBefore(Hex("A2 A2 A2 A2")));
  auto b = Exchange(*device, kIdentity);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->before, Hex("A2 A2 A2 A2"));
}

TEST_F(SimFaults, StopAnsweringLastsUntilResumed) {
  unit->InjectFault(SimFault::StopAnswering(2));
  EXPECT_TRUE(Exchange(*device, kIdentity).has_value());
  Send(*device, kWrite);
  Send(*device, kIdentity);
  EXPECT_TRUE(NothingToRead());
  EXPECT_FALSE(unit->IsAnswering());
  EXPECT_NE(unit->Record(0)[vantor::rec::OutputOffset(0) + 248], 0x42) << "not acted upon";

  unit->SetAnswering(true);
  EXPECT_TRUE(Exchange(*device, kIdentity).has_value());
  const auto log = unit->FrameLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[1].fate, SimFrameFate::kIgnored);
  EXPECT_EQ(log[2].fate, SimFrameFate::kIgnored);
  EXPECT_EQ(log[3].fate, SimFrameFate::kRead);
}

TEST_F(SimFaults, UnplugAtFrameKRemovesTheUnitAndKillsTheHandle) {
  unit->InjectFault(SimFault::Unplug(3));
  EXPECT_TRUE(Exchange(*device, kIdentity).has_value());
  EXPECT_TRUE(Exchange(*device, kIdentity).has_value());
  Send(*device, kWrite);
  EXPECT_FALSE(unit->IsPlugged());
  Report r{};
  EXPECT_EQ(device->ReadReport(r, 50ms), HidReadResult::kError);
  EXPECT_FALSE(device->WriteReport(r, 20ms));
  EXPECT_EQ(unit->FramesReceived(), 3u);
  EXPECT_NE(unit->Record(0)[vantor::rec::OutputOffset(0) + 248], 0x42);
}

TEST_F(SimFaults, WrongIdentityWaitsForTheIdentityRead) {
  unit->InjectFault(SimFault::WrongIdentity("TRX-999"));
  EXPECT_EQ(Exchange(*device, ReadRequest(0, 4, 144))->Length(), 8u);
  auto a = Exchange(*device, kIdentity);
  ASSERT_TRUE(a);
  const std::string expected = "TRX-999          ";  // padded to 17
  EXPECT_EQ(a->Payload(), Bytes(expected.begin(), expected.end()));
  const std::string real = "TRX-620-31EQ-V3.2";
  EXPECT_EQ(Exchange(*device, kIdentity)->Payload(), Bytes(real.begin(), real.end()));
}

TEST_F(SimFaults, BabbleSendsReportsWithoutAFrameUntilTheNextFrame) {
  unit->InjectFault(SimFault::Babble());
  Send(*device, kIdentity);
  for (int i = 0; i < 50; ++i) {
    Report r{};
    ASSERT_EQ(device->ReadReport(r, 10ms), HidReadResult::kOk);
    EXPECT_EQ(std::count(r.begin() + 1, r.end(), 0xA2), 0);
  }
  // The next frame ends it and is answered.
  auto a = Exchange(*device, kIdentity);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Code(), 0x66);
}

TEST_F(SimFaults, QueuedFaultsCountOnlyTheFramesTheyApplyTo) {
  unit->InjectFault(SimFault::EmptyData(2));  // the second read from now
  unit->InjectFault(SimFault::DropReply(3));  // the third frame from now
  EXPECT_EQ(unit->QueuedFaults(), 2u);
  EXPECT_EQ(Exchange(*device, kWrite)->Code(), 0x64);      // frame 1
  EXPECT_EQ(Exchange(*device, kIdentity)->Length(), 17u);  // frame 2, read 1
  Send(*device, kIdentity);                                // frame 3, read 2: both fire
  EXPECT_TRUE(NothingToRead());
  EXPECT_EQ(unit->QueuedFaults(), 0u);
  const auto log = unit->FrameLog();
  EXPECT_EQ(log[2].fate, SimFrameFate::kNoData);
  EXPECT_EQ(log[2].faults.size(), 2u);

  unit->InjectFault(SimFault::Unplug(5));
  unit->ClearFaults();
  EXPECT_EQ(unit->QueuedFaults(), 0u);
}

// The sequence of (fate, reply, faults) a run produces.
std::vector<std::string> RandomRun(std::uint64_t seed) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  unit->Plug();
  auto device = unit->Open();
  SimFaultRates rates;
  rates.dropReply = 0.1;
  rates.corruptChecksum = 0.1;
  rates.resend = 0.1;
  rates.splitReply = 0.2;
  rates.garbageBefore = 0.2;
  rates.emptyData = 0.1;
  unit->SetRandomFaults(seed, rates);
  std::vector<std::string> run;
  for (int i = 0; i < 200; ++i) {
    Send(*device, i % 2 ? ReadRequest(0, 3, static_cast<std::uint8_t>(i % 8))
                        : HostFrame(0xB3, 0, 3, 1, 2, 0, Bytes(8, static_cast<std::uint8_t>(i))));
    Bytes got;
    Report r{};
    while (device->ReadReport(r, 0ms) == HidReadResult::kOk)
      got.insert(got.end(), r.begin(), r.end());
    std::string line(got.begin(), got.end());
    const auto log = unit->FrameLog();
    for (auto k : log.back().faults) line += vantor::sim::SimFaultName(k);
    run.push_back(line);
  }
  return run;
}

TEST(SimRandomFaults, TheSameSeedGivesTheSameRunAndAnotherSeedAnother) {
  const auto a = RandomRun(42);
  const auto b = RandomRun(42);
  const auto c = RandomRun(43);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
}

}  // namespace
