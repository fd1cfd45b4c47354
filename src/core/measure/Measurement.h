#pragma once
// A measured frequency response of one output, on the response grid: imported from the
// text exports of measurement programs, normalised, and shifted by the person.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "dsp/ResponseGrid.h"
#include "measure/MeasureError.h"

namespace vantor {

// Rows outside these frequencies are not used; fewer than kMeasureMinRows usable rows is
// not a measurement.
inline constexpr double kMeasureLowestHz = 10.0;
inline constexpr double kMeasureHighestHz = 24000.0;
inline constexpr int kMeasureMinRows = 10;
// The level is normalised to the mean of the grid points in this band.
inline constexpr double kNormaliseFromHz = 200.0;
inline constexpr double kNormaliseToHz = 2000.0;
// Text files larger than this are refused rather than read.
inline constexpr std::size_t kMeasureFileLimit = 16u << 20;

struct Measurement {
  // Normalised level at every grid point; beyond the measured span the end values are held
  // so that the curve can be drawn, but only covered points take part in a fit.
  Response db{};
  int firstIndex = 0;  // first and last grid point the measurement covers
  int lastIndex = static_cast<int>(kGridPoints) - 1;
  double shiftDb = 0.0;  // the person's level shift, added to every point
  std::string source;    // the file it came from, as shown to the person

  bool Covers(int index) const { return index >= firstIndex && index <= lastIndex; }
  // The curve with the shift applied: what the graph draws and the prediction starts from.
  Response Shifted() const;
};

// Parses a REW-style text, .frd or CSV export (see ResponseRows.h), keeps the rows between
// 10 Hz and 24 kHz, resamples them onto the grid by log-frequency interpolation and
// normalises the level to the mean of the covered grid points from 200 Hz to 2 kHz (of all
// covered points when the measurement does not reach that band). Nothing on any error.
std::optional<Measurement> MeasurementFromText(std::string_view text, MeasureError& error);

// The same from a file; `source` is set to the file's name.
std::optional<Measurement> LoadMeasurement(const std::filesystem::path& path, MeasureError& error);

// A text file's contents, refused when unreadable or larger than `limit`.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path, std::size_t limit,
                                        MeasureError& error);

}  // namespace vantor
