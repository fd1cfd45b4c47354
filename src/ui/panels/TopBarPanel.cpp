#include "ui/panels/TopBarPanel.h"

#include <QAction>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "history/EditHistory.h"
#include "link/ConnectionController.h"
#include "model/KTV_Data.h"
#include "tuning/ChannelSelection.h"
#include "ui/QtText.h"
#include "ui/app/FormLayout.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/DropBtn.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"
#include "ui/controls/xSkinButton.h"

namespace vantor {
namespace {

const QRect kConnectRect(330, 8, 104, 28);
const QRect kSourceCaption(442, 8, 44, 28);
const QRect kSourceRect(488, 10, 118, 24);
const QRect kModeCaption(616, 8, 44, 28);
const QRect kModeRect(662, 10, 110, 24);
const QRect kPresetRect(786, 8, 84, 28);
const QSize kChromeButton(34, 28);

}  // namespace

TopBarPanel::TopBarPanel(PanelHost& host, QWidget* parent)
    : Panel(host, parent), m_systemMenu(this), m_presetMenu(this) {
  m_connect = new TwoStateButton(kConnectId, QString(), this);
  m_connect->setGeometry(kConnectRect);
  m_connect->SetAccent(QColor(0x2E, 0x8B, 0x57));
  m_connect->setFont(skin::Font1());
  connect(m_connect, &QAbstractButton::clicked, this, &TopBarPanel::OnConnectButton);

  m_source = new ComBoxBtn(kSourceListId, this);
  m_source->setGeometry(kSourceRect);
  connect(m_source, &DropSelector::selectionChanged, this,
          [this](int /*id*/, int index) { OnSourceSelected(index); });

  // Shows the stored speaker configuration; never chosen here.
  m_speakerMode = new DropBtn(kSpeakerModeId, this);
  m_speakerMode->setGeometry(kModeRect);
  QStringList modes;
  for (int m = 0; m < kSpeakerModeCount; ++m) modes << Q(SpeakerModeName(m));
  m_speakerMode->SetItems(modes);
  m_speakerMode->setEnabled(false);
  // Hidden while outputs are linked.
  Host().Selection().Listen([this](ChannelSelection::Change) {
    m_speakerMode->setVisible(!Host().Selection().LinkingActive());
  });

  m_presetButton = new TwoStateButton(kPresetButtonId, QString(), this);
  m_presetButton->setGeometry(kPresetRect);
  connect(m_presetButton, &QAbstractButton::clicked, this, &TopBarPanel::OpenPresetMenu);

  const int right = form::kFormSize.width() - 8;
  m_close = new xSkinButton(kCloseId, xSkinButton::Glyph::kClose, {}, this);
  m_close->setGeometry(QRect(QPoint(right - kChromeButton.width(), 8), kChromeButton));
  m_minimise = new xSkinButton(kMinimiseId, xSkinButton::Glyph::kMinimise, {}, this);
  m_minimise->setGeometry(QRect(QPoint(right - 2 * kChromeButton.width() - 4, 8), kChromeButton));
  m_menuButton = new xSkinButton(kMenuButtonId, xSkinButton::Glyph::kMenu, {}, this);
  m_menuButton->setGeometry(QRect(QPoint(right - 3 * kChromeButton.width() - 8, 8), kChromeButton));
  connect(m_close, &QAbstractButton::clicked, this, &TopBarPanel::closeRequested);
  connect(m_minimise, &QAbstractButton::clicked, this, &TopBarPanel::minimiseRequested);
  connect(m_menuButton, &QAbstractButton::clicked, this, &TopBarPanel::OpenSystemMenu);

  BuildMenus();
}

void TopBarPanel::BuildMenus() {
  m_firmwareAction = m_systemMenu.addAction(QString());
  m_reportAction = m_systemMenu.addAction(QString());
  m_languageAction = m_systemMenu.addAction(QString());
  m_aboutAction = m_systemMenu.addAction(QString());
  connect(m_firmwareAction, &QAction::triggered, this, &TopBarPanel::firmwareRequested);
  connect(m_reportAction, &QAction::triggered, this, &TopBarPanel::reportRequested);
  connect(m_languageAction, &QAction::triggered, this, &TopBarPanel::languageToggleRequested);
  connect(m_aboutAction, &QAction::triggered, this, &TopBarPanel::aboutRequested);
  m_systemMenu.setFont(skin::Font1());

  m_presetLoadAction = m_presetMenu.addAction(QString());
  m_presetSaveAction = m_presetMenu.addAction(QString());
  connect(m_presetLoadAction, &QAction::triggered, this, &TopBarPanel::presetLoadRequested);
  connect(m_presetSaveAction, &QAction::triggered, this, &TopBarPanel::presetSaveRequested);
  m_presetMenu.setFont(skin::Font1());
}

void TopBarPanel::Refresh() {
  const int mode = Host().Data().SpeakerMode();
  m_speakerMode->SetSelection(mode < kSpeakerModeCount ? mode : -1);
  m_source->SetSelection(Host().Data().InputSource());
  m_speakerMode->setVisible(!Host().Selection().LinkingActive());
}

void TopBarPanel::ApplyLanguage() {
  const bool zh = Host().Chinese();
  m_firmwareAction->setText(Text(TextId::MenuFirmwareUpdate));
  m_reportAction->setText(Text(TextId::ReportTitle));
  m_languageAction->setText(Text(TextId::MenuLanguage));
  m_aboutAction->setText(Text(TextId::MenuAbout));
  m_presetLoadAction->setText(Text(TextId::MenuPresetLoad));
  m_presetSaveAction->setText(Text(TextId::MenuPresetSave));
  m_presetButton->setText(Text(TextId::PresetButton));
  ShowConnection(Host().Controller().Connected());

  QStringList sources;
  for (int s = 0; s < kInputSourceCount; ++s) sources << Q(InputSourceName(s, zh));
  m_source->SetItems(sources);
  m_source->SetSelection(std::min(Host().Data().InputSource(), kInputSourceCount - 1));
  update();
}

void TopBarPanel::SetDemoBadge(bool on) {
  m_demoBadge = on;
  update();
}

void TopBarPanel::ShowConnection(bool connected) {
  m_connect->SetState(connected ? 1 : 0);
  m_connect->setText(Text(connected ? TextId::ConnectConnected : TextId::ConnectDisconnected));
}

void TopBarPanel::ShowInputSource(int source) {
  if (source >= 0 && source < m_source->Count()) m_source->SetSelection(source);
}

void TopBarPanel::OnModelEdited() { ShowInputSource(Host().Data().InputSource()); }

void TopBarPanel::OnSourceSelected(int index) {
  EditStep step(Host().History(), TextId::StepSource);
  Host().Controller().Sequences().SelectInputSource(index);
}

void TopBarPanel::OnConnectButton() { Host().Controller().ToggleConnection(); }

void TopBarPanel::OpenSystemMenu() {
  const QRect b = m_menuButton->geometry();
  m_systemMenu.popup(mapToGlobal(QPoint(b.left() - 10, b.bottom() + 1 + 5)));
}

QPoint TopBarPanel::PresetMenuPosition() const {
  // The buttons do not sit side by side here, so the menu is placed by its own button.
  const QRect b = m_presetButton->geometry();
  return mapToGlobal(QPoint(b.left(), b.bottom() + 1 + 5));
}

void TopBarPanel::OpenPresetMenu() { m_presetMenu.popup(PresetMenuPosition()); }

void TopBarPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  QLinearGradient bar(0, 0, 0, kHeight);
  bar.setColorAt(0.0, QColor(0xF2, 0xF3, 0xF8));
  bar.setColorAt(1.0, QColor(0xD9, 0xDC, 0xE8));
  p.fillRect(QRect(0, 0, width(), kHeight), bar);
  p.setPen(QColor(0xBB, 0xC0, 0xD0));
  p.drawLine(0, kHeight, width(), kHeight);

  p.setFont(skin::Font4());
  p.setPen(skin::Text());
  p.drawText(QRect(18, 0, 150, kHeight), Qt::AlignVCenter | Qt::AlignLeft, Q(kApplicationTitle));
  if (m_demoBadge) {
    p.setFont(skin::Font2());
    p.setPen(skin::AccentDark());
    p.drawText(QRect(160, 0, 166, kHeight), Qt::AlignVCenter | Qt::AlignLeft,
               Text(TextId::DemoBadge));
  }
  p.setFont(skin::Font2());
  p.setPen(skin::Text());
  p.drawText(kSourceCaption, Qt::AlignVCenter | Qt::AlignRight, Text(TextId::SourceCaption));
  p.drawText(kModeCaption, Qt::AlignVCenter | Qt::AlignRight, Text(TextId::SpeakerModeCaption));
}

}  // namespace vantor
