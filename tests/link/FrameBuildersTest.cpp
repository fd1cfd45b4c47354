#include <gtest/gtest.h>

#include "LinkTestUtil.h"
#include "base/LittleEndian.h"
#include "link/FrameBuilders.h"
#include "model/DataDefine.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

using test::Bytes;

Bytes FrameOf(const std::unique_ptr<CSendData>& c) {
  EXPECT_NE(c, nullptr);
  if (!c) return {};
  return Bytes(c->Frame().begin(), c->Frame().end());
}

Bytes Slice(const rec::StateRecord& r, std::size_t at, std::size_t n) {
  return Bytes(r.begin() + static_cast<std::ptrdiff_t>(at),
               r.begin() + static_cast<std::ptrdiff_t>(at + n));
}

// Header, checksum and end byte agree with the layout; returns the payload.
Bytes CheckedPayload(const Bytes& f) {
  EXPECT_GE(f.size(), 16u);
  if (f.size() < 16) return {};
  EXPECT_EQ(f[0], 0xA2);
  EXPECT_EQ(f[1], 0xA2);
  EXPECT_EQ(f[2], 0xA2);
  EXPECT_EQ(f[3], 0xA3);
  EXPECT_EQ(f[5], 0x01) << "device id";
  EXPECT_EQ(f[11], 0x00);
  const std::size_t length = f[12] | (f[13] << 8);
  EXPECT_EQ(f.size(), length + 16);
  std::uint8_t x = 0;
  for (std::size_t i = 4; i + 2 < f.size(); ++i) x ^= f[i];
  EXPECT_EQ(f[f.size() - 2], x);
  EXPECT_EQ(f.back(), 0xAA);
  return Bytes(f.begin() + 14, f.end() - 2);
}

TEST(FrameBuilders, KnownFramesByteForByte) {
  // The identity read.
  EXPECT_EQ(FrameOf(BuildSystemRead(136, 0)),
            (Bytes{0xA2, 0xA2, 0xA2, 0xA3, 0xB4, 0x01, 0x00, 0x04, 0x88, 0x00, 0x00, 0x00,
                   0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x31, 0xAA}));

  // An item write with an all-zero payload: XOR of B3 01 00 03 00 05 00 00 08 00 = BC.
  ProgramState state;
  auto out0 = std::span(state.Live()).subspan(rec::OutputOffset(0), rec::kOutputRecordSize);
  std::fill_n(out0.begin() + rec::ItemOffset(5), 8, std::uint8_t{0});
  const Bytes zeroItem = FrameOf(BuildItemWrite(state, 3, 0, 5));
  ASSERT_EQ(zeroItem.size(), 24u);
  EXPECT_EQ(Bytes(zeroItem.begin() + 4, zeroItem.begin() + 14),
            (Bytes{0xB3, 0x01, 0x00, 0x03, 0x00, 0x05, 0x00, 0x00, 0x08, 0x00}));
  EXPECT_EQ(zeroItem[22], 0xBC);
  EXPECT_EQ(zeroItem[23], 0xAA);

  // The status poll carries zeros, never what an earlier frame left behind.
  const Bytes poll = FrameOf(BuildStatusPoll());
  EXPECT_EQ(Bytes(poll.begin() + 4, poll.begin() + 14),
            (Bytes{0xB4, 0x01, 0x00, 0x04, 0x03, 0x00, 0x00, 0x00, 0x08, 0x00}));
  EXPECT_EQ(CheckedPayload(poll), Bytes(8, 0));
}

TEST(FrameBuilders, BandWriteCarriesTheLiveItemAndTheLinkFlagRule) {
  ProgramState state;
  auto out2 = std::span(state.Live()).subspan(rec::OutputOffset(2), rec::kOutputRecordSize);
  le::PutI16(out2, rec::OutBand(5) + rec::kBandFrequency, 63);
  le::PutI16(out2, rec::OutBand(5) + rec::kBandGainCode, 640);

  for (bool linked : {false, true}) {
    const Bytes f = FrameOf(BuildItemWrite(state, 3, 2, 5, linked));
    ASSERT_EQ(f.size(), 24u);
    EXPECT_EQ(Bytes(f.begin() + 4, f.begin() + 14),
              (Bytes{0xB3, 0x01, 0x00, 0x03, 0x02, 0x05, static_cast<std::uint8_t>(linked), 0x00,
                     0x08, 0x00}));
    EXPECT_EQ(CheckedPayload(f), Slice(state.Live(), rec::OutputOffset(2) + 40, 8));
  }

  // Only bands, the crossover and the first mixer item carry the flag.
  for (int item = 0; item <= 36; ++item) {
    const Bytes f = FrameOf(BuildItemWrite(state, 3, 4, item, true));
    const bool flagged = item <= 30 || item == 32 || item == 33;
    EXPECT_EQ(f[10], flagged ? 1 : 0) << "item " << item;
    EXPECT_EQ(CheckedPayload(f), Slice(state.Live(), rec::OutputOffset(4) + 8 * item, 8));
  }
  // Other block types never do.
  EXPECT_EQ(FrameOf(BuildItemWrite(state, 2, 2, 9, true))[10], 0);
  EXPECT_EQ(CheckedPayload(FrameOf(BuildItemWrite(state, 2, 2, 9))),
            Slice(state.Live(), rec::kMusicBlock + 72, 8));
}

