#include "ui/panels/OutputDlg.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>

#include "history/EditHistory.h"
#include "model/EditConversion.h"
#include "model/KTV_Data.h"
#include "model/ValueScales.h"
#include "tuning/ChannelSelection.h"
#include "tuning/CrossoverLists.h"
#include "ui/QtText.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/Skin.h"
#include "ui/panels/GestureStep.h"

namespace vantor {
namespace {

// The band table: a caption column, then 31 columns on a 39-pixel pitch, which is what
// the band's widest text (a Q of "28.877") needs at 11 pixels.
constexpr int kCaptionLeft = 6;
constexpr int kCaptionWidth = 42;
constexpr int kTableLeft = 50;
constexpr int kPitch = 39;
constexpr int kCellWidth = 38;
constexpr int kBandFontPixels = 11;
constexpr int kMarkerTop = 5;
constexpr int kMarkerHeight = 16;
constexpr int kEditHeight = 18;
constexpr std::array<int, 3> kRowTop = {24, 45, 66};  // by BandRow
constexpr int kSliderTop = 87;
constexpr int kSliderHeight = 96;
constexpr int kOffTop = 186;
constexpr int kOffHeight = 17;
constexpr int kTableBottom = kOffTop + kOffHeight;

// Two rows of channel controls under the table.
constexpr int kRuleY = 208;
constexpr int kRowATop = 213;
constexpr int kRowBTop = 240;
constexpr int kRowHeight = 22;
constexpr int kSpinWidth = 13;
constexpr int kGap = 4;

// Row A: the crossovers, then the output gain.
constexpr int kXoCaptionWidth = 34;
constexpr int kFamilyWidth = 84;
constexpr int kSlopeWidth = 80;
constexpr int kXoEditWidth = 60;
constexpr int kHighPassLeft = 8;
constexpr int kLowPassLeft = 304;
constexpr int kGainCaptionLeft = 604;
constexpr int kGainCaptionWidth = 40;
constexpr int kGainEditWidth = 50;
// Row B: the limiter.
constexpr int kThresholdCaptionLeft = 8;
constexpr int kThresholdCaptionWidth = 64;
constexpr int kThresholdEditWidth = 64;
constexpr int kAttackCaptionLeft = 168;
constexpr int kAttackCaptionWidth = 44;
constexpr int kAttackEditWidth = 52;
constexpr int kReleaseCaptionLeft = 296;
constexpr int kReleaseCaptionWidth = 48;
constexpr int kReleaseWidth = 84;
// The whole-EQ controls, at the right end of the two rows.
constexpr int kWholeEqButtonWidth = 100;

int ColumnX(int band) { return kTableLeft + band * kPitch; }

QRect CaptionRect(int left, int width, int top) { return {left, top, width, kRowHeight}; }

}  // namespace

OutputDlg::OutputDlg(PanelHost& host, QWidget* parent)
    : Panel(host, parent), m_editor(host.Data()) {
  setFocusPolicy(Qt::ClickFocus);
  m_gesture = new GestureStep([this]() -> EditHistory& { return Host().History(); }, this);
  for (int b = 0; b < kOutputBandCount; ++b) BuildColumn(b);
  BuildCrossoverHalf(CrossoverSide::kHighPass, kHighPassLeft);
  BuildCrossoverHalf(CrossoverSide::kLowPass, kLowPassLeft);

  const int gainLeft = kGainCaptionLeft + kGainCaptionWidth + kGap;
  m_gain =
      BuildField({kOutputGainEditId, kOutputGainSpinId, kEditGainDb, kOutputGainCodeMax, 1.0, 60.0,
                  TextId::StepGain},
                 QRect(gainLeft, kRowATop, kGainEditWidth, kRowHeight), [this] { OnOutputGain(); });
  const int thresholdLeft = kThresholdCaptionLeft + kThresholdCaptionWidth + kGap;
  m_threshold = BuildField({kThresholdEditId, kThresholdSpinId, kEditLimiterThreshold,
                            kThresholdCodeMax, 0.1, 30.0, TextId::StepLimiter},
                           QRect(thresholdLeft, kRowBTop, kThresholdEditWidth, kRowHeight),
                           [this] { OnThreshold(); });
  const int attackLeft = kAttackCaptionLeft + kAttackCaptionWidth + kGap;
  m_attack =
      BuildField({kAttackEditId, kAttackSpinId, kEditLimiterAttack, kAttackCodeMax, 0.0, 0.0,
                  TextId::StepLimiter},
                 QRect(attackLeft, kRowBTop, kAttackEditWidth, kRowHeight), [this] { OnAttack(); });

  m_release = new ComBoxBtn(kReleaseListId, this);
  m_release->setGeometry(kReleaseCaptionLeft + kReleaseCaptionWidth + kGap, kRowBTop, kReleaseWidth,
                         kRowHeight);
  QStringList releases;
  for (std::string_view e : ReleaseEntries()) releases << Q(e);
  m_release->SetItems(releases);
  connect(m_release, &DropSelector::selectionChanged, this,
          [this](int /*id*/, int index) { OnReleaseChosen(index); });

  BuildWholeEqControls();

  // A channel switch, and a change of its link group, show the new output.
  Host().Selection().Listen([this](ChannelSelection::Change change) {
    if (change != ChannelSelection::Change::kCurves) LoadChannel();
  });
}

OutputDlg::~OutputDlg() = default;

void OutputDlg::SetUpSpin(CNumSpin* spin) {
  spin->SetLanguage(&Host().State().chinese);
  spin->SetMessageHandler([this](const QString& text) { Host().Message(text); });
}

void OutputDlg::BuildColumn(int band) {
  BandColumn& c = Column(band);
  const int x = ColumnX(band);
  const QFont font = skin::Font(kBandFontPixels);
  struct RowSetUp {
    int editBase, spinBase, mode, maximum;
  };
  const std::array<RowSetUp, 3> rows = {
      RowSetUp{kFrequencyEditBaseId, kFrequencySpinBaseId, kEditEqFrequency, kFrequencyMax},
      RowSetUp{kBandwidthEditBaseId, kBandwidthSpinBaseId, kEditBandwidthQ, kBandwidthIndexMax},
      RowSetUp{kGainEditBaseId, kGainSpinBaseId, kEditEqGain, kGainIndexMax}};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    auto* edit = new CNumEdit(rows[r].editBase + band, this);
    edit->setFont(font);
    edit->setGeometry(x, kRowTop[r], kCellWidth, kEditHeight);
    if (r == static_cast<std::size_t>(BandRow::kGain)) {
      edit->SetScale(0.1);
      edit->SetOffset(20.0);
    }
    edit->SetMode(rows[r].mode);
    auto* spin = new CNumSpin(rows[r].spinBase + band, this);
    spin->hide();
    spin->SetBuddy(edit);
    spin->SetRange32(r == 0 ? kFrequencyMin : 0, rows[r].maximum);
    SetUpSpin(spin);
    c.edit[r] = edit;
    c.spin[r] = spin;
    edit->installEventFilter(this);
    m_roles.insert(edit, Role{Role::kBandEdit, BandCell{static_cast<BandRow>(r), band}});
    m_gesture->Watch(spin, TextId::StepBand);
  }
  connect(c.edit[0], &CNumEdit::changeNotice, this, [this, band] { OnBandFrequency(band); });
  connect(c.spin[0], &CNumSpin::changeNotice, this, [this, band] { OnBandFrequency(band); });
  connect(c.edit[1], &CNumEdit::changeNotice, this, [this, band] { OnBandBandwidth(band); });
  connect(c.spin[1], &CNumSpin::changeNotice, this, [this, band] { OnBandBandwidth(band); });
  connect(c.edit[2], &CNumEdit::changeNotice, this, [this, band] { OnBandGainEdit(band); });
  connect(c.spin[2], &CNumSpin::changeNotice, this, [this, band] { OnBandGainEdit(band); });

