#include "ui/panels/CrossoverPanel.h"

#include <QPainter>
#include <algorithm>

#include "history/EditHistory.h"
#include "model/EditConversion.h"
#include "tuning/ChannelSelection.h"
#include "tuning/CrossoverLists.h"
#include "ui/QtText.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/Skin.h"
#include "ui/panels/GestureStep.h"

namespace vantor {
namespace {

// One row per half, side by side: caption, family list, slope list, frequency edit, spin.
constexpr int kRowTop = 5;
constexpr int kRowHeight = 24;
constexpr int kCaptionWidth = 26;
constexpr int kFamilyWidth = 86;
constexpr int kSlopeWidth = 80;
constexpr int kEditWidth = 58;
constexpr int kSpinWidth = 14;
constexpr int kGap = 4;
constexpr int kHighPassLeft = 8;
constexpr int kLowPassLeft = 292;

}  // namespace

CrossoverPanel::CrossoverPanel(PanelHost& host, QWidget* parent)
    : Panel(host, parent), m_editor(host.Data()) {
  m_gesture = new GestureStep([this]() -> EditHistory& { return Host().History(); }, this);
  BuildHalf(CrossoverSide::kHighPass, kHighPassLeft);
  BuildHalf(CrossoverSide::kLowPass, kLowPassLeft);
  // A channel switch, and a change of its link group, show the new filters.
  Host().Selection().Listen([this](ChannelSelection::Change change) {
    if (change != ChannelSelection::Change::kCurves) Refill();
  });
}

void CrossoverPanel::BuildHalf(CrossoverSide side, int left) {
  const bool high = side == CrossoverSide::kHighPass;
  HalfControls& h = Half(side);
  int x = left + kCaptionWidth + kGap;
  h.family = new ComBoxBtn(high ? kHighPassFamilyId : kLowPassFamilyId, this);
  h.family->setGeometry(x, kRowTop, kFamilyWidth, kRowHeight);
  x += kFamilyWidth + kGap;
  h.slope = new ComBoxBtn(high ? kHighPassSlopeId : kLowPassSlopeId, this);
  h.slope->setGeometry(x, kRowTop, kSlopeWidth, kRowHeight);
  x += kSlopeWidth + kGap;
  h.edit = new CNumEdit(high ? kHighPassEditId : kLowPassEditId, this);
  h.edit->setGeometry(x, kRowTop + 2, kEditWidth, kRowHeight - 4);
  h.edit->SetMode(kEditCrossoverFrequency);
  h.spin = new CNumSpin(high ? kHighPassSpinId : kLowPassSpinId, this);
  h.spin->setGeometry(x + kEditWidth + 1, kRowTop + 2, kSpinWidth, kRowHeight - 4);
  h.spin->SetBuddy(h.edit);
  h.spin->SetRange32(kFrequencyMin, kFrequencyMax);
  h.spin->SetLanguage(&Host().State().chinese);
  h.spin->SetMessageHandler([this](const QString& text) { Host().Message(text); });
  m_gesture->Watch(h.spin, TextId::StepCrossover);

  QStringList entries;
  for (std::string_view e : SlopeEntries(kLinkwitzRiley)) entries << Q(e);
  h.slope->SetItems(entries);

  connect(h.family, &DropSelector::selectionChanged, this,
          [this, side](int /*id*/, int index) { OnFamilyChosen(side, index); });
  connect(h.slope, &DropSelector::selectionChanged, this,
          [this, side](int /*id*/, int index) { OnSlopeChosen(side, index); });
  connect(h.edit, &CNumEdit::changeNotice, this, [this, side] { OnFrequencyChanged(side); });
  connect(h.spin, &CNumSpin::changeNotice, this, [this, side] { OnFrequencyChanged(side); });
}

int CrossoverPanel::Current() { return Host().Selection().Current(); }

void CrossoverPanel::Refresh() { Refill(); }

void CrossoverPanel::OnOutputsEdited() { Refill(); }

void CrossoverPanel::ApplyLanguage() {
  Half(CrossoverSide::kHighPass).caption = Text(TextId::HighPassCaption);
  Half(CrossoverSide::kLowPass).caption = Text(TextId::LowPassCaption);
  for (HalfControls& h : m_halves) FillFamilies(h);
  update();
}

// The family names in the language of the moment; the selection stays.
void CrossoverPanel::FillFamilies(HalfControls& half) {
  QStringList families;
  for (int f = 0; f < kCrossoverFamilyCount; ++f) families << Text(FamilyText(f));
  half.family->SetItems(families);
}

void CrossoverPanel::Refill() {
  RefillHalf(CrossoverSide::kHighPass);
  RefillHalf(CrossoverSide::kLowPass);
}

void CrossoverPanel::RefillHalf(CrossoverSide side) {
  HalfControls& h = Half(side);
  const CrossoverShown shown = m_editor.Shown(Current(), side);
  h.family->SetSelection(shown.family < kCrossoverFamilyCount ? shown.family : -1);
  // A record may hold a frequency outside the field's range; the field shows the nearest.
  h.spin->SetValue(std::clamp(shown.frequency, kFrequencyMin, kFrequencyMax));
  QStringList entries;
  for (std::string_view e : SlopeEntries(shown.family)) entries << Q(e);
  h.slope->SetItems(entries);
  h.slope->SetSelection(shown.entry);
}

void CrossoverPanel::OnFamilyChosen(CrossoverSide side, int family) {
  EditStep step(Host().History(), TextId::StepCrossover);
  m_editor.ChooseFamily(Current(), side, family);
  Refill();
  Host().RedrawGraph(GraphElementOf(side));
  Host().OutputsEdited(*this);
}

void CrossoverPanel::OnSlopeChosen(CrossoverSide side, int entry) {
  EditStep step(Host().History(), TextId::StepCrossover);
  m_editor.ChooseSlopeEntry(Current(), side, entry);
  Host().RedrawGraph(GraphElementOf(side));
  Host().OutputsEdited(*this);
}

void CrossoverPanel::OnFrequencyChanged(CrossoverSide side) {
  EditStep step(Host().History(), TextId::StepCrossover);
  const CrossoverSide other =
      side == CrossoverSide::kHighPass ? CrossoverSide::kLowPass : CrossoverSide::kHighPass;
  HalfControls& h = Half(side);
  const int hz = h.spin->GetValue();
  const int stored = m_editor.SetFrequency(Current(), side, hz, Half(other).spin->GetValue());
  h.spin->SetValue(stored);
  Host().RedrawGraph(GraphElementOf(side));
  Host().OutputsEdited(*this);
}

void CrossoverPanel::OnGraphEdited(int element) {
  for (CrossoverSide side : {CrossoverSide::kHighPass, CrossoverSide::kLowPass}) {
    if (element == GraphElementOf(side)) {
      Half(side).spin->SetValue(m_editor.TakeFromGraph(Current(), side));
    }
  }
}

void CrossoverPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  PaintBody(p);
  p.setFont(skin::Font2());
  p.setPen(skin::Text());
  p.drawText(QRect(kHighPassLeft, kRowTop, kCaptionWidth, kRowHeight), Qt::AlignCenter,
             Half(CrossoverSide::kHighPass).caption);
  p.drawText(QRect(kLowPassLeft, kRowTop, kCaptionWidth, kRowHeight), Qt::AlignCenter,
             Half(CrossoverSide::kLowPass).caption);
  // A rule between the two halves.
  p.setPen(QPen(QColor(0xC6, 0xCA, 0xD8), 1.0));
  const qreal rule = kLowPassLeft - 4.5;
  p.drawLine(QPointF(rule, 7), QPointF(rule, height() - 7));
}

}  // namespace vantor
