#pragma once
// A preset file opened by the tool: its kind (told by its size), and a program state of its
// own into which it was loaded as the application loads it (the live record given to the
// objects with load argument -1).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

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
};

// Reads and loads FILE. On failure nothing and `error` holds "FILE: reason".
std::optional<PresetImage> OpenPresetFile(const std::filesystem::path& path, bool chinese,
                                          std::string& error);

// Serialises the image's program as its kind and writes it atomically to its path.
bool SavePresetImage(PresetImage& image, std::string& error, bool chinese);

// A state record given to objects of their own, as a load does: for showing slot records.
std::unique_ptr<Program> DecodeRecord(const rec::StateRecord& record);

}  // namespace vantor::cli
