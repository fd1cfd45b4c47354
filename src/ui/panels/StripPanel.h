#pragma once
// The channel strips of the main form: for each of the eight outputs a select button, its
// speaker-type button with the type menu, on/off, phase, the gain edit (with its hidden
// spin) and slider, the show-curve button and the CH label; then the master strip (master
// on, volume edit, spin and slider). Each control acts on the model; the strips follow
// the channel selection (select buttons, show-curve buttons, labels).

#include <QMenu>
#include <array>
#include <memory>

#include "model/DataDefine.h"
#include "ui/panels/Panel.h"

class QLabel;

namespace vantor {

class BitButton;
class BitmapSlider;
class CNumEdit;
class CNumSpin;
class GestureStep;

class StripPanel : public Panel {
  Q_OBJECT

 public:
  static constexpr int kSelectBaseId = 6703;
  static constexpr int kSpeakerTypeBaseId = 3400;
  static constexpr int kOnBaseId = 6052;
  static constexpr int kPhaseBaseId = 1944;
  static constexpr int kGainEditBaseId = 8630;
  static constexpr int kGainSpinBaseId = 8610;
  static constexpr int kGainSliderBaseId = 8650;
  static constexpr int kCurveBaseId = 2103;
  static constexpr int kLabelBaseId = 2428;
  static constexpr int kMasterEditId = 2225;
  static constexpr int kMasterSpinId = 2226;
  static constexpr int kMasterSliderId = 2227;
  static constexpr int kMasterOnId = 2280;

  // Label colours: the curve of the output is on the graph, or not.
  static QColor LabelShownColour() { return {235, 20, 20}; }
  static QColor LabelHiddenColour() { return {137, 137, 137}; }

  StripPanel(PanelHost& host, QWidget* parent);
  ~StripPanel() override;

  void Refresh() override;
  void ApplyLanguage() override;
  void OnOutputsEdited() override;
  void OnModelEdited() override;

  // What the controls do, callable as a click would.
  void OnSelectButton(int channel);
  void OnOutputOnButton(int channel);
  void OnPhaseButton(int channel);
  // The gain edit or spin of output i committed a value.
  void OnGainEditChanged(int channel);
  // The gain slider of output i moved (moving or moved).
  void OnGainSlider(int channel);
  void OnShowCurveButton(int channel);
  // Selects output i if needed and fills the speaker-type menu for it (OpenSpeakerTypeMenu
  // also shows it under the button).
  QMenu& PrepareSpeakerTypeMenu(int channel);
  void OpenSpeakerTypeMenu(int channel);
  // The current output's speaker type := type (a menu entry).
  void ChooseSpeakerType(int type);
  void OnMasterSlider();
  void OnMasterEditChanged();
  void OnMasterOnButton();

  // The controls, for tests.
  BitButton& SelectButton(int channel) { return *At(channel).select; }
  BitButton& TypeButton(int channel) { return *At(channel).speakerType; }
  BitButton& OnButton(int channel) { return *At(channel).on; }
  BitButton& PhaseButton(int channel) { return *At(channel).phase; }
  CNumEdit& GainEdit(int channel) { return *At(channel).gainEdit; }
  CNumSpin& GainSpin(int channel) { return *At(channel).gainSpin; }
  BitmapSlider& GainSlider(int channel) { return *At(channel).gainSlider; }
  BitButton& CurveButton(int channel) { return *At(channel).curve; }
  QLabel& Label(int channel) { return *At(channel).label; }
  QLabel& MasterCaption() { return *m_master.caption; }
  BitButton& MasterOnButton() { return *m_master.on; }
  CNumEdit& MasterEdit() { return *m_master.edit; }
  CNumSpin& MasterSpin() { return *m_master.spin; }
  BitmapSlider& MasterSlider() { return *m_master.slider; }
  bool LabelShown(int channel) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Strip {
    BitButton* select = nullptr;         // 6703 + i
    BitButton* speakerType = nullptr;    // 3400 + i
    BitButton* on = nullptr;             // 6052 + i
    BitButton* phase = nullptr;          // 1944 + i
    CNumEdit* gainEdit = nullptr;        // 8630 + i
    CNumSpin* gainSpin = nullptr;        // 8610 + i, hidden
    BitmapSlider* gainSlider = nullptr;  // 8650 + i
    BitButton* curve = nullptr;          // 2103 + i
    QLabel* label = nullptr;             // 2428 + i, "CH1".."CH8"
  };
  struct Master {
    QLabel* caption = nullptr;
    BitButton* on = nullptr;         // 2280
    CNumEdit* edit = nullptr;        // 2225
    CNumSpin* spin = nullptr;        // 2226
    BitmapSlider* slider = nullptr;  // 2227
  };

  Strip& At(int channel) { return m_strips[static_cast<std::size_t>(channel)]; }
  const Strip& At(int channel) const { return m_strips[static_cast<std::size_t>(channel)]; }
  void BuildStrip(int channel);
  void BuildMaster();
  void FollowSelection();
  void SetLabelShown(int channel, bool shown);
  void ShowSwitch(BitButton& button, bool on);
  void ShowGain(int channel);
  // A gain code from the strip's edit or slider into the model; linked strips follow.
  void StoreGain(int channel, int code);
  void ShowMaster();
  void ShowSpeakerTypes();
  // Every value the strips show, from the model.
  void ShowValues();

  std::array<Strip, rec::kOutputCount> m_strips{};
  Master m_master;
  std::unique_ptr<QMenu> m_typeMenu;
  GestureStep* m_gesture = nullptr;
};

}  // namespace vantor
