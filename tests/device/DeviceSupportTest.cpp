// The real transport's pieces that work without hardware: device claims shared by running
// copies, the exclusive device lock, and discovery and opening when nothing is plugged in.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "device/DeviceLock.h"
#include "device/FileClaimStore.h"
#include "device/HidApiBackend.h"
#include "device/RuntimeDir.h"

namespace vantor {
namespace {

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("vantor-device-test-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  void WriteClaimFile(const std::string& devicePath, const std::string& content) {
    std::ofstream(dir / FileNameForPath(devicePath)) << content;
  }

  std::filesystem::path dir;
};

// The id of a process that has certainly ended.
long DeadProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

using ClaimStoreTest = TempFolder;

TEST_F(ClaimStoreTest, ClaimIsSeenByOtherCopiesUntilReleased) {
  FileClaimStore mine(dir);
  FileClaimStore theirs(dir);
  const std::string path = "/dev/hidraw3";
  EXPECT_TRUE(theirs.IsPathUnclaimed(path));
  ASSERT_TRUE(mine.ClaimPath(path));
  EXPECT_FALSE(theirs.IsPathUnclaimed(path));
  EXPECT_TRUE(theirs.IsPathUnclaimed("/dev/hidraw4"));
  mine.ReleaseClaim(path);
  EXPECT_TRUE(theirs.IsPathUnclaimed(path));
}

TEST_F(ClaimStoreTest, ClaimOfAnEndedProcessIsStale) {
  FileClaimStore store(dir);
  WriteClaimFile("/dev/hidraw1", std::to_string(DeadProcessId()));
  EXPECT_TRUE(store.IsPathUnclaimed("/dev/hidraw1"));
  EXPECT_FALSE(std::filesystem::exists(dir / FileNameForPath("/dev/hidraw1")));
}

TEST_F(ClaimStoreTest, UnreadableClaimIsStale) {
  FileClaimStore store(dir);
  WriteClaimFile("/dev/hidraw1", "not a process");
  EXPECT_TRUE(store.IsPathUnclaimed("/dev/hidraw1"));
}

TEST_F(ClaimStoreTest, AnotherLiveProcessKeepsItsClaim) {
  FileClaimStore store(dir);
  WriteClaimFile("/dev/hidraw2", std::to_string(::getppid()));
  EXPECT_FALSE(store.IsPathUnclaimed("/dev/hidraw2"));
  store.ReleaseClaim("/dev/hidraw2");  // not ours: left alone
  EXPECT_FALSE(store.IsPathUnclaimed("/dev/hidraw2"));
}

TEST(RuntimeDirTest, FileNamesAreDistinctAndPlain) {
  const std::string a = FileNameForPath("/dev/hidraw1");
  const std::string b = FileNameForPath("_dev_hidraw1");
  EXPECT_NE(a, b);
  EXPECT_EQ(a.find('/'), std::string::npos);
  EXPECT_TRUE(RuntimeDir().has_value());
}

using DeviceLockTest = TempFolder;

TEST_F(DeviceLockTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  DeviceLock first;
  DeviceLock second;
  ASSERT_TRUE(first.TryLock("/dev/hidraw0", dir));
  EXPECT_FALSE(second.TryLock("/dev/hidraw0", dir));
  EXPECT_TRUE(second.TryLock("/dev/hidraw9", dir));
  first.Unlock();
  EXPECT_TRUE(second.TryLock("/dev/hidraw0", dir));
}

TEST_F(DeviceLockTest, MovedLockStaysHeld) {
  DeviceLock first;
  ASSERT_TRUE(first.TryLock("/dev/hidraw0", dir));
  DeviceLock moved = std::move(first);
  EXPECT_TRUE(moved.Held());
  DeviceLock other;
  EXPECT_FALSE(other.TryLock("/dev/hidraw0", dir));
  { DeviceLock gone = std::move(moved); }
  EXPECT_TRUE(other.TryLock("/dev/hidraw0", dir));
}

using HidApiBackendTest = TempFolder;

TEST_F(HidApiBackendTest, WithoutAProcessorNothingIsFoundOrOpened) {
  HidApiBackend backend(dir);
  for (const HidDeviceInfo& d : backend.Enumerate()) {
    EXPECT_EQ(d.vendorId, kVendorId);  // only the processor's ids are listed
  }
  HidOpenError why = HidOpenError::kNone;
  EXPECT_EQ(backend.OpenExclusive("/dev/vantor-no-such-node", &why), nullptr);
  EXPECT_EQ(why, HidOpenError::kNotFound);
}

TEST_F(HidApiBackendTest, LockedPathIsBusy) {
  HidApiBackend backend(dir);
  DeviceLock held;
  ASSERT_TRUE(held.TryLock("/dev/vantor-held", dir));
  HidOpenError why = HidOpenError::kNone;
  EXPECT_EQ(backend.OpenExclusive("/dev/vantor-held", &why), nullptr);
  EXPECT_EQ(why, HidOpenError::kBusy);
}

}  // namespace
}  // namespace vantor
