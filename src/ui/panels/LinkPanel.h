#pragma once
// The link button (2247) of the main form, on the master column of the channel strips beside
// the speaker-type buttons it locks. Pressed while not linked it asks which side's data wins
// (the link dialog) and links every left/right pair of one role; pressed again it unlinks.
// The button shows the channel selection's linking state, so any reload of the form (which
// ends linking) releases it. The rules are ChannelLink's; this panel asks and forwards.

#include <functional>
#include <optional>

#include "tuning/ChannelLink.h"
#include "ui/panels/Panel.h"

namespace vantor {

class TwoStateButton;

class LinkPanel : public Panel {
  Q_OBJECT

 public:
  static constexpr int kLinkButtonId = 2247;

  LinkPanel(PanelHost& host, QWidget* parent);

  void Refresh() override;
  void ApplyLanguage() override;

  // What the button does, callable as a click.
  void OnLinkButton();
  // Ends linking without a click (the link's own step was taken back); nothing is sent.
  void Unlink() { m_link.Unlink(); }
  // Links again without a copy (the link's own step was taken again); nothing is sent.
  void Relink() { m_link.Regroup(); }

  // Asks which side's data wins; nothing for Cancel. By default the link dialog, modal.
  using Chooser = std::function<std::optional<LinkSide>()>;
  void SetChooser(Chooser chooser) { m_chooser = std::move(chooser); }

  TwoStateButton& LinkButton() { return *m_button; }
  const ChannelLink& Link() const { return m_link; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::optional<LinkSide> AskWithDialog();
  void ShowState();

  ChannelLink m_link;
  Chooser m_chooser;
  TwoStateButton* m_button = nullptr;
};

}  // namespace vantor
