// The unit's answers and memory, driven through the HID seam with hand-built frames.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "SimTestSupport.h"
#include "base/LittleEndian.h"
#include "model/DataDefine.h"
#include "sim/SimulatedProcessor.h"

namespace {

using namespace simtest;
using vantor::sim::SimFrameFate;
using vantor::sim::SimulatedProcessor;
namespace rec = vantor::rec;

class SimProcessor : public ::testing::Test {
 protected:
  void SetUp() override {
    unit->Plug();
    device = unit->Open();
    ASSERT_TRUE(device);
  }

  Answer MustExchange(const Bytes& frame) {
    auto a = Exchange(*device, frame);
    EXPECT_TRUE(a.has_value());
    return a.value_or(Answer{});
  }

  // Payload bytes 0, 1, 2, ... offset by `seed`, so that any misplaced byte shows.
  static Bytes Pattern(std::size_t n, int seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
      b[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(seed));
    return b;
  }

  std::shared_ptr<SimulatedProcessor> unit = SimulatedProcessor::Create(InstantOptions());
  std::unique_ptr<vantor::HidDevice> device;
};

TEST_F(SimProcessor, AnswersTheIdentityReadWithTheExactFrame) {
  Send(*device, Hex("A2 A2 A2 A3 B4 01 00 04 88 00 00 00 08 00 00 00 00 00 00 00 00 00 31 AA"));
  vantor::Report r{};
  ASSERT_EQ(device->ReadReport(r, 100ms), vantor::HidReadResult::kOk);
  Bytes expected =
      Hex("00 A2 A2 A2 A3 66 01 00 04 88 00 00 00 11 00 54 52 58 2D 36 32 30 2D 33 "
          "31 45 51 2D 56 33 2E 32 D2 AA");
  expected.resize(65, 0x00);  // report id 0, zero filled
  EXPECT_EQ(Bytes(r.begin(), r.end()), expected);
  // Exactly one answer: nothing else follows.
  EXPECT_EQ(device->ReadReport(r, 0ms), vantor::HidReadResult::kTimeout);
}

TEST_F(SimProcessor, StatusPollCarriesTheActiveSourceInByte11) {
  unit->SetInputSource(2);
  Answer a =
      MustExchange(Hex("A2 A2 A2 A3 B4 01 00 04 03 00 00 00 08 00 00 00 00 00 00 00 00 00 BA AA"));
  EXPECT_EQ(a.frame, Hex("A2 A2 A2 A3 66 01 00 04 03 00 00 00 0C 00 00 00 00 00 00 00 00 00 00 00 "
                         "00 02 6E AA"));

  // A source chosen by the host (system block byte 0) is what the next poll reports.
  Bytes sys(8, 0);
  sys[0] = 5;
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 4, 144, 0, 0, sys)).Code(), 0x64);
  EXPECT_EQ(MustExchange(ReadRequest(0, 4, 3)).Payload().at(11), 5);
  EXPECT_EQ(unit->InputSource(), 5);
}

TEST_F(SimProcessor, ItemWriteIsAcknowledgedAndReadBackInItsBlock) {
  Answer ack =
      MustExchange(Hex("A2 A2 A2 A3 B3 01 00 03 00 05 00 00 08 00 00 00 00 00 00 00 00 00 BC AA"));
  EXPECT_EQ(ack.frame, Hex("A2 A2 A2 A3 64 01 00 03 00 05 00 00 00 00 63 AA"));

  const Bytes band = Hex("E8 03 58 02 0F 00 00 02");  // 1000 Hz, 0 dB, index 15, high shelf
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 3, 2, 7, 1, band)).Code(), 0x64);

  Answer block = MustExchange(ReadRequest(0, 3, 2));
  EXPECT_EQ(block.Code(), 0x66);
  EXPECT_EQ(block.Address(), Hex("00 03 02 00"));
  ASSERT_EQ(block.Length(), 296u);
  EXPECT_EQ(Bytes(block.frame.begin() + 14 + 56, block.frame.begin() + 14 + 64), band);
  EXPECT_TRUE(block.ChecksumOk());
  EXPECT_EQ(block.reports, 5);  // 312 bytes: 64 + 64 + 64 + 64 + 56

  // Item 5 of output 0 was zeroed by the first write.
  const auto live = unit->Record(0);
  EXPECT_TRUE(std::all_of(live.begin() + rec::OutputOffset(0) + 40,
                          live.begin() + rec::OutputOffset(0) + 48, [](auto b) { return b == 0; }));
}

