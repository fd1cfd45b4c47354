#pragma once
// An exclusive advisory lock on a file, held across a read-modify-write so that two programs
// working on one file take turns instead of one silently undoing the other's change. Only
// programs that ask for the lock are held back; every save of this program asks.
//
// The lock follows the file's contents, not its name: a save replaces the file by a new one
// (ReplaceFile), and a holder moves its lock onto the new file before the rename. A program
// that waited on the old file then finds the name pointing elsewhere and waits on the new
// file, so it always reads what the holder wrote last.

#include <chrono>
#include <filesystem>
#include <functional>

#include "base/FileResult.h"

namespace vantor {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Locks the existing file at `path` (its final target when `path` is a symbolic link).
  // Waits at most `wait` while another program holds it, calling `waiting` once when the
  // wait begins. On failure the lock is not held and the result holds the reason (EAGAIN
  // when the wait ran out).
  FileResult Acquire(const std::filesystem::path& path, std::chrono::milliseconds wait,
                     const std::function<void()>& waiting = {});
  void Release();
  bool Held() const { return m_fd >= 0; }
  // The file the lock is on (symbolic links resolved).
  const std::filesystem::path& Target() const { return m_target; }

  // A save replaced the file with the one open as `fd`, which the caller has locked; the
  // lock now lives on that file and the old descriptor is closed. Takes ownership of `fd`.
  void MoveTo(int fd);

 private:
  int m_fd = -1;
  std::filesystem::path m_target;
};

}  // namespace vantor
