#pragma once
// A program of its own for the exchange tests, and an output shaped with every kind of
// filter the exchange formats carry.

#include <memory>

#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor::testing {

struct OfflineProgram {
  OfflineProgram() { model.LoadOutputs(); }
  ProgramState state;
  CKTV_Data model{state};
};

// Output `channel` of `model` with: a peaking band at 63 Hz (+4.5 dB, bandwidth index 96, Q 1.400),
// a 12 dB/Oct low shelf at 150 Hz (-3 dB), a 6 dB/Oct high shelf at 6300 Hz (+2 dB), a
// narrow cut at 10 kHz (-6.5 dB, index 4), a flat band and a bypassed one; a 24 dB/Oct
// Linkwitz-Riley high-pass at 80 Hz and a 24 dB/Oct Butterworth low-pass at 5000 Hz.
inline CKTV_OutData& ShapeOutput(CKTV_Data& model, int channel) {
  CKTV_OutData& out = model.Output(channel);
  CFilter& peak = out.Filter(2);
  peak.SetFrequency(63, true);
  peak.SetGainIndex(245);
  peak.SetBandwidthIndex(96);
  CFilter& low = out.Filter(10);
  low.SetFrequency(150, true);
  low.SetEqType(2);
  low.SetGainIndex(170);
  CFilter& high = out.Filter(20);
  high.SetFrequency(6300, true);
  high.SetEqType(3);
  high.SetGainIndex(220);
  CFilter& cut = out.Filter(25);
  cut.SetFrequency(10000, true);
  cut.SetGainIndex(135);
  cut.SetBandwidthIndex(4);
  out.Filter(5).SetGainIndex(200);
  CFilter& bypassed = out.Filter(7);
  bypassed.SetGainIndex(230);
  bypassed.SetBypass(1);
  CFilter& hp = out.HighPass();
  hp.SetFamily(0, true);
  hp.SetSlope(2, true);
  hp.SetFrequency(80, true);
  CFilter& lp = out.LowPass();
  lp.SetFamily(2, true);
  lp.SetSlope(2, true);
  lp.SetFrequency(5000, true);
  out.Filters().SumResponse();
  return out;
}

}  // namespace vantor::testing
