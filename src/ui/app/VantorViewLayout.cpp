// Building the main form: its controls, where they sit and what each one is wired to.

#include <QAction>

#include "model/ProgramState.h"
#include "text/TextCatalog.h"
#include "ui/QtText.h"
#include "ui/app/DisplayDlg.h"
#include "ui/app/FormLayout.h"
#include "ui/app/MsgBox.h"
#include "ui/app/VantorView.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/DropBtn.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/Skin.h"
#include "ui/controls/xSkinButton.h"
#include "ui/panels/CarPanel.h"
#include "ui/panels/StripPanel.h"

namespace vantor {

using namespace form;

void CVantorView::BuildControls() {
  m_graph = new CFStatic(this);
  m_graph->setObjectName(QStringLiteral("graph"));
  m_graph->setGeometry(kGraphRect);
  connect(m_graph, &CFStatic::graphChanged, this, &CVantorView::OnGraphChanged,
          Qt::QueuedConnection);

  m_car = new CarPanel(this);
  m_car->setGeometry(kCarPanel);
  connect(m_car, &CarPanel::positionClicked, this, &CVantorView::OnPositionButton);

  BuildTopBar();
  BuildStrips();
  BuildMenus();

  m_eqReset = new TwoStateButton(kEqResetId, QString(), this);
  m_eqReset->setGeometry(kEqResetRect);
  connect(m_eqReset, &QAbstractButton::clicked, this, &CVantorView::OnEqReset);
  // The limiter and routing dialog arrives later; until then its button is shown disabled.
  m_limiter = new TwoStateButton(kLimiterButtonId, QString(), this);
  m_limiter->setGeometry(kLimiterRect);
  m_limiter->setEnabled(false);

  // A window of its own over the frame, so that disabling the form leaves it alive.
  m_transfer = new CDisplayDlg(window() != this ? window() : this);
  m_transfer->hide();

  m_msgBox = new CMsgBox(this);
  m_msgBox->SetPresenter([this](const QString& text) { m_prompts.message(text); });
}

void CVantorView::BuildTopBar() {
  m_connect = new TwoStateButton(kConnectId, QString(), this);
  m_connect->setGeometry(kConnectRect);
  m_connect->SetAccent(QColor(0x2E, 0x8B, 0x57));
  m_connect->setFont(skin::Font1());
  connect(m_connect, &QAbstractButton::clicked, this, &CVantorView::OnConnectButton);

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

  m_presetButton = new TwoStateButton(kPresetButtonId, QString(), this);
  m_presetButton->setGeometry(kPresetRect);
  connect(m_presetButton, &QAbstractButton::clicked, this, &CVantorView::OpenPresetMenu);

  const int right = kFormWidth - 8;
  m_close = new xSkinButton(kCloseId, xSkinButton::Glyph::kClose, {}, this);
  m_close->setGeometry(QRect(QPoint(right - kChromeButton.width(), 8), kChromeButton));
  m_minimise = new xSkinButton(kMinimiseId, xSkinButton::Glyph::kMinimise, {}, this);
  m_minimise->setGeometry(QRect(QPoint(right - 2 * kChromeButton.width() - 4, 8), kChromeButton));
  m_menuButton = new xSkinButton(kMenuButtonId, xSkinButton::Glyph::kMenu, {}, this);
  m_menuButton->setGeometry(QRect(QPoint(right - 3 * kChromeButton.width() - 8, 8), kChromeButton));
  connect(m_close, &QAbstractButton::clicked, this, [this] {
    Shutdown();
    emit closeRequested();
  });
  connect(m_minimise, &QAbstractButton::clicked, this, &CVantorView::minimiseRequested);
  connect(m_menuButton, &QAbstractButton::clicked, this, &CVantorView::OpenSystemMenu);
}

void CVantorView::BuildStrips() {
  m_strips = new StripPanel(this);
  m_strips->setGeometry(kStripPanel);
  for (int i = 0; i < 8; ++i) {
    ChannelStripControls& s = Strip(i);
    connect(s.select, &QAbstractButton::clicked, this, [this, i] { OnSelectButton(i); });
    connect(s.speakerType, &QAbstractButton::clicked, this, [this, i] { OpenSpeakerTypeMenu(i); });
    connect(s.on, &QAbstractButton::clicked, this, [this, i] { OnOutputOnButton(i); });
    connect(s.phase, &QAbstractButton::clicked, this, [this, i] { OnPhaseButton(i); });
    connect(s.gainEdit, &CNumEdit::changeNotice, this, [this, i] { OnGainEditChanged(i); });
    connect(s.gainSpin, &CNumSpin::changeNotice, this, [this, i] { OnGainEditChanged(i); });
    connect(s.gainSlider, &BitmapSlider::moving, this, [this, i] { OnGainSlider(i); });
    connect(s.gainSlider, &BitmapSlider::moved, this, [this, i] { OnGainSlider(i); });
    connect(s.curve, &QAbstractButton::clicked, this, [this, i] { OnShowCurveButton(i); });
    s.gainSpin->SetLanguage(&m_state.chinese);
    s.gainSpin->SetMessageHandler([this](const QString& text) { m_prompts.message(text); });
  }
  MasterStripControls& m = Master();
  connect(m.on, &QAbstractButton::clicked, this, &CVantorView::OnMasterOnButton);
  connect(m.edit, &CNumEdit::changeNotice, this, &CVantorView::OnMasterEditChanged);
  connect(m.spin, &CNumSpin::changeNotice, this, &CVantorView::OnMasterEditChanged);
  connect(m.slider, &BitmapSlider::moving, this, &CVantorView::OnMasterSlider);
  connect(m.slider, &BitmapSlider::moved, this, &CVantorView::OnMasterSlider);
  m.spin->SetLanguage(&m_state.chinese);
  m.spin->SetMessageHandler([this](const QString& text) { m_prompts.message(text); });
}

void CVantorView::BuildMenus() {
  // The firmware update arrives with its own dialog; until then the entry is shown
  // disabled rather than doing nothing when clicked. The same holds for the preset dialogs.
  m_firmwareAction = m_systemMenu.addAction(QString());
  m_firmwareAction->setEnabled(false);
  m_languageAction = m_systemMenu.addAction(QString());
  m_aboutAction = m_systemMenu.addAction(QString());
  connect(m_languageAction, &QAction::triggered, this, &CVantorView::ToggleLanguage);
  connect(m_aboutAction, &QAction::triggered, this, &CVantorView::ShowAbout);
  m_systemMenu.setFont(skin::Font1());

  m_presetLoadAction = m_presetMenu.addAction(QString());
  m_presetLoadAction->setEnabled(false);
  m_presetSaveAction = m_presetMenu.addAction(QString());
  m_presetSaveAction->setEnabled(false);
  m_presetMenu.setFont(skin::Font1());
}

}  // namespace vantor
