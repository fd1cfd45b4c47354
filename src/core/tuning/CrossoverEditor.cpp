#include "tuning/CrossoverEditor.h"

#include <algorithm>

#include "tuning/CrossoverLists.h"
#include "tuning/LinkCopyRules.h"
#include "tuning/ResponseGraphModel.h"

namespace vantor {

int GraphElementOf(CrossoverSide side) {
  return side == CrossoverSide::kHighPass ? kGraphHighPassIndex : kGraphLowPassIndex;
}

CFilter& CrossoverEditor::FilterOf(CKTV_OutData& out, CrossoverSide side) const {
  return side == CrossoverSide::kHighPass ? out.HighPass() : out.LowPass();
}

template <typename F>
void CrossoverEditor::ForTargets(int channel, CrossoverSide side, F&& f) {
  const OutputMask targets = m_rules == CrossoverRules::kPanel
                                 ? LinkPartnersOf(m_data.Links(), channel)
                                 : DialogCrossoverTargets(m_data.Links(), channel);
  ForEachOutput(m_data, targets, [&](CKTV_OutData& partner) { f(FilterOf(partner, side)); });
}

template <typename F>
void CrossoverEditor::ForGroup(int channel, CrossoverSide side, F&& f) {
  f(FilterOf(m_data.Output(channel), side));
  ForTargets(channel, side, f);
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
  ChooseSlope(channel, side, SlopeOfEntry(family, entry));
}

void CrossoverEditor::ChooseSlope(int channel, CrossoverSide side, int slope) {
  if (slope < 0 || slope > kSlopeOff) return;
  ForGroup(channel, side, [&](CFilter& f) { f.SetSlope(slope, true); });
}

int CrossoverEditor::SetFrequency(int channel, CrossoverSide side, int hz, int otherHz) {
  if (side == CrossoverSide::kHighPass) {
    hz = std::min(hz, otherHz);
    if (m_rules == CrossoverRules::kOutputDialog && channel == kLimitedHighPassOutput) {
      hz = std::min(hz, kLimitedHighPassHz);
    }
  } else {
    hz = std::max(hz, otherHz);
  }
  hz = std::clamp(hz, kFrequencyMin, kFrequencyMax);
  // A click into the field reports it too; an unchanged value sends nothing.
  if (hz == FilterOf(m_data.Output(channel), side).Frequency()) return hz;
  ForGroup(channel, side, [&](CFilter& f) { f.SetFrequency(hz, true); });
  return hz;
}

int CrossoverEditor::TakeFromGraph(int channel, CrossoverSide side) {
  const int hz = FilterOf(m_data.Output(channel), side).Frequency();
  ForTargets(channel, side, [&](CFilter& f) { f.SetFrequency(hz, true); });
  return hz;
}

}  // namespace vantor
