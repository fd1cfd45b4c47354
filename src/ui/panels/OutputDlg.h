#pragma once
// The output channel dialog, in the form's bottom band: the current output's 31 bands as a
// table (frequency, Q and gain edits, the gain slider, the band marker and the "BY" band-off
// button per column), its crossovers with all seven slopes, its gain and limiter, and the
// whole-EQ actions (all-bypass, EQ mode, reset). It follows the channel selection; the rules
// are OutputChannelEditor's, this panel shows and forwards. Every edit is one undo step; a
// slider drag or a held spin is one step from press to release.
//
// The band spins have no room in a 39-pixel column: they stay hidden and step with the
// mouse wheel over the edit or the Up and Down keys in it.

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <array>
#include <functional>

#include "tuning/BandTableTravel.h"
#include "tuning/OutputChannelEditor.h"
#include "ui/panels/Panel.h"

class QCheckBox;

namespace vantor {

class BitButton;
class BitmapSlider;
class CNumEdit;
class CNumSpin;
class ComBoxBtn;
class GestureStep;
class TwoStateButton;

class OutputDlg : public Panel {
  Q_OBJECT

 public:
  // Control ids: band i adds i to the base.
  static constexpr int kFrequencyEditBaseId = 5200;
  static constexpr int kFrequencySpinBaseId = 5240;
  static constexpr int kBandwidthEditBaseId = 4500;
  static constexpr int kBandwidthSpinBaseId = 4540;
  static constexpr int kGainEditBaseId = 5000;
  static constexpr int kGainSpinBaseId = 5040;
  static constexpr int kSliderBaseId = 5100;
  static constexpr int kBandOffBaseId = 5320;
  static constexpr int kHighPassFamilyId = 1001;
  static constexpr int kHighPassSlopeId = 1014;
  static constexpr int kHighPassEditId = 1004;
  static constexpr int kHighPassSpinId = 1351;
  static constexpr int kLowPassFamilyId = 1013;
  static constexpr int kLowPassSlopeId = 1015;
  static constexpr int kLowPassEditId = 1005;
  static constexpr int kLowPassSpinId = 1352;
  static constexpr int kOutputGainEditId = 1625;
  static constexpr int kOutputGainSpinId = 1626;
  static constexpr int kThresholdEditId = 1010;
  static constexpr int kThresholdSpinId = 1308;
  static constexpr int kAttackEditId = 1609;
  static constexpr int kAttackSpinId = 1613;
  static constexpr int kReleaseListId = 1614;
  static constexpr int kAllBypassButtonId = 1976;
  static constexpr int kAllBypassCheckId = 1870;
  static constexpr int kEqModeId = 5686;
  static constexpr int kEqResetId = 5687;

  // Band markers: the selected band's, and the others'.
  static QColor SelectedMarkerColour() { return {255, 0, 0}; }
  static QColor MarkerColour() { return {200, 200, 200}; }

  OutputDlg(PanelHost& host, QWidget* parent);
  ~OutputDlg() override;

  void Refresh() override;
  void ApplyLanguage() override;
  void OnGraphEdited(int element) override;
  void OnOutputsEdited() override;

  // Every control from the current output; no band selected.
  void LoadChannel();
  // The graph moved element `index` (band 0..30, high-pass 31, low-pass 32).
  void BandFromGraph(int index);

  // What the controls do, callable as the control would.
  void OnBandFrequency(int band);
  void OnBandBandwidth(int band);
  void OnBandGainEdit(int band);
  void OnBandSlider(int band);
  void OnBandOff(int band);
  void OnFamilyChosen(CrossoverSide side, int family);
  void OnSlopeChosen(CrossoverSide side, int slope);
  void OnCrossoverFrequency(CrossoverSide side);
  void OnOutputGain();
  void OnThreshold();
  void OnAttack();
  void OnReleaseChosen(int code);
  // All-bypass: buttons 1976 and 1870 of the dialog and 2388 of the form.
  void OnAllBypass();
  void OnEqMode();
  void OnEqReset();

