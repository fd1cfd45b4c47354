#pragma once
// The grid index of a frequency the response grid stores exactly, for tests that check
// curves at hand-computed points.

#include <gtest/gtest.h>

#include <cstddef>

#include "dsp/ResponseGrid.h"

namespace vantor::testing {

// A test failure for a frequency the grid does not store.
inline std::size_t GridIndexOfStored(double hz) {
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    if (kResponseGrid[i] == hz) return i;
  }
  ADD_FAILURE() << hz << " is no grid frequency";
  return 0;
}

}  // namespace vantor::testing
