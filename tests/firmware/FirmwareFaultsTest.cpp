// Every way an update can go wrong ends in a closed link, a shown error and a unit that
// takes the next attempt. Only a resend answer earns a packet a second transmission; a
// packet whose answer does not come is never sent again, since the unit may have taken it.

#include <gtest/gtest.h>

#include <thread>

#include "firmware/FirmwareRig.h"

namespace vantor::testing {
namespace {

using namespace std::chrono_literals;
using sim::SimFault;

// Frames the unit receives in a 100-byte update: 176, 177, 178, 178, 178, 179.
constexpr int kSecondData = 4;
constexpr int kEnd = 6;

void ExpectCleanFailure(FirmwareRig& rig) {
  EXPECT_EQ(rig.updater.Outcome(), FirmwareOutcome::kFailed);
  EXPECT_EQ(rig.link.Screen().statusMessages, (std::vector<TextId>{TextId::UnableToConnect}));
  EXPECT_TRUE(std::find(rig.link.Screen().messages.begin(), rig.link.Screen().messages.end(),
                        TextId::UpdateFinished) == rig.link.Screen().messages.end());
  for (const auto& e : rig.link.Screen().events) EXPECT_NE(e.id, DeviceEvent::WM_DEV_UPGRADE_DONE);
  ProgramState& s = rig.link.State();
  EXPECT_FALSE(s.firmwareUpdateMode);
  EXPECT_FALSE(s.usbTransfer);
  EXPECT_FALSE(rig.link.Controller().Connected());
  EXPECT_FALSE(rig.link.Controller().Worker().Exists());
  EXPECT_FALSE(rig.link.Controller().Link().IsOpen());
  EXPECT_EQ(rig.link.Controller().Queue().Count(), 0);
  EXPECT_FALSE(rig.updater.Updating());
}

// After a failure the unit waits in its boot loader; a new attempt goes through.
void ExpectRetrySucceeds(FirmwareRig& rig, const std::vector<std::uint8_t>& bytes,
                         const std::string& path) {
  EXPECT_TRUE(rig.link.unit->InBootLoader());
  rig.link.unit->ClearFaults();
  rig.link.unit->Plug();  // nothing when it is plugged in already
  EXPECT_EQ(rig.Update(path), FirmwareOutcome::kSucceeded);
  EXPECT_EQ(rig.link.unit->FirmwareImage(), bytes);
}

struct Case {
  FirmwareRig rig;
  std::vector<std::uint8_t> bytes = TestImage(100, 11);
  std::string path = rig.WriteFile("u.dsp", bytes);
  Case() { rig.link.unit->Plug(); }
};

TEST(FirmwareFaults, AnAnswerThatNeverComesEndsTheUpdateWithoutARepeat) {
  for (const int frame : {2, kSecondData, kEnd}) {
    SCOPED_TRACE(::testing::Message() << "answer to frame " << frame << " lost");
    Case c;
    c.rig.link.unit->InjectFault(SimFault::DropReply(frame));
    ASSERT_EQ(c.rig.Update(c.path), FirmwareOutcome::kFailed);
    // The unit took the packet; sent again it would be stored twice.
    const std::vector<int> all{176, 177, 178, 178, 178, 179};
    EXPECT_EQ(c.rig.PacketCodes(), std::vector<int>(all.begin(), all.begin() + frame));
    EXPECT_EQ(c.rig.updater.PacketsAcknowledged(), frame - 1);
    ExpectCleanFailure(c.rig);
    if (frame == kEnd) {
      // Only the acknowledgement of the end packet was lost: the unit runs its new program,
      // and a new update goes through all the same.
      EXPECT_FALSE(c.rig.link.unit->InBootLoader());
      EXPECT_EQ(c.rig.link.unit->FirmwareImage(), c.bytes);
      c.rig.link.unit->ClearFaults();
      EXPECT_EQ(c.rig.Update(c.path), FirmwareOutcome::kSucceeded);
    } else {
      ExpectRetrySucceeds(c.rig, c.bytes, c.path);
    }
  }
}

TEST(FirmwareFaults, ResendAnswers) {
  {
    Case once;
    once.rig.link.unit->InjectFault(SimFault::Resend(kSecondData));
    ASSERT_EQ(once.rig.Update(once.path), FirmwareOutcome::kSucceeded);
    EXPECT_EQ(once.rig.Received(178), 4);
    EXPECT_EQ(once.rig.link.unit->FirmwareImage(), once.bytes);
    // A refused packet does not move the progress bar.
    EXPECT_EQ(once.rig.observer.Positions(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  }
  {
    Case twice;
    twice.rig.link.unit->InjectFault(SimFault::Resend(kSecondData));
    twice.rig.link.unit->InjectFault(SimFault::Resend(kSecondData + 1));
    ASSERT_EQ(twice.rig.Update(twice.path), FirmwareOutcome::kFailed);
    EXPECT_EQ(twice.rig.PacketCodes(), (std::vector<int>{176, 177, 178, 178, 178}));
    ExpectCleanFailure(twice.rig);
    ExpectRetrySucceeds(twice.rig, twice.bytes, twice.path);
  }
}

TEST(FirmwareFaults, ARefusedEndPacketIsNoSuccess) {
  Case c;
  c.rig.link.unit->InjectFault(SimFault::Resend(kEnd));
  c.rig.link.unit->InjectFault(SimFault::Resend(kEnd + 1));
  ASSERT_EQ(c.rig.Update(c.path), FirmwareOutcome::kFailed);
  EXPECT_EQ(c.rig.Received(179), 2);
  const auto statuses = c.rig.observer.Statuses();
  EXPECT_TRUE(std::find(statuses.begin(), statuses.end(), TextId::UpgradeComplete) ==
              statuses.end());
  ExpectCleanFailure(c.rig);
  EXPECT_TRUE(c.rig.link.unit->FirmwareImage().empty());
  ExpectRetrySucceeds(c.rig, c.bytes, c.path);
}

TEST(FirmwareFaults, NoCompleteFrameWithinTheExchangeLimit) {
  // Reports of garbage keep coming instead of an answer: the exchange limit applies, not
  // the read time-out, and the packet is not sent again.
  Case c;
  c.rig.link.unit->InjectFault(SimFault::Babble(kSecondData));
  ASSERT_EQ(c.rig.Update(c.path), FirmwareOutcome::kFailed);
  EXPECT_EQ(c.rig.PacketCodes(), (std::vector<int>{176, 177, 178, 178}));
  ExpectCleanFailure(c.rig);
  ExpectRetrySucceeds(c.rig, c.bytes, c.path);
}

TEST(FirmwareFaults, UnitVanishesMidTransfer) {
  Case c;
  c.rig.link.unit->InjectFault(SimFault::Unplug(kSecondData));
  ASSERT_EQ(c.rig.Update(c.path), FirmwareOutcome::kFailed);
  EXPECT_FALSE(c.rig.link.unit->IsPlugged());
  ExpectCleanFailure(c.rig);
  ExpectRetrySucceeds(c.rig, c.bytes, c.path);
}

TEST(FirmwareFaults, UnitNeverComesBackAfterTheStartPacket) {
  Case c;
  c.rig.link.unit->InjectFault(SimFault::NoReturn());
  ASSERT_EQ(c.rig.Update(c.path), FirmwareOutcome::kFailed);
  EXPECT_EQ(c.rig.PacketCodes(), (std::vector<int>{176}));
  EXPECT_EQ(c.rig.updater.LastPacketCode(), 176);
  EXPECT_FALSE(c.rig.link.unit->IsPlugged());
  ExpectCleanFailure(c.rig);
  ExpectRetrySucceeds(c.rig, c.bytes, c.path);
}

TEST(FirmwareFaults, RemovalIsExpectedWhileWakingAndRestartingOnly) {
  // With hot-plug reported, the restart after the start packet removes and re-adds the unit
  // while the update goes on.
  {
    Case restart;
    restart.rig.link.Controller().StartHotPlug();
    ASSERT_EQ(restart.rig.Update(restart.path), FirmwareOutcome::kSucceeded);
    EXPECT_EQ(restart.rig.link.unit->FirmwareImage(), restart.bytes);
  }
  // Pulled out and put back while being woken.
  {
    LinkTimings t = FirmwareTimings();
    t.fwWakeDuration = 200ms;
    FirmwareRig rig(sim::SimTiming::Instant(), t);
    const auto bytes = TestImage(100, 12);
    rig.link.unit->Plug();
    rig.link.Controller().StartHotPlug();
    rig.updater.SetFirmwarePath(rig.WriteFile("u.dsp", bytes));
    ASSERT_EQ(rig.updater.Start(), FirmwareStart::kStarted);
    ASSERT_TRUE(rig.link.Until([&] { return rig.link.unit->WakeReportsReceived() > 0; }));
    rig.link.unit->Unplug();
    rig.link.Until([] { return false; }, 30ms);  // the removal is handled during the wake-up
    rig.link.unit->Plug();
    ASSERT_EQ(rig.Run(), FirmwareOutcome::kSucceeded);
    EXPECT_EQ(rig.link.unit->FirmwareImage(), bytes);
    EXPECT_TRUE(rig.link.Screen().statusMessages.empty());
  }
  // Pulled out while the data goes over: the removal ends the update.
  {
    LinkTimings t = FirmwareTimings();
    FirmwareRig rig(sim::SimTiming{}, t);  // real bus timing: the data phase takes a while
    const auto bytes = TestImage(20000, 13);
    rig.link.unit->Plug();
    rig.link.Controller().StartHotPlug();
    rig.updater.SetFirmwarePath(rig.WriteFile("u.dsp", bytes));
    ASSERT_EQ(rig.updater.Start(), FirmwareStart::kStarted);
    ASSERT_TRUE(rig.link.Until([&] { return rig.Received(178) > 20; }));
    rig.link.unit->Unplug();
    ASSERT_EQ(rig.Run(), FirmwareOutcome::kFailed);
    ExpectCleanFailure(rig);
    ExpectRetrySucceeds(rig, bytes, rig.WriteFile("u.dsp", bytes));
  }
}

}  // namespace
}  // namespace vantor::testing
