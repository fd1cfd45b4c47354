#pragma once
// Mapping between frequency / level and pixels of the response plot: three decades from
// 20 Hz across the width, +20 dB at the top and −20 dB at the bottom.

namespace vantor {

inline constexpr int kPlotOffsetX = 35;
inline constexpr int kPlotOffsetY = 10;

// x(f) = trunc(log10(f/20)·(W div 3)).
int PlotX(double f, int plotWidth);
// The same without truncation, for the anti-aliased curve.
double PlotXExact(double f, int plotWidth);
// y(dB) = trunc((H/40)·(20 − dB) + 0.5).
int PlotY(double db, int plotHeight);
// trunc(20·10^(x/(W div 3))), clamped to 20..20000.
int FrequencyOfX(int x, int plotWidth);

}  // namespace vantor