  c.slider = new BitmapSlider(kSliderBaseId + band, Qt::Vertical, this);
  c.slider->setGeometry(x, kSliderTop, kCellWidth, kSliderHeight);
  c.slider->SetRange(0, kGainIndexMax);
  // The maximum at the top; a page is 1 dB.
  c.slider->SetDirect(false);
  c.slider->SetPage(10);
  c.slider->SetMargins(0, 2, 0, 2);
  c.slider->installEventFilter(this);
  m_roles.insert(c.slider, Role{Role::kSlider, BandCell{BandRow::kGain, band}});
  m_gesture->Watch(c.slider, TextId::StepBand);
  connect(c.slider, &BitmapSlider::moving, this, [this, band] { OnBandSlider(band); });
  connect(c.slider, &BitmapSlider::moved, this, [this, band] { OnBandSlider(band); });

  c.off = new BitButton(kBandOffBaseId + band, QString(), this);
  c.off->setFont(font);
  c.off->setGeometry(x + 3, kOffTop, kCellWidth - 6, kOffHeight);
  c.off->SetAccent(QColor(0x7A, 0x82, 0x96));
  connect(c.off, &QAbstractButton::clicked, this, [this, band] { OnBandOff(band); });
}

void OutputDlg::BuildCrossoverHalf(CrossoverSide side, int left) {
  const bool high = side == CrossoverSide::kHighPass;
  CrossoverHalf& h = Half(side);
  int x = left + kXoCaptionWidth + kGap;
  h.family = new ComBoxBtn(high ? kHighPassFamilyId : kLowPassFamilyId, this);
  h.family->setGeometry(x, kRowATop, kFamilyWidth, kRowHeight);
  x += kFamilyWidth + kGap;
  h.slope = new ComBoxBtn(high ? kHighPassSlopeId : kLowPassSlopeId, this);
  h.slope->setGeometry(x, kRowATop, kSlopeWidth, kRowHeight);
  QStringList slopes;
  for (std::string_view e : FullSlopeEntries()) slopes << Q(e);
  h.slope->SetItems(slopes);
  x += kSlopeWidth + kGap;
  const Field f = BuildField(
      {high ? kHighPassEditId : kLowPassEditId, high ? kHighPassSpinId : kLowPassSpinId,
       kEditCrossoverFrequency, kFrequencyMax, 0.0, 0.0, TextId::StepCrossover},
      QRect(x, kRowATop, kXoEditWidth, kRowHeight), [this, side] { OnCrossoverFrequency(side); });
  f.spin->SetRange32(kFrequencyMin, kFrequencyMax);
  h.edit = f.edit;
  h.spin = f.spin;

  connect(h.family, &DropSelector::selectionChanged, this,
          [this, side](int /*id*/, int index) { OnFamilyChosen(side, index); });
  connect(h.slope, &DropSelector::selectionChanged, this,
          [this, side](int /*id*/, int index) { OnSlopeChosen(side, index); });
}

