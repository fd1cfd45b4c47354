// Fuzzes loading preset files: the checks that refuse a file of the wrong size or signature
// without touching memory, and, for files that pass, unpacking arbitrary records into the
// object model and storing them again.
//
// Input layout: byte 0 picks the mode, the rest is the file.
//   bit 0: clear, a single-preset file; set, an all-presets file.
//   bit 1: repair the file: cut or pad it to its kind's size and give it the signature,
//          so the fuzzer reaches the records instead of dying at the checks.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/ByteArchive.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool all = (data[0] & 1) != 0;
  const bool repair = (data[0] & 2) != 0;
  std::vector<std::uint8_t> file(data + 1, data + size);
  if (repair) {
    file.resize(all ? vantor::kAllPresetsFileSize : vantor::kSinglePresetFileSize, 0);
    vantor::ByteArchive signature;
    static Program blank;
    vantor::SerializePreset(signature, blank.model);
    std::copy_n(signature.Bytes().begin(), vantor::kPresetSignatureSize, file.begin());
  }

  auto program = std::make_unique<Program>();
  const auto live = program->state.Live();
  const auto slot7 = program->state.Slot(7);
  const auto system = program->state.SystemArea();

  vantor::ByteArchive in(file);
  const bool loaded = all ? vantor::SerializeAllPresets(in, program->model)
                          : vantor::SerializePreset(in, program->model);
  if (!loaded) {
    // A refused file changes nothing.
    if (program->state.Live() != live || program->state.Slot(7) != slot7 ||
        program->state.SystemArea() != system) {
      std::abort();
    }
    return 0;
  }
  if (file.size() !=
      vantor::PresetFileSize(all ? vantor::PresetKind::kAll : vantor::PresetKind::kSingle))
    std::abort();

  vantor::ByteArchive out;
  if (all) {
    vantor::SerializeAllPresets(out, program->model);
  } else {
    vantor::SerializePreset(out, program->model);
  }
  if (out.Bytes().size() != file.size()) std::abort();
  return 0;
}
