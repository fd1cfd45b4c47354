#pragma once
// A preset file read from disk and checked before anything is loaded from it: it could be
// read, it has the size of one of the two kinds (or of the kind asked for) and it starts
// with the signature. What is wrong is kept for the message, in the person's words.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/FileResult.h"
#include "presets/PresetFormat.h"
#include "text/TextCatalog.h"

namespace vantor {

struct PresetFileRead {
  std::filesystem::path path;
  PresetKind kind = PresetKind::kNone;  // told by the size
  std::vector<std::uint8_t> bytes;      // the whole image when Ok()
  std::uintmax_t size = 0;              // the file's real size
  FileResult file;                      // the system's reason when it could not be read
  std::optional<TextId> problem;        // read, but not a preset file (of the kind asked for)

  bool Ok() const { return file.Ok() && !problem; }
  // "<path>: <reason>" in the chosen language.
  std::string Describe(bool chinese) const;
};

// Reads `path`; `wanted` kNone takes either kind.
PresetFileRead ReadPresetFile(const std::filesystem::path& path,
                              PresetKind wanted = PresetKind::kNone);

// "<path>: <the system's reason>" in the chosen language.
std::string DescribeFileFailure(const std::filesystem::path& path, FileResult result, bool chinese);

}  // namespace vantor
