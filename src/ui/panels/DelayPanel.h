#pragma once
// The delay fields of the car picture: under every speaker-position button the delay of
// the output that plays the position, shown and hidden with the button, in milliseconds,
// centimetres or inches (unit buttons 2285..2287). A field edit acts on that output and
// makes it current. The align button (2288) opens the time alignment from the speakers'
// distances. The panel lies on the car picture, below its buttons, and draws nothing of
// its own.

#include <map>

#include "tuning/DelayFields.h"
#include "ui/panels/Panel.h"

namespace vantor {

class AlignDlg;
class BitButton;
class CNumEdit;
class CNumSpin;

class DelayPanel : public Panel {
  Q_OBJECT

 public:
  static constexpr int kAlignButtonId = 2288;

  DelayPanel(PanelHost& host, QWidget* parent);

  // Reloads the fields from the outputs and shows those of the speaker types in use.
  void Refresh() override;
  void ApplyLanguage() override;
  // Another panel changed outputs (a delay among them, perhaps).
  void OnOutputsEdited() override { Refresh(); }

  // Field `field` committed its value (edit or spin).
  void OnFieldChanged(int field);
  void ChooseUnit(DelayUnit unit);
  DelayUnit Unit() const { return m_unit; }
  // After an all-presets file was loaded: the selected listening position's six delays
  // into fields 2580..2585.
  void ShowListeningPosition();

  CNumEdit* Field(int id) const;
  CNumSpin* Spin(int id) const;
  BitButton& UnitButton(DelayUnit unit) const;
  BitButton& AlignButton() const { return *m_align; }
  // The time alignment dialog, made on first use; OpenAlignDialog shows it over the form.
  AlignDlg& AlignDialog();
  void OpenAlignDialog();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct FieldControls {
    CNumEdit* edit = nullptr;
    CNumSpin* spin = nullptr;
  };

  void ShowFieldsInUse();

  DelayEditor m_editor;
  std::map<int, FieldControls> m_fields;
  std::array<BitButton*, 3> m_units{};
  BitButton* m_align = nullptr;
  AlignDlg* m_alignDialog = nullptr;
  DelayUnit m_unit = DelayUnit::kMilliseconds;
};

}  // namespace vantor