OutputDlg::Field OutputDlg::BuildField(const FieldSetUp& setUp, QRect rect,
                                       const std::function<void()>& onChange) {
  Field f;
  f.edit = new CNumEdit(setUp.editId, this);
  f.edit->setGeometry(rect.adjusted(0, 1, 0, -1));
  f.edit->SetScale(setUp.scale);
  f.edit->SetOffset(setUp.offset);
  f.edit->SetMode(setUp.mode);
  f.spin = new CNumSpin(setUp.spinId, this);
  f.spin->setGeometry(rect.right() + 2, rect.top() + 1, kSpinWidth, rect.height() - 2);
  f.spin->SetBuddy(f.edit);
  f.spin->SetRange32(0, setUp.maximum);
  SetUpSpin(f.spin);
  f.edit->installEventFilter(this);
  m_roles.insert(f.edit, Role{Role::kOtherEdit, {}});
  m_gesture->Watch(f.spin, setUp.step);
  connect(f.edit, &CNumEdit::changeNotice, this, onChange);
  connect(f.spin, &CNumSpin::changeNotice, this, onChange);
  return f;
}

void OutputDlg::BuildWholeEqControls() {
  m_allBypass = new TwoStateButton(kAllBypassButtonId, QString(), this);
  m_allBypass->SetAccent(QColor(0xC0, 0x6A, 0x1E));
  connect(m_allBypass, &QAbstractButton::clicked, this, &OutputDlg::OnAllBypass);

  m_allBypassCheck = new QCheckBox(this);
  m_allBypassCheck->setObjectName(QStringLiteral("check%1").arg(kAllBypassCheckId));
  m_allBypassCheck->setFont(skin::Font2());
  connect(m_allBypassCheck, &QAbstractButton::clicked, this, &OutputDlg::OnAllBypass);

  m_eqMode = new TwoStateButton(kEqModeId, QString(), this);
  connect(m_eqMode, &QAbstractButton::clicked, this, &OutputDlg::OnEqMode);

  m_eqReset = new TwoStateButton(kEqResetId, QString(), this);
  connect(m_eqReset, &QAbstractButton::clicked, this, &OutputDlg::OnEqReset);
}

