#pragma once
// What the measurements add to the response graph: curves in dB on the grid (measurement,
// prediction, target, the automatic EQ's preview), each belonging to an output, and the
// preview's bands as markers. The graph draws the current output's in its colour and the
// others' in grey.

#include <vector>

#include "dsp/ResponseGrid.h"

namespace vantor {

enum class LayerKind { kMeasurement, kPrediction, kTarget, kAutoEqPreview };

// The three layers the person switches on and off.
struct LayerSwitches {
  bool measurement = true;
  bool prediction = true;
  bool target = true;
  friend bool operator==(const LayerSwitches&, const LayerSwitches&) = default;
};

struct LayerCurve {
  LayerKind kind = LayerKind::kMeasurement;
  int output = 0;
  bool current = false;  // the output shown; the others are drawn in grey behind it
  Response db{};
};

// A band of the automatic EQ's preview, where its handle would stand.
struct LayerMarker {
  int frequencyHz = 1000;
  double gainDb = 0.0;
};

struct GraphOverlay {
  std::vector<LayerCurve> curves;  // those behind first, the current output's last
  std::vector<LayerMarker> markers;
  bool Empty() const { return curves.empty() && markers.empty(); }
};

}  // namespace vantor
