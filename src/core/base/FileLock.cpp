#include "base/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "base/FileIo.h"

namespace vantor {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{20};

bool SameInode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

FileLock::~FileLock() { Release(); }

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(other.m_fd), m_target(std::move(other.m_target)) {
  other.m_fd = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    m_fd = other.m_fd;
    m_target = std::move(other.m_target);
    other.m_fd = -1;
  }
  return *this;
}

void FileLock::Release() {
  if (m_fd >= 0) {
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
  }
}

void FileLock::MoveTo(int fd) {
  Release();
  m_fd = fd;
}

FileResult FileLock::Acquire(const std::filesystem::path& path, std::chrono::milliseconds wait,
                             const std::function<void()>& waiting) {
  Release();
  m_target = ResolveLinks(path);
  const auto end = std::chrono::steady_clock::now() + wait;
  bool told = false;
  for (;;) {
    const int fd = ::open(m_target.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return FileResult::Failure(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int why = errno;
      ::close(fd);
      if (why != EWOULDBLOCK) return FileResult::Failure(why);
      if (std::chrono::steady_clock::now() >= end) return FileResult::Failure(EAGAIN);
      if (!told && waiting) waiting();
      told = true;
      std::this_thread::sleep_for(kRetryInterval);
      continue;
    }
    // The holder before us may have replaced the file while we waited: the lock is only
    // worth something on the file the name leads to now.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) == 0 && ::stat(m_target.c_str(), &named) == 0 &&
        SameInode(held, named)) {
      m_fd = fd;
      return FileResult::Success();
    }
    ::close(fd);
  }
}

}  // namespace vantor
