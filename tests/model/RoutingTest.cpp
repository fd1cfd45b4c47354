// Inputs, sources and routing on the model side, and the system-block edits the scan sends.

#include <gtest/gtest.h>

#include "base/LittleEndian.h"
#include "model/KTV_Data.h"
#include "text/TextCatalog.h"

namespace vantor {
namespace {

struct Model {
  ProgramState state;
  CKTV_Data data{state};
};

TEST(InputSource, SelectionStoresAndAsksForItem144OnlyWhenConnected) {
  Model m;
  EXPECT_EQ(m.data.SelectInputSource(3), RoutingResult::Stored);
  EXPECT_EQ(m.state.SystemBlock()[0], 3);
  m.state.connected = true;
  EXPECT_EQ(m.data.SelectInputSource(5), RoutingResult::QueueSystem);
  EXPECT_EQ(m.data.InputSource(), 5);
  EXPECT_EQ(m.data.SelectInputSource(6), RoutingResult::Refused);
  EXPECT_EQ(m.data.SelectInputSource(-1), RoutingResult::Refused);
  EXPECT_EQ(m.data.InputSource(), 5);
}

TEST(InputSource, DeviceReportIsTakenOnlyWhenItChanges) {
  Model m;
  EXPECT_FALSE(m.data.ApplyReportedSource(0));  // same as last reported (start 0)
  m.data.SelectInputSource(4);                  // the user's own choice
  EXPECT_FALSE(m.data.ApplyReportedSource(0));  // the device still says 0: not a change
  EXPECT_EQ(m.data.InputSource(), 4);
  EXPECT_TRUE(m.data.ApplyReportedSource(2));
  EXPECT_EQ(m.data.InputSource(), 2);
  EXPECT_EQ(m.state.lastReportedSource.load(), 2);
  EXPECT_FALSE(m.data.ApplyReportedSource(2));
  EXPECT_FALSE(m.data.ApplyReportedSource(9));  // damaged reply
  EXPECT_EQ(m.data.InputSource(), 2);
}

TEST(InputSource, NamesExistInBothLanguagesInListOrder) {
  const std::array<std::string_view, 6> zh = {"高电平", "低电平", "蓝牙", "光纤", "同轴", "播放器"};
  const std::array<std::string_view, 6> en = {"High level", "RCA",     "Bluetooth",
                                              "Optical",    "Coaxial", "Player"};
  for (int v = 0; v < 6; ++v) {
    EXPECT_EQ(InputSourceName(v, true), zh[v]);
    EXPECT_EQ(InputSourceName(v, false), en[v]);
  }
  EXPECT_TRUE(InputSourceName(6, false).empty());
  EXPECT_TRUE(InputSourceName(-1, true).empty());
}

TEST(SpeakerType, ChangesTheNameButNotCrossoverOrMixer) {
  Model m;
  m.data.LoadOutputs();
  CKTV_OutData& o = m.data.Output(2);
  const int hp = o.HighPass().Frequency();
  const MixerRow mixer = o.Mixer();
  const rec::StateRecord before = m.state.Live();
  EXPECT_EQ(SpeakerTypeName(m.data.SpeakerType(2)), "前左中低频");
  EXPECT_EQ(m.data.SetSpeakerType(2, 24), RoutingResult::Stored);
  EXPECT_EQ(SpeakerTypeName(m.data.SpeakerType(2)), "超低");
  EXPECT_EQ(m.state.SpeakerTypes()[2], 24);
  EXPECT_EQ(o.HighPass().Frequency(), hp);
  EXPECT_EQ(o.Mixer(), mixer);
  EXPECT_EQ(m.state.Live(), before);
  m.state.connected = true;
  EXPECT_EQ(m.data.SetSpeakerType(7, 0), RoutingResult::QueueSystem);
  EXPECT_EQ(m.data.SetSpeakerType(7, 27), RoutingResult::Refused);
  EXPECT_EQ(m.data.SetSpeakerType(8, 1), RoutingResult::Refused);
  EXPECT_EQ(m.state.SpeakerTypes()[7], 0);
}

TEST(SpeakerMode, IsReadFromTheSystemBlock) {
  Model m;
  EXPECT_EQ(SpeakerModeName(m.data.SpeakerMode()), "默认全频");
  m.state.SystemBlock()[rec::kSysSpeakerMode] = 3;
  EXPECT_EQ(SpeakerModeName(m.data.SpeakerMode()), "前两超低");
}

TEST(MasterVolume, StoresAndMarksWithLiveSync) {
  Model m;
  EXPECT_EQ(m.data.MasterVolume(), 60);
  EXPECT_TRUE(m.data.SetMasterVolume(66));
  EXPECT_FALSE(m.data.MasterVolumeChanged());
  m.state.liveSync = true;
  EXPECT_TRUE(m.data.SetMasterVolume(0));
  EXPECT_EQ(le::GetI16(m.state.SystemBlock(), rec::kSysMasterVolume), 0);
  EXPECT_TRUE(m.data.TakeMasterVolumeChange());
  EXPECT_FALSE(m.data.TakeMasterVolumeChange());
  EXPECT_FALSE(m.data.SetMasterVolume(67));
  EXPECT_EQ(m.data.MasterVolume(), 0);
  m.data.SetMasterOn(0);
  EXPECT_EQ(m.data.MasterOn(), 0);
}

TEST(HiddenLevels, ValuesAndBytesLandInTheirBlock) {
  Model m;
  m.state.liveSync = true;
  EXPECT_EQ(m.data.HiddenLevel(2), 200);
  EXPECT_TRUE(m.data.SetHiddenLevel(2, -3));
  EXPECT_TRUE(m.data.SetHiddenLevel(4, 9));
  EXPECT_FALSE(m.data.SetHiddenLevel(5, 1));
  EXPECT_EQ(le::GetI16(m.state.HiddenLevels(), 4), -3);
  EXPECT_EQ(m.state.HiddenLevels()[7], 9);
  EXPECT_EQ(m.data.HiddenLevel(4), 9);
  EXPECT_TRUE(m.data.TakeHiddenLevelChange());
}

}  // namespace
}  // namespace vantor
