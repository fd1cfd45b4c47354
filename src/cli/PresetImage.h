#pragma once
// A preset file opened by the tool: its kind (told by its size), and a program state of its
// own into which it was loaded as the application loads it (the live record given to the
// objects with load argument -1). A file opened for an update stays locked until the image
// goes, so that a second run changing the same file waits for this one's save.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/FileLock.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "presets/PresetFormat.h"

namespace vantor::cli {

// A program state with its object model, kept together on the heap.
struct Program {
  Program();
  ProgramState state;
  CKTV_Data model{state};
};

struct PresetImage {
  PresetKind kind = PresetKind::kNone;
  std::filesystem::path path;
  std::unique_ptr<Program> program;
  FileLock lock;  // held when opened for an update
};

// Reads and loads FILE. On failure nothing and `error` holds "FILE: reason".
std::optional<PresetImage> OpenPresetFile(const std::filesystem::path& path, bool chinese,
                                          std::string& error);

// The same for a read-modify-write: the file is locked first (waiting for another program
// that holds it, `waiting` said once when the wait begins) and stays locked.
std::optional<PresetImage> OpenPresetFileForUpdate(const std::filesystem::path& path, bool chinese,
                                                   std::string& error,
                                                   const std::function<void()>& waiting);

// Serialises the image's program as its kind and saves it to its path (see ReplaceFile).
bool SavePresetImage(PresetImage& image, std::string& error, bool chinese);

// A state record given to objects of their own, as a load does: for showing slot records.
std::unique_ptr<Program> DecodeRecord(const rec::StateRecord& record);

}  // namespace vantor::cli
