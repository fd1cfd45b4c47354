#include "cli/PresetImage.h"

#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetSerializer.h"

namespace vantor::cli {

Program::Program() { model.LoadOutputs(); }

std::optional<PresetImage> OpenPresetFile(const std::filesystem::path& path, bool chinese,
                                          std::string& error) {
  const PresetFileRead file = ReadPresetFile(path);
  if (!file.Ok()) {
    error = file.Describe(chinese);
    return std::nullopt;
  }
  PresetImage image;
  image.path = path;
  image.kind = file.kind;
  image.program = std::make_unique<Program>();
  ByteArchive ar(file.bytes);
  const bool loaded = image.kind == PresetKind::kSingle
                          ? SerializePreset(ar, image.program->model)
                          : SerializeAllPresets(ar, image.program->model);
  if (!loaded) {
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) when a string is put in
    // front of another one.
    error = path.string();
    error += ": ";
    error += Tr(TextId::FileNotPresetSignature, chinese);
    return std::nullopt;
  }
  // A file load leaves the effect object as it was; the tool's own program gives it the
  // file's effect block, so that saving the file again keeps that block.
  image.program->model.Effect().Unpack(image.program->state.Live());
  return image;
}

std::optional<PresetImage> OpenPresetFileForUpdate(const std::filesystem::path& path, bool chinese,
                                                   std::string& error,
                                                   const std::function<void()>& waiting) {
  FileLock lock;
  const FileResult locked = lock.Acquire(path, FileTimings{}.lockWait, waiting);
  if (!locked.Ok()) {
    error = DescribeFileFailure(path, locked, chinese);
    return std::nullopt;
  }
  auto image = OpenPresetFile(path, chinese, error);
  if (image) image->lock = std::move(lock);
  return image;
}

bool SavePresetImage(PresetImage& image, std::string& error, bool chinese) {
  ByteArchive ar;
  if (image.kind == PresetKind::kSingle) {
    SerializePreset(ar, image.program->model);
  } else {
    SerializeAllPresets(ar, image.program->model);
  }
  const FileResult written =
      ReplaceFile(image.path, ar.Bytes(), image.lock.Held() ? &image.lock : nullptr);
  if (!written.Ok()) {
    error = DescribeFileFailure(image.path, written, chinese);
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
