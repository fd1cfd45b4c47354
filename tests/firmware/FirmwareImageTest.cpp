// Firmware files: kind by extension, checksum, block count, refusals, and the remembered
// path.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "connection/LinkRig.h"
#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareImage.h"
#include "firmware/FirmwareRig.h"

namespace vantor::testing {
namespace {

std::string Write(const TempDir& dir, const std::string& name,
                  const std::vector<std::uint8_t>& bytes) {
  const auto path = dir.Path() / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

std::uint8_t XorFrom4(const std::vector<std::uint8_t>& bytes) {
  std::uint8_t x = 0x12;
  for (std::size_t i = 4; i < bytes.size(); ++i) x = static_cast<std::uint8_t>(x ^ bytes[i]);
  return x;
}

TEST(FirmwareImage, HundredByteProcessorImage) {
  TempDir dir;
  const auto bytes = TestImage(100, 3);
  const FirmwareLoadResult r = ReadFirmwareImage(Write(dir, "unit.dsp", bytes));
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.image->kind, FirmwareKind::kProcessor);
  EXPECT_EQ(r.image->bytes, bytes);
  EXPECT_EQ(r.image->blockCount, 8);
  EXPECT_EQ(r.image->checksum, XorFrom4(bytes));
  EXPECT_FALSE(r.Warns());

  // Bytes 0..3 do not count.
  auto changed = bytes;
  changed[0] ^= 0x55;
  changed[3] ^= 0x0F;
  EXPECT_EQ(FirmwareImageFromBytes("x.dsp", changed).image->checksum, r.image->checksum);
  changed[4] ^= 0x01;
  EXPECT_EQ(FirmwareImageFromBytes("x.dsp", changed).image->checksum, r.image->checksum ^ 0x01);
}

TEST(FirmwareImage, KindComesFromTheExactExtension) {
  const auto bytes = TestImage(60);
  const auto contr = FirmwareImageFromBytes("/some.dir/hand.contr", bytes);
  ASSERT_TRUE(contr.Ok());
  EXPECT_EQ(contr.image->kind, FirmwareKind::kController);
  EXPECT_TRUE(contr.Warns());
  // The controller image gets the processor's checksum.
  EXPECT_EQ(contr.image->checksum, XorFrom4(bytes));
  EXPECT_EQ(contr.image->blockCount, 7);

  for (const char* name :
       {"UNIT.DSP", "unit.Dsp", "unit.CONTR", "unit.dsp.bak", "unit", "dsp", "unit.dsp/"}) {
    const auto r = FirmwareImageFromBytes(name, bytes);
    EXPECT_FALSE(r.Ok()) << name;
    EXPECT_EQ(r.error, FirmwareLoadError::kWrongType) << name;
    EXPECT_EQ(r.Message(), TextId::FirmwareTypeError) << name;
  }
  EXPECT_EQ(Tr(TextId::FirmwareTypeError, false), "升级文件类型错误！");
}

TEST(FirmwareImage, SizeLimitAndEmptyFiles) {
  const std::vector<std::uint8_t> largest(kFirmwareFileLimit - 1, 0x11);
  const auto ok = FirmwareImageFromBytes("big.dsp", largest);
  ASSERT_TRUE(ok.Ok());
  EXPECT_EQ(ok.image->blockCount, 262147 / 48 + 6);

  const std::vector<std::uint8_t> tooLarge(kFirmwareFileLimit, 0x11);
  for (const char* name : {"big.dsp", "big.contr"}) {
    const auto r = FirmwareImageFromBytes(name, tooLarge);
    EXPECT_EQ(r.error, FirmwareLoadError::kWrongType) << name;
  }

  TempDir dir;
  const auto empty = ReadFirmwareImage(Write(dir, "empty.dsp", {}));
  EXPECT_EQ(empty.error, FirmwareLoadError::kEmpty);
  EXPECT_EQ(empty.Message(), TextId::FirmwareFileError);

  const auto missing = ReadFirmwareImage(dir.Path() / "missing.dsp");
  EXPECT_EQ(missing.error, FirmwareLoadError::kUnreadable);
  EXPECT_EQ(Tr(missing.Message(), false), "Hex File error!");
  EXPECT_EQ(Tr(missing.Message(), true), "固件文件错误!");

  std::filesystem::create_directory(dir.Path() / "folder.dsp");
  EXPECT_EQ(ReadFirmwareImage(dir.Path() / "folder.dsp").error, FirmwareLoadError::kUnreadable);
}

TEST(FirmwareFile, ChoosingRemembersThePathAndLoadingFollowsIt) {
  TempDir dir;
  const std::string dsp = Write(dir, "a.dsp", TestImage(100, 1));
  const std::string contr = Write(dir, "b.contr", TestImage(70, 2));

  FirmwareFile file("/remembered/from/last/run.dsp");
  EXPECT_FALSE(file.ChooseFirmwareFile(std::nullopt));  // cancelled
  EXPECT_FALSE(file.ChooseFirmwareFile((dir.Path() / "gone.dsp").string()));
  EXPECT_EQ(file.Path(), "/remembered/from/last/run.dsp");

  ASSERT_TRUE(file.ChooseFirmwareFile(dsp));
  EXPECT_EQ(file.Path(), dsp);
  EXPECT_EQ(std::filesystem::path(file.FolderText()).filename(), "*.bin");
  EXPECT_EQ(std::filesystem::path(file.FolderText()).parent_path().filename(), "DataFile");
  ASSERT_TRUE(file.LoadFirmwareImage().Ok());
  EXPECT_EQ(file.Image()->kind, FirmwareKind::kProcessor);

  // A controller file after a processor file: only the controller image is held.
  ASSERT_TRUE(file.ChooseFirmwareFile(contr));
  ASSERT_TRUE(file.LoadFirmwareImage().Ok());
  EXPECT_EQ(file.Image()->kind, FirmwareKind::kController);
  EXPECT_EQ(file.Image()->bytes, TestImage(70, 2));

  // A file of the wrong type keeps the path; one that cannot be read forgets it. Neither
  // leaves an image behind.
  const std::string text = Write(dir, "c.txt", TestImage(10));
  file.SetPath(text);
  EXPECT_FALSE(file.LoadFirmwareImage().Ok());
  EXPECT_FALSE(file.Image().has_value());
  EXPECT_EQ(file.Path(), text);
  std::filesystem::remove(dsp);
  file.SetPath(dsp);
  EXPECT_EQ(file.LoadFirmwareImage().error, FirmwareLoadError::kUnreadable);
  EXPECT_TRUE(file.Path().empty());
}

}  // namespace
}  // namespace vantor::testing
