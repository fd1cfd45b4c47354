// The packets an image is sent in and the order the sequencer hands them out.

#include <gtest/gtest.h>

#include "firmware/FirmwarePackets.h"
#include "firmware/FirmwareRig.h"

namespace vantor::testing {
namespace {

using Frame = std::vector<std::uint8_t>;

FirmwareImage Image(std::vector<std::uint8_t> bytes, FirmwareKind kind = FirmwareKind::kProcessor) {
  auto r = FirmwareImageFromBytes(kind == FirmwareKind::kProcessor ? "x.dsp" : "x.contr", bytes);
  return *r.image;
}

// Each call's packets as (code, frame).
std::vector<std::vector<std::pair<int, Frame>>> Calls(FirmwareSequencer& s) {
  std::vector<std::vector<std::pair<int, Frame>>> calls;
  for (int guard = 0; guard < 10000; ++guard) {
    auto packets = s.NextPackets();
    if (packets.empty()) break;
    auto& call = calls.emplace_back();
    for (const auto& p : packets) {
      EXPECT_GE(p->ProgressIndex(), 1);
      call.emplace_back(p->StageCode(), Frame(p->Frame().begin(), p->Frame().end()));
    }
  }
  return calls;
}

std::vector<std::vector<int>> Codes(const std::vector<std::vector<std::pair<int, Frame>>>& calls) {
  std::vector<std::vector<int>> out;
  for (const auto& call : calls) {
    auto& c = out.emplace_back();
    for (const auto& [code, frame] : call) c.push_back(code);
  }
  return out;
}

Frame PayloadOf(const Frame& f) {
  const std::size_t n = f[12] | (f[13] << 8);
  return Frame(f.begin() + 14, f.begin() + 14 + static_cast<std::ptrdiff_t>(n));
}

// The frame layout checked apart from the builders: header, length, XOR, end byte.
void ExpectPacketFrame(const Frame& f, int code) {
  ASSERT_GE(f.size(), 16U);
  const Frame head(f.begin(), f.begin() + 12);
  EXPECT_EQ(head, (Frame{0xA2, 0xA2, 0xA2, 0xA3, 0xB3, 0x01, 0x00, 0x04,
                         static_cast<std::uint8_t>(code), 0, 0, 0}));
  EXPECT_EQ(f.size(), PayloadOf(f).size() + 16);
  std::uint8_t x = 0;
  for (std::size_t i = 4; i + 2 < f.size(); ++i) x ^= f[i];
  EXPECT_EQ(f[f.size() - 2], x);
  EXPECT_EQ(f.back(), 0xAA);
  EXPECT_LE(f.size(), 64U);  // one output report
}

TEST(FirmwareSequencer, HundredByteImage) {
  const auto bytes = TestImage(100, 5);
  const FirmwareImage image = Image(bytes);
  FirmwareSequencer s(image);
  const auto calls = Calls(s);
  EXPECT_TRUE(s.Done());
  // The wake-up placeholder, then start, header and first data packet together, one data
  // packet, and the last one together with the end packet.
  EXPECT_EQ(Codes(calls),
            (std::vector<std::vector<int>>{{255}, {176, 177, 178}, {178}, {178, 179}}));

  EXPECT_EQ(PayloadOf(calls[0][0].second), Frame(48, 0));
  EXPECT_EQ(calls[0][0].second.size(), 64U);
  EXPECT_EQ(PayloadOf(calls[1][0].second), Frame(16, 0));
  EXPECT_EQ(calls[1][0].second.size(), 32U);
  EXPECT_EQ(calls[1][1].second.size(), 20U);
  EXPECT_EQ(PayloadOf(calls[1][2].second), Frame(bytes.begin(), bytes.begin() + 48));
  EXPECT_EQ(PayloadOf(calls[2][0].second), Frame(bytes.begin() + 48, bytes.begin() + 96));
  Frame last(bytes.begin() + 96, bytes.end());
  last.resize(48, 0xFF);
  EXPECT_EQ(PayloadOf(calls[3][0].second), last);
  EXPECT_EQ(PayloadOf(calls[3][1].second), Frame{image.checksum});
  EXPECT_EQ(calls[3][1].second.size(), 17U);
  for (const auto& call : calls) {
    for (const auto& [code, frame] : call) ExpectPacketFrame(frame, code);
  }
}

TEST(FirmwareSequencer, NinetySixBytesEndWithAnUnpaddedPacket) {
  const auto bytes = TestImage(96, 6);
  FirmwareSequencer s(Image(bytes));
  const auto calls = Calls(s);
  EXPECT_EQ(Codes(calls), (std::vector<std::vector<int>>{{255}, {176, 177, 178}, {178, 179}}));
  EXPECT_EQ(PayloadOf(calls[2][0].second), Frame(bytes.begin() + 48, bytes.end()));
}

TEST(FirmwareSequencer, HeaderCarriesFourCopiesOfTheFirstByte) {
  std::vector<std::uint8_t> bytes = {0x0A, 0x0B, 0x0C, 0x0D};
  bytes.resize(60, 0x33);
  FirmwareSequencer s(Image(bytes));
  const auto calls = Calls(s);
  ASSERT_EQ(calls[1][1].first, 177);
  EXPECT_EQ(PayloadOf(calls[1][1].second), (Frame{0x0A, 0x0A, 0x0A, 0x0A}));
}

TEST(FirmwareSequencer, ControllerImage) {
  const auto bytes = TestImage(150, 7);
  FirmwareSequencer s(Image(bytes, FirmwareKind::kController));
  const auto calls = Calls(s);
  EXPECT_EQ(Codes(calls),
            (std::vector<std::vector<int>>{{255}, {224, 225, 226}, {226}, {226}, {226, 227}}));
  EXPECT_EQ(PayloadOf(calls[1][1].second), Frame(16, 0));
  Frame last(bytes.begin() + 144, bytes.end());
  last.resize(48, 0xFF);
  EXPECT_EQ(PayloadOf(calls[4][0].second), last);
  for (const auto& call : calls) {
    for (const auto& [code, frame] : call) ExpectPacketFrame(frame, code);
  }

  // An image of one packet goes out in one call after the wake-up.
  FirmwareSequencer small(Image(TestImage(30), FirmwareKind::kController));
  EXPECT_EQ(Codes(Calls(small)), (std::vector<std::vector<int>>{{255}, {224, 225, 226, 227}}));
}

TEST(FirmwareSequencer, PacketCountsOfAnImage) {
  const auto counts = FirmwarePacketCounts(Image(TestImage(200 * 1024)));
  EXPECT_EQ(counts, (std::map<int, int>{{176, 1}, {177, 1}, {178, 4267}, {179, 1}}));
  const auto one = FirmwarePacketCounts(Image(TestImage(1), FirmwareKind::kController));
  EXPECT_EQ(one, (std::map<int, int>{{224, 1}, {225, 1}, {226, 1}, {227, 1}}));
}

}  // namespace
}  // namespace vantor::testing
