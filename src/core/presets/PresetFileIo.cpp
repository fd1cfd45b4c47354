#include "presets/PresetFileIo.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace vantor {
namespace {

// A temporary name of its own per save, in the target's folder (a rename within one file
// system replaces the target in one step), so two programs saving the same file never write
// into one temporary file. It does not grow with the target's name, which may already be as
// long as the file system allows.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  const auto now =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::string name = ".vantor-save-" + std::to_string(random()) + "-" +
                           std::to_string(now % 1000000007ULL) + "-" +
                           std::to_string(counter.fetch_add(1)) + ".tmp";
  return path.parent_path() / name;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(limit + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  const std::filesystem::path temp = TemporaryNameFor(path);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    out.close();
    if (!out) {
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
  }
  return true;
}

}  // namespace vantor
