#include "base/FileIo.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <random>
#include <string>
#include <system_error>

namespace vantor {
namespace {

// At most this many symbolic links are followed (the system's own limit is 40).
constexpr int kMaxLinks = 40;

// An open temporary file beside the target; closed and removed unless released.
class Temporary {
 public:
  ~Temporary() {
    if (m_fd >= 0) {
      ::close(m_fd);
      ::unlink(m_path.c_str());
    }
  }
  // Creates it in `folder`, locked (so that no other save takes it for a leftover).
  FileResult Create(const std::filesystem::path& folder) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string name = std::string(kTemporaryPrefix) + std::to_string(random()) + "-" +
                               std::to_string(::getpid()) + "-" +
                               std::to_string(counter.fetch_add(1)) + std::string(kTemporarySuffix);
      m_path = folder / name;
      // 0666 less the person's umask, as any new file of theirs.
      m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (m_fd >= 0) {
        ::flock(m_fd, LOCK_EX);
        return FileResult::Success();
      }
      if (errno != EEXIST) return FileResult::Failure(errno);
    }
    return FileResult::Failure(EEXIST);
  }
  // Writes all bytes, takes over the old file's mode (and owner, where allowed) and makes
  // the contents durable.
  FileResult Fill(std::span<const std::uint8_t> bytes, const struct stat* old) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return FileResult::Failure(errno);
      }
      done += static_cast<std::size_t>(n);
    }
    if (old != nullptr) {
      // The owner first: changing it may clear the set-id bits that the mode then restores.
      // Only the file's owner (or root) may give it away; anyone else keeps the file theirs.
      [[maybe_unused]] const int owned = ::fchown(m_fd, old->st_uid, old->st_gid);
      if (::fchmod(m_fd, old->st_mode & 07777) != 0) return FileResult::Failure(errno);
    }
    if (::fsync(m_fd) != 0) return FileResult::Failure(errno);
    return FileResult::Success();
  }
  const std::filesystem::path& Path() const { return m_path; }
  int Fd() const { return m_fd; }
  // The file was renamed or linked into place: it stays, and its descriptor is the caller's.
  int Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  std::filesystem::path m_path;
  int m_fd = -1;
};

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  const auto folder = target.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// So that the rename itself survives a power cut.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool OlderThan(const struct stat& st, std::chrono::milliseconds age) {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const auto modified =
      std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec);
  const auto current = std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
  return current - modified >= age;
}

// Temporary save files of saves that were killed: old, and no writer holds their lock.
void RemoveLeftovers(const std::filesystem::path& folder, std::chrono::milliseconds age) {
  std::error_code ec;
  std::filesystem::directory_iterator it(
      folder, std::filesystem::directory_options::skip_permission_denied, ec);
  if (ec) return;
  for (const auto& entry : it) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= kTemporaryPrefix.size() + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
      continue;
    }
    struct stat st {};
    if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !OlderThan(st, age))
      continue;
    const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
        opened.st_dev == st.st_dev && opened.st_ino == st.st_ino) {
      ::unlink(entry.path().c_str());
    }
    ::close(fd);
  }
}

}  // namespace

FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit) {
  FileBytes out;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    out.result = FileResult::Failure(errno);
    return out;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    out.result = FileResult::Failure(S_ISDIR(st.st_mode) ? EISDIR : errno);
    ::close(fd);
    return out;
  }
  out.size = static_cast<std::uintmax_t>(st.st_size);
  out.bytes.resize(limit + 1);
  std::size_t got = 0;
  while (got < out.bytes.size()) {
    const ssize_t n = ::read(fd, out.bytes.data() + got, out.bytes.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      out.result = FileResult::Failure(errno);
      break;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  out.bytes.resize(got);
  // A file that changes size while it is read (or reports none, as some special files do).
  out.size = std::max<std::uintmax_t>(out.size, got);
  if (!out.Ok()) out.bytes.clear();
  return out;
}

std::filesystem::path ResolveLinks(const std::filesystem::path& path) {
  std::filesystem::path p = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec))) return p;
    const std::filesystem::path to = std::filesystem::read_symlink(p, ec);
    if (ec) return p;
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  return p;
}

FileResult ReplaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                       FileLock* held, const FileTimings& timings) {
  const std::filesystem::path target =
      held != nullptr && held->Held() ? held->Target() : ResolveLinks(path);
  struct stat old {};
  bool exists = false;
  if (::stat(target.c_str(), &old) == 0) {
    exists = true;
    if (S_ISDIR(old.st_mode)) return FileResult::Failure(EISDIR);
    if (!S_ISREG(old.st_mode)) return FileResult::Failure(EINVAL);
    // A file the person may not write is not theirs to replace, even where the folder
    // would let the rename through.
    if (::access(target.c_str(), W_OK) != 0) return FileResult::Failure(errno);
  } else if (errno != ENOENT) {
    return FileResult::Failure(errno);
  }
  const std::filesystem::path folder = FolderOf(target);
  RemoveLeftovers(folder, timings.staleTemporary);

  FileLock own;
  if (exists && (held == nullptr || !held->Held())) {
    const FileResult locked = own.Acquire(target, timings.lockWait);
    if (!locked.Ok()) return locked;
  }
  Temporary temp;
  FileResult r = temp.Create(folder);
  if (r.Ok()) r = temp.Fill(bytes, exists ? &old : nullptr);
  if (!r.Ok()) return r;
  if (::rename(temp.Path().c_str(), target.c_str()) != 0) return FileResult::Failure(errno);
  const int fd = temp.Release();
  SyncFolder(folder);
  if (held != nullptr && held->Held()) {
    held->MoveTo(fd);
  } else {
    ::close(fd);
  }
  return FileResult::Success();
}

FileResult CreateNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  const std::filesystem::path target = ResolveLinks(path);
  const std::filesystem::path folder = FolderOf(target);
  Temporary temp;
  FileResult r = temp.Create(folder);
  if (r.Ok()) r = temp.Fill(bytes, nullptr);
  if (!r.Ok()) return r;
  // A hard link appears in one step and never replaces anything.
  if (::link(temp.Path().c_str(), target.c_str()) != 0) return FileResult::Failure(errno);
  SyncFolder(folder);
  return FileResult::Success();  // the temporary name goes with `temp`
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  const bool same = std::filesystem::equivalent(a, b, ec);
  return !ec && same;
}

}  // namespace vantor