// The whole-EQ controls keep to the right end of the two rows.
void OutputDlg::resizeEvent(QResizeEvent* event) {
  Panel::resizeEvent(event);
  m_background = QPixmap();
  const int x1 = width() - 8 - kWholeEqButtonWidth;
  const int x0 = x1 - kGap - kWholeEqButtonWidth;
  m_allBypass->setGeometry(x0, kRowATop, kWholeEqButtonWidth, kRowHeight);
  m_allBypassCheck->setGeometry(x1 + 6, kRowATop, kWholeEqButtonWidth - 6, kRowHeight);
  m_eqMode->setGeometry(x0, kRowBTop, kWholeEqButtonWidth, kRowHeight);
  m_eqReset->setGeometry(x1, kRowBTop, kWholeEqButtonWidth, kRowHeight);
}

int OutputDlg::Current() { return Host().Selection().Current(); }

bool OutputDlg::LinkingActive() { return Host().Selection().LinkingActive(); }

CNumEdit& OutputDlg::BandEdit(BandRow row, int band) {
  return *Column(band).edit[static_cast<std::size_t>(row)];
}

CNumSpin& OutputDlg::BandSpin(BandRow row, int band) {
  return *Column(band).spin[static_cast<std::size_t>(row)];
}

QList<CNumEdit*> OutputDlg::NumericEdits() const { return findChildren<CNumEdit*>(); }

// ---------------------------------------------------------------------------------------
// Showing the model

void OutputDlg::Refresh() { LoadChannel(); }

void OutputDlg::LoadChannel() {
  m_gesture->Close();
  // One repaint for the whole refill.
  setUpdatesEnabled(false);
  ReloadValues();
  ClearSelection();
  setUpdatesEnabled(true);
}

void OutputDlg::OnOutputsEdited() { ReloadValues(); }

void OutputDlg::ReloadValues() {
  ShowAllFlat();
  ShowEqMode();
  ShowBands();
  ShowCrossovers();
  ShowGainAndLimiter();
}

void OutputDlg::ShowBand(int band) {
  BandColumn& c = Column(band);
  const BandShown s = m_editor.Band(Current(), band);
  c.spin[0]->SetValue(std::clamp(s.frequency, kFrequencyMin, kFrequencyMax));
  c.spin[1]->SetValue(std::clamp(s.bandwidth, 0, kBandwidthIndexMax));
  c.spin[2]->SetValue(std::clamp(s.gain, 0, kGainIndexMax));
  c.slider->SetPos(s.gain);
  c.off->SetState(s.off ? 1 : 0);
}

void OutputDlg::ShowBands() {
  for (int b = 0; b < kOutputBandCount; ++b) ShowBand(b);
}

void OutputDlg::ShowAllFlat() {
  const bool on = m_editor.AllFlat(Current());
  m_allBypass->SetState(on ? 1 : 0);
  m_allBypassCheck->setChecked(on);
  emit allBypassShown(on);
}

void OutputDlg::ShowEqMode() {
  const bool graphic = m_editor.Graphic(Current());
  m_eqMode->SetState(graphic ? 1 : 0);
  for (BandColumn& c : m_columns) {
    for (BandRow row : {BandRow::kFrequency, BandRow::kBandwidth}) {
      c.edit[static_cast<std::size_t>(row)]->setEnabled(!graphic);
      c.spin[static_cast<std::size_t>(row)]->setEnabled(!graphic);
    }
  }
}

