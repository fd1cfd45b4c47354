#include "model/LinkTable.h"

namespace vantor {

LinkTable::LinkTable() { Reset(); }

void LinkTable::Reset() {
  for (int i = 0; i < rec::kOutputCount; ++i) m_groups[static_cast<std::size_t>(i)].store(i);
}

int LinkTable::Group(int channel) const {
  return Valid(channel) ? m_groups[static_cast<std::size_t>(channel)].load() : -1;
}

void LinkTable::SetGroup(int channel, int group) {
  if (Valid(channel)) m_groups[static_cast<std::size_t>(channel)].store(group);
}

bool LinkTable::AreLinked(int a, int b) const {
  return a != b && Valid(a) && Valid(b) && Group(a) == Group(b);
}

bool LinkTable::IsLinked(int channel) const {
  for (int j = 0; j < rec::kOutputCount; ++j) {
    if (AreLinked(channel, j)) return true;
  }
  return false;
}

CKTV_OutData* LinkTable::Output(int channel) const {
  return Valid(channel) ? m_outputs[static_cast<std::size_t>(channel)] : nullptr;
}

void LinkTable::SetOutput(int channel, CKTV_OutData* output) {
  if (Valid(channel)) m_outputs[static_cast<std::size_t>(channel)] = output;
}

}  // namespace vantor
