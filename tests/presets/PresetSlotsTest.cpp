// The preset slot operations against the simulated processor: which frames each batch
// sends, how the progress and transfer window follow, and what ends up in the unit and in
// the files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "base/LittleEndian.h"
#include "connection/LinkRig.h"
#include "presets/PresetController.h"
#include "presets/PresetSerializer.h"
#include "presets/TunedProgram.h"

namespace vantor::testing {
namespace {

using sim::SimFrameRecord;
using Bytes = std::vector<std::uint8_t>;

constexpr int kWrite = 0xB3;
constexpr int kRead = 0xB4;

std::span<const std::uint8_t> Block(const rec::StateRecord& r, std::size_t at, std::size_t n) {
  return std::span(r).subspan(at, n);
}

bool SameBlocks(const rec::StateRecord& a, const rec::StateRecord& b) {
  auto same = [&](std::size_t at, std::size_t n) {
    const auto x = Block(a, at, n);
    const auto y = Block(b, at, n);
    return std::equal(x.begin(), x.end(), y.begin());
  };
  bool ok = same(rec::kMusicBlock, rec::kInputBlockSize);
  for (int c = 0; c < rec::kOutputCount; ++c)
    ok = ok && same(rec::OutputOffset(c), rec::kOutputBlockSize);
  return ok;
}

// The record of a program with every band and crossover moved.
rec::StateRecord MovedProgram() {
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  TuneEveryBand(model);
  model.Store();
  state.Live()[rec::kMusicOnFlag] = 1;
  return state.Live();
}

// Every filter of every output holds the record's frequency as sent, and nothing waits to
// be sent.
void ExpectNothingLeftToSend(CKTV_Data& model, const rec::StateRecord& record) {
  for (int c = 0; c < rec::kOutputCount; ++c) {
    CKTV_OutData& out = model.Output(c);
    for (int i = 0; i < out.BandCount() + 2; ++i) {
      const CFilter& f = out.Filter(i);
      EXPECT_EQ(f.SentFrequency(), f.Frequency()) << "output " << c << " filter " << i;
      EXPECT_EQ(f.Pending(), 0) << "output " << c << " filter " << i;
    }
    EXPECT_EQ(out.Filter(9).Frequency(),
              le::GetI16(record, rec::OutputOffset(c) + rec::OutBand(9)));
  }
}

// "P1".."P6", appended: GCC 12 at -O3 warns falsely (-Wrestrict) on "P" + std::string.
std::string ShortName(int n) {
  std::string name = "P";
  name += std::to_string(n);
  return name;
}

class PresetSlots : public ::testing::Test {
 protected:
  PresetSlots() {
    rig.State().chinese = false;
    rig.Screen().forward = [this](const DeviceEventMessage& m) { presets.OnDeviceEvent(m); };
    presets.SetAllPresetsSaved([this](const PresetResult& r) { saved.push_back(r); });
  }

  void GoLive() {
    ASSERT_TRUE(rig.ConnectLive());
    ASSERT_TRUE(rig.Drained());
    rig.unit->ClearFrameLog();
    rig.Screen().ranges.clear();
    rig.Screen().transferShown.clear();
    rig.Screen().messages.clear();
  }

  // Waits for the batch to be answered and everything after it to be sent.
  void Settle() {
    ASSERT_TRUE(rig.Until([this] { return !rig.State().busy.load(); }));
    ASSERT_TRUE(rig.Drained());
  }

  std::vector<SimFrameRecord> Frames() const {
    std::vector<SimFrameRecord> out;
    for (const auto& f : rig.unit->FrameLog()) {
      if (!(f.block == 4 && f.index == 3)) out.push_back(f);
    }
    return out;
  }

  std::filesystem::path Path(const std::string& name) const { return rig.dir.Path() / name; }

