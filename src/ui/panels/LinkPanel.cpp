#include "ui/panels/LinkPanel.h"

#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/ProgramState.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"
#include "ui/dialogs/CH_Link_Dlg.h"

namespace vantor {

LinkPanel::LinkPanel(PanelHost& host, QWidget* parent)
    : Panel(host, parent), m_link(host.Data(), host.Selection()) {
  m_button = new TwoStateButton(kLinkButtonId, QString(), this);
  m_button->SetAccent(QColor(0x2E, 0x8B, 0x57));
  connect(m_button, &QAbstractButton::clicked, this, &LinkPanel::OnLinkButton);
  m_chooser = [this] { return AskWithDialog(); };
  Host().Selection().Listen([this](ChannelSelection::Change change) {
    if (change == ChannelSelection::Change::kLinking) ShowState();
  });
}

void LinkPanel::Refresh() { ShowState(); }

void LinkPanel::ApplyLanguage() {
  m_button->setText(Text(TextId::LinkButton));
  m_button->setToolTip(Text(TextId::LinkCaptionFront));
}

void LinkPanel::resizeEvent(QResizeEvent* /*event*/) { m_button->setGeometry(rect()); }

void LinkPanel::ShowState() { m_button->SetState(m_link.Active() ? 1 : 0); }

std::optional<LinkSide> LinkPanel::AskWithDialog() {
  CH_Link_Dlg dialog(Host().Chinese(), LinkGroupKind::kFront, window());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

void LinkPanel::OnLinkButton() {
  if (m_link.Active()) {
    m_link.Unlink();
    return;
  }
  const std::optional<LinkSide> side = m_chooser();
  if (!side) return;
  LinkOutcome outcome;
  {
    EditStep step(Host().History(), TextId::StepLinkCopy, StepTransfer::kWholeBlocks);
    outcome = m_link.Link(Host().Commands(), *side, &Host().Controller().Screen());
  }
  if (!outcome.Linked()) {
    Host().Message(Text(TextId::LinkNoPair));
    return;
  }
  // The receiving outputs hold their partners' data now.
  Host().OutputsEdited(*this);
  Host().RedrawGraph();
}

}  // namespace vantor
