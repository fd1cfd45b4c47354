#pragma once
// What the crossover controls do to the model: the current output's high-pass and low-pass
// as they show them, and the family, slope and frequency edits, each given to the same
// filter of the linked outputs the rules name. Edits never let the high-pass rise above the
// low-pass. The crossover panel gives its edits to every linked output; the output channel
// dialog only to linked outputs 0..6, none from output 5, and keeps output 5's high-pass at
// or below 100 Hz.

#include "model/KTV_Data.h"

namespace vantor {

enum class CrossoverSide { kHighPass, kLowPass };

// The graph's element index of a side: 31 for the high-pass, 32 for the low-pass.
int GraphElementOf(CrossoverSide side);

enum class CrossoverRules { kPanel, kOutputDialog };

// The output whose high-pass the output channel dialog keeps low, and how low.
inline constexpr int kLimitedHighPassOutput = 5;
inline constexpr int kLimitedHighPassHz = 100;

struct CrossoverShown {
  int family = 0;
  int slope = 0;
  int entry = -1;  // the panel's slope list entry; −1 when the list has none for the slope
  int frequency = 0;
};

class CrossoverEditor {
 public:
  explicit CrossoverEditor(CKTV_Data& data, CrossoverRules rules = CrossoverRules::kPanel)
      : m_data(data), m_rules(rules) {}

  CrossoverShown Shown(int channel, CrossoverSide side) const;

  // A family chosen from the list (0..2; anything else is ignored).
  void ChooseFamily(int channel, CrossoverSide side, int family);
  // An entry chosen from the panel's slope list (0..4; anything else is ignored): its slope
  // index.
  void ChooseSlopeEntry(int channel, CrossoverSide side, int entry);
  // A slope index (0..7; anything else is ignored).
  void ChooseSlope(int channel, CrossoverSide side, int slope);
  // A frequency typed or spun for `side`, with `otherHz` the other side's field. A high-pass
  // above the low-pass is pulled down to it, a low-pass below the high-pass up to it; with
  // the dialog's rules output 5's high-pass goes no higher than 100 Hz either.
  // Returns the frequency stored, for the field to show; an unchanged one changes nothing.
  int SetFrequency(int channel, CrossoverSide side, int hz, int otherHz);
  // A crossover moved on the graph: its new frequency goes to the link group. Returns it.
  int TakeFromGraph(int channel, CrossoverSide side);

 private:
  CFilter& FilterOf(CKTV_OutData& out, CrossoverSide side) const;
  // Calls f on the side's filter of the output and of the linked outputs the rules name.
  template <typename F>
  void ForGroup(int channel, CrossoverSide side, F&& f);
  template <typename F>
  void ForTargets(int channel, CrossoverSide side, F&& f);

  CKTV_Data& m_data;
  CrossoverRules m_rules;
};

}  // namespace vantor
