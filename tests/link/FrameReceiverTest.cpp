#include <gtest/gtest.h>

#include <random>

#include "LinkTestUtil.h"
#include "link/FrameReceiver.h"

namespace vantor {
namespace {

using test::Bytes;
using test::DeviceFrame;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Tail(const Bytes& f, std::size_t from) {
  return Bytes(f.begin() + static_cast<std::ptrdiff_t>(from), f.end());
}

TEST(FrameReceiver, DecodesAFrameInOneReport) {
  FrameReceiver rx;
  const Bytes payload = test::Pattern(12, 3);
  const Bytes f = DeviceFrame(0x66, 5, 4, 3, 0xAB, payload);
  ASSERT_TRUE(rx.Feed(f));
  const ReceivedFrame& got = rx.Frame();
  EXPECT_EQ(got.code, 0x66);
  EXPECT_EQ(got.slot, 5);
  EXPECT_EQ(got.blockType, 4);
  EXPECT_EQ(got.index, 3);
  EXPECT_EQ(got.flag, 0xAB);
  EXPECT_EQ(got.length, 12);
  EXPECT_EQ(Bytes(got.payload.begin(), got.payload.end()), payload);
  EXPECT_FALSE(rx.InFrame());
}

TEST(FrameReceiver, FindsFramesAcrossReportBoundaries) {
  const Bytes f = DeviceFrame(0x66, 0, 3, 1, 0, test::Pattern(296, 9));
  // Split at every position, including inside the preamble (A2 A2 | A2 A3 ...).
  for (std::size_t cut = 1; cut < f.size(); cut += (cut < 20 ? 1 : 37)) {
    FrameReceiver rx;
    EXPECT_FALSE(rx.Feed(Bytes(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(cut)))) << cut;
    EXPECT_TRUE(rx.Feed(Tail(f, cut))) << "cut at " << cut;
    EXPECT_EQ(rx.Frame().length, 296);
  }
  // One byte per call.
  FrameReceiver rx;
  int decoded = 0;
  for (std::uint8_t b : f) decoded += rx.Feed(Bytes{b}) ? 1 : 0;
  EXPECT_EQ(decoded, 1);
}

TEST(FrameReceiver, HuntsOnlyForAThreeBytePreambleOr0xEE) {
  const Bytes f = DeviceFrame(0x64, 0, 0, 0, 0, Bytes(8, 0));
  FrameReceiver rx;
  // Junk before the preamble is skipped.
  EXPECT_TRUE(rx.Feed(Concat({Bytes{0x00, 0x13, 0xA3, 0xA2, 0x55, 0xA2, 0xA2, 0x01}, f})));

  // Four A2 then A3: the A3 does not start a frame.
  Bytes four = f;
  four.insert(four.begin(), 0xA2);
  EXPECT_FALSE(rx.Feed(four));
  EXPECT_FALSE(rx.InFrame());

  // 0xEE stands in for A3 without any preamble.
  Bytes ee = Tail(f, 3);
  ee[0] = 0xEE;
  EXPECT_TRUE(rx.Feed(Concat({Bytes{0x01, 0x02}, ee})));

  // Two A2 only: the next byte is no start.
  Bytes two = Tail(f, 1);
  EXPECT_FALSE(rx.Feed(two));
}

TEST(FrameReceiver, DropsWhatFollowsAFrameInTheSameCall) {
  const Bytes f = DeviceFrame(0x64, 0, 0, 0, 0, Bytes(8, 0));
  FrameReceiver rx;
  // A second frame right behind the first, in the same call, is discarded with the rest.
  EXPECT_TRUE(rx.Feed(Concat({f, f})));
  EXPECT_FALSE(rx.InFrame());
  EXPECT_EQ(rx.PreambleCount(), 0);
  // ... and the receiver takes the next report normally.
  EXPECT_TRUE(rx.Feed(f));
}

TEST(FrameReceiver, RejectsBadEndByteAndBadChecksum) {
  Bytes f = DeviceFrame(0x64, 0, 0, 0, 0, Bytes(8, 0));
  FrameReceiver rx;
  Bytes badEnd = f;
  badEnd.back() = 0xAB;
  EXPECT_FALSE(rx.Feed(badEnd));
  EXPECT_FALSE(rx.InFrame());
  Bytes badSum = f;
  badSum[badSum.size() - 2] ^= 0x01;
  EXPECT_FALSE(rx.Feed(badSum));
  Bytes badByte = f;
  badByte[16] ^= 0x40;  // a payload byte
  EXPECT_FALSE(rx.Feed(badByte));
  EXPECT_TRUE(rx.Feed(f));
}

TEST(FrameReceiver, TakesTheLargestFrameItsBufferHolds) {
  FrameReceiver rx;
  const Bytes f = DeviceFrame(0x66, 0, 3, 0, 0, test::Pattern(FrameReceiver::kMaxPayload, 1));
  ASSERT_TRUE(rx.Feed(f));
  EXPECT_EQ(rx.Frame().length, 387);
}

TEST(FrameReceiver, DropsAnOversizedLengthAtOnceAndHuntsBehindIt) {
  FrameReceiver rx;
  const Bytes good = DeviceFrame(0x64, 0, 0, 0, 0, Bytes(8, 0));
  // A false start declaring L = 388 (one too many), then a real frame inside its "header".
  Bytes bogus = {0xEE, 0x66, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00};
  bogus.push_back(388 & 0xFF);
  bogus.push_back(388 >> 8);
  Bytes stream = Concat({bogus, good});
  EXPECT_TRUE(rx.Feed(stream));
  EXPECT_EQ(rx.Frame().code, 0x64);

  // The real frame's preamble may lie among the 12 bytes after the false start byte; here
  // the real frame's own bytes 6 and 7 (slot 0, type 2) are what the false start reads as
  // its length: 0x0200.
  const Bytes real = DeviceFrame(0x64, 0, 2, 0, 0, Bytes(8, 0));
  FrameReceiver rx2;
  EXPECT_TRUE(rx2.Feed(Concat({Bytes{0xEE, 0x10, 0x20}, real})));
  EXPECT_EQ(rx2.Frame().blockType, 2);

  // The same when the pieces arrive one byte at a time.
  FrameReceiver rx3;
  int decoded = 0;
  for (std::uint8_t b : Concat({Bytes{0xEE, 0x10, 0x20}, real}))
    decoded += rx3.Feed(Bytes{b}) ? 1 : 0;
  EXPECT_EQ(decoded, 1);
}

TEST(FrameReceiver, SurvivesRandomFloodsAndStillDecodesAfterwards) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> pick(0, 9);
  FrameReceiver rx;
  for (int round = 0; round < 2000; ++round) {
    Bytes chunk(static_cast<std::size_t>(1 + round % 300));
    for (auto& b : chunk) {
      // Favour the bytes the hunter reacts to.
      const int p = pick(rng);
      b = p == 0 ? 0xA2 : p == 1 ? 0xEE : p == 2 ? 0xA3 : static_cast<std::uint8_t>(byte(rng));
    }
    rx.Feed(chunk);
    ASSERT_LE(rx.Collected(), FrameReceiver::kBufferSize);
  }
  rx.Reset();
  EXPECT_TRUE(rx.Feed(DeviceFrame(0x64, 0, 0, 0, 0, Bytes(8, 0))));
}

TEST(FrameReceiver, ResetClearsOnlyWhenAsked) {
  FrameReceiver rx;
  const Bytes f = DeviceFrame(0x66, 0, 4, 3, 0, Bytes(12, 0x77));
  rx.Feed(Bytes(f.begin(), f.begin() + 10));
  EXPECT_TRUE(rx.InFrame());
  rx.Reset();
  EXPECT_FALSE(rx.InFrame());
  EXPECT_EQ(rx.Collected(), 0u);
  // The rest of the abandoned frame is junk now; a whole frame still decodes.
  EXPECT_FALSE(rx.Feed(Tail(f, 10)));
  EXPECT_TRUE(rx.Feed(f));
}

}  // namespace
}  // namespace vantor