void OutputDlg::ShowCrossovers() {
  for (CrossoverSide side : {CrossoverSide::kHighPass, CrossoverSide::kLowPass}) {
    CrossoverHalf& h = Half(side);
    const CrossoverShown shown = m_editor.Crossovers().Shown(Current(), side);
    h.family->SetSelection(shown.family >= 0 && shown.family < kCrossoverFamilyCount ? shown.family
                                                                                     : -1);
    h.slope->SetSelection(FullSlopeEntryOf(shown.slope));
    // A record may hold a frequency outside the field's range; the field shows the nearest.
    h.spin->SetValue(std::clamp(shown.frequency, kFrequencyMin, kFrequencyMax));
  }
}

void OutputDlg::ShowGainAndLimiter() {
  const CKTV_OutData& out = Host().Data().Output(Current());
  m_gain.spin->SetValue(std::clamp(out.GainCode(), 0, kOutputGainCodeMax));
  m_threshold.spin->SetValue(std::clamp(out.ThresholdCode(), 0, kThresholdCodeMax));
  m_attack.spin->SetValue(std::clamp(out.AttackCode(), 0, kAttackCodeMax));
  const int release = out.ReleaseCode();
  m_release->SetSelection(release >= 0 && release < kReleaseEntryCount ? release : -1);
}

void OutputDlg::ApplyLanguage() {
  m_captions.frequency = Text(TextId::BandFrequencyCaption);
  m_captions.q = Text(TextId::BandQCaption);
  m_captions.gain = Text(TextId::GainCaption);
  m_captions.highPass = Text(TextId::HighPassCaption);
  m_captions.lowPass = Text(TextId::LowPassCaption);
  m_captions.outputGain = Text(TextId::GainCaption);
  m_captions.threshold = Text(TextId::LimiterThresholdCaption);
  m_captions.attack = Text(TextId::LimiterAttackCaption);
  m_captions.release = Text(TextId::LimiterReleaseCaption);
  const QString off = Text(TextId::BandOffButton);
  for (BandColumn& c : m_columns) c.off->setText(off);
  FillFamilies();
  m_allBypass->setText(Text(TextId::EqBypassButton));
  m_allBypassCheck->setText(Text(TextId::AllBypassCheck));
  m_eqMode->setText(Text(TextId::EqModeButton));
  m_eqReset->setText(Text(TextId::EqResetButton));
  m_background = QPixmap();
  update();
}

// The family names in the language of the moment; the selections stay.
void OutputDlg::FillFamilies() {
  QStringList families;
  for (int f = 0; f < kCrossoverFamilyCount; ++f) families << Text(FamilyText(f));
  for (CrossoverHalf& h : m_halves) h.family->SetItems(families);
}

// ---------------------------------------------------------------------------------------
// Band selection

QColor OutputDlg::MarkerColourOf(int band) const {
  return band == m_selectedBand ? SelectedMarkerColour() : MarkerColour();
}

void OutputDlg::SelectBand(int band, CNumEdit* edit) {
  if (m_activeEdit != nullptr && m_activeEdit != edit) {
    m_activeEdit->setProperty(BitmapSlider::kHighlightProperty, false);
  }
  m_activeEdit = edit;
  if (edit != nullptr) edit->setProperty(BitmapSlider::kHighlightProperty, true);
  if (band != m_selectedBand) {
    m_selectedBand = band;
    update(QRect(0, 0, width(), kTableBottom + 2));
  }
}

void OutputDlg::ClearSelection() {
  SelectBand(-1, nullptr);
  update(QRect(0, 0, width(), kTableBottom + 2));
}

// ---------------------------------------------------------------------------------------
// Band edits

void OutputDlg::OnBandFrequency(int band) {
  EditStep step(Host().History(), TextId::StepBand);
  m_editor.SetBandFrequency(Current(), band, Column(band).spin[0]->GetValue());
  AfterBandEdit(band, BandRow::kFrequency);
}

void OutputDlg::OnBandBandwidth(int band) {
  EditStep step(Host().History(), TextId::StepBand);
  m_editor.SetBandBandwidth(Current(), band, Column(band).spin[1]->GetValue());
  AfterBandEdit(band, BandRow::kBandwidth);
}