  LinkRig rig;
  PresetController presets{rig.Controller()};
  std::vector<PresetResult> saved;
};

TEST_F(PresetSlots, StoreFromTheDialogSendsNameMusicAndEightOutputsToTheSlot) {
  GoLive();
  rig.Model().Output(2).SetGainCode(30);
  ASSERT_TRUE(rig.Drained());
  rig.unit->ClearFrameLog();
  rig.State().Live()[rec::kMusicOnFlag] = 0;

  const PresetResult r = presets.NameSlot(3, "Bass");
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.commands, 10);
  EXPECT_EQ(r.counter, 9);
  EXPECT_EQ(rig.Screen().transferShown, std::vector<TransferOwner>{TransferOwner::kPresetDialog});
  Settle();
  EXPECT_EQ(rig.Screen().ranges.back(), std::make_pair(0, 9));
  EXPECT_FALSE(rig.Screen().transferVisible);

  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 10U);
  for (const auto& f : frames) {
    EXPECT_EQ(f.code, kWrite);
    EXPECT_EQ(f.slot, 3);
  }
  EXPECT_EQ(frames[0].block, 4);
  EXPECT_EQ(frames[0].index, 134);
  EXPECT_EQ(frames[0].payload, (Bytes{'B', 'a', 's', 's', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(frames[1].block, 2);
  EXPECT_EQ(frames[1].index, 2);
  ASSERT_EQ(frames[1].payload.size(), 112U);
  EXPECT_EQ(frames[1].payload[75], 1) << "music-on flag";
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(frames[2 + c].block, 3);
    EXPECT_EQ(frames[2 + c].index, c);
  }

  const auto slot3 = rig.unit->Record(3);
  EXPECT_TRUE(SameBlocks(slot3, rig.State().Live()));
  EXPECT_EQ(le::GetI16(slot3, rec::OutputOffset(2) + rec::kOutGain), 30);
  EXPECT_EQ(std::string(slot3.begin(), slot3.begin() + 5), std::string("Bass") + '\0');
  EXPECT_EQ(presets.SlotLabel(3), "Bass");
  EXPECT_EQ(std::string(rig.State().Live().begin(), rig.State().Live().begin() + 4), "Bass")
      << "the slot's name is copied to the live program";
}

TEST_F(PresetSlots, FileLoadStoresTheLiveProgramWithTheOutputsSwitchedOffAround) {
  GoLive();
  rig.Model().Output(6).SetDelayCode(960);
  rig.Model().Output(1).SetOutputOn(0);
  ASSERT_TRUE(rig.Drained());
  ASSERT_TRUE(presets.SaveSinglePresetFile(Path("p.dsps")).Ok());
  rig.Model().Output(6).SetDelayCode(0);
  ASSERT_TRUE(rig.Drained());
  rig.unit->ClearFrameLog();

  const PresetResult r = presets.LoadFile(Path("p.dsps"));
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.commands, 26);
  Settle();
  EXPECT_EQ(rig.Screen().ranges.back(), std::make_pair(0, 25));

  const auto frames = Frames();
  ASSERT_GE(frames.size(), 26U);
  for (int c = 0; c < 8; ++c) {
    const auto& off = frames[static_cast<std::size_t>(c)];
    EXPECT_EQ(off.block, 3);
    EXPECT_EQ(off.index, c);
    EXPECT_EQ(off.item, 31);
    EXPECT_EQ(off.payload[0], 0) << "output " << c << " switched off first";
    const auto& on = frames[static_cast<std::size_t>(18 + c)];
    EXPECT_EQ(on.item, 31);
    EXPECT_EQ(on.payload[0], c == 1 ? 0 : 1) << "output " << c << " back as it was";
  }
  EXPECT_EQ(frames[8].index, 134);
  EXPECT_EQ(frames[9].block, 2);
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(frames[static_cast<std::size_t>(10 + c)].payload[rec::kOutOn], 0)
        << "blocks go out silenced";
  }
  for (const auto& f : frames) EXPECT_EQ(f.slot, 0);

  const auto live = rig.unit->Record(0);
  EXPECT_EQ(le::GetI16(live, rec::OutputOffset(6) + rec::kOutDelay), 960);
  EXPECT_EQ(live[rec::OutputOffset(0) + rec::kOutOn], 1);
  EXPECT_EQ(live[rec::OutputOffset(1) + rec::kOutOn], 0);
  EXPECT_EQ(rig.Model().Output(6).DelayCode(), 960);
}

