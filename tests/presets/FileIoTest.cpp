// Saving and reading whole files: a save never leaves a half-written file, keeps the file's
// mode, goes through symbolic links, refuses files the person may not write, cleans up
// after killed saves and takes turns with other programs through the file's lock.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/FileIo.h"
#include "base/FileLock.h"
#include "connection/LinkRig.h"
#include "text/TextCatalog.h"
#include "text/TextFormat.h"

namespace vantor::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

int Entries(const fs::path& dir) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

unsigned Mode(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

class FileIo : public ::testing::Test {
 protected:
  fs::path Path(const std::string& name) const { return dir.Path() / name; }
  TempDir dir;
};

// A write that fails half-way (here: the file size limit) leaves the old file as it was, no
// temporary file behind, and says why.
TEST_F(FileIo, FailedWriteLeavesTheOldFileAndGivesTheReason) {
  const auto path = Path("keep.dsps");
  const Bytes old(2808, 0x5A);
  ASSERT_TRUE(ReplaceFile(path, old).Ok());

  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const FileResult written = ReplaceFile(path, Bytes(2808, 0x11));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);

  EXPECT_EQ(written.error, EFBIG);
  EXPECT_EQ(DescribeFileError(written.error, false), "File too large");
  EXPECT_EQ(DescribeFileError(written.error, true), "文件太大");
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(Entries(dir.Path()), 1) << "no temporary file is left";
}

TEST_F(FileIo, ReadingStopsJustPastTheLimitButTellsTheRealSize) {
  WriteAll(Path("big"), Bytes(100000, 1));
  const FileBytes big = ReadFileBytes(Path("big"), 2808);
  ASSERT_TRUE(big.Ok());
  EXPECT_EQ(big.bytes.size(), 2809U);
  EXPECT_EQ(big.size, 100000U);

  EXPECT_EQ(ReadFileBytes(Path("absent"), 10).result.error, ENOENT);
  EXPECT_EQ(ReadFileBytes(dir.Path(), 10).result.error, EISDIR);
  EXPECT_EQ(DescribeFileError(ENOSPC, false), "No space left on device");
}

TEST_F(FileIo, ASaveKeepsTheModeOfTheFileItReplaces) {
  const auto path = Path("private.dsps");
  WriteAll(path, Bytes(10, 1));
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(ReplaceFile(path, Bytes(20, 2)).Ok());
  EXPECT_EQ(Mode(path), 0600U);
  EXPECT_EQ(ReadAll(path), Bytes(20, 2));

  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(ReplaceFile(path, Bytes(5, 3)).Ok());
  EXPECT_EQ(Mode(path), 0640U);

  // A new file gets what any new file of the person gets.
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(ReplaceFile(Path("new.dsps"), Bytes(5, 3)).Ok());
  ::umask(mask);
  EXPECT_EQ(Mode(Path("new.dsps")), 0644U);
}

TEST_F(FileIo, AFileThePersonMayNotWriteIsRefusedWithTheReason) {
  const auto path = Path("protected.dsps");
  WriteAll(path, Bytes(10, 7));
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);  // the folder would let a rename through

  const int error = AsAnotherPerson([&] { return ReplaceFile(path, Bytes(10, 8)).error; });
  EXPECT_EQ(error, EACCES);
  EXPECT_EQ(ReadAll(path), Bytes(10, 7));
  EXPECT_EQ(Mode(path), 0444U);
  EXPECT_EQ(Entries(dir.Path()), 1);
}

TEST_F(FileIo, ASaveThroughASymbolicLinkReplacesItsTarget) {
  fs::create_directories(Path("store"));
  const auto target = Path("store/real.dsps");
  WriteAll(target, Bytes(4, 1));
  ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
  fs::create_symlink("store/real.dsps", Path("relative.dsps"));  // relative to its folder
  fs::create_symlink(Path("relative.dsps"), Path("chain.dsps"));

  ASSERT_TRUE(ReplaceFile(Path("chain.dsps"), Bytes(6, 9)).Ok());
  EXPECT_TRUE(fs::is_symlink(Path("chain.dsps")));
  EXPECT_TRUE(fs::is_symlink(Path("relative.dsps")));
  EXPECT_EQ(ReadAll(target), Bytes(6, 9));
  EXPECT_EQ(Mode(target), 0600U);

  // A link whose target does not exist yet creates it.
  fs::create_symlink("store/later.dsps", Path("dangling.dsps"));
  ASSERT_TRUE(ReplaceFile(Path("dangling.dsps"), Bytes(3, 4)).Ok());
  EXPECT_TRUE(fs::is_symlink(Path("dangling.dsps")));
  EXPECT_EQ(ReadAll(Path("store/later.dsps")), Bytes(3, 4));
}

