// Fuzzes the import of other tools' filter settings (REW filter settings files, Equalizer
// APO configurations). Whatever the plan holds must be something the processor can store,
// its report must point at lines of the file, a plan with refused lines must change nothing
// unless the rest is accepted, and an applied plan must leave exactly its bands behind,
// which the output's own REW export then reads back to.
//
// Input layout: byte 0 picks the output (low three bits) and whether it starts in graphic
// EQ mode (bit 3); the rest is the file's text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "dsp/FilterCodes.h"
#include "exchange/ExchangeValues.h"
#include "exchange/FilterExport.h"
#include "exchange/FilterImport.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace {

using namespace vantor;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool OnGrid(int hz) {
  const auto snapped = SnapFrequencyToGrid(hz);
  return snapped && *snapped == hz;
}

void CheckBand(const FilterSettings& s) {
  Check(s.type == kPeaking || s.type == kLowShelf || s.type == kHighShelf);
  Check(OnGrid(s.frequency));
  Check(s.gainIndex >= 0 && s.gainIndex <= kGainIndexMax && s.gainIndex != kGainIndexFlat);
  Check(s.bandwidthIndex >= 0 && s.bandwidthIndex <= kBandwidthIndexMax);
  Check(s.type == kPeaking ? s.slope == 0 : (s.slope == 0 || s.slope == 1));
}

void CheckCrossover(const std::optional<ImportCrossover>& x) {
  if (!x) return;
  Check(x->family >= 0 && x->family <= 2);
  Check(x->slope >= 0 && x->slope <= 7);
  Check(OnGrid(x->frequency));
}

std::vector<FilterSettings> Settings(const CKTV_OutData& out) {
  std::vector<FilterSettings> all;
  for (int e = 0; e < out.Filters().Count(); ++e) all.push_back(out.Filter(e).Settings());
  return all;
}

struct Program {
  Program() { model.LoadOutputs(); }
  ProgramState state;
  CKTV_Data model{state};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int channel = data[0] & 7;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  Program p;
  CKTV_OutData& out = p.model.Output(channel);
  if ((data[0] & 8) != 0) out.SetEqMode(1);

  const ImportPlan plan = PlanFilterImport(text, out);
  Check(plan.channel == channel);
  Check(plan.bands.size() <= static_cast<std::size_t>(out.BandCount()));
  for (const FilterSettings& s : plan.bands) CheckBand(s);
  Check(std::is_sorted(plan.bands.begin(), plan.bands.end(),
                       [](const auto& a, const auto& b) { return a.frequency < b.frequency; }));
  CheckCrossover(plan.highPass);
  CheckCrossover(plan.lowPass);
  if (plan.highPass && plan.lowPass) Check(plan.highPass->frequency <= plan.lowPass->frequency);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  int previous = 0;
  for (const ImportLineReport& r : plan.reports) {
    Check(r.line >= 1 && r.line <= lines && r.line >= previous);
    previous = r.line;
  }
  Check(plan.importedLines >= 0);
  Check(plan.Complete() == (plan.RefusedLines() == 0));

  // Refused lines: nothing changes unless the rest is accepted.
  const std::vector<FilterSettings> before = Settings(out);
  const bool applied = ApplyFilterImport(plan, out, false);
  Check(applied == plan.Complete());
  if (!applied) {
    Check(Settings(out) == before);
    Check(ApplyFilterImport(plan, out, true));
  }

  if (plan.bands.empty()) return 0;
  for (int b = 0; b < out.BandCount(); ++b) {
    const FilterSettings s = out.Filter(b).Settings();
    if (b >= static_cast<int>(plan.bands.size())) {
      Check(s.gainIndex == kGainIndexFlat);
      continue;
    }
    const FilterSettings& wanted = plan.bands[static_cast<std::size_t>(b)];
    Check(s.type == wanted.type && s.frequency == wanted.frequency &&
          s.gainIndex == wanted.gainIndex && s.bypass == 0);
  }
  // The output's REW export holds those bands, and reads back to the same bands.
  Program again;
  CKTV_OutData& copy = again.model.Output(channel);
  const ImportPlan back = PlanFilterImport(ExportFilters(out, ExchangeFormat::kRew).text, copy);
  Check(back.bands.size() == plan.bands.size());
  for (std::size_t i = 0; i < back.bands.size(); ++i) {
    Check(back.bands[i].type == plan.bands[i].type);
    Check(back.bands[i].frequency == plan.bands[i].frequency);
    Check(back.bands[i].gainIndex == plan.bands[i].gainIndex);
    if (plan.bands[i].type == kPeaking) {
      Check(back.bands[i].bandwidthIndex == plan.bands[i].bandwidthIndex);
    } else {
      Check(back.bands[i].slope == plan.bands[i].slope);
    }
  }
  return 0;
}