TEST_F(SimProcessor, WholeOutputWriteCarries296BytesAndLeavesTheLastTwoAlone) {
  unit->Modify([](vantor::ProgramState& s) {
    s.Slot(3)[rec::OutputOffset(7) + 296] = 'x';
    s.Slot(3)[rec::OutputOffset(7) + 297] = 'y';
  });
  const Bytes block = Pattern(296, 3);
  const Bytes frame = HostFrame(0xB3, 3, 3, 7, 0, 1, block);
  ASSERT_EQ(ToReports(frame).size(), 5u);
  EXPECT_EQ(MustExchange(frame).Code(), 0x64);

  // Read back byte for byte, with and without the slot-store flag: both read slot 3, and
  // both answers carry the request's bytes 6..9.
  Answer withFlag = MustExchange(ReadRequest(3, 3, 7, 0xAB));
  Answer withoutFlag = MustExchange(ReadRequest(3, 3, 7, 0x00));
  EXPECT_EQ(withFlag.Payload(), block);
  EXPECT_EQ(withoutFlag.Payload(), block);
  EXPECT_EQ(withFlag.Address(), Hex("03 03 07 AB"));
  EXPECT_EQ(withoutFlag.Address(), Hex("03 03 07 00"));

  const auto slot3 = unit->Record(3);
  EXPECT_EQ(slot3[rec::OutputOffset(7) + 296], 'x');
  EXPECT_EQ(slot3[rec::OutputOffset(7) + 297], 'y');
  EXPECT_EQ(unit->Record(0), vantor::ProgramState().Live()) << "the live record is untouched";
}

TEST_F(SimProcessor, InputAndEffectBlocksLandAtTheirOffsets) {
  const Bytes music = Pattern(112, 11);
  const Bytes mic = Pattern(112, 12);
  const Bytes effect = Pattern(96, 13);
  const Bytes image = Pattern(96, 14);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 2, 2, 2, 0, 0, music)).Code(), 0x64);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 1, 0, 0, 0, mic)).Code(), 0x64);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 10, 0, 0, 0, effect)).Code(), 0x64);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 40, 10, 0, 0, 0, image)).Code(), 0x64);

  const auto slot2 = unit->Record(2);
  EXPECT_TRUE(std::equal(music.begin(), music.end(), slot2.begin() + rec::kMusicBlock));
  const auto live = unit->Record(0);
  EXPECT_TRUE(std::equal(mic.begin(), mic.end(), live.begin() + rec::kMicBlock));
  EXPECT_TRUE(std::equal(effect.begin(), effect.end(), live.begin() + rec::kEffectBlock));
  unit->Inspect([&](const vantor::ProgramState& s) {
    EXPECT_TRUE(
        std::equal(image.begin(), image.end(), s.EffectImage(19).begin() + rec::kEffectImageBlock));
  });

  EXPECT_EQ(MustExchange(ReadRequest(2, 2, 2)).Payload(), music);
  EXPECT_EQ(MustExchange(ReadRequest(40, 10, 0, 0xAB)).Payload(), image);
  EXPECT_EQ(MustExchange(ReadRequest(0, 10, 0)).Length(), 96u);
}

