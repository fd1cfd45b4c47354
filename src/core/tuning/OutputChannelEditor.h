#pragma once
// What the output channel dialog does to the model, without a window: the 31 bands of an
// output as the table shows them and their edits (copied to every linked output), the
// crossovers under the dialog's rules, gain and limiter, and the three whole-EQ actions
// (all-bypass, EQ mode, reset), which rewrite the output and its link group on the device
// while the group is silent.
//
// Every edit takes the output it acts on; the dialog passes the current one. Edits that
// would store what is already stored change nothing and return false, so a click into a
// field neither sends nor records anything. The whole-EQ actions take the form's panel
// commands of the moment (attaching another device replaces them).

#include <array>
#include <string_view>

#include "tuning/CrossoverEditor.h"
#include "tuning/PanelCommands.h"

namespace vantor {

inline constexpr int kOutputBandCount = 31;

// The limiter release list, entry = release code 0..5, the same in both languages.
inline constexpr int kReleaseEntryCount = 6;
const std::array<std::string_view, kReleaseEntryCount>& ReleaseEntries();

// A band as its column shows it.
struct BandShown {
  int frequency = 0;  // Hz
  int bandwidth = 0;  // bandwidth index
  int gain = 0;       // gain index; 200 (0 dB) while the band is off
  bool off = false;   // effectively off: "BY" pressed, the gain reads "0.0"
};

class OutputChannelEditor {
 public:
  explicit OutputChannelEditor(CKTV_Data& data);

  BandShown Band(int channel, int band) const;
  // Every filter of the output effectively off: what the all-bypass controls show.
  bool AllFlat(int channel) const;
  bool Graphic(int channel) const;

  // --- Band edits; each goes to the band of every linked output as well. True when the
  // output's band changed.
  bool SetBandFrequency(int channel, int band, int hz);
  bool SetBandBandwidth(int channel, int band, int index);
  bool SetBandGain(int channel, int band, int index);
  // The band's "BY" button, pressed or not as `shownOff`: asks the band for the other state
  // (the band decides whether it can change) and gives the outcome to the linked bands.
  // Returns the band's off state afterwards.
  bool ToggleBandOff(int channel, int band, bool shownOff);
  // The band was moved on the graph: its frequency, bandwidth and gain go to the linked
  // outputs' band.
  void BandFromGraph(int channel, int band);

  // --- Crossovers under the dialog's rules (linked outputs 0..6, none from output 5,
  // output 5's high-pass at most 100 Hz).
  CrossoverEditor& Crossovers() { return m_crossovers; }

  // --- Gain and limiter: the output's setters, which give the values to the link group.
  bool SetGain(int channel, int code);
  bool SetThreshold(int channel, int code);
  bool SetAttack(int channel, int code);
  bool SetRelease(int channel, int code);

  // --- Whole-EQ actions.
  struct AllBypassOutcome {
    bool allFlat = false;  // what the all-bypass controls show now
    bool keptOn = false;   // switching off was refused: every band is off anyway
    SequenceResult transfer;
  };
  // Bypass switched for all 31 bands: on when the output is not all flat, otherwise off.
  // Switching off while every band stays off (all at 0 dB) puts the bypass back and sends
  // nothing. Otherwise the linked outputs' bands take the same bypass and the group is
  // rewritten, each block between two more item-31 writes with the output off.
  AllBypassOutcome ToggleAllBypass(PanelCommands& commands, int channel, bool linkingActive);
  // The EQ mode (graphic or parametric) for the output and its group, whose bands all go
  // back to their third-octave defaults; the group is rewritten.
  SequenceResult SwitchEqMode(PanelCommands& commands, int channel, bool graphic,
                              bool linkingActive);
  // Every band of the output and its group back to its default; the group is rewritten.
  SequenceResult ResetEq(PanelCommands& commands, int channel, bool linkingActive);

 private:
  CFilter& BandFilter(int channel, int band) { return m_data.Output(channel).Filter(band); }
  // Calls f(CFilter&) on the band of every output linked with `channel`.
  template <typename F>
  void ForLinkedBands(int channel, int band, F&& f);
  // A band value 0..maximum: set on the output's band and its linked bands unless the band
  // already holds it (get).
  template <typename Get, typename Set>
  bool EditBand(int channel, int band, int value, int maximum, Get get, Set set);

  CKTV_Data& m_data;
  CrossoverEditor m_crossovers;
};

}  // namespace vantor
