#pragma once
// "音效调用" / "Source Load": a left click on a slot recalls it while the program is in step
// with the processor; the file button loads a ".dsps" or ".dspa" file and sends it (the
// current program, or all presets) to the processor.

#include "ui/dialogs/PresetDlg.h"

namespace vantor {

class TwoStateButton;

class SourceLoadDlg : public PresetDlg {
  Q_OBJECT

 public:
  static constexpr QSize kSize{452, 176};
  static constexpr int kFirstSlotId = 2401;
  static constexpr int kFileButtonId = 2407;

  explicit SourceLoadDlg(CVantorView& view);

  void OnSlotClicked(int slot) override;
  // The file button: chooses a preset file and loads it.
  void LoadFromFile();
  TwoStateButton& FileButton() { return *m_file; }

 protected:
  QString LabelForName(const QString& name) const override { return name; }

 private:
  TwoStateButton* m_file = nullptr;
};

}  // namespace vantor
