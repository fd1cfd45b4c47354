// The memory file kept while a program runs: changes reach the file soon after they happen
// (a crash loses at most the last moment), saves are coalesced, and two programs on one
// file take turns instead of undoing each other's changes.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "SimTestSupport.h"
#include "sim/SimMemoryStore.h"
#include "sim/SimulatedProcessor.h"

namespace {

using namespace simtest;
using namespace std::chrono_literals;
using vantor::sim::SimFileStatus;
using vantor::sim::SimMemoryStore;
using vantor::sim::SimStoreProblem;
using vantor::sim::SimulatedProcessor;
namespace fs = std::filesystem;

class SimMemoryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("vantor-store-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    file = dir / "unit.vsim";
  }
  void TearDown() override { fs::remove_all(dir); }

  static SimMemoryStore::Options Fast() {
    SimMemoryStore::Options o;
    o.saveInterval = 20ms;
    return o;
  }
  // What a program starting now would find in the file.
  vantor::rec::StateRecord SlotInFile(int slot) const {
    auto reader = SimulatedProcessor::Create(InstantOptions());
    EXPECT_EQ(reader->LoadMemory(file), SimFileStatus::kOk);
    return reader->Record(slot);
  }
  static bool Eventually(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < end) {
      if (done()) return true;
      std::this_thread::sleep_for(5ms);
    }
    return done();
  }

  fs::path dir;
  fs::path file;
};

TEST_F(SimMemoryStoreTest, AChangeIsInTheFileWhileTheProgramStillRuns) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  SimStoreProblem problem;
  auto store = SimMemoryStore::Open(file, unit, Fast(), problem);
  ASSERT_TRUE(store) << problem.Describe(false);
  ASSERT_TRUE(fs::exists(file)) << "a missing file is created at once";

  // A stored frame from the host, as a store into slot 3 sends it.
  unit->Plug();
  auto device = unit->Open();
  Bytes block(296, 0x33);
  ASSERT_EQ(Exchange(*device, HostFrame(0xB3, 3, 3, 0, 0, 0, block))->Code(), 0x64);

  // Nothing closes the store: a program killed now would leave this file.
  EXPECT_TRUE(Eventually([&] { return SlotInFile(3)[vantor::rec::OutputOffset(0)] == 0x33; }));
  EXPECT_TRUE(store->Close().Ok());
}

TEST_F(SimMemoryStoreTest, ABurstOfChangesIsSavedAFewTimesNotOnceEach) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  SimMemoryStore::Options o;
  o.saveInterval = 300ms;
  SimStoreProblem problem;
  auto store = SimMemoryStore::Open(file, unit, o, problem);
  ASSERT_TRUE(store);
  for (int i = 0; i < 200; ++i) {
    unit->Modify([i](vantor::ProgramState& s) { s.Slot(5)[0] = static_cast<std::uint8_t>(i); });
  }
  EXPECT_TRUE(Eventually([&] { return SlotInFile(5)[0] == 199; }));
  EXPECT_LE(store->Saves(), 2) << "the changes were coalesced";
  EXPECT_GE(store->Saves(), 1);
  store->Close();
  EXPECT_EQ(SlotInFile(5)[0], 199);
}

TEST_F(SimMemoryStoreTest, ASecondProgramOnTheFileIsRefusedOrWaitsForTheFirst) {
  auto first = SimulatedProcessor::Create(InstantOptions());
  SimStoreProblem problem;
  auto kept = SimMemoryStore::Open(file, first, Fast(), problem);
  ASSERT_TRUE(kept);

  auto second = SimulatedProcessor::Create(InstantOptions());
  EXPECT_FALSE(SimMemoryStore::Open(file, second, Fast(), problem));
  EXPECT_EQ(problem.status, SimFileStatus::kInUse);
  EXPECT_EQ(problem.Describe(false), "the simulated device file is in use by another program");

  // One that waits starts from what the first one left, not from what it saw at its start.
  std::thread firstRun([&] {
    std::this_thread::sleep_for(100ms);
    first->Modify([](vantor::ProgramState& s) { s.Slot(3)[0] = 'A'; });
    kept->Close();
  });
  SimMemoryStore::Options patient = Fast();
  patient.lockWait = 5s;
  bool told = false;
  patient.waiting = [&] { told = true; };
  auto later = SimMemoryStore::Open(file, second, patient, problem);
  firstRun.join();
  ASSERT_TRUE(later) << problem.Describe(false);
  EXPECT_TRUE(told);
  EXPECT_EQ(second->Record(3)[0], 'A');
  second->Modify([](vantor::ProgramState& s) { s.Slot(4)[0] = 'B'; });
  later->Close();
  EXPECT_EQ(SlotInFile(3)[0], 'A');
  EXPECT_EQ(SlotInFile(4)[0], 'B');
}

TEST_F(SimMemoryStoreTest, ANewFileTakesItsFirstContentsAndABadFileIsLeftAlone) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  SimMemoryStore::Options o = Fast();
  o.initialise = [](SimulatedProcessor& u) {
    u.Modify([](vantor::ProgramState& s) { s.Live()[0] = 'T'; });
  };
  SimStoreProblem problem;
  ASSERT_TRUE(SimMemoryStore::Open(file, unit, o, problem));
  EXPECT_EQ(SlotInFile(0)[0], 'T');

  {
    std::ofstream out(dir / "bad.vsim", std::ios::binary);
    out << "not a memory file";
  }
  auto other = SimulatedProcessor::Create(InstantOptions());
  auto store = SimMemoryStore::Open(dir / "bad.vsim", other, o, problem);
  EXPECT_FALSE(store);
  EXPECT_EQ(problem.status, SimFileStatus::kNotSimMemory);
  EXPECT_EQ(fs::file_size(dir / "bad.vsim"), 17U);
}

}  // namespace