  // --- The controls, for tests.
  CNumEdit& BandEdit(BandRow row, int band);
  CNumSpin& BandSpin(BandRow row, int band);
  BitmapSlider& GainSlider(int band) { return *Column(band).slider; }
  BitButton& BandOffButton(int band) { return *Column(band).off; }
  int SelectedBand() const { return m_selectedBand; }
  QColor MarkerColourOf(int band) const;
  CNumEdit* ActiveEdit() const { return m_activeEdit; }
  ComBoxBtn& FamilyList(CrossoverSide side) { return *Half(side).family; }
  ComBoxBtn& SlopeList(CrossoverSide side) { return *Half(side).slope; }
  CNumEdit& CrossoverEdit(CrossoverSide side) { return *Half(side).edit; }
  CNumSpin& CrossoverSpin(CrossoverSide side) { return *Half(side).spin; }
  CNumEdit& OutputGainEdit() { return *m_gain.edit; }
  CNumSpin& OutputGainSpin() { return *m_gain.spin; }
  CNumEdit& ThresholdEdit() { return *m_threshold.edit; }
  CNumSpin& ThresholdSpin() { return *m_threshold.spin; }
  CNumEdit& AttackEdit() { return *m_attack.edit; }
  CNumSpin& AttackSpin() { return *m_attack.spin; }
  ComBoxBtn& ReleaseList() { return *m_release; }
  TwoStateButton& AllBypassButton() { return *m_allBypass; }
  QCheckBox& AllBypassCheck() { return *m_allBypassCheck; }
  TwoStateButton& EqModeButton() { return *m_eqMode; }
  TwoStateButton& EqResetButton() { return *m_eqReset; }
  // Every numeric edit of the dialog.
  QList<CNumEdit*> NumericEdits() const;

 signals:
  // The all-bypass state shown, for the form's button 2388.
  void allBypassShown(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct BandColumn {
    std::array<CNumEdit*, 3> edit{};  // by BandRow: frequency, bandwidth, gain
    std::array<CNumSpin*, 3> spin{};
    BitmapSlider* slider = nullptr;
    BitButton* off = nullptr;
  };
  struct CrossoverHalf {
    ComBoxBtn* family = nullptr;
    ComBoxBtn* slope = nullptr;
    CNumEdit* edit = nullptr;
    CNumSpin* spin = nullptr;
  };
  struct Field {
    CNumEdit* edit = nullptr;
    CNumSpin* spin = nullptr;
  };
  struct FieldSetUp {
    int editId, spinId, mode, maximum;
    double scale, offset;
    TextId step;  // the undo step of a held spin
  };
  // What a watched control is, for the keyboard.
  struct Role {
    enum Kind { kBandEdit, kSlider, kOtherEdit } kind = kOtherEdit;
    BandCell cell;
  };

  BandColumn& Column(int band) { return m_columns[static_cast<std::size_t>(band)]; }
  CrossoverHalf& Half(CrossoverSide side) {
    return m_halves[side == CrossoverSide::kHighPass ? 0 : 1];
  }
  int Current();
  bool LinkingActive();
  void BuildColumn(int band);
  void BuildCrossoverHalf(CrossoverSide side, int left);
  // A numeric edit with its spin beside it in `rect`; both report to `onChange`.
  Field BuildField(const FieldSetUp& setUp, QRect rect, const std::function<void()>& onChange);
  void BuildWholeEqControls();
  void SetUpSpin(CNumSpin* spin);

  // The values of the current output, keeping the band selection.
  void ReloadValues();
  void ShowBand(int band);
  void ShowBands();
  void ShowAllFlat();
  void ShowEqMode();
  void ShowCrossovers();
  void ShowGainAndLimiter();
  void FillFamilies();
  // The band's marker red and `edit` the highlighted one; the previous ones plain again.
  void SelectBand(int band, CNumEdit* edit);
  void ClearSelection();
  void AfterBandEdit(int band, BandRow row);
  void AfterGainEdit(int band, int value);
  bool HandleKey(const Role& role, QKeyEvent* key);
  void PaintBackground(QPainter& p);
  void PaintMarker(QPainter& p, int band) const;

  OutputChannelEditor m_editor;
  GestureStep* m_gesture = nullptr;
  std::array<BandColumn, kOutputBandCount> m_columns{};
  std::array<CrossoverHalf, 2> m_halves{};
  Field m_gain;
  Field m_threshold;
  Field m_attack;
  ComBoxBtn* m_release = nullptr;
  TwoStateButton* m_allBypass = nullptr;
  QCheckBox* m_allBypassCheck = nullptr;
  TwoStateButton* m_eqMode = nullptr;
  TwoStateButton* m_eqReset = nullptr;
  QHash<QObject*, Role> m_roles;

  int m_selectedBand = -1;
  CNumEdit* m_activeEdit = nullptr;

  // The body, grey markers, captions and rules, drawn once for every repaint.
  QPixmap m_background;
  // Texts drawn by the panel itself.
  struct Captions {
    QString frequency, q, gain, highPass, lowPass, outputGain, threshold, attack, release;
  } m_captions;
};

}  // namespace vantor
