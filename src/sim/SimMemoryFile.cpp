#include "sim/SimMemoryFile.h"

#include <algorithm>
#include <array>

#include "base/LittleEndian.h"
#include "text/TextCatalog.h"
#include "text/TextFormat.h"

namespace vantor::sim {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'V', 'N', 'S', 'I', 'M', 'M', 'E', 'M'};
constexpr std::uint16_t kFirstVersion = 1;  // the memory only
constexpr std::uint16_t kVersion = 2;       // the memory, then the flash part
constexpr std::size_t kMagicAt = 0;
constexpr std::size_t kVersionAt = 8;
constexpr std::size_t kReservedAt = 10;
constexpr std::size_t kBodyLengthAt = 12;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kChecksumSize = 4;

constexpr std::size_t kMemorySize = rec::kStateRecordSize * (1 + rec::kSlotRecordCount) +
                                    rec::kEffectImageSize * rec::kEffectImageCount +
                                    rec::kSystemAreaSize + rec::kLimiterBlockSize;
// The flash part: the identity, then the boot loader's state with its length.
constexpr std::size_t kIdentityAt = kMemorySize;
constexpr std::size_t kBootLengthAt = kIdentityAt + rec::kIdentitySize;
constexpr std::size_t kBootAt = kBootLengthAt + 4;

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

std::vector<std::uint8_t> EncodeMemoryImage(const ProgramState& state, const SimFlash& flash) {
  const std::size_t bodySize = kBootAt + flash.boot.size();
  std::vector<std::uint8_t> image(kHeaderSize + bodySize + kChecksumSize, 0);
  std::copy(kMagic.begin(), kMagic.end(), image.begin() + kMagicAt);
  le::PutU16(image, kVersionAt, kVersion);
  le::PutU16(image, kReservedAt, 0);
  le::PutU32(image, kBodyLengthAt, static_cast<std::uint32_t>(bodySize));
  auto body = std::span(image).subspan(kHeaderSize, bodySize);
  ForEachRegion(state, [&](std::size_t at, std::span<const std::uint8_t> region) {
    std::copy(region.begin(), region.end(), body.begin() + static_cast<std::ptrdiff_t>(at));
  });
  auto identity = body.subspan(kIdentityAt, rec::kIdentitySize);
  std::fill(identity.begin(), identity.end(), static_cast<std::uint8_t>(' '));
  std::copy_n(flash.identity.begin(), std::min(flash.identity.size(), identity.size()),
              identity.begin());
  le::PutU32(body, kBootLengthAt, static_cast<std::uint32_t>(flash.boot.size()));
  std::copy(flash.boot.begin(), flash.boot.end(), body.begin() + kBootAt);
  le::PutU32(image, kHeaderSize + bodySize, Fnv1a(body));
  return image;
}

SimFileStatus CheckMemoryImage(std::span<const std::uint8_t> image) {
  if (image.size() < kHeaderSize) return SimFileStatus::kWrongSize;
  if (!std::equal(kMagic.begin(), kMagic.end(), image.begin() + kMagicAt)) {
    return SimFileStatus::kNotSimMemory;
  }
  const std::uint16_t version = le::GetU16(image, kVersionAt);
  if (version != kFirstVersion && version != kVersion) return SimFileStatus::kWrongVersion;
  const std::size_t bodySize = le::GetU32(image, kBodyLengthAt);
  if (image.size() != kHeaderSize + bodySize + kChecksumSize) return SimFileStatus::kWrongSize;
  const auto body = image.subspan(kHeaderSize, bodySize);
  if (version == kFirstVersion
          ? bodySize != kMemorySize
          : bodySize < kBootAt || le::GetU32(body, kBootLengthAt) != bodySize - kBootAt) {
    return SimFileStatus::kWrongSize;
  }
  if (le::GetU32(image, kHeaderSize + bodySize) != Fnv1a(body)) {
    return SimFileStatus::kBadChecksum;
  }
  return SimFileStatus::kOk;
}

void ApplyMemoryImage(std::span<const std::uint8_t> image, ProgramState& state) {
  const auto body = image.subspan(kHeaderSize, le::GetU32(image, kBodyLengthAt));
  ForEachRegion(state, [&](std::size_t at, std::span<std::uint8_t> region) {
    const auto from = body.subspan(at, region.size());
    std::copy(from.begin(), from.end(), region.begin());
  });
}

SimFlash FlashOfImage(std::span<const std::uint8_t> image) {
  const std::size_t bodySize = le::GetU32(image, kBodyLengthAt);
  const auto body = image.subspan(kHeaderSize, bodySize);
  SimFlash flash;
  if (bodySize >= kBootAt) {
    const auto identity = body.subspan(kIdentityAt, rec::kIdentitySize);
    // A unit that never had an identity written holds blanks: none.
    if (std::any_of(identity.begin(), identity.end(), [](std::uint8_t b) { return b != ' '; }))
      flash.identity.assign(identity.begin(), identity.end());
    const auto boot = body.subspan(kBootAt);
    flash.boot.assign(boot.begin(), boot.end());
  }
  return flash;
}

std::string DescribeSimFileStatus(SimFileStatus status, bool chinese, int error) {
  std::string text;
  switch (status) {
    case SimFileStatus::kOk:
      text = chinese ? "完成" : "done";
      break;
    case SimFileStatus::kCannotRead:
      text = chinese ? "无法读取模拟设备文件" : "cannot read the simulated device file";
      break;
    case SimFileStatus::kWrongSize:
      text = chinese ? "模拟设备文件长度错误" : "the simulated device file has the wrong size";
      break;
    case SimFileStatus::kNotSimMemory:
      text = chinese ? "不是模拟设备文件" : "not a simulated device file";
      break;
    case SimFileStatus::kWrongVersion:
      text = chinese ? "模拟设备文件版本不支持" : "unsupported simulated device file version";
      break;
    case SimFileStatus::kBadChecksum:
      text = chinese ? "模拟设备文件已损坏" : "the simulated device file is damaged";
      break;
    case SimFileStatus::kCannotWrite:
      text = chinese ? "无法写入模拟设备文件" : "cannot write the simulated device file";
      break;
    case SimFileStatus::kInUse:
      text = chinese ? "模拟设备文件正被另一个程序使用"
                     : "the simulated device file is in use by another program";
      break;
  }
  if (error != 0 && status != SimFileStatus::kInUse) {
    text += chinese ? "：" : ": ";
    text += DescribeFileError(error, chinese);
  }
  return text;
}

}  // namespace vantor::sim