TEST_F(FileIo, TheNextSaveRemovesWhatAKilledSaveLeftButNotASaveUnderWay) {
  const auto old = Path(".vantor-save-111-1-0.tmp");
  const auto fresh = Path(".vantor-save-222-1-0.tmp");
  const auto busy = Path(".vantor-save-333-1-0.tmp");
  const auto other = Path("notes.tmp");
  for (const auto& p : {old, fresh, busy, other}) WriteAll(p, Bytes(3, 0));
  const auto past = fs::file_time_type::clock::now() - 1h;
  fs::last_write_time(old, past);
  fs::last_write_time(busy, past);
  const int held = ::open(busy.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);  // its writer still works on it

  ASSERT_TRUE(ReplaceFile(Path("tune.dsps"), Bytes(8, 1)).Ok());
  ::close(held);
  EXPECT_FALSE(fs::exists(old));
  EXPECT_TRUE(fs::exists(fresh));
  EXPECT_TRUE(fs::exists(busy));
  EXPECT_TRUE(fs::exists(other));
}

TEST_F(FileIo, ALockIsWaitedForAndFollowsTheFileWhenItIsReplaced) {
  const auto path = Path("shared.dsps");
  WriteAll(path, Bytes(4, 1));
  FileLock first;
  ASSERT_TRUE(first.Acquire(path, 0ms).Ok());

  FileLock second;
  EXPECT_EQ(second.Acquire(path, 0ms).error, EAGAIN);
  EXPECT_EQ(DescribeFileError(EAGAIN, false), "The file is in use by another program");
  // A save of someone without the lock waits for it, then gives up.
  EXPECT_EQ(ReplaceFile(path, Bytes(4, 2), nullptr, FileTimings{50ms, 50ms, 50ms}).error, EAGAIN);

  // The holder saves (the file is replaced) and lets go while the second one waits; the
  // second must end up holding the new file, not the old one it first opened.
  std::thread holder([&] {
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(ReplaceFile(path, Bytes(4, 3), &first).Ok());
    std::this_thread::sleep_for(50ms);
    first.Release();
  });
  bool told = false;
  EXPECT_TRUE(second.Acquire(path, 5s, [&] { told = true; }).Ok());
  holder.join();
  EXPECT_TRUE(told);
  EXPECT_EQ(ReadAll(path), Bytes(4, 3));
  FileLock third;
  EXPECT_EQ(third.Acquire(path, 0ms).error, EAGAIN) << "the lock is on the file the name leads to";
}

TEST_F(FileIo, CreatingANewFileNeverReplacesOne) {
  ASSERT_TRUE(CreateNewFile(Path("unit.vsim"), Bytes(5, 1)).Ok());
  EXPECT_EQ(CreateNewFile(Path("unit.vsim"), Bytes(5, 2)).error, EEXIST);
  EXPECT_EQ(ReadAll(Path("unit.vsim")), Bytes(5, 1));
  EXPECT_EQ(Entries(dir.Path()), 1);
}

TEST_F(FileIo, SameFileComparesFilesNotNames) {
  WriteAll(Path("a.dsps"), Bytes(1, 1));
  WriteAll(Path("b.dsps"), Bytes(1, 1));
  fs::create_hard_link(Path("a.dsps"), Path("hard.dsps"));
  fs::create_symlink(Path("a.dsps"), Path("soft.dsps"));
  EXPECT_TRUE(SameFile(Path("a.dsps"), dir.Path() / "." / "a.dsps"));
  EXPECT_TRUE(SameFile(Path("a.dsps"), Path("hard.dsps")));
  EXPECT_TRUE(SameFile(Path("soft.dsps"), Path("hard.dsps")));
  EXPECT_FALSE(SameFile(Path("a.dsps"), Path("b.dsps")));
  EXPECT_FALSE(SameFile(Path("a.dsps"), Path("absent.dsps")));
}

}  // namespace
}  // namespace vantor::testing
