#include "ui/app/SampleTune.h"

#include "dsp/FilterCodes.h"
#include "model/KTV_Data.h"

namespace vantor {
namespace {

struct Band {
  int band;
  int hz;
  double gainDb;
  int bandwidthIndex;
};

void SetBand(CKTV_OutData& out, const Band& b) {
  CFilter& f = out.Filter(b.band);
  f.SetFrequency(b.hz, false);
  f.SetBandwidthIndex(b.bandwidthIndex);
  f.SetGainIndex(GainIndexFromDb(b.gainDb));
}

void SetCrossover(CFilter& f, int hz, int family, int slope) {
  f.SetFamily(family, false);
  f.SetSlope(slope, false);
  f.SetFrequency(hz, false);
}

}  // namespace

void ApplySampleTune(CKTV_Data& data) {
  // Front mid-woofers, rear full-range pair, centre, subwoofer, front tweeters.
  constexpr int kTypes[rec::kOutputCount] = {5, 11, 15, 18, 21, 24, 1, 7};
  for (int ch = 0; ch < rec::kOutputCount; ++ch) data.SetSpeakerType(ch, kTypes[ch]);
  // Time alignment for the driver's seat: the nearer a speaker, the longer it waits.
  constexpr int kDelays[rec::kOutputCount] = {101, 38, 0, 0, 62, 0, 115, 50};
  for (int ch = 0; ch < rec::kOutputCount; ++ch) data.Output(ch).SetDelayCode(kDelays[ch]);
  // Front left and right: mid-woofers from 80 Hz, a door-resonance cut, a presence lift.
  for (int ch : {0, 1}) {
    CKTV_OutData& out = data.Output(ch);
    SetCrossover(out.HighPass(), 80, kLinkwitzRiley, 2);
    SetBand(out, {0, 160, ch == 0 ? 3.0 : 2.5, 60});
    SetBand(out, {1, 315, -5.0, 45});
    SetBand(out, {2, 800, -2.0, 90});
    SetBand(out, {3, 2500, 3.5, 70});
    SetBand(out, {4, 6300, -3.0, 40});
    SetBand(out, {5, 12500, 2.0, 100});
  }
  // Rear pair: gently shaped fill.
  for (int ch : {2, 3}) {
    CKTV_OutData& out = data.Output(ch);
    SetCrossover(out.HighPass(), 120, kButterworth, 1);
    SetBand(out, {0, 400, ch == 2 ? -3.0 : -2.5, 80});
    SetBand(out, {1, 4000, 2.0, 120});
  }
  // Centre: voice band.
  CKTV_OutData& centre = data.Output(4);
  SetCrossover(centre.HighPass(), 200, kLinkwitzRiley, 2);
  SetCrossover(centre.LowPass(), 8000, kLinkwitzRiley, 2);
  SetBand(centre, {0, 1000, -2.0, 60});
  // Subwoofer: low-pass at 80 Hz, a little weight at 40 Hz.
  CKTV_OutData& sub = data.Output(5);
  SetCrossover(sub.HighPass(), 25, kButterworth, 0);
  SetCrossover(sub.LowPass(), 80, kLinkwitzRiley, 2);
  SetBand(sub, {0, 40, 4.0, 70});
  SetBand(sub, {1, 63, -3.0, 30});
  // Tweeters on the last two outputs.
  for (int ch : {6, 7}) {
    CKTV_OutData& out = data.Output(ch);
    SetCrossover(out.HighPass(), 3150, kLinkwitzRiley, 2);
    SetBand(out, {22, 3150, ch == 6 ? 1.5 : 2.0, 50});
    SetBand(out, {25, 6300, -2.5, 35});
    SetBand(out, {28, 12500, 3.0, 90});
  }
}

}  // namespace vantor
