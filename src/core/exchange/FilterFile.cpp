#include "exchange/FilterFile.h"

#include <cstdint>
#include <span>

#include "base/FileIo.h"
#include "model/ChannelTable.h"

namespace vantor {

FilterFileText ReadFilterFile(const std::filesystem::path& path) {
  const FileBytes file = ReadFileBytes(path, kFilterFileLimit);
  FilterFileText out;
  out.result = file.result;
  if (!file.Ok()) return out;
  if (file.bytes.size() > kFilterFileLimit) {
    out.tooLarge = true;
    return out;
  }
  out.text.assign(file.bytes.begin(), file.bytes.end());
  return out;
}

FileResult WriteFilterFile(const std::filesystem::path& path, std::string_view text) {
  const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  return ReplaceFile(path, bytes);
}

std::string ExportFileName(int channel, ExchangeFormat format) {
  const char* suffix = format == ExchangeFormat::kCamillaDsp ? ".yml" : ".txt";
  return ChannelLabel(channel) + "-" + std::string(ExchangeFormatName(format)) + suffix;
}

}  // namespace vantor
