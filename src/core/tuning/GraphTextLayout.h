#pragma once
// Where the graph's texts go so that they stay readable: the numbers of crowded handles
// spread apart sideways, and a label box put in the free place nearest to where it belongs.
// Pure geometry on the graph's pixel rectangles.

#include <vector>

#include "dsp/Geometry.h"

namespace vantor {

// True when the two rectangles share at least one pixel.
bool Overlaps(const Rect& a, const Rect& b);
// The pixels the two rectangles share (0 when they do not overlap).
int OverlapArea(const Rect& a, const Rect& b);
Rect Grown(const Rect& r, int by);

// Moves boxes that overlap apart sideways, as little as it can, until none overlaps
// another, each kept within minX..maxX and the left-to-right order kept. Boxes that share
// no row, directly or through others, never push each other. A crowd wider than the room
// starts at minX.
void SpreadApart(std::vector<Rect>& boxes, int minX, int maxX);

// A width × height box inside `bounds` that overlaps none of `obstacles`, as near as
// possible to `preferred` (its top-left corner). The left edges tried first are
// `columns` (each kept inside the bounds), then the whole width. When every place overlaps
// something, the place that overlaps least.
Rect PlaceClear(Point preferred, int width, int height, const Rect& bounds,
                const std::vector<Rect>& obstacles, const std::vector<int>& columns);

}  // namespace vantor
