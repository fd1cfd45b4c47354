// Fuzzes the KEY=VALUE edits of `preset set` and `device set`: any lines as assignments, on
// a single-preset program and on one that keeps the system area. What Prepare refuses
// changes nothing; what it accepts applies and still makes a preset file of the right size.
//
// Input layout: byte 0 picks the mode, the rest is the assignments, one per line.
//   bit 0: the program keeps the system area (an all-presets file, a device).
//   bit 1: messages in Chinese.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/ByteArchive.h"
#include "cli/PresetEditor.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "presets/PresetFormat.h"
#include "presets/PresetSerializer.h"

namespace {

struct Program {
  Program() { model.LoadOutputs(); }
  vantor::ProgramState state;
  vantor::CKTV_Data model{state};
};

// What a save of the program holds (the system area too, where the program keeps it).
std::vector<std::uint8_t> Saved(Program& p) {
  vantor::ByteArchive ar;
  vantor::SerializePreset(ar, p.model);
  std::vector<std::uint8_t> bytes = ar.Bytes();
  const auto system = p.state.SystemArea();
  bytes.insert(bytes.end(), system.begin(), system.end());
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) return 0;
  const bool systemArea = (data[0] & 1) != 0;
  const bool chinese = (data[0] & 2) != 0;
  std::vector<std::string> assignments;
  std::string line;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == '\n') {
      assignments.push_back(line);
      line.clear();
    } else {
      line.push_back(static_cast<char>(data[i]));
    }
  }
  assignments.push_back(line);

  // Building a program is most of the cost; a refusal leaves it as it was (checked below),
  // so it is kept for the next input and replaced only after edits were applied.
  static std::unique_ptr<Program> program;
  if (!program) program = std::make_unique<Program>();
  const auto before = Saved(*program);
  vantor::cli::PresetEditor editor({program->model, systemArea, nullptr, nullptr}, chinese);
  std::string error;
  if (!editor.Prepare(assignments, error)) {
    if (error.empty()) std::abort();              // a refusal always says why
    if (Saved(*program) != before) std::abort();  // and changes nothing
    return 0;
  }
  editor.Apply();
  if (Saved(*program).size() != vantor::kSinglePresetFileSize + vantor::rec::kSystemAreaSize)
    std::abort();
  program.reset();
  return 0;
}
