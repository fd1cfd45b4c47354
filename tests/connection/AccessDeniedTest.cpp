// A processor that is plugged in but may not be opened by this user: the screen names the
// cause and its fix instead of "unable to connect", on the button, at start-up and on
// arrival, and the connection works once access is granted and the processor replugged.

#include <gtest/gtest.h>

#include "connection/DeniedBackend.h"
#include "connection/LinkRig.h"

namespace vantor::testing {
namespace {

struct DeniedRig {
  DeniedRig() : unit(sim::SimulatedProcessor::Create()), bus({unit}, {unit->Info().path}) {
    controller = std::make_unique<ConnectionController>(model, bus, claims, screen, FastTimings());
  }
  ~DeniedRig() {
    controller->StopHotPlug();
    controller->Shutdown();
  }
  bool Until(const std::function<bool()>& done) {
    return controller->ProcessUntil(done, std::chrono::seconds(10));
  }

  TempDir dir;
  FileClaimStore claims{dir.Path()};
  std::shared_ptr<sim::SimulatedProcessor> unit;
  DeniedBackend bus;
  ProgramState state;
  CKTV_Data model{state};
  RecordingScreen screen;
  std::unique_ptr<ConnectionController> controller;
};

TEST(AccessDenied, TheButtonNamesTheCauseAndTheConnectionWorksOnceAllowed) {
  DeniedRig rig;
  rig.unit->Plug();
  rig.controller->ToggleConnection();
  EXPECT_EQ(rig.screen.statusMessages, std::vector<TextId>{TextId::DeviceAccessDenied});
  EXPECT_FALSE(rig.controller->Connected());
  EXPECT_TRUE(rig.claims.IsPathUnclaimed(rig.unit->Info().path));

  rig.bus.Allow(rig.unit->Info().path);
  rig.controller->ToggleConnection();
  EXPECT_TRUE(rig.Until([&] { return rig.controller->Phase() == ConnectionPhase::kLive; }));
  EXPECT_EQ(rig.screen.statusMessages.size(), 1U);
}

TEST(AccessDenied, StartUpSaysSoWhereNoProcessorSaysNothing) {
  DeniedRig rig;
  rig.controller->ConnectAtStartup();
  EXPECT_TRUE(rig.screen.statusMessages.empty()) << "nothing plugged in";
  rig.unit->Plug();
  rig.controller->ConnectAtStartup();
  EXPECT_EQ(rig.screen.statusMessages, std::vector<TextId>{TextId::DeviceAccessDenied});
  EXPECT_FALSE(rig.controller->Connected());
}

TEST(AccessDenied, ArrivalSaysSoAndReplugAfterTheFixConnects) {
  DeniedRig rig;
  rig.controller->StartHotPlug();
  rig.unit->Plug();
  ASSERT_TRUE(rig.Until([&] { return !rig.screen.statusMessages.empty(); }));
  EXPECT_EQ(rig.screen.statusMessages, std::vector<TextId>{TextId::DeviceAccessDenied});
  EXPECT_FALSE(rig.controller->Connected());

  // The udev rule installed: unplug, plug in again.
  rig.bus.Allow(rig.unit->Info().path);
  rig.unit->Unplug();
  rig.unit->Plug();
  EXPECT_TRUE(rig.Until([&] { return rig.controller->Phase() == ConnectionPhase::kLive; }));
  EXPECT_EQ(rig.screen.statusMessages.size(), 1U);
}

}  // namespace
}  // namespace vantor::testing
