#include "tuning/LimiterRoutingEditor.h"

#include "model/KTV_Data.h"

namespace vantor {
namespace {

constexpr int kSources = static_cast<int>(rec::kMixerSources);

bool ValidCell(RoutingCell c) {
  return c.output >= 0 && c.output < rec::kOutputCount && c.source >= 0 && c.source < kSources;
}

bool ValidField(int index) { return index >= 0 && index < kLimiterFieldCount; }

}  // namespace

RoutingCell RoutingCellAt(int index) { return {index / kSources, index % kSources}; }

int RoutingIndexOf(RoutingCell cell) { return cell.output * kSources + cell.source; }

int NextRoutingIndex(int index) { return (index + 1) % kRoutingCellCount; }

const LimiterField& LimiterFieldOf(int index) {
  static constexpr std::array<LimiterField, kLimiterFieldCount> kFields{{
      {48, kEditLimiterValue, 0.0},
      {18, kEditLimiterOffsetValue, 5.0},
      {5, kEditLimiterList, 0.0},
  }};
  return kFields[static_cast<std::size_t>(ValidField(index) ? index : 0)];
}

EditScale LimiterFieldScale(int index) {
  const LimiterField& f = LimiterFieldOf(index);
  EditScale s;
  s.mode = f.mode;
  s.minimum = 0;
  s.maximum = f.maximum;
  s.offset = f.shown;
  return s;
}

const std::array<std::string_view, kLimiterReleaseEntryCount>& LimiterReleaseEntries() {
  static constexpr std::array<std::string_view, kLimiterReleaseEntryCount> kEntries{
      "ATK*2", "ATK*6", "ATK*8", "ATK*16", "ATK*32"};
  return kEntries;
}

int LimiterRoutingEditor::Level(RoutingCell cell) const {
  if (!ValidCell(cell)) return 0;
  return m_data.Output(cell.output).MixerLevel(cell.source);
}

bool LimiterRoutingEditor::SetLevel(RoutingCell cell, int level) {
  if (!ValidCell(cell) || level < 0 || level > kMixerLevelMax) return false;
  CKTV_OutData& out = m_data.Output(cell.output);
  MixerRow row = out.Mixer();
  auto& at = row[static_cast<std::size_t>(cell.source)];
  if (at == level) return false;
  at = static_cast<std::uint8_t>(level);
  if (rec::MixerItemOfSource(cell.source) == rec::kItemMixerHigh) {
    out.SetMixerHigh(row);
  } else {
    out.SetMixerLow(row);
  }
  return true;
}

int LimiterRoutingEditor::LimiterValue(int index) const {
  if (!ValidField(index)) return 0;
  return m_data.State().LimiterBlock()[static_cast<std::size_t>(index)];
}

bool LimiterRoutingEditor::SetLimiterValue(PanelCommands& commands, int index, int value) {
  if (!ValidField(index) || value < 0 || value > LimiterFieldOf(index).maximum) return false;
  return commands.SetLimiterByte(index, value);
}

int LimiterRoutingEditor::ReleaseEntry() const {
  const int code = LimiterValue(kLimiterReleaseField);
  return code < kLimiterReleaseEntryCount ? code : -1;
}

bool LimiterRoutingEditor::ChooseReleaseEntry(PanelCommands& commands, int entry) {
  if (entry < 0 || entry >= kLimiterReleaseEntryCount) return false;
  return SetLimiterValue(commands, kLimiterReleaseField, entry);
}

}  // namespace vantor
