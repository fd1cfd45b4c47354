#include "measure/TargetCurve.h"

#include <array>
#include <vector>

#include "measure/LogInterpolation.h"
#include "measure/Measurement.h"
#include "measure/ResponseRows.h"
#include "text/TextCatalog.h"

namespace vantor {
namespace {

constexpr std::array<CurvePoint, 5> kCarCorners = {{
    {20.0, 9.0},
    {60.0, 9.0},
    {160.0, 0.0},
    {3000.0, 0.0},
    {20000.0, -6.0},
}};

}  // namespace

TargetCurve FlatTarget() { return {TargetKind::kFlat, {}, Response{}}; }

TargetCurve CarTarget() { return {TargetKind::kCar, {}, InterpolateOnGrid(kCarCorners)}; }

std::optional<TargetCurve> HouseCurveFromText(std::string_view text, MeasureError& error) {
  const auto rows = ReadResponseRows(text, TextLines::kSkipped, error);
  if (!rows) return std::nullopt;
  if (rows->size() < 2) {
    error = {MeasureErrorKind::kTooFewTargetPoints, 0};
    return std::nullopt;
  }
  std::vector<CurvePoint> points;
  points.reserve(rows->size());
  for (const ResponseRow& r : *rows) points.push_back({r.frequency, r.level});
  return TargetCurve{TargetKind::kFile, {}, InterpolateOnGrid(points)};
}

std::optional<TargetCurve> LoadHouseCurve(const std::filesystem::path& path, MeasureError& error) {
  const auto text = ReadTextFile(path, kMeasureFileLimit, error);
  if (!text) return std::nullopt;
  auto target = HouseCurveFromText(*text, error);
  if (target) target->name = path.filename().string();
  return target;
}

std::string TargetName(const TargetCurve& target, bool chinese) {
  switch (target.kind) {
    case TargetKind::kFlat:
      return std::string(Tr(TextId::TargetFlat, chinese));
    case TargetKind::kCar:
      return std::string(Tr(TextId::TargetCar, chinese));
    case TargetKind::kFile:
      break;
  }
  return target.name;
}

}  // namespace vantor
