#pragma once
// The crossover panel: the current output's high-pass and low-pass, each with its family
// list, its slope list (refilled by family) and its frequency edit with spin. It follows
// the channel selection; its edits go to the output's link group, and the graph redraws
// with the edited filter's label. A crossover dragged on the graph updates the frequency
// field without refilling the lists.

#include <array>

#include "tuning/CrossoverEditor.h"
#include "ui/panels/Panel.h"

namespace vantor {

class ComBoxBtn;
class CNumEdit;
class CNumSpin;
class GestureStep;

class CrossoverPanel : public Panel {
  Q_OBJECT

 public:
  static constexpr int kHighPassEditId = 5500;
  static constexpr int kHighPassSpinId = 5501;
  static constexpr int kLowPassEditId = 5502;
  static constexpr int kLowPassSpinId = 5503;
  static constexpr int kHighPassFamilyId = 5510;
  static constexpr int kHighPassSlopeId = 5511;
  static constexpr int kLowPassFamilyId = 5512;
  static constexpr int kLowPassSlopeId = 5513;

  CrossoverPanel(PanelHost& host, QWidget* parent);

  void Refresh() override;
  void ApplyLanguage() override;
  void OnGraphEdited(int element) override;
  void OnOutputsEdited() override;

  // Both halves from the current output's filters: families, slope lists, frequencies.
  void Refill();
  // What the controls do, callable as a choice or an edit would.
  void OnFamilyChosen(CrossoverSide side, int family);
  void OnSlopeChosen(CrossoverSide side, int entry);
  void OnFrequencyChanged(CrossoverSide side);

  ComBoxBtn& FamilyList(CrossoverSide side) { return *Half(side).family; }
  ComBoxBtn& SlopeList(CrossoverSide side) { return *Half(side).slope; }
  CNumEdit& FrequencyEdit(CrossoverSide side) { return *Half(side).edit; }
  CNumSpin& FrequencySpin(CrossoverSide side) { return *Half(side).spin; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct HalfControls {
    ComBoxBtn* family = nullptr;
    ComBoxBtn* slope = nullptr;
    CNumEdit* edit = nullptr;
    CNumSpin* spin = nullptr;
    QString caption;
  };

  HalfControls& Half(CrossoverSide side) {
    return m_halves[side == CrossoverSide::kHighPass ? 0 : 1];
  }
  void BuildHalf(CrossoverSide side, int left);
  void FillFamilies(HalfControls& half);
  void RefillHalf(CrossoverSide side);
  int Current();

  CrossoverEditor m_editor;
  GestureStep* m_gesture = nullptr;
  std::array<HalfControls, 2> m_halves{};
};

}  // namespace vantor
