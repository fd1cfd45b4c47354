#include "tuning/ChannelLink.h"

#include <mutex>
#include <vector>

#include "link/ConnectionScreen.h"

namespace vantor {
namespace {

// The output whose block ends the busy state of a link: the last one a link can write.
constexpr int kBusyEndOutput = 1;

void Add(SequenceResult& total, const SequenceResult& part) {
  if (!part.Queued()) total.status = part.status;
  total.commands += part.commands;
}

}  // namespace

ChannelLink::ChannelLink(CKTV_Data& data, ChannelSelection& selection)
    : m_data(data), m_selection(selection) {}

LinkOutcome ChannelLink::Link(PanelCommands& commands, LinkSide side, ConnectionScreen* screen) {
  LinkOutcome outcome;
  outcome.pairs = m_pairs.Build(m_data.State().SpeakerTypes());
  if (!outcome.Linked()) return outcome;

  outcome.transfer.status =
      commands.Connected() ? SequenceStatus::kQueued : SequenceStatus::kNotConnected;
  {
    // The mutes, the blocks and the un-mutes reach the device with nothing between them.
    std::lock_guard lock(commands.Queue().QueueLock());
    std::vector<PanelCommands::MutedGroup> muted;
    for (int k = 0; k < kLinkPairCount; ++k) {
      const LinkPair& pair = m_pairs.Pair(k);
      if (!pair.active) continue;
      const int receiver = pair.Receiver(side);
      muted.push_back(commands.MuteGroup(receiver));
      const SequenceResult join =
          Join(commands, receiver, m_data.Links().Group(pair.Giver(side)), screen);
      Add(outcome.transfer, join);
      outcome.busyEnd = outcome.busyEnd || (receiver == kBusyEndOutput && join.commands > 0);
    }
    for (const PanelCommands::MutedGroup& group : muted) commands.UnmuteGroup(group);
  }
  // The select buttons of the current pair, the speaker-type buttons and the mode selector
  // follow the selection.
  m_selection.SetLinkingActive(true);
  return outcome;
}

SequenceResult ChannelLink::Join(PanelCommands& commands, int channel, int group,
                                 ConnectionScreen* screen) {
  SequenceResult result{
      commands.Connected() ? SequenceStatus::kQueued : SequenceStatus::kNotConnected, 0, 0};
  LinkTable& links = m_data.Links();
  if (channel < 0 || channel >= rec::kOutputCount) return SequenceResult{};
  if (links.Group(channel) == group) return result;
  std::lock_guard lock(commands.Queue().QueueLock());
  links.SetGroup(channel, group);
  CKTV_OutData& receiver = m_data.Output(channel);
  for (int i = 0; i < rec::kOutputCount; ++i) {
    if (i == channel || links.Group(i) != group) continue;
    receiver.TakeLinkCopy(m_data.Output(i));
    if (!commands.Connected()) continue;
    const bool busyEnd = channel == kBusyEndOutput;
    const SequenceResult write = commands.WriteOutput(channel, busyEnd);
    Add(result, write);
    if (busyEnd && write.Queued() && screen != nullptr) {
      screen->ShowTransferWindow(TransferOwner::kView);
    }
  }
  return result;
}

bool ChannelLink::Regroup() {
  if (m_pairs.Build(m_data.State().SpeakerTypes()) == 0) return false;
  LinkTable& links = m_data.Links();
  for (int k = 0; k < kLinkPairCount; ++k) {
    const LinkPair& pair = m_pairs.Pair(k);
    if (pair.active) links.SetGroup(pair.right, links.Group(pair.left));
  }
  m_selection.SetLinkingActive(true);
  return true;
}

void ChannelLink::Unlink() {
  m_data.Links().Reset();
  m_pairs.Clear();
  m_selection.SetLinkingActive(false);
}

}  // namespace vantor
