#include "exchange/FilterExport.h"

#include "dsp/FilterDesign.h"
#include "model/KTV_OutData.h"

namespace vantor {

ExportList CollectExport(const CKTV_OutData& output) {
  ExportList list;
  list.channel = output.Channel();
  const int bands = output.BandCount();
  for (int e : {bands, bands + 1}) {
    const CFilter& f = output.Filter(e);
    if (!CrossoverActive(f)) continue;
    ExportCrossover x;
    x.type = f.Type();
    x.family = f.Family();
    x.slope = EffectiveSlope(f.Slope(), f.ReducedSlopes() != 0);
    x.frequency = f.Frequency();
    x.sections =
        CrossoverSections(f.Type(), f.Family(), f.Slope(), f.ReducedSlopes() != 0, f.Frequency());
    if (!x.sections.empty()) list.crossovers.push_back(std::move(x));
  }
  for (int b = 0; b < bands; ++b) {
    const CFilter& f = output.Filter(b);
    // GainIndex reads 0 dB for a band that is flat, switched off or bypassed.
    if (f.GainIndex() == kGainIndexFlat) continue;
    list.bands.push_back({f.Type(), f.Frequency(), f.GainIndex(), f.BandwidthIndex(), f.Slope()});
  }
  return list;
}

ExportResult ExportFilters(const CKTV_OutData& output, ExchangeFormat format) {
  const ExportList list = CollectExport(output);
  if (format == ExchangeFormat::kCamillaDsp) return WriteCamillaDsp(list);
  return WriteFilterLines(list, format);
}

}  // namespace vantor