TEST_F(PresetSlots, AFileWithEveryBandMovedIsPushedAsTheTwentySixCommandsAlone) {
  const rec::StateRecord moved = MovedProgram();
  {
    ProgramState other;
    other.Live() = moved;
    CKTV_Data otherModel(other);
    otherModel.Load(-1);
    ByteArchive file;
    ASSERT_TRUE(SerializePreset(file, otherModel));
    ASSERT_TRUE(ReplaceFile(Path("moved.dsps"), file.Bytes()).Ok());
  }
  GoLive();
  ASSERT_TRUE(presets.LoadFile(Path("moved.dsps")).Ok());
  Settle();
  // The blocks carry every frequency; a band walked there again in octave steps would be
  // heard as a sweep on every output.
  EXPECT_EQ(Frames().size(), 26U);
  ExpectNothingLeftToSend(rig.Model(), moved);
  EXPECT_TRUE(SameBlocks(rig.unit->Record(0), moved));
}

TEST_F(PresetSlots, AMovedProgramReadBackLeavesNothingToSend) {
  const rec::StateRecord moved = MovedProgram();
  rig.unit->Modify([&](ProgramState& s) { s.Live() = moved; });
  ASSERT_TRUE(rig.ConnectLive());
  ASSERT_TRUE(rig.Drained());
  for (const auto& f : Frames()) EXPECT_EQ(f.code, kRead);
  ExpectNothingLeftToSend(rig.Model(), moved);
}

TEST_F(PresetSlots, RecallReadsNineBlocksOfTheSlotIntoTheLiveProgram) {
  const rec::StateRecord moved = MovedProgram();
  rig.unit->Modify([&](ProgramState& s) {
    s.Slot(4) = moved;
    le::PutI16(s.Slot(4), rec::OutputOffset(1) + rec::kOutGain, 25);
    le::PutI16(s.Slot(4), rec::OutputOffset(7) + rec::kOutDelay, 100);
  });
  GoLive();
  const PresetResult r = presets.Recall(4);
  ASSERT_TRUE(r.Ok());
  EXPECT_FALSE(rig.State().liveSync.load()) << "edits wait until the slot has arrived";
  Settle();
  EXPECT_EQ(rig.Screen().ranges.back(), std::make_pair(0, 8));
  EXPECT_EQ(rig.Screen().transferShown, std::vector<TransferOwner>{TransferOwner::kPresetDialog});

  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 9U);
  EXPECT_EQ(frames[0].block, 2);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].code, kRead);
    EXPECT_EQ(frames[i].slot, 4);
    EXPECT_EQ(frames[i].item, 0) << "no slot-store flag";
    if (i > 0) {
      EXPECT_EQ(frames[i].index, i - 1);
    }
  }
  EXPECT_EQ(rig.Model().Output(1).GainCode(), 25);
  EXPECT_EQ(rig.Model().Output(7).DelayCode(), 100);
  EXPECT_TRUE(rig.State().liveSync.load());
  ExpectNothingLeftToSend(rig.Model(), moved);
}

TEST_F(PresetSlots, RecallFromALeftClickWaitsForLiveSync) {
  GoLive();
  rig.State().liveSync = false;
  EXPECT_EQ(presets.Recall(2, true).status, PresetStatus::kNotLive);
  EXPECT_TRUE(rig.Screen().transferShown.empty());
  rig.State().liveSync = true;
  ASSERT_TRUE(rig.Drained());
  for (const auto& f : Frames()) EXPECT_NE(f.slot, 2);
}

TEST_F(PresetSlots, SaveAllReadsSixSlotsAndWritesTheFileOnlyAfterTheLast) {
  rig.unit->Modify([](ProgramState& s) {
    for (int n = 1; n <= 6; ++n) {
      le::PutI16(s.Slot(n), rec::OutputOffset(n) + rec::kOutGain,
                 static_cast<std::int16_t>(10 + n));
      const std::string name = "Slot number " + std::to_string(n) + "!!";
      std::copy(name.begin(), name.end(), s.Slot(n).begin());
    }
  });
  GoLive();
  const PresetResult r = presets.SaveAllPresetsFile(Path("all"));
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.path, Path("all.dspa"));
  EXPECT_TRUE(presets.AllPresetsSavePending());
  EXPECT_FALSE(std::filesystem::exists(Path("all.dspa"))) << "nothing before the device answered";
  Settle();
  ASSERT_EQ(saved.size(), 1U);
  EXPECT_TRUE(saved[0].Ok());
  EXPECT_EQ(rig.Screen().ranges.back(), std::make_pair(0, 54));

  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 54U);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].code, kRead);
    EXPECT_EQ(frames[i].item, 0xAB);
    EXPECT_EQ(frames[i].slot, 1 + i / 9);
    EXPECT_EQ(frames[i].block, i % 9 == 0 ? 2 : 3);
  }
  EXPECT_EQ(frames.back().slot, 6);
  EXPECT_EQ(frames.back().index, 7);

  std::ifstream in(Path("all.dspa"), std::ios::binary);
  const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(file.size(), 58730U);
  for (int n = 1; n <= 6; ++n) {
    rec::StateRecord inFile{};
    std::copy_n(file.begin() + 48 + 2792 * (n - 1), 2792, inFile.begin());
    EXPECT_EQ(inFile[rec::kMusicOnFlag], 1) << "set when the file is written";
    auto unitSlot = rig.unit->Record(n);
    unitSlot[rec::kMusicOnFlag] = 1;
    EXPECT_TRUE(SameBlocks(inFile, unitSlot)) << n;
    // Names come from the connection's name reads: 13 characters and two spaces.
    EXPECT_EQ(std::string(inFile.begin(), inFile.begin() + 15),
              "Slot number " + std::to_string(n) + "  ");
  }
  EXPECT_EQ(presets.SlotLabel(1), "Slot number 1");
}

