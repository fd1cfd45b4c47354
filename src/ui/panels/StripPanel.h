#pragma once
// The channel strips of the main form: for each of the eight outputs a select button, its
// speaker-type button, on/off, phase, the gain edit (with its hidden spin) and slider, the
// show-curve button and the CH label; then the master strip (master on, volume edit, spin
// and slider). The panel only builds and places the controls; the main form acts on them.

#include <QWidget>
#include <array>

class QLabel;

namespace vantor {

class BitButton;
class BitmapSlider;
class CNumEdit;
class CNumSpin;

struct ChannelStripControls {
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

struct MasterStripControls {
  QLabel* caption = nullptr;
  BitButton* on = nullptr;         // 2280
  CNumEdit* edit = nullptr;        // 2225
  CNumSpin* spin = nullptr;        // 2226
  BitmapSlider* slider = nullptr;  // 2227
};

class StripPanel : public QWidget {
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

  explicit StripPanel(QWidget* parent = nullptr);

  ChannelStripControls& Strip(int channel) { return m_strips[static_cast<std::size_t>(channel)]; }
  MasterStripControls& Master() { return m_master; }

  void SetLabelShown(int channel, bool shown);
  bool LabelShown(int channel) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildStrip(int channel);
  void BuildMaster();

  std::array<ChannelStripControls, 8> m_strips{};
  MasterStripControls m_master;
};

}  // namespace vantor
