#pragma once
// A tuned car's program, for the preset tests and the push benchmark: every band of every
// output away from its start-up frequency (most of them two octaves and more upward, which
// live edits would send an octave at a time) and every crossover moved. Header-only, so the
// benchmarks can use it without the test libraries.

#include "model/KTV_Data.h"

namespace vantor::testing {

// Moves the model's outputs; with the live-sync flag clear nothing is marked for sending.
inline void TuneEveryBand(CKTV_Data& model) {
  for (int c = 0; c < rec::kOutputCount; ++c) {
    CKTV_OutData& out = model.Output(c);
    for (int b = 0; b < out.BandCount(); ++b) {
      CFilter& f = out.Filter(b);
      f.SetFrequency(f.Frequency() <= 5000 ? 4 * f.Frequency() + c : f.Frequency() / 3, true);
      f.SetGainIndex(150 + b);
    }
    out.HighPass().SetFrequency(300 + c, true);
    out.LowPass().SetFrequency(2000 + c, true);
  }
}

}  // namespace vantor::testing
