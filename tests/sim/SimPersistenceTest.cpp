// The unit's memory in a file: what one run stores, the next run reads; bad files change
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "SimTestSupport.h"
#include "model/DataDefine.h"
#include "sim/SimMemoryFile.h"
#include "sim/SimulatedProcessor.h"

namespace {

using namespace simtest;
using vantor::sim::SimFileStatus;
using vantor::sim::SimulatedProcessor;
namespace fs = std::filesystem;
namespace rec = vantor::rec;

class SimPersistence : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("vantor-sim-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    file = dir / "unit.vsim";
  }
  void TearDown() override { fs::remove_all(dir); }

  // A unit whose memory was changed by the host: a slot block, a name, system items.
  std::shared_ptr<SimulatedProcessor> ChangedUnit() {
    auto unit = SimulatedProcessor::Create(InstantOptions());
    unit->Plug();
    auto device = unit->Open();
    Bytes block(296);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(255 - i);
    EXPECT_EQ(Exchange(*device, HostFrame(0xB3, 6, 3, 5, 0, 0, block))->Code(), 0x64);
    const std::string name = "Stored on unit";
    Bytes payload(16, 0);
    std::copy(name.begin(), name.end(), payload.begin());
    EXPECT_EQ(Exchange(*device, HostFrame(0xB3, 6, 4, 134, 0, 0, payload))->Code(), 0x64);
    EXPECT_EQ(
        Exchange(*device, HostFrame(0xB3, 0, 4, 64, 0, 0, Hex("09 08 07 00 00 00 00 00")))->Code(),
        0x64);
    EXPECT_EQ(Exchange(*device, HostFrame(0xB3, 33, 10, 0, 0, 0, Bytes(96, 0x5A)))->Code(), 0x64);
    unit->SetInputSource(3);
    return unit;
  }

  static std::vector<std::uint8_t> Image(const SimulatedProcessor& unit) {
    std::vector<std::uint8_t> image;
    unit.Inspect([&](const vantor::ProgramState& s) { image = vantor::sim::EncodeMemoryImage(s); });
    return image;
  }

  void WriteRaw(const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  fs::path dir;
  fs::path file;
};

TEST_F(SimPersistence, ASecondRunSeesWhatTheFirstStored) {
  auto first = ChangedUnit();
  ASSERT_EQ(first->SaveMemory(file), SimFileStatus::kOk);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
      << "no temporary file left behind";

  auto second = SimulatedProcessor::Create(InstantOptions());
  ASSERT_EQ(second->LoadMemory(file), SimFileStatus::kOk);
  EXPECT_EQ(Image(*second), Image(*first));
  EXPECT_EQ(second->InputSource(), 3);

  // And the host reads it back through the link.
  second->Plug();
  auto device = second->Open();
  auto name = Exchange(*device, ReadRequest(6, 4, 134));
  ASSERT_TRUE(name);
  const std::string expected = "Stored on unit";
  const Bytes stored = name->Payload();
  EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 14), Bytes(expected.begin(), expected.end()));
  EXPECT_EQ(Exchange(*device, ReadRequest(6, 3, 5))->Payload().at(0), 255);
  EXPECT_EQ(Exchange(*device, ReadRequest(33, 10, 0, 0xAB))->Payload(), Bytes(96, 0x5A));
}

TEST_F(SimPersistence, BadFilesAreRefusedAndChangeNothing) {
  auto unit = ChangedUnit();
  ASSERT_EQ(unit->SaveMemory(file), SimFileStatus::kOk);
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> good((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  ASSERT_EQ(good.size(), vantor::sim::MemoryImageSize());

  auto fresh = SimulatedProcessor::Create(InstantOptions());
  const auto before = Image(*fresh);

  EXPECT_EQ(fresh->LoadMemory(dir / "missing.vsim"), SimFileStatus::kCannotRead);

  WriteRaw(std::vector<std::uint8_t>(good.begin(), good.end() - 1));
  EXPECT_EQ(fresh->LoadMemory(file), SimFileStatus::kWrongSize);
  WriteRaw({});
  EXPECT_EQ(fresh->LoadMemory(file), SimFileStatus::kWrongSize);
  auto longer = good;
  longer.push_back(0);
  WriteRaw(longer);
  EXPECT_EQ(fresh->LoadMemory(file), SimFileStatus::kWrongSize);

  auto damaged = good;
  damaged[5000] ^= 0x01;
  WriteRaw(damaged);
  EXPECT_EQ(fresh->LoadMemory(file), SimFileStatus::kBadChecksum);

  auto foreign = good;
  foreign[0] = 'X';
  WriteRaw(foreign);
  EXPECT_EQ(fresh->LoadMemory(file), SimFileStatus::kNotSimMemory);

  auto newer = good;
  newer[8] = 2;
  WriteRaw(newer);
  EXPECT_EQ(fresh->LoadMemory(file), SimFileStatus::kWrongVersion);

  EXPECT_EQ(Image(*fresh), before);
  EXPECT_FALSE(vantor::sim::DescribeSimFileStatus(SimFileStatus::kBadChecksum).empty());
  EXPECT_NE(vantor::sim::DescribeSimFileStatus(SimFileStatus::kBadChecksum, true),
            vantor::sim::DescribeSimFileStatus(SimFileStatus::kBadChecksum, false));
}

TEST_F(SimPersistence, AFailedSaveLeavesTheOldFileIntact) {
  auto unit = ChangedUnit();
  ASSERT_EQ(unit->SaveMemory(file), SimFileStatus::kOk);
  const auto saved = fs::file_size(file);
  // Saving into a folder that does not exist fails without touching anything.
  EXPECT_EQ(unit->SaveMemory(dir / "no-such-folder" / "unit.vsim"), SimFileStatus::kCannotWrite);
  // Saving over a folder fails too; the folder stays a folder.
  fs::create_directories(dir / "taken");
  EXPECT_EQ(unit->SaveMemory(dir / "taken"), SimFileStatus::kCannotWrite);
  EXPECT_TRUE(fs::is_directory(dir / "taken"));
  EXPECT_EQ(fs::file_size(file), saved);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2)
      << "only the saved file and the folder";
}

}  // namespace
