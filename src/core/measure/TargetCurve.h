#pragma once
// The curve a tuning aims at: the built-in "flat" and "car" curves, or a house curve read
// from a file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "dsp/ResponseGrid.h"
#include "measure/MeasureError.h"

namespace vantor {

enum class TargetKind { kFlat, kCar, kFile };

struct TargetCurve {
  TargetKind kind = TargetKind::kFlat;
  std::string name;  // the house curve's file name; empty for the built-in curves
  Response db{};
};

// 0 dB everywhere.
TargetCurve FlatTarget();
// +9 dB from 20 to 60 Hz, falling to 0 dB at 160 Hz, flat to 3 kHz, −6 dB at 20 kHz; linear
// in log frequency between those corners, the end values held beyond them.
TargetCurve CarTarget();

// A house curve: one "frequency dB" pair a line (separators and decimal marks as for
// measurements); lines that do not begin with a number are skipped; at least two points,
// rising in frequency; log-frequency interpolation, the first and last levels held.
std::optional<TargetCurve> HouseCurveFromText(std::string_view text, MeasureError& error);
std::optional<TargetCurve> LoadHouseCurve(const std::filesystem::path& path, MeasureError& error);

// The shown name: "flat" / "平直", "car" / "汽车", or the house curve's file name.
std::string TargetName(const TargetCurve& target, bool chinese);

}  // namespace vantor
