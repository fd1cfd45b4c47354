#pragma once
// A control that shows one filter's frequency and gain index (an edit box of a panel).
// The filter tells it when the user moves the filter on the graph.

namespace vantor {

class FilterControl {
 public:
  virtual ~FilterControl() = default;
  virtual void ShowFrequency(int hz) = 0;
  virtual void ShowGainIndex(int gainIndex) = 0;
};

}  // namespace vantor