TEST(FrameBuilders, BlockWritesTakeTheirBytesFromTheNamedRecord) {
  ProgramState state;
  state.Live()[rec::OutputOffset(3) + 100] = 0x11;
  state.Slot(4)[rec::OutputOffset(3) + 100] = 0x44;
  state.Live()[rec::OutputOffset(3) + 296] = 0x77;  // name characters 6, 7 stay home

  const Bytes live = FrameOf(BuildBlockWrite(state, 4, 3, 3, true, true));
  ASSERT_EQ(live.size(), 312u);
  EXPECT_EQ(live[6], 4);
  EXPECT_EQ(live[10], 1) << "link flag";
  EXPECT_EQ(CheckedPayload(live), Slice(state.Live(), rec::OutputOffset(3), 296));

  const Bytes slot = FrameOf(BuildBlockWrite(state, 4, 3, 3, false));
  EXPECT_EQ(slot[10], 0);
  EXPECT_EQ(CheckedPayload(slot), Slice(state.Slot(4), rec::OutputOffset(3), 296));

  EXPECT_EQ(FrameOf(BuildBlockWrite(state, 0, 10, 0, true)).size(), 112u);
  EXPECT_EQ(CheckedPayload(FrameOf(BuildBlockWrite(state, 0, 1, 0, true))),
            Slice(state.Live(), rec::kMicBlock, 112));
}

TEST(FrameBuilders, MusicBlockForADeviceSlotIsSwitchedOn) {
  ProgramState state;
  state.Live()[rec::kMusicOnFlag] = 0;
  // Into the live program: sent as held.
  Bytes f = FrameOf(BuildBlockWrite(state, 0, 2, 2, true));
  EXPECT_EQ(CheckedPayload(f)[75], 0);
  EXPECT_EQ(state.Live()[rec::kMusicOnFlag], 0);
  // Into a slot from a slot record: as held.
  state.Slot(2)[rec::kMusicOnFlag] = 0;
  f = FrameOf(BuildBlockWrite(state, 2, 2, 2, false));
  EXPECT_EQ(CheckedPayload(f)[75], 0);
  // Into a slot from the live record: the live flag is set first, then copied.
  f = FrameOf(BuildBlockWrite(state, 2, 2, 2, true));
  ASSERT_EQ(f.size(), 128u);
  EXPECT_EQ(CheckedPayload(f)[75], 1);
  EXPECT_EQ(state.Live()[rec::kMusicOnFlag], 1);
}

TEST(FrameBuilders, ReadRequestsChooseWhereTheReplyGoes) {
  struct Case {
    int slot;
    bool liveTarget;
    std::uint8_t flag;
  } cases[] = {
      {0, true, 0xAB}, {0, false, 0xAB}, {3, true, 0x00}, {3, false, 0xAB}, {25, false, 0xAB}};
  for (const auto& c : cases) {
    const int type = c.slot > 20 ? 10 : 3;
    const int index = c.slot > 20 ? 0 : 7;
    const Bytes f = FrameOf(BuildBlockRead(c.slot, type, index, c.liveTarget));
    EXPECT_EQ(Bytes(f.begin() + 4, f.begin() + 14),
              (Bytes{0xB4, 0x01, static_cast<std::uint8_t>(c.slot), static_cast<std::uint8_t>(type),
                     static_cast<std::uint8_t>(index), c.flag, 0x00, 0x00, 0x08, 0x00}))
        << "slot " << c.slot;
    EXPECT_EQ(CheckedPayload(f), Bytes(8, 0));
  }
}

