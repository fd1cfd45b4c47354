#include "firmware/FirmwareImage.h"

#include <fstream>
#include <system_error>

namespace vantor {
namespace {

FirmwareLoadResult Refused(FirmwareLoadError error) {
  FirmwareLoadResult r;
  r.error = error;
  return r;
}

}  // namespace

std::uint8_t FirmwareChecksum(std::span<const std::uint8_t> image) {
  std::uint8_t x = kFirmwareChecksumSeed;
  for (std::size_t i = 4; i < image.size(); ++i) x ^= image[i];
  return x;
}

int FirmwareBlockCount(std::size_t length) { return static_cast<int>(length / kFirmwareChunk) + 6; }

std::optional<FirmwareKind> FirmwareKindOf(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  const std::string_view extension = std::string_view(name).substr(dot + 1);
  if (extension == "dsp") return FirmwareKind::kProcessor;
  if (extension == "contr") return FirmwareKind::kController;
  return std::nullopt;
}

TextId FirmwareLoadResult::Message() const {
  return error == FirmwareLoadError::kWrongType ? TextId::FirmwareTypeError
                                                : TextId::FirmwareFileError;
}

FirmwareLoadResult FirmwareImageFromBytes(const std::filesystem::path& name,
                                          std::span<const std::uint8_t> bytes) {
  const auto kind = FirmwareKindOf(name);
  if (!kind || bytes.size() >= kFirmwareFileLimit) return Refused(FirmwareLoadError::kWrongType);
  if (bytes.empty()) return Refused(FirmwareLoadError::kEmpty);
  FirmwareImage image;
  image.kind = *kind;
  image.bytes.assign(bytes.begin(), bytes.end());
  // A controller image gets the same checksum: the end packet carries it either way.
  image.checksum = FirmwareChecksum(bytes);
  image.blockCount = FirmwareBlockCount(bytes.size());
  FirmwareLoadResult r;
  r.image = std::move(image);
  return r;
}

FirmwareLoadResult ReadFirmwareImage(const std::filesystem::path& path) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
    return Refused(FirmwareLoadError::kUnreadable);
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return Refused(FirmwareLoadError::kUnreadable);
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return Refused(FirmwareLoadError::kUnreadable);
  // The type is decided before anything is read.
  if (!FirmwareKindOf(path) || size >= kFirmwareFileLimit)
    return Refused(FirmwareLoadError::kWrongType);

  // Read at most the limit, so that a file that grew meanwhile is still refused.
  std::vector<std::uint8_t> bytes(kFirmwareFileLimit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return Refused(FirmwareLoadError::kUnreadable);
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return FirmwareImageFromBytes(path, bytes);
}

}  // namespace vantor
