#include "measure/LogInterpolation.h"

#include <cmath>

namespace vantor {

Response InterpolateOnGrid(std::span<const CurvePoint> points) {
  Response out{};
  if (points.empty()) return out;
  std::size_t k = 0;  // points[k] is the first point at or above the grid frequency
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double f = kResponseGrid[i];
    while (k < points.size() && points[k].frequency < f) ++k;
    if (k == 0) {
      out[i] = points.front().level;
    } else if (k == points.size()) {
      out[i] = points.back().level;
    } else {
      const CurvePoint& a = points[k - 1];
      const CurvePoint& b = points[k];
      const double t = std::log(f / a.frequency) / std::log(b.frequency / a.frequency);
      out[i] = a.level + t * (b.level - a.level);
    }
  }
  return out;
}

}  // namespace vantor
