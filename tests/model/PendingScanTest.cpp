// The pending-change scan: its order, the flags it clears, what it packs, and the octave
// steps of large frequency moves.

#include <gtest/gtest.h>

#include <vector>

#include "RecordingReporter.h"
#include "base/LittleEndian.h"
#include "model/KTV_Data.h"

namespace vantor {
namespace {

using Kind = PendingChange::Kind;

struct Model {
  ProgramState state;
  CKTV_Data data{state};
  RecordingReporter reporter;
  Model() {
    data.SetReporter(&reporter);
    data.LoadOutputs();
    state.liveSync = true;
  }
  std::span<std::uint8_t> Out(int c) {
    return std::span<std::uint8_t>(state.Live())
        .subspan(rec::OutputOffset(c), rec::kOutputRecordSize);
  }
  std::vector<PendingChange> Drain() {
    std::vector<PendingChange> all;
    while (auto p = data.TakePendingChange()) {
      all.push_back(*p);
      if (all.size() > 200) break;
    }
    return all;
  }
};

PendingChange OutItem(int c, int item) { return {Kind::OutputItem, c, item}; }

TEST(PendingScan, NothingPendingGivesNothing) {
  Model m;
  EXPECT_FALSE(m.data.TakePendingChange().has_value());
}

TEST(PendingScan, NothingAccumulatesWhileLiveSyncIsClear) {
  Model m;
  m.state.liveSync = false;
  m.data.Output(0).SetGainCode(10);
  m.data.Output(0).Filter(3).SetGainIndex(300);
  m.data.Output(0).HighPass().SetFrequency(100, true);
  m.data.SetMasterVolume(50);
  m.data.SetHiddenLevel(0, 100);
  m.data.Music().SetGainCode(3);
  EXPECT_FALSE(m.data.TakePendingChange().has_value());
}

TEST(PendingScan, FollowsTheDocumentedOrder) {
  Model m;
  // Set in scrambled order.
  m.data.Output(1).Filter(4).SetGainIndex(210);
  m.data.Output(1).Filter(2).SetGainIndex(210);
  m.data.Output(1).SetThresholdCode(100);
  m.data.Output(1).SetMixerHigh(MixerRow{});
  m.data.Output(1).SetMixerLow(MixerRow{});
  m.data.Output(1).LowPass().SetFrequency(15000, true);
  m.data.Output(1).SetDelayCode(5);
  m.data.Output(1).SetNameGbk("Door");
  m.data.Output(0).Filter(30).SetGainIndex(190);
  m.data.Music().SetLevelByte(4);
  m.data.Music().SetGainCode(3);
  m.data.SetHiddenLevel(1, 180);
  m.data.SetMasterVolume(40);

  const std::vector<PendingChange> expected = {{Kind::SystemItem, -1, 144},
                                               {Kind::SystemItem, -1, 146},
                                               {Kind::MusicItem, -1, 9},
                                               {Kind::MusicItem, -1, 11},
                                               OutItem(0, 30),
                                               OutItem(1, 36),
                                               OutItem(1, 31),
                                               OutItem(1, 32),
                                               OutItem(1, 33),
                                               OutItem(1, 34),
                                               OutItem(1, 35),
                                               OutItem(1, 2),
                                               OutItem(1, 4)};
  EXPECT_EQ(m.Drain(), expected);
  // Each was packed before it was handed over.
  EXPECT_EQ(le::GetI16(m.state.SystemBlock(), rec::kSysMasterVolume), 40);
  EXPECT_EQ(le::GetI16(m.state.HiddenLevels(), 2), 180);
  EXPECT_EQ(m.state.Live()[rec::kMusicBlock + rec::kInLevelByte], 4);
  auto out = m.Out(1);
  EXPECT_EQ(std::string(out.begin() + 290, out.begin() + 294), "Door");
  EXPECT_EQ(le::GetI16(out, 252), 5);
  EXPECT_EQ(le::GetI16(out, 260), 15000);
  EXPECT_EQ(le::GetI16(out, 282), 100);
  EXPECT_EQ(le::GetI16(out, rec::OutBand(2) + 2), 610);
  EXPECT_EQ(le::GetI16(m.Out(0), rec::OutBand(30) + 2), 590);
}

TEST(PendingScan, BandMoveGoesOutOneOctaveAtATime) {
  Model m;
  CFilter& band = m.data.Output(2).Filter(7);  // 101 Hz at start-up
  band.SetFrequency(100, false);
  band.SetFrequency(1000, true);
  std::vector<int> sent;
  for (int i = 0; i < 5; ++i) {
    const auto p = m.data.TakePendingChange();
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(*p, OutItem(2, 7));
    sent.push_back(le::GetI16(m.Out(2), rec::OutBand(7)));
  }
  EXPECT_EQ(sent, (std::vector<int>{200, 400, 800, 1000, 1000}));
  EXPECT_EQ(band.Pending(), 0);
  EXPECT_FALSE(m.data.TakePendingChange().has_value());
}

TEST(PendingScan, CrossoverStepsLikeABand) {
  Model m;
  CFilter& hp = m.data.Output(4).HighPass();
  hp.SetFrequency(200, true);  // from 20 Hz
  std::vector<int> sent;
  while (auto p = m.data.TakePendingChange()) {
    EXPECT_EQ(*p, OutItem(4, 32));
    sent.push_back(le::GetI16(m.Out(4), rec::kOutHighPassFreq));
    if (sent.size() > 10) break;
  }
  EXPECT_EQ(sent, (std::vector<int>{40, 80, 160, 200, 200}));
}

TEST(PendingScan, RefusedNameIsSentAsTheRecordHoldsIt) {
  Model m;
  m.data.Output(3).SetNameGbk("Tweeter1");
  const auto p = m.data.TakePendingChange();
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(*p, OutItem(3, 36));
  EXPECT_EQ(m.reporter.messages, std::vector<TextId>{TextId::CharLenError});
  EXPECT_EQ(m.Out(3)[290], ' ');  // the start-up record's blank name
  EXPECT_FALSE(m.data.TakePendingChange().has_value());
}

TEST(PendingScan, AnEditDuringTheScanIsNotLost) {
  Model m;
  CKTV_OutData& o = m.data.Output(0);
  o.SetDelayCode(10);
  ASSERT_TRUE(o.TakeChange(OutputChange::Settings));  // the scan took the flag...
  o.SetDelayCode(20);                                 // ...the user edits again...
  o.PackSettings();                                   // ...and the pack sees the new value
  EXPECT_EQ(le::GetI16(m.Out(0), 252), 20);
  // The flag is set again, so the value goes out once more.
  EXPECT_EQ(m.data.TakePendingChange(), OutItem(0, 31));
}

}  // namespace
}  // namespace vantor