TEST_F(PresetSlots, SaveAllCutOffByTheDeviceWritesNoFile) {
  GoLive();
  rig.unit->InjectFault(sim::SimFault::StopAnswering(20));
  ASSERT_TRUE(presets.SaveAllPresetsFile(Path("cut.dspa")).Ok());
  ASSERT_TRUE(rig.Until([this] { return !saved.empty(); }));
  EXPECT_EQ(saved[0].status, PresetStatus::kInterrupted);
  EXPECT_FALSE(presets.AllPresetsSavePending());
  EXPECT_FALSE(std::filesystem::exists(Path("cut.dspa")));
  EXPECT_FALSE(rig.State().busy.load());
  // Not "unable to connect": it was connected. What broke off, how far it got, and that the
  // device is as it was.
  EXPECT_TRUE(rig.Screen().statusMessages.empty());
  ASSERT_EQ(rig.Screen().messages.back(), TextId::TransferBrokeOff);
  const std::string& detail = rig.Screen().details.back();
  EXPECT_TRUE(detail.starts_with("Reading all presets stopped at command ")) << detail;
  EXPECT_NE(detail.find(" of 54.\nNothing on the processor was changed"), std::string::npos)
      << detail;
}

TEST_F(PresetSlots, AllPresetsFileIsSentWholeToTheDevice) {
  // A file made elsewhere: six named slots and a live program that differ from the unit's.
  ProgramState other;
  other.Live() = MovedProgram();
  CKTV_Data otherModel(other);
  otherModel.LoadOutputs();
  otherModel.Output(0).SetGainCode(12);
  for (int n = 1; n <= 6; ++n) {
    StoreSlotName(other.Slot(n), ShortName(n));
    le::PutI16(other.Slot(n), rec::OutputOffset(3) + rec::kOutDelay,
               static_cast<std::int16_t>(100 * n));
  }
  ByteArchive ar;
  ASSERT_TRUE(SerializeAllPresets(ar, otherModel));
  ASSERT_TRUE(ReplaceFile(Path("in.dspa"), ar.Bytes()).Ok());

  GoLive();
  const PresetResult r = presets.LoadFile(Path("in.dspa"));
  ASSERT_TRUE(r.Ok());
  Settle();
  EXPECT_EQ(rig.Screen().ranges.back(), std::make_pair(0, 84));
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 86U) << "whole blocks only, every band already where it belongs";
  EXPECT_EQ(frames[17].index, 64) << "the limiter block after the live program";
  EXPECT_EQ(frames[85].slot, 6);
  EXPECT_EQ(frames[85].block, 3);
  EXPECT_EQ(frames[85].index, 7);
  for (int n = 1; n <= 6; ++n) {
    const auto unitSlot = rig.unit->Record(n);
    EXPECT_TRUE(SameBlocks(unitSlot, other.Slot(n))) << n;
    EXPECT_EQ(std::string(unitSlot.begin(), unitSlot.begin() + 3), ShortName(n) + '\0');
  }
  EXPECT_EQ(le::GetI16(rig.unit->Record(0), rec::OutputOffset(0) + rec::kOutGain), 12);
  EXPECT_EQ(rig.Model().Output(0).GainCode(), 12);
  ExpectNothingLeftToSend(rig.Model(), other.Live());
}

