#include "dsp/PlotMapping.h"

#include <algorithm>
#include <cmath>

namespace vantor {

int PlotX(double f, int plotWidth) { return static_cast<int>(PlotXExact(f, plotWidth)); }

double PlotXExact(double f, int plotWidth) { return std::log10(f / 20.0) * (plotWidth / 3); }

int PlotY(double db, int plotHeight) {
  return static_cast<int>((plotHeight / 40.0) * (20.0 - db) + 0.5);
}

int FrequencyOfX(int x, int plotWidth) {
  const int decade = plotWidth / 3;
  if (decade <= 0) return 20;
  const double f = std::trunc(20.0 * std::pow(10.0, static_cast<double>(x) / decade));
  return static_cast<int>(std::clamp(f, 20.0, 20000.0));
}

}  // namespace vantor