void OutputDlg::OnBandGainEdit(int band) {
  EditStep step(Host().History(), TextId::StepBand);
  const int value = Column(band).spin[2]->GetValue();
  Column(band).slider->SetPos(value);
  AfterGainEdit(band, value);
}

void OutputDlg::OnBandSlider(int band) {
  EditStep step(Host().History(), TextId::StepBand);
  const int value = Column(band).slider->GetPos();
  Column(band).spin[2]->SetValue(value);
  AfterGainEdit(band, value);
}

void OutputDlg::AfterGainEdit(int band, int value) {
  m_editor.SetBandGain(Current(), band, value);
  // The band may have gone off (0 dB): its button and "0.0" show it.
  Column(band).off->SetState(m_editor.Band(Current(), band).off ? 1 : 0);
  ShowAllFlat();
  Host().RedrawGraph(band);
  SelectBand(band, Column(band).edit[2]);
}

void OutputDlg::AfterBandEdit(int band, BandRow row) {
  ShowBand(band);
  Host().RedrawGraph(band);
  SelectBand(band, Column(band).edit[static_cast<std::size_t>(row)]);
}

void OutputDlg::OnBandOff(int band) {
  EditStep step(Host().History(), TextId::StepBand);
  m_editor.ToggleBandOff(Current(), band, Column(band).off->State() != 0);
  ShowBand(band);
  ShowAllFlat();
  Host().RedrawGraph(band);
  SelectBand(band, Column(band).edit[2]);
}

void OutputDlg::OnGraphEdited(int element) { BandFromGraph(element); }

void OutputDlg::BandFromGraph(int index) {
  if (index >= 0 && index < kOutputBandCount) {
    ShowBand(index);
    m_editor.BandFromGraph(Current(), index);
    ShowAllFlat();
    SelectBand(index, Column(index).edit[2]);
    return;
  }
  for (CrossoverSide side : {CrossoverSide::kHighPass, CrossoverSide::kLowPass}) {
    if (index == GraphElementOf(side)) {
      const CrossoverShown shown = m_editor.Crossovers().Shown(Current(), side);
      Half(side).spin->SetValue(std::clamp(shown.frequency, kFrequencyMin, kFrequencyMax));
    }
  }
}

// ---------------------------------------------------------------------------------------
// Crossovers, gain, limiter

void OutputDlg::OnFamilyChosen(CrossoverSide side, int family) {
  EditStep step(Host().History(), TextId::StepCrossover);
  m_editor.Crossovers().ChooseFamily(Current(), side, family);
  Host().RedrawGraph(GraphElementOf(side));
  Host().OutputsEdited(*this);
}

void OutputDlg::OnSlopeChosen(CrossoverSide side, int slope) {
  EditStep step(Host().History(), TextId::StepCrossover);
  m_editor.Crossovers().ChooseSlope(Current(), side, slope);
  Host().RedrawGraph(GraphElementOf(side));
  Host().OutputsEdited(*this);
}

void OutputDlg::OnCrossoverFrequency(CrossoverSide side) {
  EditStep step(Host().History(), TextId::StepCrossover);
  const CrossoverSide other =
      side == CrossoverSide::kHighPass ? CrossoverSide::kLowPass : CrossoverSide::kHighPass;
  CrossoverHalf& h = Half(side);
  const int stored = m_editor.Crossovers().SetFrequency(Current(), side, h.spin->GetValue(),
                                                        Half(other).spin->GetValue());
  h.spin->SetValue(stored);
  Host().RedrawGraph(GraphElementOf(side));
  Host().OutputsEdited(*this);
}

void OutputDlg::OnOutputGain() {
  EditStep step(Host().History(), TextId::StepGain);
  const int code = m_gain.spin->GetValue();
  m_gain.spin->SetValue(code);
  if (!m_editor.SetGain(Current(), code)) return;
  Host().RedrawGraph();
  Host().OutputsEdited(*this);
}

void OutputDlg::OnThreshold() {
  EditStep step(Host().History(), TextId::StepLimiter);
  const int code = m_threshold.spin->GetValue();
  m_threshold.spin->SetValue(code);
  if (m_editor.SetThreshold(Current(), code)) Host().OutputsEdited(*this);
}

