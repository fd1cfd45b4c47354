#pragma once
// The measurements of a car's outputs and its target, kept in a small text file beside the
// preset file (or in the user's data folder), so that they come back on the next start.
//
// Format, version 1 (UTF-8, '\n' line ends, numbers with '.' whatever the locale; a line
// beginning with '#' is a comment, blank lines are ignored):
//
//   vantor-measurements 1
//   target flat | target car | target file NAME
//   target-curve V0 ... V240          (only after "target file": the curve in dB, 241 values)
//   output N                          (1..8; each output at most once)
//   source NAME                       (the imported file's name; may be empty)
//   shift DB                          (the person's level shift)
//   covers FIRST LAST                 (grid points the measurement covers, 0..240)
//   curve V0 ... V240                 (the normalised level at the 241 grid points, in dB)
//   end
//
// The first line names the format and its version; a later version is refused rather than
// misread. Within an output block every line is required, in this order.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "measure/MeasureError.h"
#include "measure/Measurement.h"
#include "measure/TargetCurve.h"
#include "model/DataDefine.h"

namespace vantor {

inline constexpr int kMeasurementFileVersion = 1;
inline constexpr std::string_view kMeasurementFileExtension = ".vmeas";

struct MeasurementSet {
  std::array<std::optional<Measurement>, rec::kOutputCount> outputs{};
  TargetCurve target = FlatTarget();
};

std::string MeasurementSetText(const MeasurementSet& set);
std::optional<MeasurementSet> MeasurementSetFromText(std::string_view text, MeasureError& error);

// Written through a temporary file renamed over the target; the folder is created if needed.
bool SaveMeasurementSet(const std::filesystem::path& path, const MeasurementSet& set,
                        MeasureError& error);
std::optional<MeasurementSet> LoadMeasurementSet(const std::filesystem::path& path,
                                                 MeasureError& error);

// Beside a preset file: "tune.dsps" keeps its measurements in "tune.dsps.vmeas".
std::filesystem::path MeasurementFileFor(const std::filesystem::path& presetFile);
// Without a preset file: measurements.vmeas in $XDG_DATA_HOME/vantor, else in
// $HOME/.local/share/vantor; nothing when neither variable is set.
std::optional<std::filesystem::path> DefaultMeasurementFile();

}  // namespace vantor
