#pragma once
// The window's one channel selection: the current output (kept in the program state, where
// other windows read it), the outputs shown as selected with it (its link partners while
// linking is active) and the outputs whose curves are drawn behind it. The panels listen
// and follow; making a channel current is setting it here.

#include <array>
#include <functional>
#include <vector>

#include "model/DataDefine.h"

namespace vantor {

class LinkTable;
class ProgramState;

class ChannelSelection {
 public:
  enum class Change {
    kCurrent,  // an output was made current (also the one that already was: panels reload)
    kCurves,   // an output's curve was switched on or off behind the current one
    kLinking,  // linking started or ended: the selected outputs changed
  };
  using Listener = std::function<void(Change)>;

  ChannelSelection(ProgramState& state, const LinkTable& links);
  ChannelSelection(const ChannelSelection&) = delete;
  ChannelSelection& operator=(const ChannelSelection&) = delete;

  int Current() const;
  // Makes output `channel` current and tells every listener, also when it already was
  // current. False (nothing told) outside 0..7.
  bool Select(int channel);
  // The current output, or while linking is active an output of its link group.
  bool IsSelected(int channel) const;

  bool LinkingActive() const { return m_linking; }
  void SetLinkingActive(bool active);
  // While linking is active, the current output's partner (the other output of its link
  // group); −1 otherwise.
  int Partner() const;

  // The output's own show-curve flag.
  bool CurveFlag(int channel) const;
  // Whether the output's curve is on the graph: the current one always, others by flag.
  bool CurveShown(int channel) const;
  // Toggles another output's flag; the current output's curve cannot be switched off.
  // True when the flag changed.
  bool ToggleCurve(int channel);

  // Listeners are told in the order they were added; they live as long as the selection.
  void Listen(Listener listener);

 private:
  static bool Valid(int channel) { return channel >= 0 && channel < rec::kOutputCount; }
  void Tell(Change change);

  ProgramState& m_state;
  const LinkTable& m_links;
  bool m_linking = false;
  std::array<bool, rec::kOutputCount> m_curves{};
  std::vector<Listener> m_listeners;
};

}  // namespace vantor
