// Start-up values of the live record, the slot records and the global blocks.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "base/LittleEndian.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

constexpr std::array<int, 31> kStartupBandHz = {
    20,  26,   33,   41,   51,   62,   81,   101,  124,  161,  201,  251,   316,   401,   501,  631,
    801, 1001, 1251, 1601, 2001, 2501, 3151, 4001, 5001, 6299, 8001, 10001, 12501, 16001, 20000};

std::span<const std::uint8_t> Out(const rec::StateRecord& r, int c) {
  return std::span<const std::uint8_t>(r).subspan(rec::OutputOffset(c), rec::kOutputRecordSize);
}

void ExpectStartupOutputs(const rec::StateRecord& r) {
  for (int c = 0; c < rec::kOutputCount; ++c) {
    SCOPED_TRACE(c);
    const auto o = Out(r, c);
    for (int b = 0; b < rec::kOutputBands; ++b) {
      EXPECT_EQ(le::GetI16(o, rec::OutBand(b) + rec::kBandFrequency), kStartupBandHz[b]);
      EXPECT_EQ(le::GetI16(o, rec::OutBand(b) + rec::kBandGainCode), 600);
      EXPECT_EQ(le::GetI16(o, rec::OutBand(b) + rec::kBandWidth), 15);
      EXPECT_EQ(o[rec::OutBand(b) + rec::kBandSlope], 0);
      EXPECT_EQ(o[rec::OutBand(b) + rec::kBandType], 0);
    }
    EXPECT_EQ(o[rec::kOutOn], 1);
    EXPECT_EQ(o[rec::kOutPhase], 0);
    EXPECT_EQ(le::GetI16(o, rec::kOutGain), 60);
    EXPECT_EQ(le::GetI16(o, rec::kOutDelay), 0);
    EXPECT_EQ(o[rec::kOutEqMode], 0);
    EXPECT_EQ(o[rec::kOutAuxLevel], 0);
    EXPECT_EQ(le::GetI16(o, rec::kOutHighPassFreq), 20);
    EXPECT_EQ(o[rec::kOutHighPassFamily], 2);
    EXPECT_EQ(o[rec::kOutHighPassSlope], 2);
    EXPECT_EQ(le::GetI16(o, rec::kOutLowPassFreq), 20000);
    EXPECT_EQ(o[rec::kOutLowPassFamily], 2);
    EXPECT_EQ(o[rec::kOutLowPassSlope], 2);
    EXPECT_EQ(o[rec::kOutMixer], 100);
    for (std::size_t s = 1; s < rec::kMixerSources; ++s) EXPECT_EQ(o[rec::kOutMixer + s], 0);
    for (std::size_t at : {278, 279, 280, 281, 286, 287, 288, 289}) EXPECT_EQ(o[at], 0) << at;
    EXPECT_EQ(le::GetI16(o, rec::kOutLimiterThreshold), 360);
    EXPECT_EQ(o[rec::kOutLimiterAttack], 106);
    EXPECT_EQ(o[rec::kOutLimiterRelease], 5);
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(o[rec::kOutName + i], ' ');
    EXPECT_EQ(o[rec::kOutName + 7], 0);
  }
}

void ExpectStartupInputsAndEffect(const rec::StateRecord& r) {
  auto expectBands = [&](std::size_t block, int bands) {
    for (int b = 0; b < bands; ++b) {
      const std::size_t at = block + rec::OutBand(b);
      EXPECT_EQ(le::GetI16(r, at + rec::kBandFrequency), 1000);
      EXPECT_EQ(le::GetI16(r, at + rec::kBandGainCode), 600);
      EXPECT_EQ(le::GetI16(r, at + rec::kBandWidth), 0);
      EXPECT_EQ(r[at + rec::kBandSlope], 0);
      EXPECT_EQ(r[at + rec::kBandType], 0);
    }
  };
  expectBands(rec::kEffectBlock, 8);
  expectBands(rec::kMicBlock, rec::kInputBands);
  expectBands(rec::kMusicBlock, rec::kInputBands);
  // Everything else of those regions is zero.
  for (std::size_t at = rec::kEffectBlock + 64; at < rec::kMicBlock; ++at)
    EXPECT_EQ(r[at], 0) << at;
  for (std::size_t block : {rec::kMicBlock, rec::kMusicBlock}) {
    for (std::size_t at = block + 72; at < block + rec::kInputBlockSize; ++at)
      EXPECT_EQ(r[at], 0) << at;
  }
}