TEST(FrameBuilders, SystemWritesCarryTheirBlocks) {
  ProgramState state;
  state.LimiterBlock() = {1, 2, 3, 0, 0, 0, 0, 9};
  const std::string name = "ABCDEFGHIJKLMNOP";  // 16 characters: one too many
  std::copy(name.begin(), name.end(), state.Slot(5).begin());
  state.SystemBlock()[0] = 4;

  EXPECT_EQ(CheckedPayload(FrameOf(BuildSystemWrite(state, 64, 0))),
            (Bytes{1, 2, 3, 0, 0, 0, 0, 9}));
  const Bytes nameFrame = FrameOf(BuildSystemWrite(state, 134, 5));
  EXPECT_EQ(nameFrame.size(), 32u);
  EXPECT_EQ(nameFrame[6], 5);
  EXPECT_EQ(nameFrame[8], 134);
  Bytes expectName = test::Text("ABCDEFGHIJKLMNO");
  expectName.push_back(0);
  EXPECT_EQ(CheckedPayload(nameFrame), expectName);
  EXPECT_EQ(CheckedPayload(FrameOf(BuildSystemWrite(state, 137, 0))), Bytes(7, 0));
  EXPECT_EQ(CheckedPayload(FrameOf(BuildSystemWrite(state, 144, 0))),
            Bytes(state.SystemBlock().begin(), state.SystemBlock().end()));
  EXPECT_EQ(CheckedPayload(FrameOf(BuildSystemWrite(state, 145, 0))),
            (Bytes{1, 7, 5, 11, 15, 18, 21, 24, 0, 0, 0, 0}));
  EXPECT_EQ(CheckedPayload(FrameOf(BuildSystemWrite(state, 146, 0))),
            (Bytes{200, 0, 200, 0, 200, 0, 0, 0}));
}

TEST(FrameBuilders, RequestsWithoutAnAddressBuildNothing) {
  ProgramState state;
  EXPECT_EQ(BuildItemWrite(state, 3, 8, 0), nullptr);           // no output 8
  EXPECT_EQ(BuildItemWrite(state, 3, 0, 37), nullptr);          // no item 37
  EXPECT_EQ(BuildItemWrite(state, 2, 2, 14), nullptr);          // input blocks have 14 items
  EXPECT_EQ(BuildItemWrite(state, 4, 0, 0), nullptr);           // system items are not record items
  EXPECT_EQ(BuildItemWrite(state, 2, 0, 0), nullptr);           // the music input is index 2
  EXPECT_EQ(BuildBlockWrite(state, 21, 3, 0, false), nullptr);  // no slot record 21
  EXPECT_EQ(BuildBlockWrite(state, -1, 3, 0, true), nullptr);
  EXPECT_EQ(BuildBlockRead(0, 7, 0, true), nullptr);
  EXPECT_EQ(BuildSystemWrite(state, 99, 0), nullptr);
  EXPECT_EQ(BuildSystemWrite(state, 134, 21), nullptr);
  EXPECT_EQ(BuildSystemRead(256, 0), nullptr);
}

TEST(FrameBuilders, FinishFrameSizesAndSeals) {
  FrameStaging staging;
  staging.SetHeader(FrameHeader{0xB3, 1, 0, 4, 0xB1, 0, 0}, 4);
  std::fill_n(staging.Payload().begin(), 4, std::uint8_t{0x5A});
  auto c = FinishFrame(staging.bytes, 20);
  const Bytes f = FrameOf(c);
  EXPECT_EQ(f.size(), 20u);
  EXPECT_EQ(CheckedPayload(f), Bytes(4, 0x5A));
  EXPECT_EQ(FinishFrame(staging.bytes, 15), nullptr);
  EXPECT_EQ(FinishFrame(std::span(staging.bytes).first(10), 16), nullptr);
  EXPECT_EQ(BuildFrame(FrameHeader{}, Bytes(303, 0)), nullptr);
}

TEST(SendData, FramesTravelIn64ByteReports) {
  ProgramState state;
  auto small = BuildItemWrite(state, 3, 0, 31);
  Report r;
  r.fill(0xCC);
  ASSERT_TRUE(small->NextReportChunk(r));
  EXPECT_EQ(r[0], 0);
  EXPECT_TRUE(std::equal(small->Frame().begin(), small->Frame().end(), r.begin() + 1));
  EXPECT_TRUE(std::all_of(r.begin() + 25, r.end(), [](auto b) { return b == 0; }));
  EXPECT_FALSE(small->NextReportChunk(r));

  auto big = BuildBlockWrite(state, 0, 3, 1, true);
  ASSERT_EQ(big->Length(), 312);
  Bytes sent;
  std::vector<int> cursors;
  while (big->NextReportChunk(r)) {
    EXPECT_EQ(r[0], 0);
    sent.insert(sent.end(), r.begin() + 1, r.end());
    cursors.push_back(big->SendCursor());
  }
  EXPECT_EQ(cursors, (std::vector<int>{64, 128, 192, 256, 312}));
  ASSERT_EQ(sent.size(), 5u * 64);
  EXPECT_TRUE(std::equal(big->Frame().begin(), big->Frame().end(), sent.begin()));
  EXPECT_TRUE(std::all_of(sent.begin() + 312, sent.end(), [](auto b) { return b == 0; }));

  big->SetSendCursor(0);
  EXPECT_TRUE(big->NextReportChunk(r));
  EXPECT_EQ(r[1], 0xA2);
}

}  // namespace
}  // namespace vantor
