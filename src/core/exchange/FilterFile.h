#pragma once
// The files filters travel in between this program and other tools: read whole (they are
// a few kilobytes; anything far larger is no filter file) and saved through ReplaceFile.

#include <filesystem>
#include <string>
#include <string_view>

#include "base/FileResult.h"
#include "exchange/ExchangeFormat.h"

namespace vantor {

inline constexpr std::size_t kFilterFileLimit = std::size_t{1} << 20;

struct FilterFileText {
  FileResult result;
  std::string text;
  bool tooLarge = false;  // read, but larger than kFilterFileLimit

  bool Ok() const { return result.Ok() && !tooLarge; }
};

FilterFileText ReadFilterFile(const std::filesystem::path& path);
FileResult WriteFilterFile(const std::filesystem::path& path, std::string_view text);

// The name an export of output `channel` (0..7) is offered under: "CH3-rew.txt",
// "CH3-eqapo.txt", "CH3-camilladsp.yml".
std::string ExportFileName(int channel, ExchangeFormat format);

}  // namespace vantor
