// Connecting to the simulated processor: the identity check, the read-back behind the
// transfer window, live edits, and every way a connection ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "base/LittleEndian.h"
#include "connection/LinkRig.h"

namespace vantor::testing {
namespace {

using namespace std::chrono_literals;
using sim::SimFault;

bool IsRead(const sim::SimFrameRecord& f, int block, int index) {
  return f.IsRead() && f.block == block && f.index == index;
}

std::vector<sim::SimFrameRecord> WithoutPolls(const std::vector<sim::SimFrameRecord>& log) {
  std::vector<sim::SimFrameRecord> out;
  for (const auto& f : log) {
    if (!(f.block == 4 && f.index == 3)) out.push_back(f);
  }
  return out;
}

TEST(Connection, FreshConnectReadsIdentityInformationAndTheLiveProgram) {
  LinkRig rig;
  // Something on the unit that differs from the start-up program.
  rig.unit->Modify([](ProgramState& s) {
    auto out3 = std::span(s.Live()).subspan(rec::OutputOffset(3), rec::kOutputRecordSize);
    le::PutI16(out3, rec::kOutGain, 42);
    le::PutI16(out3, rec::OutBand(5) + rec::kBandGainCode, 650);
    le::PutI16(out3, rec::kOutHighPassFreq, 80);
  });
  ASSERT_TRUE(rig.ConnectLive());

  const auto frames = WithoutPolls(rig.unit->FrameLog());
  ASSERT_GE(frames.size(), 19U);
  EXPECT_TRUE(IsRead(frames[0], 4, 136));
  EXPECT_TRUE(IsRead(frames[1], 4, 144));
  EXPECT_TRUE(IsRead(frames[2], 4, 146));
  EXPECT_TRUE(IsRead(frames[3], 4, 145));
  for (int s = 1; s <= 6; ++s) {
    EXPECT_TRUE(IsRead(frames[3 + s], 4, 134));
    EXPECT_EQ(frames[3 + s].slot, s);
  }
  EXPECT_TRUE(IsRead(frames[10], 2, 2));
  for (int c = 0; c < 8; ++c) EXPECT_TRUE(IsRead(frames[11 + c], 3, c)) << c;

  RecordingScreen& screen = rig.Screen();
  EXPECT_EQ(screen.ranges.back(), std::make_pair(0, 17));
  std::vector<int> expected{0};  // the bar starts at 0, then follows the answers
  for (int i = 1; i <= 17; ++i) expected.push_back(i);
  EXPECT_EQ(screen.positions, expected);
  ASSERT_EQ(screen.transferShown.size(), 1U);
  EXPECT_EQ(screen.transferShown[0], TransferOwner::kView);
  EXPECT_FALSE(screen.transferVisible);
  EXPECT_EQ(screen.log.front(), "on");  // indicator on, then the window after the identity
  EXPECT_EQ(screen.log[1], "show");
  EXPECT_EQ(screen.refreshes, 1);

  EXPECT_TRUE(rig.State().liveSync);
  EXPECT_FALSE(rig.State().busy);
  EXPECT_EQ(rig.Model().Output(3).GainCode(), 42);
  EXPECT_EQ(rig.Model().Output(3).Filter(5).GainIndex(), 250);
  EXPECT_EQ(rig.Model().Output(3).HighPass().Frequency(), 80);
}

TEST(Connection, IdentityIsComparedOnItsFirstFifteenCharacters) {
  LinkRig minor;
  minor.unit->SetIdentity("TRX-620-31EQ-V3.9");
  EXPECT_TRUE(minor.ConnectLive());

  LinkRig other;
  other.unit->SetIdentity("TRX-621-31EQ-V3.2");
  other.unit->Plug();
  other.Controller().ToggleConnection();
  EXPECT_TRUE(other.Until([&] {
    return !other.Controller().Connected() && !other.Screen().indicator.empty() &&
           !other.Screen().indicator.back();
  }));
  EXPECT_TRUE(other.Screen().statusMessages.empty());  // rejected without a message
  EXPECT_TRUE(other.Screen().messages.empty());
  EXPECT_TRUE(other.Screen().transferShown.empty());
  EXPECT_EQ(other.Controller().Queue().Count(), 0);
  for (std::uint8_t c : other.State().Identity()) EXPECT_EQ(c, ' ');
}

TEST(Connection, NoDeviceOnTheButtonSaysSoAtStartupNothing) {
  LinkRig rig;
  rig.Controller().ConnectAtStartup();
  EXPECT_TRUE(rig.Screen().statusMessages.empty());
  rig.Controller().ToggleConnection();
  ASSERT_EQ(rig.Screen().statusMessages.size(), 1U);
  EXPECT_EQ(rig.Screen().statusMessages[0], TextId::UnableToConnect);
  EXPECT_FALSE(rig.Controller().Connected());
}

TEST(Connection, EditsDuringTheReadBackAreNotSent) {
  LinkRig rig(sim::SimTiming{false, 1000us, 3000us});
  rig.unit->Modify([](ProgramState& s) {
    le::PutI16(std::span(s.Live()).subspan(rec::OutputOffset(1)), rec::kOutGain, 33);
  });
  rig.unit->Plug();
  rig.Controller().ToggleConnection();
  ASSERT_TRUE(rig.Until([&] { return rig.Screen().transferVisible; }));
  rig.Model().Output(1).SetGainCode(55);  // while the window is shown
  rig.Model().Output(1).Filter(7).SetGainIndex(300);
  ASSERT_TRUE(rig.Until([&] { return rig.Controller().Phase() == ConnectionPhase::kLive; }));
  ASSERT_TRUE(rig.Drained());
  for (const auto& f : rig.unit->FrameLog()) EXPECT_FALSE(f.IsWrite()) << "frame " << f.number;
  EXPECT_EQ(rig.Model().Output(1).GainCode(), 33);  // the device's value came back
  EXPECT_EQ(rig.Model().Output(1).Filter(7).GainIndex(), 200);
}

TEST(Connection, LiveEditsReachTheDevice) {
  LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  rig.Model().Output(2).Filter(5).SetGainIndex(260);
  rig.Model().Output(6).SetGainCode(17);
  ASSERT_TRUE(rig.Drained());
  const auto live = rig.unit->Record(0);
  const auto out2 = std::span(live).subspan(rec::OutputOffset(2));
  EXPECT_EQ(le::GetI16(out2, rec::OutBand(5) + rec::kBandGainCode), 660);
  EXPECT_EQ(le::GetI16(std::span(live).subspan(rec::OutputOffset(6)), rec::kOutGain), 17);
}

TEST(Connection, LargeFrequencyMoveGoesOutAnOctaveAtATime) {
  LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  rig.Model().Output(0).Filter(7).SetFrequency(100, false);  // where the band sits (101 at start)
  {
    std::lock_guard lock(rig.Controller().Queue().QueueLock());
    rig.Model().Output(0).Filter(7).SetPending(0);
    rig.unit->ClearFrameLog();
    rig.Model().Output(0).Filter(7).SetFrequency(1000, true);
  }
  ASSERT_TRUE(rig.Drained());
  std::vector<int> sent;
  for (const auto& f : rig.unit->FrameLog()) {
    if (f.IsWrite() && f.block == 3 && f.index == 0 && f.item == 7) {
      sent.push_back(le::GetI16(f.payload, rec::kBandFrequency));
    }
  }
  EXPECT_EQ(sent, (std::vector<int>{200, 400, 800, 1000, 1000}));
}

TEST(Connection, ButtonDisconnectsAndTheIndicatorFollows) {
  LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  rig.Controller().ToggleConnection();
  EXPECT_FALSE(rig.Controller().Connected());
  EXPECT_FALSE(rig.State().liveSync);
  EXPECT_FALSE(rig.Controller().Worker().Exists());
  EXPECT_FALSE(rig.Screen().indicator.back());
  EXPECT_TRUE(rig.Screen().statusMessages.empty());
  // Connecting again works.
  EXPECT_TRUE(rig.ConnectLive());
}

// --- Faults -----------------------------------------------------------------------------

TEST(ConnectionFaults, MissingAnswerEndsTheConnectionWithTheError) {
  LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  rig.unit->InjectFault(SimFault::StopAnswering());
  ASSERT_TRUE(rig.Until([&] { return !rig.Controller().Connected(); }));
  EXPECT_EQ(rig.Screen().statusMessages, std::vector<TextId>{TextId::UnableToConnect});
  EXPECT_EQ(rig.Controller().Queue().Count(), 0);
  EXPECT_FALSE(rig.State().liveSync);
}

TEST(ConnectionFaults, ReportsWithoutAFrameEndTheConnectionAfterTheExchangeLimit) {
  LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  const auto before = std::chrono::steady_clock::now();
  rig.unit->InjectFault(SimFault::Babble());
  ASSERT_TRUE(rig.Until([&] { return !rig.Controller().Connected(); }));
  EXPECT_GE(std::chrono::steady_clock::now() - before, rig.Controller().Timings().exchangeLimit);
  EXPECT_EQ(rig.Screen().statusMessages, std::vector<TextId>{TextId::UnableToConnect});
}

TEST(ConnectionFaults, ResendsSplitsGarbageAndLostAnswersAreSurvived) {
  LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  rig.unit->InjectFault(SimFault::Resend());
  rig.unit->InjectFault(SimFault::SplitReply(10, 2));
  rig.unit->InjectFault(SimFault::GarbageBefore(40, 3));
  rig.Model().Output(4).Filter(3).SetGainIndex(310);
  rig.Model().Output(4).SetDelayCode(480);
  ASSERT_TRUE(rig.Drained());
  EXPECT_TRUE(rig.Controller().Connected());
  const auto live = rig.unit->Record(0);
  const auto out4 = std::span(live).subspan(rec::OutputOffset(4));
  EXPECT_EQ(le::GetI16(out4, rec::kOutDelay), 480);
  EXPECT_EQ(le::GetI16(out4, rec::OutBand(3) + rec::kBandGainCode), 710);
  EXPECT_TRUE(rig.Screen().statusMessages.empty());
}

TEST(ConnectionFaults, ReplyWithoutDataAsksForNewFirmware) {
  LinkRig rig;
  rig.unit->InjectFault(SimFault::EmptyData());  // the identity read
  rig.unit->Plug();
  rig.Controller().ToggleConnection();
  ASSERT_TRUE(rig.Until([&] { return !rig.Screen().messages.empty(); }));
  EXPECT_EQ(rig.Screen().messages, std::vector<TextId>{TextId::FirmwareTooOld});
  EXPECT_FALSE(rig.Controller().Connected());
  EXPECT_FALSE(rig.Controller().Worker().Exists());
}

TEST(ConnectionFaults, UnplugWhileLiveDisconnectsAtOnce) {
  LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  rig.Controller().StartHotPlug();
  const auto before = std::chrono::steady_clock::now();
  rig.unit->Unplug();
  ASSERT_TRUE(rig.Until([&] { return !rig.Controller().Connected(); }));
  // Well within a reply time-out: the removal, not the missing answer, ended it.
  EXPECT_LT(std::chrono::steady_clock::now() - before, rig.Controller().Timings().readWait);
  EXPECT_EQ(rig.Screen().statusMessages, std::vector<TextId>{TextId::UnableToConnect});
}

TEST(ConnectionFaults, UnplugDuringTheReadBackClearsTheBusyState) {
  LinkRig rig(sim::SimTiming{false, 1000us, 5000us});
  rig.Controller().StartHotPlug();
  rig.unit->Plug();  // arrival connects on its own
  ASSERT_TRUE(rig.Until([&] { return rig.Screen().transferVisible; }));
  EXPECT_TRUE(rig.State().busy);
  rig.unit->Unplug();
  ASSERT_TRUE(rig.Until([&] { return !rig.Controller().Connected(); }));
  EXPECT_FALSE(rig.Screen().transferVisible);
  EXPECT_FALSE(rig.State().busy);
}

// --- Claims and exclusive use --------------------------------------------------------------

TEST(ConnectionClaims, SecondProgramCannotOpenTheDevice) {
  LinkRig rig;
  ASSERT_TRUE(rig.ConnectLive());
  ProgramSide second(rig.bus, rig.claims);
  second.controller->ToggleConnection();
  EXPECT_EQ(second.screen.statusMessages, std::vector<TextId>{TextId::UnableToConnect});
  EXPECT_FALSE(second.controller->Connected());
}

TEST(ConnectionClaims, ArrivalConnectsUnlessAnotherCopyClaimsThePath) {
  LinkRig rig;
  rig.claims.ClaimPath(rig.unit->Info().path);  // this process: alive, so the claim holds
  rig.Controller().StartHotPlug();
  rig.unit->Plug();
  rig.Controller().WaitAndProcess(300ms);
  EXPECT_FALSE(rig.Controller().Connected());

  rig.claims.ReleaseClaim(rig.unit->Info().path);
  rig.unit->Unplug();
  rig.unit->Plug();
  ASSERT_TRUE(rig.Until([&] { return rig.Controller().Phase() == ConnectionPhase::kLive; }));
  // Connected by arrival: the path is now claimed, and released on disconnect.
  EXPECT_FALSE(rig.claims.IsPathUnclaimed(rig.unit->Info().path));
  rig.Controller().ToggleConnection();
  EXPECT_TRUE(rig.claims.IsPathUnclaimed(rig.unit->Info().path));
}

// --- The worker ------------------------------------------------------------------------------

TEST(Worker, StopDuringAnExchangeReturnsPromptly) {
  LinkTimings slow = FastTimings();
  slow.readWait = 5s;
  slow.exchangeLimit = 6s;
  LinkRig rig(sim::SimTiming::Instant(), slow);
  ASSERT_TRUE(rig.ConnectLive());
  rig.unit->InjectFault(SimFault::StopAnswering());
  std::this_thread::sleep_for(50ms);  // an exchange is now waiting for its answer
  const auto before = std::chrono::steady_clock::now();
  rig.Controller().Worker().Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
  EXPECT_FALSE(rig.Controller().Worker().Exists());
  rig.Controller().CloseDevice();
}

}  // namespace
}  // namespace vantor::testing
