// The unit's memory in a file: what one run stores, the next run reads; bad files change
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "SimTestSupport.h"
#include "base/LittleEndian.h"
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
    return unit.MemoryImage();
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
  ASSERT_EQ(good, unit->MemoryImage());

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
  newer[8] = 3;
  WriteRaw(newer);
  EXPECT_EQ(fresh->LoadMemory(file), SimFileStatus::kWrongVersion);

  EXPECT_EQ(Image(*fresh), before);
  EXPECT_FALSE(vantor::sim::DescribeSimFileStatus(SimFileStatus::kBadChecksum).empty());
  EXPECT_NE(vantor::sim::DescribeSimFileStatus(SimFileStatus::kBadChecksum, true),
            vantor::sim::DescribeSimFileStatus(SimFileStatus::kBadChecksum, false));
}

// FNV-1a as the file's checksum, for building a file of the first layout by hand.
std::uint32_t Fnv1a(std::span<const std::uint8_t> bytes) {
  std::uint32_t h = 2166136261u;
  for (std::uint8_t b : bytes) h = (h ^ b) * 16777619u;
  return h;
}

TEST_F(SimPersistence, AFileOfTheFirstLayoutIsStillRead) {
  auto unit = ChangedUnit();
  const std::size_t memory = rec::kStateRecordSize * (1 + rec::kSlotRecordCount) +
                             rec::kEffectImageSize * rec::kEffectImageCount + rec::kSystemAreaSize +
                             rec::kLimiterBlockSize;
  auto image = unit->MemoryImage();
  // Version 1: the header, the memory alone, its checksum.
  std::vector<std::uint8_t> first(image.begin(), image.begin() + 16 + memory);
  vantor::le::PutU16(first, 8, 1);
  vantor::le::PutU32(first, 12, static_cast<std::uint32_t>(memory));
  first.resize(first.size() + 4);
  vantor::le::PutU32(first, 16 + memory, Fnv1a(std::span(first).subspan(16, memory)));
  WriteRaw(first);

  auto fresh = SimulatedProcessor::Create(InstantOptions());
  ASSERT_EQ(fresh->LoadMemory(file), SimFileStatus::kOk);
  EXPECT_EQ(fresh->Record(6), unit->Record(6));
  EXPECT_EQ(fresh->InputSource(), 3);
}

TEST_F(SimPersistence, TheBootLoaderAndItsImagesSurviveAPowerCycle) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  unit->Plug();
  {
    auto device = unit->Open();
    vantor::Report wake{};
    for (std::size_t i = 1; i < wake.size(); i += 2) {
      wake[i] = 0x43;
      wake[i + 1] = 0x11;
    }
    ASSERT_TRUE(device->WriteReport(wake, std::chrono::milliseconds(100)));
  }
  ASSERT_TRUE(unit->InBootLoader());
  unit->SetIdentity("TRX-620-31EQ-V3.9");
  ASSERT_EQ(unit->SaveMemory(file), SimFileStatus::kOk);

  auto later = SimulatedProcessor::Create(InstantOptions());
  ASSERT_EQ(later->LoadMemory(file), SimFileStatus::kOk);
  EXPECT_TRUE(later->InBootLoader()) << "an update broken off leaves the unit in its boot loader";
  later->Plug();
  auto device = later->Open();
  EXPECT_FALSE(Exchange(*device, ReadRequest(0, 4, 136))) << "and it answers no program frame";
  EXPECT_EQ(later->MemoryImage(), unit->MemoryImage());
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
