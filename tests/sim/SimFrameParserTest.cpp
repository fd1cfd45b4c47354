// The unit's receiver, fed with frames written out byte by byte.
#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "sim/SimFrame.h"
#include "sim/SimFrameParser.h"

namespace {

using simtest::Bytes;
using simtest::Hex;
using vantor::sim::SimFrameParser;

const Bytes kIdentityRead =
    Hex("A2 A2 A2 A3 B4 01 00 04 88 00 00 00 08 00 00 00 00 00 00 00 00 00 31 AA");
const Bytes kItemWrite =
    Hex("A2 A2 A2 A3 B3 01 00 03 00 05 00 00 08 00 00 00 00 00 00 00 00 00 BC AA");

TEST(SimFrameParser, TakesTheIdentityReadAndItsFields) {
  SimFrameParser parser;
  const auto frames = parser.Feed(kIdentityRead);
  ASSERT_EQ(frames.size(), 1u);
  const auto& f = frames[0];
  EXPECT_TRUE(f.Intact());
  EXPECT_EQ(f.Code(), 0xB4);
  EXPECT_EQ(f.DeviceId(), 1);
  EXPECT_EQ(f.Slot(), 0);
  EXPECT_EQ(f.Block(), 4);
  EXPECT_EQ(f.Index(), 0x88);
  EXPECT_EQ(f.PayloadLength(), 8u);
  EXPECT_EQ(f.bytes, kIdentityRead);
}

TEST(SimFrameParser, SkipsLeadingBytesZeroFillAndFindsBackToBackFrames) {
  SimFrameParser parser;
  Bytes stream = Hex("00 13 A2 A2 55 A2");  // broken preambles before the real one
  stream.insert(stream.end(), kIdentityRead.begin(), kIdentityRead.end());
  stream.insert(stream.end(), 10, 0x00);  // report zero fill
  stream.insert(stream.end(), kItemWrite.begin(), kItemWrite.end());
  const auto frames = parser.Feed(stream);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].bytes, kIdentityRead);
  EXPECT_EQ(frames[1].bytes, kItemWrite);
  EXPECT_TRUE(frames[1].Intact());
  EXPECT_FALSE(parser.InFrame());
}

TEST(SimFrameParser, AFrameMaySpanCallsEvenInsideThePreamble) {
  SimFrameParser parser;
  EXPECT_TRUE(parser.Feed(Hex("A2 A2")).empty());
  EXPECT_TRUE(parser.Feed(Bytes(kIdentityRead.begin() + 2, kIdentityRead.begin() + 15)).empty());
  EXPECT_TRUE(parser.InFrame());
  const auto frames = parser.Feed(Bytes(kIdentityRead.begin() + 15, kIdentityRead.end()));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].bytes, kIdentityRead);
}

TEST(SimFrameParser, ReportsDamagedFramesAsNotIntact) {
  SimFrameParser parser;
  Bytes badSum = kItemWrite;
  badSum[22] ^= 0x01;
  Bytes badEnd = kItemWrite;
  badEnd[23] = 0xAB;
  Bytes stream = badSum;
  stream.insert(stream.end(), badEnd.begin(), badEnd.end());
  stream.insert(stream.end(), kItemWrite.begin(), kItemWrite.end());
  const auto frames = parser.Feed(stream);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_FALSE(frames[0].Intact());
  EXPECT_FALSE(frames[1].Intact());
  EXPECT_TRUE(frames[2].Intact());
}

TEST(SimFrameParser, AnImpossibleLengthDoesNotSwallowTheNextFrame) {
  SimFrameParser parser;
  // A header claiming 0xFFFF payload bytes, directly followed by a good frame.
  Bytes stream = Hex("A2 A2 A2 A3 B3 01 00 03 00 05 00 00 FF FF");
  stream.insert(stream.end(), kIdentityRead.begin(), kIdentityRead.end());
  const auto frames = parser.Feed(stream);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_FALSE(frames[0].Intact());
  EXPECT_EQ(frames[0].bytes.size(), 14u);
  EXPECT_EQ(frames[1].bytes, kIdentityRead);
}

}  // namespace
