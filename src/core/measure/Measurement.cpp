#include "measure/Measurement.h"

#include <vector>

#include "base/FileIo.h"
#include "measure/LogInterpolation.h"
#include "measure/ResponseRows.h"

namespace vantor {

Response Measurement::Shifted() const {
  Response out = db;
  for (double& v : out) v += shiftDb;
  return out;
}

std::optional<Measurement> MeasurementFromText(std::string_view text, MeasureError& error) {
  const auto rows = ReadResponseRows(text, TextLines::kHeaderAtTop, error);
  if (!rows) return std::nullopt;
  std::vector<CurvePoint> points;
  for (const ResponseRow& r : *rows) {
    if (r.frequency >= kMeasureLowestHz && r.frequency <= kMeasureHighestHz) {
      points.push_back({r.frequency, r.level});
    }
  }
  if (static_cast<int>(points.size()) < kMeasureMinRows) {
    error = {MeasureErrorKind::kTooFewRows, 0};
    return std::nullopt;
  }
  Measurement m;
  m.db = InterpolateOnGrid(points);
  int first = -1;
  int last = -1;
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double f = kResponseGrid[i];
    if (f < points.front().frequency || f > points.back().frequency) continue;
    if (first < 0) first = static_cast<int>(i);
    last = static_cast<int>(i);
  }
  if (first < 0) {
    error = {MeasureErrorKind::kEmptyRange, 0};
    return std::nullopt;
  }
  m.firstIndex = first;
  m.lastIndex = last;

  auto meanOver = [&m](double from, double to) -> std::optional<double> {
    double sum = 0.0;
    int count = 0;
    for (int i = m.firstIndex; i <= m.lastIndex; ++i) {
      const double f = kResponseGrid[static_cast<std::size_t>(i)];
      if (f < from || f > to) continue;
      sum += m.db[static_cast<std::size_t>(i)];
      ++count;
    }
    if (count == 0) return std::nullopt;
    return sum / count;
  };
  auto reference = meanOver(kNormaliseFromHz, kNormaliseToHz);
  if (!reference) reference = meanOver(0.0, kMeasureHighestHz);
  for (double& v : m.db) v -= *reference;
  return m;
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& path, std::size_t limit,
                                        MeasureError& error) {
  const FileBytes file = ReadFileBytes(path, limit);
  if (!file.Ok()) {
    error = {MeasureErrorKind::kFileUnreadable, 0};
    return std::nullopt;
  }
  if (file.bytes.size() > limit) {
    error = {MeasureErrorKind::kFileTooLarge, 0};
    return std::nullopt;
  }
  return std::string(file.bytes.begin(), file.bytes.end());
}

std::optional<Measurement> LoadMeasurement(const std::filesystem::path& path, MeasureError& error) {
  const auto text = ReadTextFile(path, kMeasureFileLimit, error);
  if (!text) return std::nullopt;
  auto m = MeasurementFromText(*text, error);
  if (m) m->source = path.filename().string();
  return m;
}

}  // namespace vantor
