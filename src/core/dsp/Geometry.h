#pragma once
// Pixel geometry of the response graph, kept free of any toolkit's types.

namespace vantor {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct PointF {
  float x = 0.0F;
  float y = 0.0F;
};

// Edges as the graph uses them: right and bottom are exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Point Center() const { return {(left + right) / 2, (top + bottom) / 2}; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace vantor