void OutputDlg::OnAttack() {
  EditStep step(Host().History(), TextId::StepLimiter);
  const int code = m_attack.spin->GetValue();
  m_attack.spin->SetValue(code);
  if (m_editor.SetAttack(Current(), code)) Host().OutputsEdited(*this);
}

void OutputDlg::OnReleaseChosen(int code) {
  EditStep step(Host().History(), TextId::StepLimiter);
  if (m_editor.SetRelease(Current(), code)) Host().OutputsEdited(*this);
}

// ---------------------------------------------------------------------------------------
// Whole-EQ actions

void OutputDlg::OnAllBypass() {
  {
    EditStep step(Host().History(), TextId::StepAllBypass, StepTransfer::kWholeBlocks);
    m_editor.ToggleAllBypass(Host().Commands(), Current(), LinkingActive());
  }
  ShowBands();
  ShowAllFlat();
  Host().RedrawGraph();
}

void OutputDlg::OnEqMode() {
  const bool graphic = m_eqMode->State() == 0;
  if (!Host().Question(
          Text(graphic ? TextId::EqToGraphicQuestion : TextId::EqToParametricQuestion))) {
    return;
  }
  {
    EditStep step(Host().History(), TextId::StepEqMode, StepTransfer::kWholeBlocks);
    m_editor.SwitchEqMode(Host().Commands(), Current(), graphic, LinkingActive());
  }
  LoadChannel();
  Host().RedrawGraph();
  Host().OutputsEdited(*this);
}

void OutputDlg::OnEqReset() {
  if (!Host().Question(Text(TextId::ResetAllEq))) return;
  {
    EditStep step(Host().History(), TextId::StepEqReset, StepTransfer::kWholeBlocks);
    m_editor.ResetEq(Host().Commands(), Current(), LinkingActive());
  }
  LoadChannel();
  Host().RedrawGraph();
  Host().OutputsEdited(*this);
}

// ---------------------------------------------------------------------------------------
// Keyboard: Enter travels the table, Left and Right the sliders; no key closes anything.

bool OutputDlg::eventFilter(QObject* watched, QEvent* event) {
  const auto role = m_roles.constFind(watched);
  if (role == m_roles.constEnd()) return Panel::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    return HandleKey(*role, static_cast<QKeyEvent*>(event));
  }
  if (event->type() == QEvent::Wheel && role->kind == Role::kBandEdit) {
    auto* edit = static_cast<CNumEdit*>(watched);
    if (!edit->isEnabled()) return false;
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (delta != 0) BandSpin(role->cell.row, role->cell.band).StepBy(delta > 0 ? 1 : -1);
    return true;
  }
  return Panel::eventFilter(watched, event);
}

