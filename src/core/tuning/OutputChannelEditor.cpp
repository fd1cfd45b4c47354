#include "tuning/OutputChannelEditor.h"

#include "tuning/LinkCopyRules.h"

namespace vantor {
namespace {

constexpr std::array<std::string_view, kReleaseEntryCount> kReleaseEntries = {
    "Atk × 2", "Atk × 4", "Atk × 6", "Atk × 8", "Atk × 16", "Atk × 32"};

bool ValidBand(int band) { return band >= 0 && band < kOutputBandCount; }

void SetBypassOfBands(CKTV_OutData& out, int on) {
  for (int b = 0; b < kOutputBandCount; ++b) out.Filter(b).SetBypass(on);
}

bool EveryBandOff(const CKTV_OutData& out) {
  for (int b = 0; b < kOutputBandCount; ++b) {
    if (out.Filter(b).EffectivelyOff() == 0) return false;
  }
  return true;
}

}  // namespace

const std::array<std::string_view, kReleaseEntryCount>& ReleaseEntries() { return kReleaseEntries; }

OutputChannelEditor::OutputChannelEditor(CKTV_Data& data)
    : m_data(data), m_crossovers(data, CrossoverRules::kOutputDialog) {}

template <typename F>
void OutputChannelEditor::ForLinkedBands(int channel, int band, F&& f) {
  ForEachOutput(m_data, LinkPartnersOf(m_data.Links(), channel),
                [&](CKTV_OutData& partner) { f(partner.Filter(band)); });
}

BandShown OutputChannelEditor::Band(int channel, int band) const {
  if (!ValidBand(band)) return {};
  const CFilter& f = m_data.Output(channel).Filter(band);
  return BandShown{f.Frequency(), f.BandwidthIndex(), f.GainIndex(), f.EffectivelyOff() != 0};
}

bool OutputChannelEditor::AllFlat(int channel) const { return m_data.Output(channel).AllFlat(); }

bool OutputChannelEditor::Graphic(int channel) const {
  return m_data.Output(channel).EqMode() != 0;
}

// ---------------------------------------------------------------------------------------
// Bands

template <typename Get, typename Set>
bool OutputChannelEditor::EditBand(int channel, int band, int value, int maximum, Get get,
                                   Set set) {
  if (!ValidBand(band) || value < 0 || value > maximum) return false;
  CFilter& own = BandFilter(channel, band);
  if (get(own) == value) return false;
  set(own);
  ForLinkedBands(channel, band, set);
  return true;
}

bool OutputChannelEditor::SetBandFrequency(int channel, int band, int hz) {
  if (hz < kFrequencyMin) return false;
  return EditBand(
      channel, band, hz, kFrequencyMax, [](const CFilter& f) { return f.Frequency(); },
      [hz](CFilter& f) { f.SetFrequency(hz, true); });
}

bool OutputChannelEditor::SetBandBandwidth(int channel, int band, int index) {
  return EditBand(
      channel, band, index, kBandwidthIndexMax, [](const CFilter& f) { return f.BandwidthIndex(); },
      [index](CFilter& f) { f.SetBandwidthIndex(index); });
}

bool OutputChannelEditor::SetBandGain(int channel, int band, int index) {
  return EditBand(
      channel, band, index, kGainIndexMax, [](const CFilter& f) { return f.GainIndex(); },
      [index](CFilter& f) { f.SetGainIndex(index); });
}

bool OutputChannelEditor::ToggleBandOff(int channel, int band, bool shownOff) {
  if (!ValidBand(band)) return false;
  CFilter& own = BandFilter(channel, band);
  own.SetFlat(shownOff ? 0 : 1);
  const int off = own.EffectivelyOff() != 0 ? 1 : 0;
  ForLinkedBands(channel, band, [off](CFilter& f) { f.SetFlat(off); });
  return off != 0;
}

void OutputChannelEditor::BandFromGraph(int channel, int band) {
  if (!ValidBand(band)) return;
  const CFilter& own = BandFilter(channel, band);
  const int hz = own.Frequency();
  const int bandwidth = own.BandwidthIndex();
  const int gain = own.GainIndex();
  // Only what differs, so that a notice about a value the partner has already sends nothing.
  ForLinkedBands(channel, band, [&](CFilter& f) {
    if (f.Frequency() != hz) f.SetFrequency(hz, true);
    if (f.BandwidthIndex() != bandwidth) f.SetBandwidthIndex(bandwidth);
    if (f.GainIndex() != gain) f.SetGainIndex(gain);
  });
}

// ---------------------------------------------------------------------------------------
// Gain and limiter

bool OutputChannelEditor::SetGain(int channel, int code) {
  CKTV_OutData& out = m_data.Output(channel);
  if (code == out.GainCode()) return false;
  out.SetGainCode(code);
  return true;
}

bool OutputChannelEditor::SetThreshold(int channel, int code) {
  CKTV_OutData& out = m_data.Output(channel);
  if (code == out.ThresholdCode()) return false;
  out.SetThresholdCode(code);
  return true;
}

bool OutputChannelEditor::SetAttack(int channel, int code) {
  CKTV_OutData& out = m_data.Output(channel);
  if (code == out.AttackCode()) return false;
  out.SetAttackCode(code);
  return true;
}

bool OutputChannelEditor::SetRelease(int channel, int code) {
  CKTV_OutData& out = m_data.Output(channel);
  if (code < 0 || code >= kReleaseEntryCount || code == out.ReleaseCode()) return false;
  out.SetReleaseCode(code);
  return true;
}

// ---------------------------------------------------------------------------------------
// Whole-EQ actions

OutputChannelEditor::AllBypassOutcome OutputChannelEditor::ToggleAllBypass(PanelCommands& commands,
                                                                           int channel,
                                                                           bool linkingActive) {
  CKTV_OutData& out = m_data.Output(channel);
  const int target = out.AllFlat() ? 0 : 1;
  SetBypassOfBands(out, target);
  AllBypassOutcome outcome;
  if (target == 0 && EveryBandOff(out)) {
    // Nothing would play differently: the bypass stays on and nothing is sent.
    SetBypassOfBands(out, 1);
    outcome.allFlat = true;
    outcome.keptOn = true;
    return outcome;
  }
  outcome.allFlat = out.AllFlat();
  const int linked = outcome.allFlat ? 1 : 0;
  outcome.transfer = commands.TransferGroup(
      channel,
      [&out, linked](CKTV_OutData& o) {
        if (&o != &out) SetBypassOfBands(o, linked);
      },
      PanelCommands::TransferShape{true, linkingActive});
  return outcome;
}

SequenceResult OutputChannelEditor::SwitchEqMode(PanelCommands& commands, int channel, bool graphic,
                                                 bool linkingActive) {
  // The setter gives the mode to the linked outputs and their bands; the transfer's item-31
  // writes carry it.
  m_data.Output(channel).SetEqMode(graphic ? 1 : 0);
  return ResetEq(commands, channel, linkingActive);
}

SequenceResult OutputChannelEditor::ResetEq(PanelCommands& commands, int channel,
                                            bool linkingActive) {
  return commands.TransferGroup(
      channel, [](CKTV_OutData& o) { o.ResetEq(); },
      PanelCommands::TransferShape{false, linkingActive});
}

}  // namespace vantor
