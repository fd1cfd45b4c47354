// The backup of the six presets before an update or a factory reset: its dated name, the
// read-back check of the written file, and the change held until the backup is verified or
// someone decides to go on without it.

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "base/LittleEndian.h"
#include "connection/LinkRig.h"
#include "presets/PresetBackup.h"
#include "presets/PresetSerializer.h"

namespace vantor::testing {
namespace {

using Step = BackupBeforeChange::Step;

std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int h, int m, int s) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = h;
  t.tm_min = m;
  t.tm_sec = s;
  t.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&t));
}

class PresetBackup : public ::testing::Test {
 protected:
  PresetBackup() {
    rig.Screen().forward = [this](const DeviceEventMessage& m) { presets.OnDeviceEvent(m); };
    rig.unit->Modify([](ProgramState& s) {
      for (int n = 1; n <= 6; ++n) {
        le::PutI16(s.Slot(n), rec::OutputOffset(n - 1) + rec::kOutGain,
                   static_cast<std::int16_t>(20 + n));
        s.Slot(n)[rec::kProgramName] = static_cast<std::uint8_t>('A' + n);
      }
    });
  }

  bool Settled() {
    return rig.Until([this] { return guard.CurrentStep() != Step::kBackingUp; });
  }
  std::filesystem::path Path(const std::string& name) const { return rig.dir.Path() / name; }

  LinkRig rig;
  PresetController presets{rig.Controller()};
  BackupBeforeChange guard{rig.Controller(), presets};
  int changes = 0;
  std::function<void()> change = [this] { ++changes; };
};

TEST(BackupName, IsDatedAndNeverTakesAnExistingFile) {
  const auto when = LocalTime(2024, 5, 1, 15, 30, 12);
  EXPECT_EQ(BackupFileName(when), "vantor-backup-2024-05-01-153012.dspa");
  TempDir dir;
  EXPECT_EQ(DefaultBackupPath(dir.Path(), when),
            dir.Path() / "vantor-backup-2024-05-01-153012.dspa");
  std::ofstream(dir.Path() / "vantor-backup-2024-05-01-153012.dspa") << "earlier";
  std::ofstream(dir.Path() / "vantor-backup-2024-05-01-153012-2.dspa") << "earlier";
  EXPECT_EQ(DefaultBackupPath(dir.Path(), when),
            dir.Path() / "vantor-backup-2024-05-01-153012-3.dspa");
}

TEST_F(PresetBackup, AVerifiedBackupHoldsTheDevicesSlotsAndClearsTheChange) {
  ASSERT_TRUE(rig.ConnectLive());
  EXPECT_EQ(guard.Begin(Path("before-update")), Step::kBackingUp);
  EXPECT_FALSE(guard.Proceed(change)) << "nothing goes ahead while the presets are read";
  ASSERT_TRUE(Settled());
  ASSERT_EQ(guard.CurrentStep(), Step::kClear);
  EXPECT_TRUE(guard.Verified());
  EXPECT_EQ(guard.Path(), Path("before-update.dspa"));

  const FileBytes file = ReadFileBytes(guard.Path(), kAllPresetsFileSize);
  ASSERT_TRUE(file.Ok());
  const auto* bytes = &file.bytes;
  ASSERT_EQ(bytes->size(), kAllPresetsFileSize);
  for (int n = 1; n <= 6; ++n) {
    const std::size_t at =
        kAllPresetsSlots + rec::kStateRecordSize * static_cast<std::size_t>(n - 1);
    EXPECT_EQ(le::GetI16(*bytes, at + rec::OutputOffset(n - 1) + rec::kOutGain), 20 + n) << n;
  }
  EXPECT_TRUE(guard.Proceed(change));
  EXPECT_FALSE(guard.Proceed(change)) << "the change runs once";
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(guard.CurrentStep(), Step::kDone);
}

TEST_F(PresetBackup, WithoutADeviceTheBackupFailsAndTheChangeWaitsForADecision) {
  EXPECT_EQ(guard.Begin(Path("none.dspa")), Step::kFailed);
  EXPECT_EQ(guard.Failure(), TextId::DeviceNotConnected);
  EXPECT_FALSE(guard.Proceed(change));
  guard.Decide(false);
  EXPECT_EQ(guard.CurrentStep(), Step::kCancelled);
  EXPECT_FALSE(guard.Proceed(change));

  EXPECT_EQ(guard.Begin(Path("none.dspa")), Step::kFailed);
  guard.Decide(true);
  EXPECT_TRUE(guard.Proceed(change));
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(guard.Verified());
  EXPECT_FALSE(std::filesystem::exists(Path("none.dspa")));
}

TEST_F(PresetBackup, NoBackupAskedForClearsTheChangeAtOnce) {
  EXPECT_EQ(guard.Begin(std::nullopt), Step::kClear);
  EXPECT_TRUE(guard.Proceed(change));
  EXPECT_EQ(changes, 1);
}

TEST_F(PresetBackup, AFileThatCannotBeWrittenFailsTheBackup) {
  ASSERT_TRUE(rig.ConnectLive());
  guard.Begin(Path("no-such-folder") / "backup.dspa");
  ASSERT_TRUE(Settled());
  EXPECT_EQ(guard.CurrentStep(), Step::kFailed);
  EXPECT_EQ(guard.Failure(), TextId::AllPresetsSaveError);
  EXPECT_FALSE(guard.Proceed(change));
  EXPECT_EQ(changes, 0);
}

TEST_F(PresetBackup, ADeviceThatStopsAnsweringFailsTheBackupWithoutAFile) {
  ASSERT_TRUE(rig.ConnectLive());
  ASSERT_TRUE(rig.Drained());
  rig.unit->InjectFault(sim::SimFault::StopAnswering(10));
  guard.Begin(Path("cut.dspa"));
  ASSERT_TRUE(Settled());
  EXPECT_EQ(guard.CurrentStep(), Step::kFailed);
  EXPECT_EQ(guard.Failure(), TextId::BackupInterrupted);
  EXPECT_FALSE(std::filesystem::exists(Path("cut.dspa")));
  EXPECT_FALSE(guard.Proceed(change));
}

TEST_F(PresetBackup, TheReadBackCheckTellsWhatIsWrongWithAFile) {
  ProgramState program;
  CKTV_Data model(program);
  model.LoadOutputs();
  le::PutI16(program.Slot(4), rec::OutputOffset(2) + rec::kOutGain, 33);
  ByteArchive all;
  ASSERT_TRUE(SerializeAllPresets(all, model));
  ASSERT_TRUE(ReplaceFile(Path("all.dspa"), all.Bytes()).Ok());
  EXPECT_EQ(VerifyBackupFile(Path("all.dspa"), program), BackupCheck::kSame);

  le::PutI16(program.Slot(4), rec::OutputOffset(2) + rec::kOutGain, 34);
  EXPECT_EQ(VerifyBackupFile(Path("all.dspa"), program), BackupCheck::kDifferent);
  EXPECT_EQ(VerifyBackupFile(Path("missing.dspa"), program), BackupCheck::kUnreadable);

  ByteArchive single;
  ASSERT_TRUE(SerializePreset(single, model));
  ASSERT_TRUE(ReplaceFile(Path("one.dspa"), single.Bytes()).Ok());
  EXPECT_EQ(VerifyBackupFile(Path("one.dspa"), program), BackupCheck::kNotAllPresets);
}

}  // namespace
}  // namespace vantor::testing