TEST_F(PresetSlots, DeleteSendsAnEmptyNameAndLeavesTheParameters) {
  GoLive();
  ASSERT_TRUE(presets.NameSlot(3, "Bass").Ok());
  Settle();
  const auto before = rig.unit->Record(3);
  rig.unit->ClearFrameLog();

  ASSERT_TRUE(presets.DeleteSlot(3).Ok());
  ASSERT_TRUE(rig.Drained());
  EXPECT_EQ(presets.SlotLabel(3), "Source3");
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].index, 134);
  EXPECT_EQ(frames[0].slot, 3);
  EXPECT_EQ(frames[0].payload, Bytes(16, 0));
  auto after = rig.unit->Record(3);
  EXPECT_EQ(after[0], 0);
  std::copy_n(before.begin(), 16, after.begin());
  EXPECT_EQ(after, before) << "only the name changed";

  rig.unit->ClearFrameLog();
  rig.State().liveSync = false;
  EXPECT_EQ(presets.DeleteSlot(3).status, PresetStatus::kNotLive);
  rig.State().liveSync = true;
  ASSERT_TRUE(rig.Drained());
  EXPECT_TRUE(Frames().empty());
}

TEST_F(PresetSlots, BlankNameIsRefusedAndNothingIsStored) {
  GoLive();
  const auto slot = rig.State().Slot(2);
  const PresetResult r = presets.NameSlot(2, "    ");
  EXPECT_EQ(r.status, PresetStatus::kRejected);
  EXPECT_EQ(rig.Screen().messages, std::vector<TextId>{TextId::SlotNameAllSpaces});
  EXPECT_EQ(rig.State().Slot(2), slot);
  ASSERT_TRUE(rig.Drained());
  EXPECT_TRUE(Frames().empty());
}

TEST_F(PresetSlots, LongNameIsSentWithFifteenBytesAndReadBackWithThirteen) {
  GoLive();
  ASSERT_TRUE(presets.NameSlot(2, "ABCDEFGHIJKLMNOPQRST").Ok());
  Settle();
  const auto slot2 = rig.unit->Record(2);
  EXPECT_EQ(std::string(slot2.begin(), slot2.begin() + 16), std::string("ABCDEFGHIJKLMNO") + '\0');
  EXPECT_EQ(presets.SlotLabel(2), "ABCDEFGHIJKLMNO");

  rig.Controller().ToggleConnection();
  EXPECT_EQ(presets.SlotLabel(2), "Source2") << "defaults while disconnected";
  rig.Controller().ToggleConnection();
  ASSERT_TRUE(rig.Until([this] { return rig.Controller().Phase() == ConnectionPhase::kLive; }));
  EXPECT_EQ(presets.SlotLabel(2), "ABCDEFGHIJKLM");
}

TEST_F(PresetSlots, WithoutADeviceStoreRecallAndReadAllSayTheyCannotConnect) {
  EXPECT_EQ(presets.StorePreset(1, true).status, PresetStatus::kNotConnected);
  EXPECT_EQ(presets.Recall(1).status, PresetStatus::kNotConnected);
  EXPECT_EQ(presets.ReadAllPresets(Path("x.dspa")).status, PresetStatus::kNotConnected);
  EXPECT_EQ(rig.Screen().statusMessages.size(), 3U);
  EXPECT_EQ(presets.SendAllPresets().status, PresetStatus::kNotConnected);
  EXPECT_EQ(presets.SendSystemItem(134, 1).status, PresetStatus::kNotConnected);
  EXPECT_EQ(rig.Screen().statusMessages.size(), 3U) << "send-all and system items are silent";
  EXPECT_EQ(rig.Controller().Queue().Count(), 0);

  // The naming flow keeps the name in the slot record though the store cannot run.
  EXPECT_EQ(presets.NameSlot(5, "Night").status, PresetStatus::kNotConnected);
  EXPECT_EQ(SlotNameText(rig.State().Slot(5)), "Night");
  EXPECT_EQ(presets.SlotLabel(5), "Source5");
  EXPECT_EQ(presets.StorePreset(7, true).status, PresetStatus::kBadArgument);
  EXPECT_EQ(presets.Recall(0).status, PresetStatus::kBadArgument);
}

}  // namespace
}  // namespace vantor::testing
