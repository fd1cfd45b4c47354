#include "sim/SimMemoryFile.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <random>
#include <system_error>

#include "base/LittleEndian.h"

namespace vantor::sim {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'V', 'N', 'S', 'I', 'M', 'M', 'E', 'M'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kMagicAt = 0;
constexpr std::size_t kVersionAt = 8;
constexpr std::size_t kReservedAt = 10;
constexpr std::size_t kBodyLengthAt = 12;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kChecksumSize = 4;

constexpr std::size_t kBodySize = rec::kStateRecordSize * (1 + rec::kSlotRecordCount) +
                                  rec::kEffectImageSize * rec::kEffectImageCount +
                                  rec::kSystemAreaSize + rec::kLimiterBlockSize;

// FNV-1a, enough to notice a damaged file.
std::uint32_t Fnv1a(std::span<const std::uint8_t> bytes) {
  std::uint32_t h = 2166136261u;
  for (std::uint8_t b : bytes) {
    h ^= b;
    h *= 16777619u;
  }
  return h;
}

// The regions of the state in file order, each visited with the body offset it lives at.
template <typename State, typename Fn>
void ForEachRegion(State& state, Fn&& fn) {
  std::size_t at = 0;
  auto visit = [&](auto& bytes) {
    fn(at, std::span(bytes));
    at += bytes.size();
  };
  visit(state.Live());
  for (int n = 1; n <= rec::kSlotRecordCount; ++n) visit(state.Slot(n));
  for (int n = 0; n < rec::kEffectImageCount; ++n) visit(state.EffectImage(n));
  visit(state.SystemArea());
  visit(state.LimiterBlock());
}

}  // namespace

std::size_t MemoryImageSize() { return kHeaderSize + kBodySize + kChecksumSize; }

std::vector<std::uint8_t> EncodeMemoryImage(const ProgramState& state) {
  std::vector<std::uint8_t> image(MemoryImageSize(), 0);
  std::copy(kMagic.begin(), kMagic.end(), image.begin() + kMagicAt);
  le::PutU16(image, kVersionAt, kVersion);
  le::PutU16(image, kReservedAt, 0);
  le::PutU32(image, kBodyLengthAt, static_cast<std::uint32_t>(kBodySize));
  auto body = std::span(image).subspan(kHeaderSize, kBodySize);
  ForEachRegion(state, [&](std::size_t at, std::span<const std::uint8_t> region) {
    std::copy(region.begin(), region.end(), body.begin() + static_cast<std::ptrdiff_t>(at));
  });
  le::PutU32(image, kHeaderSize + kBodySize, Fnv1a(body));
  return image;
}

SimFileStatus CheckMemoryImage(std::span<const std::uint8_t> image) {
  if (image.size() < kHeaderSize) return SimFileStatus::kWrongSize;
  if (!std::equal(kMagic.begin(), kMagic.end(), image.begin() + kMagicAt)) {
    return SimFileStatus::kNotSimMemory;
  }
  if (le::GetU16(image, kVersionAt) != kVersion) return SimFileStatus::kWrongVersion;
  if (le::GetU32(image, kBodyLengthAt) != kBodySize || image.size() != MemoryImageSize()) {
    return SimFileStatus::kWrongSize;
  }
  if (le::GetU32(image, kHeaderSize + kBodySize) != Fnv1a(image.subspan(kHeaderSize, kBodySize))) {
    return SimFileStatus::kBadChecksum;
  }
  return SimFileStatus::kOk;
}

void ApplyMemoryImage(std::span<const std::uint8_t> image, ProgramState& state) {
  const auto body = image.subspan(kHeaderSize, kBodySize);
  ForEachRegion(state, [&](std::size_t at, std::span<std::uint8_t> region) {
    const auto from = body.subspan(at, region.size());
    std::copy(from.begin(), from.end(), region.begin());
  });
}

SimFileStatus WriteFileAtomically(const std::filesystem::path& path,
                                  std::span<const std::uint8_t> bytes) {
  // A name of its own, so that two programs saving at once never write one temporary file.
  std::filesystem::path temp = path;
  std::random_device random;
  temp += ".tmp-" + std::to_string(random()) + std::to_string(random());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return SimFileStatus::kCannotWrite;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return SimFileStatus::kCannotWrite;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return SimFileStatus::kCannotWrite;
  }
  return SimFileStatus::kOk;
}

SimFileStatus ReadWholeFile(const std::filesystem::path& path, std::size_t limit,
                            std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return SimFileStatus::kCannotRead;
  std::vector<std::uint8_t> data;
  std::array<char, 4096> chunk{};
  while (in) {
    in.read(chunk.data(), chunk.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    if (data.size() + got > limit) return SimFileStatus::kWrongSize;
    data.insert(data.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
  }
  if (in.bad()) return SimFileStatus::kCannotRead;
  bytes = std::move(data);
  return SimFileStatus::kOk;
}

std::string DescribeSimFileStatus(SimFileStatus status, bool chinese) {
  switch (status) {
    case SimFileStatus::kOk:
      return chinese ? "完成" : "done";
    case SimFileStatus::kCannotRead:
      return chinese ? "无法读取模拟设备文件" : "cannot read the simulated device file";
    case SimFileStatus::kWrongSize:
      return chinese ? "模拟设备文件长度错误" : "the simulated device file has the wrong size";
    case SimFileStatus::kNotSimMemory:
      return chinese ? "不是模拟设备文件" : "not a simulated device file";
    case SimFileStatus::kWrongVersion:
      return chinese ? "模拟设备文件版本不支持" : "unsupported simulated device file version";
    case SimFileStatus::kBadChecksum:
      return chinese ? "模拟设备文件已损坏" : "the simulated device file is damaged";
    case SimFileStatus::kCannotWrite:
      return chinese ? "无法写入模拟设备文件" : "cannot write the simulated device file";
  }
  return {};
}

}  // namespace vantor::sim
