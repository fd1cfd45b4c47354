#pragma once
// What the crossover panel does to the model: the current output's high-pass and low-pass
// as the panel shows them, and the family, slope and frequency edits, each given to the
// same filter of every other output in the output's link group. Edits from the panel never
// let the high-pass rise above the low-pass.

#include "model/KTV_Data.h"

namespace vantor {

enum class CrossoverSide { kHighPass, kLowPass };

// The graph's element index of a side: 31 for the high-pass, 32 for the low-pass.
int GraphElementOf(CrossoverSide side);

struct CrossoverShown {
  int family = 0;
  int slope = 0;
  int entry = -1;  // the slope list's entry; −1 when the list has none for the slope
  int frequency = 0;
};

class CrossoverEditor {
 public:
  explicit CrossoverEditor(CKTV_Data& data) : m_data(data) {}

  CrossoverShown Shown(int channel, CrossoverSide side) const;

  // A family chosen from the list (0..2; anything else is ignored).
  void ChooseFamily(int channel, CrossoverSide side, int family);
  // An entry chosen from the slope list (0..4; anything else is ignored): its slope index.
  void ChooseSlopeEntry(int channel, CrossoverSide side, int entry);
  // A frequency typed or spun for `side`, with `otherHz` the other side's field. A high-pass
  // above the low-pass is pulled down to it, a low-pass below the high-pass up to it.
  // Returns the frequency stored, for the field to show; an unchanged one changes nothing.
  int SetFrequency(int channel, CrossoverSide side, int hz, int otherHz);
  // A crossover moved on the graph: its new frequency goes to the link group. Returns it.
  int TakeFromGraph(int channel, CrossoverSide side);

 private:
  CFilter& FilterOf(CKTV_OutData& out, CrossoverSide side) const;
  // Calls f on the side's filter of the output and of every link partner.
  template <typename F>
  void ForGroup(int channel, CrossoverSide side, F&& f);

  CKTV_Data& m_data;
};

}  // namespace vantor
