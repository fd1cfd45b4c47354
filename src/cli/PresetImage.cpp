#include "cli/PresetImage.h"

#include <string>
#include <string_view>

#include "base/ByteArchive.h"
#include "cli/CliText.h"
#include "presets/PresetFileIo.h"
#include "presets/PresetSerializer.h"

namespace vantor::cli {

namespace {

// "FILE: reason", built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) when a
// string is put in front of another one.
std::string FileError(const std::filesystem::path& path, std::string_view reason) {
  std::string message = path.string();
  message += ": ";
  message += reason;
  return message;
}

}  // namespace

Program::Program() { model.LoadOutputs(); }

std::optional<PresetImage> OpenPresetFile(const std::filesystem::path& path, bool chinese,
                                          std::string& error) {
  const auto bytes = ReadFileBytes(path, kAllPresetsFileSize);
  if (!bytes) {
    error = FileError(path, Say2(chinese, "无法读取文件", "cannot read the file"));
    return std::nullopt;
  }
  PresetImage image;
  image.path = path;
  if (bytes->size() == kSinglePresetFileSize) {
    image.kind = PresetKind::kSingle;
  } else if (bytes->size() == kAllPresetsFileSize) {
    image.kind = PresetKind::kAll;
  } else {
    error = FileError(path, Say2(chinese, "不是音效文件（", "not a preset file ("));
    error += std::to_string(bytes->size());
    error += Say2(chinese, " 字节；.dsps 为 2808，.dspa 为 58730）",
                  " bytes; a .dsps has 2808, a .dspa 58730)");
    return std::nullopt;
  }
  image.program = std::make_unique<Program>();
  ByteArchive ar(*bytes);
  const bool loaded = image.kind == PresetKind::kSingle
                          ? SerializePreset(ar, image.program->model)
                          : SerializeAllPresets(ar, image.program->model);
  if (!loaded) {
    error = FileError(
        path, Say2(chinese, "不是音效文件（签名不符）", "not a preset file (wrong signature)"));
    return std::nullopt;
  }
  // A file load leaves the effect object as it was; the tool's own program gives it the
  // file's effect block, so that saving the file again keeps that block.
  image.program->model.Effect().Unpack(image.program->state.Live());
  return image;
}

bool SavePresetImage(PresetImage& image, std::string& error, bool chinese) {
  ByteArchive ar;
  if (image.kind == PresetKind::kSingle) {
    SerializePreset(ar, image.program->model);
  } else {
    SerializeAllPresets(ar, image.program->model);
  }
  if (!WriteFileAtomically(image.path, ar.Bytes())) {
    error = FileError(image.path, Say2(chinese, "无法写入文件", "cannot write the file"));
    return false;
  }
  return true;
}

std::unique_ptr<Program> DecodeRecord(const rec::StateRecord& record) {
  auto program = std::make_unique<Program>();
  program->state.Live() = record;
  program->model.Load(-1);
  return program;
}

}  // namespace vantor::cli
