#include "presets/PresetFileReader.h"

#include "base/FileIo.h"
#include "presets/PresetSerializer.h"
#include "text/TextFormat.h"

namespace vantor {

PresetFileRead ReadPresetFile(const std::filesystem::path& path, PresetKind wanted) {
  PresetFileRead r;
  r.path = path;
  FileBytes read = ReadFileBytes(path, kAllPresetsFileSize);
  r.file = read.result;
  r.size = read.size;
  if (!r.file.Ok()) return r;
  if (read.bytes.size() == kSinglePresetFileSize && read.size == kSinglePresetFileSize) {
    r.kind = PresetKind::kSingle;
  } else if (read.bytes.size() == kAllPresetsFileSize && read.size == kAllPresetsFileSize) {
    r.kind = PresetKind::kAll;
  }
  if (wanted != PresetKind::kNone && r.kind != wanted) {
    r.problem =
        wanted == PresetKind::kSingle ? TextId::FileNotSinglePreset : TextId::FileNotAllPresets;
  } else if (r.kind == PresetKind::kNone) {
    r.problem = TextId::FileNotPresetSize;
  } else if (!HasPresetSignature(read.bytes)) {
    r.problem = TextId::FileNotPresetSignature;
  } else {
    r.bytes = std::move(read.bytes);
  }
  return r;
}

std::string PresetFileRead::Describe(bool chinese) const {
  if (!file.Ok()) return DescribeFileFailure(path, file, chinese);
  if (!problem) return {};
  return path.string() + ": " + FormatText(Tr(*problem, chinese), {{"size", std::to_string(size)}});
}

std::string DescribeFileFailure(const std::filesystem::path& path, FileResult result,
                                bool chinese) {
  return path.string() + ": " + DescribeFileError(result.error, chinese);
}

}  // namespace vantor
