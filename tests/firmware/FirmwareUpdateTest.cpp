// Whole updates against the simulated boot loader: what the unit ends up holding, what the
// user sees on the way, and how an update starts from, and leaves, the connection.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "base/LittleEndian.h"
#include "firmware/FirmwareRig.h"

namespace vantor::testing {
namespace {

using namespace std::chrono_literals;

void ExpectClosedAfterUpdate(FirmwareRig& rig) {
  ProgramState& s = rig.link.State();
  EXPECT_FALSE(s.firmwareUpdateMode);
  EXPECT_FALSE(s.usbTransfer);
  EXPECT_FALSE(rig.link.Controller().Connected());
  EXPECT_FALSE(rig.link.Controller().Worker().Exists());
  EXPECT_FALSE(rig.link.Controller().Link().IsOpen());
  EXPECT_EQ(rig.link.Controller().Queue().Count(), 0);
  // Removals are a connection's end again, whatever stage the update reached.
  EXPECT_EQ(rig.link.Controller().Link().LastStageCode(), 0);
}

TEST(FirmwareUpdate, TwoHundredKibImageEndsUpInTheUnitExactly) {
  FirmwareRig rig;
  auto bytes = TestImage(200 * 1024, 9);
  // The image carries the unit's identity with a new minor version.
  const char identity[] = "TRX-620-31EQ-V3.7";
  std::memcpy(bytes.data() + 1000, identity, 17);
  const std::string path = rig.WriteFile("new.dsp", bytes);
  rig.link.unit->Plug();

  ASSERT_EQ(rig.Update(path), FirmwareOutcome::kSucceeded);
  EXPECT_EQ(rig.link.unit->FirmwareImage(), bytes);
  EXPECT_GT(rig.link.unit->WakeReportsReceived(), 0U);

  std::vector<int> expected = {176, 177};
  expected.insert(expected.end(), 4267, 178);
  expected.push_back(179);
  EXPECT_EQ(rig.PacketCodes(), expected);

  // Progress: range 0..block count, one step per acknowledged packet.
  EXPECT_EQ(rig.observer.Ranges(), (std::vector<std::pair<int, int>>{{0, 200 * 1024 / 48 + 6}}));
  const auto positions = rig.observer.Positions();
  ASSERT_EQ(positions.size(), 4271U);  // the 0 at the start and 4270 packets
  for (std::size_t i = 0; i < positions.size(); ++i)
    EXPECT_EQ(positions[i], static_cast<int>(i)) << i;
  EXPECT_EQ(rig.updater.PacketsAcknowledged(), 4270);
  EXPECT_EQ(rig.updater.PacketsTotal(), 4270);
  // The data transfer is named once, at its first packet.
  EXPECT_EQ(rig.observer.Statuses(),
            (std::vector<TextId>{TextId::SearchingUpdateDevice, TextId::UpgradeReady,
                                 TextId::UpgradeDataTransfer, TextId::UpgradeComplete}));
  EXPECT_EQ(rig.link.Screen().messages, (std::vector<TextId>{TextId::UpdateFinished}));
  EXPECT_TRUE(rig.link.Screen().statusMessages.empty());
  ExpectClosedAfterUpdate(rig);

  // The unit runs its new program and says so when connected again.
  EXPECT_FALSE(rig.link.unit->InBootLoader());
  rig.link.Controller().ToggleConnection();
  ASSERT_TRUE(
      rig.link.Until([&] { return rig.link.Controller().Phase() == ConnectionPhase::kLive; }));
  EXPECT_EQ(std::memcmp(rig.link.State().Identity().data(), identity, 17), 0);
}

TEST(FirmwareUpdate, SmallImageWithUsbTiming) {
  // The simulated bus's report interval and processing time, as a real unit has them.
  FirmwareRig rig(sim::SimTiming{});
  const auto bytes = TestImage(100, 2);
  rig.link.unit->Plug();
  ASSERT_EQ(rig.Update(rig.WriteFile("small.dsp", bytes)), FirmwareOutcome::kSucceeded);
  EXPECT_EQ(rig.link.unit->FirmwareImage(), bytes);
  EXPECT_EQ(rig.PacketCodes(), (std::vector<int>{176, 177, 178, 178, 178, 179}));
  EXPECT_EQ(rig.observer.Ranges(), (std::vector<std::pair<int, int>>{{0, 8}}));
  EXPECT_EQ(rig.observer.Positions(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  ExpectClosedAfterUpdate(rig);
}

TEST(FirmwareUpdate, ControllerImage) {
  for (const bool chinese : {false, true}) {
    SCOPED_TRACE(chinese ? "Chinese" : "English");
    FirmwareRig rig;
    rig.link.State().chinese = chinese;
    const auto bytes = TestImage(130, 4);
    rig.link.unit->Plug();
    ASSERT_EQ(rig.Update(rig.WriteFile("hand.contr", bytes)), FirmwareOutcome::kSucceeded);
    EXPECT_EQ(rig.link.unit->ControllerFirmwareImage(), bytes);
    EXPECT_TRUE(rig.link.unit->FirmwareImage().empty());
    EXPECT_EQ(rig.PacketCodes(), (std::vector<int>{224, 225, 226, 226, 226, 227}));
    // The warning before the transfer, the closing message after it.
    EXPECT_EQ(rig.link.Screen().messages,
              (std::vector<TextId>{TextId::ControllerUpdateWarning, TextId::UpdateFinished}));
    std::vector<TextId> statuses = {TextId::SearchingUpdateDevice};
    if (chinese) statuses.push_back(TextId::UpgradeDataTransfer);  // 225 names it in Chinese only
    statuses.push_back(TextId::UpgradeProgramming);
    statuses.push_back(TextId::UpgradeControllerDone);
    EXPECT_EQ(rig.observer.Statuses(), statuses);
    ExpectClosedAfterUpdate(rig);
  }
}

TEST(FirmwareUpdate, StartsFromALiveConnectionAndLeavesItClosed) {
  FirmwareRig rig;
  ASSERT_TRUE(rig.link.ConnectLive());
  const auto bytes = TestImage(500, 8);
  ASSERT_EQ(rig.Update(rig.WriteFile("u.dsp", bytes)), FirmwareOutcome::kSucceeded);
  EXPECT_EQ(rig.link.unit->FirmwareImage(), bytes);
  ExpectClosedAfterUpdate(rig);
  EXPECT_FALSE(rig.link.Screen().indicator.back());
  // The user connects again as usual.
  rig.link.Controller().ToggleConnection();
  EXPECT_TRUE(
      rig.link.Until([&] { return rig.link.Controller().Phase() == ConnectionPhase::kLive; }));
}

TEST(FirmwareUpdate, AFileThatCannotBeLoadedLeavesTheConnectionAlone) {
  FirmwareRig rig;
  ASSERT_TRUE(rig.link.ConnectLive());
  const std::string missing = (rig.link.dir.Path() / "missing.dsp").string();
  rig.updater.SetFirmwarePath(missing);
  EXPECT_EQ(rig.updater.Start(), FirmwareStart::kFileRefused);
  EXPECT_EQ(rig.link.Screen().messages, (std::vector<TextId>{TextId::FirmwareFileError}));
  EXPECT_TRUE(rig.updater.FirmwarePath().empty());  // forgotten

  rig.updater.SetFirmwarePath(rig.WriteFile("notes.txt", TestImage(100)));
  EXPECT_EQ(rig.updater.Start(), FirmwareStart::kFileRefused);
  EXPECT_EQ(rig.link.Screen().messages.back(), TextId::FirmwareTypeError);

  EXPECT_EQ(rig.updater.Outcome(), FirmwareOutcome::kIdle);
  EXPECT_TRUE(rig.link.Controller().Connected());
  EXPECT_TRUE(rig.link.Drained());  // still answering
  EXPECT_TRUE(rig.PacketCodes().empty());
}

TEST(FirmwareUpdate, NoDeviceWithinTheSearchTime) {
  FirmwareRig rig;  // the unit stays unplugged
  rig.updater.SetFirmwarePath(rig.WriteFile("u.dsp", TestImage(100)));
  EXPECT_EQ(rig.updater.Start(), FirmwareStart::kDeviceNotFound);
  EXPECT_EQ(rig.updater.Outcome(), FirmwareOutcome::kFailed);
  EXPECT_EQ(rig.link.Screen().statusMessages, (std::vector<TextId>{TextId::UnableToConnect}));
  EXPECT_EQ(rig.observer.Statuses(), (std::vector<TextId>{TextId::SearchingUpdateDevice}));
  EXPECT_FALSE(rig.link.State().firmwareUpdateMode);
  EXPECT_FALSE(rig.link.Controller().Worker().Exists());
}

TEST(FirmwareUpdate, WhileUpdatingTheDialogStaysAndStartIsIgnored) {
  // Slow enough to be caught in the middle.
  LinkTimings t = FirmwareTimings();
  t.fwWakeDuration = 300ms;
  FirmwareRig rig(sim::SimTiming::Instant(), t);
  rig.link.unit->Plug();
  rig.updater.SetFirmwarePath(rig.WriteFile("u.dsp", TestImage(1000)));
  ASSERT_EQ(rig.updater.Start(), FirmwareStart::kStarted);
  EXPECT_TRUE(rig.updater.Updating());
  EXPECT_EQ(rig.updater.Start(), FirmwareStart::kAlreadyRunning);
  EXPECT_FALSE(rig.updater.RequestClose());
  EXPECT_EQ(rig.updater.FactoryReset(), FactoryResetResult::kUpdating);
  EXPECT_FALSE(rig.updater.ChooseFirmwareFile(rig.WriteFile("other.dsp", TestImage(10))));
  EXPECT_EQ(rig.link.Screen().messages,
            (std::vector<TextId>{TextId::UpdateDontClose, TextId::UpdateDontClose,
                                 TextId::UpdateDontClose}));
  ASSERT_EQ(rig.Run(), FirmwareOutcome::kSucceeded);
  EXPECT_TRUE(rig.updater.RequestClose());
}

TEST(FactoryReset, ClearsTheConnectedUnit) {
  FirmwareRig rig;
  rig.link.unit->Modify([](ProgramState& s) {
    le::PutI16(std::span(s.Live()).subspan(rec::OutputOffset(4)), rec::kOutGain, 12);
    s.Slot(2)[rec::kProgramName] = 'Q';
  });
  ASSERT_TRUE(rig.link.ConnectLive());
  rig.link.unit->ClearFrameLog();
  EXPECT_EQ(rig.updater.FactoryReset(), FactoryResetResult::kQueued);
  ASSERT_TRUE(rig.link.Drained());

  const auto log = rig.link.unit->FrameLog();
  const auto reset = std::find_if(log.begin(), log.end(), [](const sim::SimFrameRecord& f) {
    return f.IsWrite() && f.block == 4 && f.index == 137;
  });
  ASSERT_NE(reset, log.end());
  EXPECT_EQ(reset->slot, 0);
  EXPECT_EQ(reset->payload, std::vector<std::uint8_t>(7, 0));
  EXPECT_EQ(reset->fate, sim::SimFrameFate::kStored);
  ProgramState factory;
  EXPECT_EQ(rig.link.unit->Record(0), factory.Live());
  EXPECT_EQ(rig.link.unit->Record(2), factory.Slot(2));
  EXPECT_TRUE(rig.link.Screen().messages.empty());
  EXPECT_FALSE(rig.link.Screen().transferVisible);  // no progress for the reset
}

TEST(FactoryReset, WithoutADeviceSaysSo) {
  FirmwareRig rig;
  rig.link.State().chinese = false;
  EXPECT_EQ(rig.updater.FactoryReset(), FactoryResetResult::kNotConnected);
  EXPECT_EQ(rig.link.Screen().messages, (std::vector<TextId>{TextId::DeviceNotConnected}));
  EXPECT_EQ(Tr(TextId::DeviceNotConnected, false), "The device is not connected");
  EXPECT_EQ(rig.link.Controller().Queue().Count(), 0);
}

}  // namespace
}  // namespace vantor::testing
