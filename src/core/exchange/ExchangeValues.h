#pragma once
// Numbers and conversions shared by the export and the import: locale-free number text,
// the frequency grid the import snaps to, and the shelf Q that other tools use in place of
// this processor's two shelf slopes.

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// A decimal number as other tools write it: optional sign, digits, '.' or ',' as decimal
// mark. Nothing for anything else, NaN and infinities included. Never reads the locale.
std::optional<double> ParseExchangeNumber(std::string_view text);

// Frequencies as the formats write them: whole hertz when whole, else one decimal.
std::string FormatExchangeFrequency(double hz);

// The grid point nearest to hz (the response grid, where the curve is computed), in whole
// hertz within 20..20000. Nothing when hz lies more than half a grid step outside the grid.
std::optional<int> SnapFrequencyToGrid(double hz);

// The shelf Q of a second-order shelf with slope parameter S at a gain, and back. The
// exported Q describes the same shelf shape; the import takes the nearer of this
// processor's two slopes.
double ShelfQFromSlope(double gainDb, double s);
// Shelf slope index (0 = 6 dB/Oct, 1 = 12 dB/Oct) of a shelf Q at a gain.
int ShelfSlopeFromQ(double gainDb, double q);
// Shelf slope index of a slope in dB per octave; nothing for slopes above 12.
std::optional<int> ShelfSlopeFromDb(double dbPerOctave);

}  // namespace vantor
