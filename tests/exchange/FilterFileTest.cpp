// The files filters travel in: read whole up to their limit, written through a temporary
// file, and the name an export is offered under.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "exchange/FilterFile.h"

namespace vantor::testing {
namespace {

class FilterFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir =
        std::filesystem::temp_directory_path() /
        ("vantor-filterfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::filesystem::path m_dir;
};

TEST_F(FilterFiles, WhatIsWrittenIsReadBackWhole) {
  const std::string text =
      "Filter Settings file\n\nFilter  1: ON  PK  Fc  1000 Hz  Gain  3.0 dB  Q  1.410\n";
  const auto path = m_dir / "ch1.txt";
  ASSERT_TRUE(WriteFilterFile(path, text).Ok());
  const FilterFileText read = ReadFilterFile(path);
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(read.text, text);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(FilterFiles, AFileOverTheLimitIsRefusedAndAMissingOneSaysWhy) {
  const auto big = m_dir / "big.txt";
  {
    std::ofstream out(big, std::ios::binary);
    out << std::string(kFilterFileLimit, '#') << '\n';
  }
  const FilterFileText tooLarge = ReadFilterFile(big);
  EXPECT_TRUE(tooLarge.result.Ok());
  EXPECT_TRUE(tooLarge.tooLarge);
  EXPECT_FALSE(tooLarge.Ok());
  EXPECT_TRUE(tooLarge.text.empty());

  {
    std::ofstream out(m_dir / "exact.txt", std::ios::binary);
    out << std::string(kFilterFileLimit, '#');
  }
  EXPECT_TRUE(ReadFilterFile(m_dir / "exact.txt").Ok());

  const FilterFileText missing = ReadFilterFile(m_dir / "none.txt");
  EXPECT_EQ(missing.result.error, ENOENT);
  EXPECT_FALSE(missing.Ok());
}

TEST_F(FilterFiles, AFailedWriteLeavesTheOldFile) {
  const auto path = m_dir / "kept.txt";
  ASSERT_TRUE(WriteFilterFile(path, "old\n").Ok());
  EXPECT_FALSE(WriteFilterFile(m_dir / "no-such-folder" / "x.txt", "new\n").Ok());
  EXPECT_EQ(ReadFilterFile(path).text, "old\n");
}

TEST(ExportFileNames, NameTheOutputAndTheFormat) {
  EXPECT_EQ(ExportFileName(0, ExchangeFormat::kRew), "CH1-rew.txt");
  EXPECT_EQ(ExportFileName(2, ExchangeFormat::kEqualizerApo), "CH3-eqapo.txt");
  EXPECT_EQ(ExportFileName(7, ExchangeFormat::kCamillaDsp), "CH8-camilladsp.yml");
}

}  // namespace
}  // namespace vantor::testing
