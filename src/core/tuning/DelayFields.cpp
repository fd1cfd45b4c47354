#include "tuning/DelayFields.h"

#include <algorithm>

#include "base/LittleEndian.h"
#include "model/EditConversion.h"
#include "model/ValueScales.h"
#include "tuning/ChannelSelection.h"
#include "tuning/SpeakerPositions.h"

namespace vantor {
namespace {

constexpr std::array<DelayField, 16> kFields = {{
    {2580, 2700},  // types 1, 4
    {2581, 2702},  // 2
    {2582, 2704},  // 3, 5, 6
    {2583, 2701},  // 7, 10
    {2584, 2703},  // 8
    {2585, 2705},  // 9, 11, 12
    {2586, 2706},  // 13
    {2588, 2708},  // 14, 15
    {2589, 2709},  // 16
    {2591, 2711},  // 17, 18
    {2592, 2712},  // 22
    {2593, 2713},  // 24
    {2594, 2714},  // 23
    {2595, 2715},  // 20
    {2596, 2716},  // 21
    {2597, 2717},  // 19
}};

constexpr int kLastListeningPosition = 3;

int ButtonOf(int field) {
  for (const DelayField& f : kFields) {
    if (f.id == field) return f.positionButton;
  }
  return -1;
}

}  // namespace

std::span<const DelayField> DelayFields() { return kFields; }

int DelayFieldOfType(int type) {
  const int button = PositionButtonOfType(type);
  for (const DelayField& f : kFields) {
    if (button >= 0 && f.positionButton == button) return f.id;
  }
  return -1;
}

int DelayFieldOutput(int field, std::span<const std::uint8_t> types) {
  const int button = ButtonOf(field);
  return button < 0 ? -1 : PositionButtonOutput(button, types);
}

bool DelayFieldInUse(int field, std::span<const std::uint8_t> types) {
  const int button = ButtonOf(field);
  return button >= 0 && PositionButtonInUse(button, types);
}

int EditModeOf(DelayUnit unit) {
  switch (unit) {
    case DelayUnit::kCentimetres:
      return kEditDelayCm;
    case DelayUnit::kInches:
      return kEditDelayInch;
    default:
      return kEditDelayMs;
  }
}

ListeningPosition SelectedListeningPosition(std::span<const std::uint8_t> delayTable) {
  ListeningPosition lp;
  if (delayTable.size() < rec::kDelayPositionsSize) return lp;
  lp.position = std::min<int>(delayTable[rec::kDelaySelectedPosition], kLastListeningPosition);
  for (int c = 0; c < static_cast<int>(lp.codes.size()); ++c) {
    const int code = le::GetI16(delayTable, rec::DelayPositionOffset(lp.position, c));
    lp.codes[static_cast<std::size_t>(c)] = std::clamp(code, 0, kDelayCodeMax);
  }
  return lp;
}

DelayEditor::Result DelayEditor::Edit(int field, int code) {
  Result r;
  r.output = DelayFieldOutput(field, m_data.State().SpeakerTypes().first(rec::kOutputCount));
  if (r.output < 0) return r;
  CKTV_OutData& out = m_data.Output(r.output);
  code = std::clamp(code, 0, kDelayCodeMax);
  if (code == out.DelayCode()) return r;
  out.SetDelayCode(code);
  r.changed = true;
  if (r.output != m_selection.Current()) m_selection.Select(r.output);
  return r;
}

std::vector<std::pair<int, int>> DelayEditor::FieldCodes() const {
  std::vector<std::pair<int, int>> shown;
  for (int o = 0; o < rec::kOutputCount; ++o) {
    const int field = DelayFieldOfType(m_data.SpeakerType(o));
    // A record read from a file may hold more than the fields take.
    if (field >= 0) {
      shown.emplace_back(field, std::clamp(m_data.Output(o).DelayCode(), 0, kDelayCodeMax));
    }
  }
  return shown;
}

}  // namespace vantor