bool OutputDlg::HandleKey(const Role& role, QKeyEvent* key) {
  const int k = key->key();
  const bool enter = k == Qt::Key_Return || k == Qt::Key_Enter;
  if (role.kind == Role::kSlider && (k == Qt::Key_Left || k == Qt::Key_Right)) {
    GainSlider(NextSlider(role.cell.band, k == Qt::Key_Left ? -1 : 1)).TakeFocus();
    return true;
  }
  if (role.kind == Role::kBandEdit) {
    if (enter) {
      const BandCell next = NextCellOnEnter(role.cell, m_editor.Graphic(Current()));
      BandEdit(next.row, next.band).setFocus(Qt::TabFocusReason);
      return true;
    }
    if (k == Qt::Key_Up || k == Qt::Key_Down) {
      BandSpin(role.cell.row, role.cell.band).StepBy(k == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  if (enter || k == Qt::Key_Escape) {
    setFocus(Qt::OtherFocusReason);
    return true;
  }
  return false;
}

void OutputDlg::keyPressEvent(QKeyEvent* event) {
  const int k = event->key();
  if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape) {
    setFocus(Qt::OtherFocusReason);
    event->accept();
    return;
  }
  Panel::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------
// Painting. What does not change with the selection (the body, the grey markers, the
// captions and rules) is drawn once into a picture, so a repaint is a copy and the marked
// band on top of it.

void OutputDlg::paintEvent(QPaintEvent* /*event*/) {
  const qreal ratio = devicePixelRatioF();
  if (m_background.isNull() || m_background.size() != size() * ratio) {
    m_background = QPixmap(size() * ratio);
    m_background.setDevicePixelRatio(ratio);
    m_background.fill(Qt::transparent);
    QPainter b(&m_background);
    PaintBackground(b);
  }
  QPainter p(this);
  p.drawPixmap(0, 0, m_background);
  if (m_selectedBand < 0) return;
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF column(ColumnX(m_selectedBand) - 0.5, kMarkerTop - 2.5, kCellWidth + 1.0,
                      kTableBottom - kMarkerTop + 5.0);
  p.setPen(QPen(QColor(255, 0, 0, 140), 1.0));
  p.setBrush(QColor(255, 0, 0, 26));
  p.drawRoundedRect(column, 4, 4);
  PaintMarker(p, m_selectedBand);
}

void OutputDlg::PaintMarker(QPainter& p, int band) const {
  const QRectF marker(ColumnX(band) + 4.5, kMarkerTop + 0.5, kCellWidth - 9.0, kMarkerHeight - 1.0);
  p.setPen(Qt::NoPen);
  p.setBrush(MarkerColourOf(band));
  p.drawRoundedRect(marker, 3, 3);
  p.setFont(skin::Font(kBandFontPixels));
  p.setPen(band == m_selectedBand ? QColor(Qt::white) : skin::Text());
  p.drawText(marker, Qt::AlignCenter, QString::number(band + 1));
}

void OutputDlg::PaintBackground(QPainter& p) {
  PaintBody(p);
  p.setRenderHint(QPainter::Antialiasing, true);
  const int selected = m_selectedBand;
  m_selectedBand = -1;
  for (int b = 0; b < kOutputBandCount; ++b) PaintMarker(p, b);
  m_selectedBand = selected;

  p.setPen(skin::Text());
  p.setFont(skin::Font2());
  const std::array<const QString*, 3> rowCaptions = {&m_captions.frequency, &m_captions.q,
                                                     &m_captions.gain};
  for (std::size_t r = 0; r < rowCaptions.size(); ++r) {
    p.drawText(QRect(kCaptionLeft, kRowTop[r], kCaptionWidth, kEditHeight),
               Qt::AlignVCenter | Qt::AlignLeft, *rowCaptions[r]);
  }
  p.drawText(CaptionRect(kHighPassLeft, kXoCaptionWidth, kRowATop), Qt::AlignCenter,
             m_captions.highPass);
  p.drawText(CaptionRect(kLowPassLeft, kXoCaptionWidth, kRowATop), Qt::AlignCenter,
             m_captions.lowPass);
  p.drawText(CaptionRect(kGainCaptionLeft, kGainCaptionWidth, kRowATop),
             Qt::AlignVCenter | Qt::AlignRight, m_captions.outputGain);
  p.drawText(CaptionRect(kThresholdCaptionLeft, kThresholdCaptionWidth, kRowBTop),
             Qt::AlignVCenter | Qt::AlignLeft, m_captions.threshold);
  p.drawText(CaptionRect(kAttackCaptionLeft, kAttackCaptionWidth, kRowBTop),
             Qt::AlignVCenter | Qt::AlignRight, m_captions.attack);
  p.drawText(CaptionRect(kReleaseCaptionLeft, kReleaseCaptionWidth, kRowBTop),
             Qt::AlignVCenter | Qt::AlignRight, m_captions.release);

  // A rule between the table and the channel's controls, and between the groups.
  p.setPen(QPen(QColor(0xC6, 0xCA, 0xD8), 1.0));
  p.drawLine(QPointF(8, kRuleY + 0.5), QPointF(width() - 8, kRuleY + 0.5));
  const std::array<QPoint, 4> separators = {
      QPoint(kLowPassLeft - 8, kRowATop), QPoint(kGainCaptionLeft - 8, kRowATop),
      QPoint(kAttackCaptionLeft - 8, kRowBTop), QPoint(kReleaseCaptionLeft - 8, kRowBTop)};
  for (QPoint s : separators) {
    p.drawLine(QPointF(s.x() + 0.5, s.y() + 3), QPointF(s.x() + 0.5, s.y() + kRowHeight - 3));
  }
}

}  // namespace vantor
