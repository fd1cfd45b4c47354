#pragma once
// "音效保存" / "Source Save": a left click on a slot names it and stores the current program
// there; the two options choose what the file button saves, the current program as a
// ".dsps" file or (read from the processor first) all presets as a ".dspa" file.

#include "ui/dialogs/PresetDlg.h"

namespace vantor {

class TwoStateButton;

class SourceSaveDlg : public PresetDlg {
  Q_OBJECT

 public:
  static constexpr QSize kSize{452, 222};
  static constexpr int kFirstSlotId = 2419;
  static constexpr int kCurrentOptionId = 2425;
  static constexpr int kAllOptionId = 2426;
  static constexpr int kFileButtonId = 2427;

  explicit SourceSaveDlg(CVantorView& view);

  void OnSlotClicked(int slot) override;
  // The options: the current program (selected when the dialog opens) or all presets.
  void ChooseAllPresets(bool all);
  bool AllPresetsChosen() const { return m_all; }
  // The file button: saves what the options say.
  void SaveToFile();
  TwoStateButton& CurrentOption() { return *m_currentOption; }
  TwoStateButton& AllOption() { return *m_allOption; }
  TwoStateButton& FileButton() { return *m_file; }

 protected:
  QString LabelForName(const QString& name) const override;

 private:
  TwoStateButton* m_currentOption = nullptr;
  TwoStateButton* m_allOption = nullptr;
  TwoStateButton* m_file = nullptr;
  bool m_all = false;
};

}  // namespace vantor
