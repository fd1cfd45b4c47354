#include "tuning/CrossoverEditor.h"

#include <algorithm>

#include "tuning/CrossoverLists.h"
#include "tuning/ResponseGraphModel.h"

namespace vantor {

int GraphElementOf(CrossoverSide side) {
  return side == CrossoverSide::kHighPass ? kGraphHighPassIndex : kGraphLowPassIndex;
}

CFilter& CrossoverEditor::FilterOf(CKTV_OutData& out, CrossoverSide side) const {
  return side == CrossoverSide::kHighPass ? out.HighPass() : out.LowPass();
}

template <typename F>
void CrossoverEditor::ForGroup(int channel, CrossoverSide side, F&& f) {
  f(FilterOf(m_data.Output(channel), side));
  m_data.Links().ForEachPartner(channel,
                                [&](CKTV_OutData& partner) { f(FilterOf(partner, side)); });
}

CrossoverShown CrossoverEditor::Shown(int channel, CrossoverSide side) const {
  const CFilter& f = FilterOf(m_data.Output(channel), side);
  CrossoverShown s;
  s.family = f.Family();
  s.slope = f.Slope();
  s.entry = EntryOfSlope(s.family, s.slope);
  s.frequency = f.Frequency();
  return s;
}

void CrossoverEditor::ChooseFamily(int channel, CrossoverSide side, int family) {
  if (family < 0 || family >= kCrossoverFamilyCount) return;
  ForGroup(channel, side, [&](CFilter& f) { f.SetFamily(family, true); });
}

void CrossoverEditor::ChooseSlopeEntry(int channel, CrossoverSide side, int entry) {
  const int family = FilterOf(m_data.Output(channel), side).Family();
  const int slope = SlopeOfEntry(family, entry);
  if (slope < 0) return;
  ForGroup(channel, side, [&](CFilter& f) { f.SetSlope(slope, true); });
}

int CrossoverEditor::SetFrequency(int channel, CrossoverSide side, int hz, int otherHz) {
  hz = side == CrossoverSide::kHighPass ? std::min(hz, otherHz) : std::max(hz, otherHz);
  hz = std::clamp(hz, kFrequencyMin, kFrequencyMax);
  // A click into the field reports it too; an unchanged value sends nothing.
  if (hz == FilterOf(m_data.Output(channel), side).Frequency()) return hz;
  ForGroup(channel, side, [&](CFilter& f) { f.SetFrequency(hz, true); });
  return hz;
}

int CrossoverEditor::TakeFromGraph(int channel, CrossoverSide side) {
  const int hz = FilterOf(m_data.Output(channel), side).Frequency();
  m_data.Links().ForEachPartner(
      channel, [&](CKTV_OutData& partner) { FilterOf(partner, side).SetFrequency(hz, true); });
  return hz;
}

}  // namespace vantor