TEST_F(SimProcessor, SystemItemsRoundTripWithTheirSizes) {
  const Bytes limiter = Hex("01 02 03 00 00 00 00 00");
  const Bytes system = Hex("03 00 3A 00 00 01 02 00");
  const Bytes speakers = Hex("01 07 02 08 03 09 16 17 00 00 00 00");
  const Bytes hidden = Hex("C8 00 C9 00 CA 00 01 02");
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 4, 64, 0, 0, limiter)).Code(), 0x64);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 4, 144, 0, 0, system)).Code(), 0x64);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 4, 145, 0, 0, speakers)).Code(), 0x64);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 4, 146, 0, 0, hidden)).Code(), 0x64);

  EXPECT_EQ(MustExchange(ReadRequest(0, 4, 64)).Payload(), limiter);
  EXPECT_EQ(MustExchange(ReadRequest(0, 4, 144)).Payload(), system);
  EXPECT_EQ(MustExchange(ReadRequest(0, 4, 145)).Payload(), speakers);
  EXPECT_EQ(MustExchange(ReadRequest(0, 4, 146)).Payload(), hidden);
  EXPECT_EQ(unit->InputSource(), 3);
}

TEST_F(SimProcessor, SlotNamesAreWrittenWith16BytesAndReadWith15) {
  // A fresh slot holds 15 spaces.
  EXPECT_EQ(MustExchange(ReadRequest(4, 4, 134)).Payload(), Bytes(15, ' '));

  const std::string name = "Evening drive  ";  // 15 characters
  Bytes payload(name.begin(), name.end());
  payload.push_back(0);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 4, 4, 134, 0, 0, payload)).Code(), 0x64);
  Answer a = MustExchange(ReadRequest(4, 4, 134));
  EXPECT_EQ(a.Payload(), Bytes(name.begin(), name.end()));
  EXPECT_EQ(a.Address(), Hex("04 04 86 00"));
  const auto slot4 = unit->Record(4);
  EXPECT_EQ(slot4[rec::kProgramName + 15], 0);
  EXPECT_EQ(unit->Record(5)[0], ' ') << "other slots keep their names";
}

TEST_F(SimProcessor, UnknownReadsGetNoDataAndUntakeableWritesAResendRequest) {
  EXPECT_EQ(MustExchange(ReadRequest(0, 4, 99)).Length(), 0u);  // unknown system item
  EXPECT_EQ(MustExchange(ReadRequest(21, 3, 0)).Length(), 0u);  // no slot record 21
  EXPECT_EQ(MustExchange(ReadRequest(0, 3, 8)).Length(), 0u);   // no output 8
  EXPECT_EQ(MustExchange(ReadRequest(0, 7, 0)).Code(), 0x66);   // unknown block type

  const auto before = unit->Record(0);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 3, 0, 37, 0, Bytes(8, 1))).Code(), 0x65);   // item 37
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 3, 0, 0, 0, Bytes(100, 1))).Code(), 0x65);  // odd size
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 4, 136, 0, 0, Bytes(17, 1))).Code(),
            0x65);                                                                      // read-only
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 4, 144, 0, 0, Bytes(9, 1))).Code(), 0x65);  // too long
  EXPECT_EQ(MustExchange(HostFrame(0x42, 0, 3, 0, 0, 0, Bytes(8, 1))).Code(), 0x65);    // no class
  EXPECT_EQ(unit->Record(0), before) << "nothing rejected was stored";

  const auto log = unit->FrameLog();
  ASSERT_EQ(log.size(), 9u);
  EXPECT_EQ(log[0].fate, SimFrameFate::kNoData);
  EXPECT_EQ(log[4].fate, SimFrameFate::kRejected);
}

