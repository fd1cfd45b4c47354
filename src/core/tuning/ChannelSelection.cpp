#include "tuning/ChannelSelection.h"

#include "model/LinkTable.h"
#include "model/ProgramState.h"

namespace vantor {

ChannelSelection::ChannelSelection(ProgramState& state, const LinkTable& links)
    : m_state(state), m_links(links) {}

int ChannelSelection::Current() const { return m_state.currentOutput.load(); }

bool ChannelSelection::Select(int channel) {
  if (!Valid(channel)) return false;
  m_state.currentOutput.store(channel);
  Tell(Change::kCurrent);
  return true;
}

bool ChannelSelection::IsSelected(int channel) const {
  if (!Valid(channel)) return false;
  const int current = Current();
  return channel == current || (m_linking && m_links.AreLinked(current, channel));
}

void ChannelSelection::SetLinkingActive(bool active) {
  if (m_linking == active) return;
  m_linking = active;
  Tell(Change::kLinking);
}

int ChannelSelection::Partner() const {
  if (!m_linking) return -1;
  const int current = Current();
  for (int c = 0; c < rec::kOutputCount; ++c) {
    if (m_links.AreLinked(current, c)) return c;
  }
  return -1;
}

bool ChannelSelection::CurveFlag(int channel) const {
  return Valid(channel) && m_curves[static_cast<std::size_t>(channel)];
}

bool ChannelSelection::CurveShown(int channel) const {
  return Valid(channel) && (channel == Current() || CurveFlag(channel));
}

bool ChannelSelection::ToggleCurve(int channel) {
  if (!Valid(channel) || channel == Current()) return false;
  bool& flag = m_curves[static_cast<std::size_t>(channel)];
  flag = !flag;
  Tell(Change::kCurves);
  return true;
}

void ChannelSelection::Listen(Listener listener) { m_listeners.push_back(std::move(listener)); }

void ChannelSelection::Tell(Change change) {
  for (const Listener& l : m_listeners) l(change);
}

}  // namespace vantor
