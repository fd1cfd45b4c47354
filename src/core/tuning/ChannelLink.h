#pragma once
// The channel link: a left and a right output of one role (front high, rear full range, the
// two subs, ...) tuned as one. Pressing the link button finds the pairs from the speaker
// types, puts each pair into one link group and copies the chosen side's data into the
// other side, which the device receives as a whole block while that side is switched off.
// From then on the output objects and the panels give edits to the whole group. Unlinking
// (the button again) or any reload of the window (a read-back, a recall, a speaker-type
// change) puts every output back into its own group; nothing is sent for that.

#include "tuning/ChannelSelection.h"
#include "tuning/LinkPairs.h"
#include "tuning/PanelCommands.h"

namespace vantor {

class ConnectionScreen;

// What the link dialog's caption names (the form always asks for the front).
enum class LinkGroupKind { kFront = 0, kRear = 1, kSub = 2 };

struct LinkOutcome {
  int pairs = 0;  // active pairs; 0: nothing was linked ("无通道可以联调")
  // The writes: kQueued, or kNotConnected when only the model changed.
  SequenceResult transfer;
  // Output 1 received a copy: its block ends the busy state, behind the transfer window.
  bool busyEnd = false;

  bool Linked() const { return pairs > 0; }
};

class ChannelLink {
 public:
  ChannelLink(CKTV_Data& data, ChannelSelection& selection);

  bool Active() const { return m_selection.LinkingActive(); }
  const LinkPairs& Pairs() const { return m_pairs; }

  // The link button pressed while not linked, with the side whose data wins. Builds the
  // pairs; with none, nothing changes. Otherwise, under the queue lock: for every active pair
  // the receiving output's group is switched off on the device, the output joins the other's
  // group and takes its data (written as its whole block; output 1's block ends the busy
  // state and the transfer window is shown on `screen`), then every muted output is switched
  // back on; linking is then active. Without a device only the model changes.
  LinkOutcome Link(PanelCommands& commands, LinkSide side, ConnectionScreen* screen);
  // The link button pressed while linked: every output back to its own group, the pairs
  // cleared, linking ended. Nothing is sent; the outputs keep their values.
  void Unlink();
  // The link's copy taken again (a redo): the pairs hold equal data already, so they are
  // grouped and linking is active as after Link, with nothing copied or sent. False, and
  // nothing changed, when the speaker types give no pair.
  bool Regroup();

  // Output `channel` joins group `group`, taking the data of every other output of that
  // group (written as whole blocks while connected). Nothing when it is in the group already.
  SequenceResult Join(PanelCommands& commands, int channel, int group, ConnectionScreen* screen);

 private:
  CKTV_Data& m_data;
  ChannelSelection& m_selection;
  LinkPairs m_pairs;
};

}  // namespace vantor
