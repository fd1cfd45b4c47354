#include "tuning/GraphTextLayout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace vantor {
namespace {

// Rows are tried every two pixels; the sweep over the whole width, when the columns near
// the preferred place are full, every six.
constexpr int kRowStep = 2;
constexpr int kSweepStep = 6;

bool SameRow(const Rect& a, const Rect& b) { return a.top < b.bottom && b.top < a.bottom; }

}  // namespace

bool Overlaps(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && SameRow(a, b);
}

int OverlapArea(const Rect& a, const Rect& b) {
  if (!Overlaps(a, b)) return 0;
  return (std::min(a.right, b.right) - std::max(a.left, b.left)) *
         (std::min(a.bottom, b.bottom) - std::max(a.top, b.top));
}

Rect Grown(const Rect& r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

void SpreadApart(std::vector<Rect>& boxes, int minX, int maxX) {
  const std::size_t n = boxes.size();
  // Boxes that share a row, directly or through others, are laid out on one line.
  std::vector<std::size_t> root(n);
  std::iota(root.begin(), root.end(), std::size_t{0});
  auto find = [&](std::size_t i) {
    while (root[i] != i) i = root[i] = root[root[i]];
    return i;
  };
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      if (SameRow(boxes[i], boxes[j])) root[find(j)] = find(i);
    }
  }
  std::vector<std::size_t> line;
  for (std::size_t g = 0; g < n; ++g) {
    if (find(g) != g) continue;
    line.clear();
    for (std::size_t i = 0; i < n; ++i) {
      if (find(i) == g) line.push_back(i);
    }
    std::stable_sort(line.begin(), line.end(), [&](std::size_t a, std::size_t b) {
      return boxes[a].left + boxes[a].right < boxes[b].left + boxes[b].right;
    });
    // Neighbours that overlap join a cluster, laid edge to edge where the sum of the
    // squared moves is least: at the mean of each box's wish less its place in the
    // cluster, kept within the room.
    struct Cluster {
      std::size_t first;  // position in `line`
      std::size_t count;
      int width;
      double wishSum;  // Σ (wished left − offset in the cluster)
      int left;
    };
    auto place = [&](Cluster& c) {
      const double wish = c.wishSum / static_cast<double>(c.count);
      const int hi = std::max(minX, maxX - c.width);
      c.left = std::clamp(static_cast<int>(std::lround(wish)), minX, hi);
    };
    std::vector<Cluster> clusters;
    for (std::size_t k = 0; k < line.size(); ++k) {
      const Rect& b = boxes[line[k]];
      clusters.push_back({k, 1, b.Width(), static_cast<double>(b.left), 0});
      place(clusters.back());
      while (clusters.size() > 1) {
        Cluster& prev = clusters[clusters.size() - 2];
        const Cluster cur = clusters.back();
        if (prev.left + prev.width <= cur.left) break;
        prev.wishSum += cur.wishSum - static_cast<double>(cur.count) * prev.width;
        prev.count += cur.count;
        prev.width += cur.width;
        clusters.pop_back();
        place(clusters.back());
      }
    }
    for (const Cluster& c : clusters) {
      int x = c.left;
      for (std::size_t k = c.first; k < c.first + c.count; ++k) {
        Rect& b = boxes[line[k]];
        const int w = b.Width();
        b.left = x;
        b.right = x + w;
        x += w;
      }
    }
  }
}

Rect PlaceClear(Point preferred, int width, int height, const Rect& bounds,
                const std::vector<Rect>& obstacles, const std::vector<int>& columns) {
  const int maxLeft = std::max(bounds.left, bounds.right - width);
  const int maxTop = std::max(bounds.top, bounds.bottom - height);
  const int px = std::clamp(preferred.x, bounds.left, maxLeft);
  const int py = std::clamp(preferred.y, bounds.top, maxTop);

  Rect free{};
  long freeCost = LONG_MAX;
  Rect least{px, py, px + width, py + height};
  long leastOverlap = LONG_MAX;
  long leastCost = LONG_MAX;
  auto consider = [&](int x, int y) {
    const long cost = std::labs(x - px) + std::labs(y - py);
    if (cost >= freeCost) return;
    const Rect r{x, y, x + width, y + height};
    long overlap = 0;
    for (const Rect& o : obstacles) overlap += OverlapArea(r, o);
    if (overlap == 0) {
      free = r;
      freeCost = cost;
    } else if (overlap < leastOverlap || (overlap == leastOverlap && cost < leastCost)) {
      least = r;
      leastOverlap = overlap;
      leastCost = cost;
    }
  };
  auto column = [&](int x) {
    x = std::clamp(x, bounds.left, maxLeft);
    consider(x, py);
    for (int y = bounds.top; y <= maxTop; y += kRowStep) consider(x, y);
    consider(x, maxTop);
  };
  column(px);
  for (int x : columns) column(x);
  if (freeCost == LONG_MAX) {
    for (int x = bounds.left; x < maxLeft; x += kSweepStep) column(x);
    column(maxLeft);
  }
  return freeCost != LONG_MAX ? free : least;
}

}  // namespace vantor