TEST(ProgramStateStartup, LiveRecordHoldsTheStartupProgram) {
  ProgramState s;
  ExpectStartupOutputs(s.Live());
  ExpectStartupInputsAndEffect(s.Live());
  for (std::size_t at = 0; at < 32; ++at) EXPECT_EQ(s.Live()[at], 0) << at;  // names
}

TEST(ProgramStateStartup, SlotRecordsAreTheStartupProgramUnderBlankNames) {
  ProgramState s;
  for (int n = 1; n <= rec::kSlotRecordCount; ++n) {
    SCOPED_TRACE(n);
    const auto& r = s.Slot(n);
    for (std::size_t i = 0; i < 15; ++i) EXPECT_EQ(r[rec::kProgramName + i], ' ');
    EXPECT_EQ(r[rec::kProgramName + 15], 0);
    for (std::size_t i = 0; i < rec::kSecondTextSize; ++i) EXPECT_EQ(r[rec::kSecondText + i], ' ');
    EXPECT_TRUE(std::equal(r.begin() + 32, r.end(), s.Live().begin() + 32));
  }
  EXPECT_EQ(&s.Record(0), &s.Live());
  EXPECT_EQ(&s.Record(20), &s.Slot(20));
}

TEST(ProgramStateStartup, GlobalBlocksTakeTheirStartupValues) {
  ProgramState s;
  const auto sys = s.SystemBlock();
  EXPECT_EQ(sys[rec::kSysInputSource], 0);
  EXPECT_EQ(le::GetI16(sys, rec::kSysMasterVolume), 60);
  EXPECT_EQ(sys[rec::kSysMasterOn], 1);
  EXPECT_EQ(sys[rec::kSysSpeakerMode], 0);
  EXPECT_EQ(sys[1], 0);
  EXPECT_EQ(sys[4], 0);
  EXPECT_EQ(sys[7], 0);
  const std::array<int, 12> types = {1, 7, 5, 11, 15, 18, 21, 24, 0, 0, 0, 0};
  for (std::size_t i = 0; i < types.size(); ++i) EXPECT_EQ(s.SpeakerTypes()[i], types[i]) << i;
  const auto hidden = s.HiddenLevels();
  EXPECT_EQ(le::GetI16(hidden, 0), 200);
  EXPECT_EQ(le::GetI16(hidden, 2), 200);
  EXPECT_EQ(le::GetI16(hidden, 4), 200);
  EXPECT_EQ(hidden[6], 0);
  EXPECT_EQ(hidden[7], 0);
  // The 32-byte area is the system block, the speaker types, four bytes, the hidden levels.
  EXPECT_EQ(s.SystemArea()[8], 1);
  EXPECT_EQ(s.SystemArea()[15], 24);
  EXPECT_EQ(le::GetI16(s.SystemArea(), 24), 200);
  for (std::size_t at = 20; at < 24; ++at) EXPECT_EQ(s.SystemArea()[at], 0);
  for (auto b : s.LimiterBlock()) EXPECT_EQ(b, 0);
  for (auto b : s.DelayPositions()) EXPECT_EQ(b, 0);
  // No identity received yet: 18 spaces.
  EXPECT_EQ(std::string(s.Identity().begin(), s.Identity().end()), std::string(18, ' '));
  for (int n = 0; n < rec::kEffectImageCount; ++n) {
    for (auto b : s.EffectImage(n)) EXPECT_EQ(b, 0);
  }
}

TEST(ProgramStateStartup, FlagsStartAsTheProgramStarts) {
  ProgramState s;
  EXPECT_TRUE(s.chinese.load());
  EXPECT_FALSE(s.liveSync.load());
  EXPECT_FALSE(s.connected.load());
  EXPECT_FALSE(s.busy.load());
}

TEST(ProgramStateStartup, ResetRecordsRestoresRecordsButNotFlags) {
  ProgramState s;
  s.Live()[rec::OutputOffset(3) + rec::kOutOn] = 0;
  s.Slot(4)[0] = 'X';
  s.SpeakerTypes()[0] = 9;
  s.LimiterBlock()[0] = 7;
  s.chinese = false;
  s.ResetRecords();
  ExpectStartupOutputs(s.Live());
  EXPECT_EQ(s.Slot(4)[0], ' ');
  EXPECT_EQ(s.SpeakerTypes()[0], 1);
  EXPECT_EQ(s.LimiterBlock()[0], 0);
  EXPECT_FALSE(s.chinese.load());
}

}  // namespace
}  // namespace vantor