TEST_F(SimProcessor, FactoryResetRestoresStartupMemoryButNotTheIdentity) {
  unit->SetIdentity("TRX-620-31EQ-V3.9");
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 3, 0, 31, 0, Bytes(8, 9))).Code(), 0x64);
  unit->SetInputSource(4);
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 4, 137, 0, 0, Bytes(7, 0))).Code(), 0x64);
  EXPECT_EQ(unit->Record(0), vantor::ProgramState().Live());
  EXPECT_EQ(unit->InputSource(), 0);
  const std::string id = "TRX-620-31EQ-V3.9";
  EXPECT_EQ(MustExchange(ReadRequest(0, 4, 136)).Payload(), Bytes(id.begin(), id.end()));
}

TEST_F(SimProcessor, ADamagedHostFrameIsAskedForAgainAndNotActedUpon) {
  Bytes frame = HostFrame(0xB3, 0, 3, 1, 31, 0, Bytes(8, 0x55));
  frame[frame.size() - 2] ^= 0x10;
  Answer a = MustExchange(frame);
  EXPECT_EQ(a.Code(), 0x65);
  EXPECT_EQ(a.Address(), Hex("00 03 01 1F"));
  EXPECT_EQ(unit->Record(0), vantor::ProgramState().Live());
  ASSERT_EQ(unit->FrameLog().size(), 1u);
  EXPECT_EQ(unit->FrameLog()[0].fate, SimFrameFate::kCorrupt);
  EXPECT_TRUE(unit->FrameLog()[0].payload.empty());
}

TEST_F(SimProcessor, FrameLogListsCommandsInOrderWithTheirFields) {
  MustExchange(ReadRequest(0, 4, 136));
  MustExchange(HostFrame(0xB3, 0, 3, 6, 12, 1, Bytes(8, 0x21)));
  MustExchange(ReadRequest(5, 3, 7, 0xAB));
  // Two frames in one report are both taken and both answered, in order.
  Bytes two = ReadRequest(0, 4, 144);
  const Bytes second = ReadRequest(0, 4, 145);
  two.insert(two.end(), second.begin(), second.end());
  ASSERT_EQ(ToReports(two).size(), 1u);
  Send(*device, two);
  auto first = ReadAnswer(*device);
  auto next = ReadAnswer(*device);
  ASSERT_TRUE(first && next);
  EXPECT_EQ(first->Address(), Hex("00 04 90 00"));
  EXPECT_EQ(next->Address(), Hex("00 04 91 00"));

  const auto log = unit->FrameLog();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0].number, 1u);
  EXPECT_TRUE(log[0].IsRead());
  EXPECT_EQ(log[0].index, 136);
  EXPECT_TRUE(log[1].IsWrite());
  EXPECT_EQ(log[1].index, 6);
  EXPECT_EQ(log[1].item, 12);
  EXPECT_EQ(log[1].link, 1);
  EXPECT_EQ(log[1].payload, Bytes(8, 0x21));
  EXPECT_EQ(log[1].reply, 0x64);
  EXPECT_EQ(log[2].slot, 5);
  EXPECT_EQ(log[2].item, 0xAB);
  EXPECT_EQ(log[2].fate, SimFrameFate::kRead);
  EXPECT_EQ(log[4].index, 145);
  EXPECT_EQ(unit->FramesReceived(), 5u);

  unit->ClearFrameLog();
  EXPECT_TRUE(unit->FrameLog().empty());
  EXPECT_EQ(unit->FramesReceived(), 5u);
}

TEST_F(SimProcessor, LinkFlagDoesNotCopyToOtherOutputs) {
  // Link groups live in the host; it sends every member's writes itself.
  EXPECT_EQ(MustExchange(HostFrame(0xB3, 0, 3, 0, 3, 1, Bytes(8, 0x77))).Code(), 0x64);
  const auto live = unit->Record(0);
  const auto fresh = vantor::ProgramState().Live();
  for (int c = 1; c < rec::kOutputCount; ++c) {
    EXPECT_TRUE(std::equal(fresh.begin() + rec::OutputOffset(c),
                           fresh.begin() + rec::OutputOffset(c) + rec::kOutputRecordSize,
                           live.begin() + rec::OutputOffset(c)));
  }
}

}  // namespace
