#pragma once
// The limiter and routing dialog: a window of its own without a caption bar, opened from the
// form's button 3418, one at a time, moved by dragging its top 30 pixels and closed by its
// close button. It edits the routing matrix (for each output row the level 0..100 of each of
// 14 sources, a vertical slider, a numeric edit and a spin per cell) and the three values of
// the global limiter block. Enter in a level edit moves on to the next one, from the last
// back to the first. The rules are LimiterRoutingEditor's; every edit is one undo step, a
// slider drag or a held spin one step from press to release.

#include <QList>
#include <QPoint>
#include <QWidget>
#include <array>

#include "tuning/LimiterRoutingEditor.h"

namespace vantor {

class BitmapSlider;
class CNumEdit;
class CNumSpin;
class ComBoxBtn;
class GestureStep;
class PanelHost;
class xSkinButton;

class LimiterDlg : public QWidget {
  Q_OBJECT

 public:
  // Cell (output o, source s) adds 14 · o + s to the base.
  static constexpr int kSliderBaseId = 2435;
  static constexpr int kEditBaseId = 2582;
  static constexpr int kSpinBaseId = 2730;
  static constexpr std::array<int, kLimiterFieldCount> kLimiterEditIds{2390, 2391, 2392};
  static constexpr std::array<int, kLimiterFieldCount> kLimiterSpinIds{2393, 2394, 2395};
  static constexpr int kCloseId = 2281;
  // The band at the top that moves the dialog.
  static constexpr int kDragHeight = 30;

  LimiterDlg(PanelHost& host, QWidget* parent);
  ~LimiterDlg() override;

  // Every level, the row captions and the limiter values from the model.
  void Refresh();
  void ApplyLanguage();

  // What the controls do, callable as the control would.
  void OnLevelEdited(int index);  // the edit or spin of cell `index` committed
  void OnLevelSlider(int index);
  void OnLimiterField(int field);
  void OnReleaseChosen(int entry);

  // --- The controls, for tests.
  BitmapSlider& LevelSlider(RoutingCell c) { return *At(c).slider; }
  CNumEdit& LevelEdit(RoutingCell c) { return *At(c).edit; }
  CNumSpin& LevelSpin(RoutingCell c) { return *At(c).spin; }
  CNumEdit& LimiterEdit(int field) { return *m_limiter[static_cast<std::size_t>(field)].edit; }
  CNumSpin& LimiterSpin(int field) { return *m_limiter[static_cast<std::size_t>(field)].spin; }
  ComBoxBtn& ReleaseList() { return *m_release; }
  xSkinButton& CloseButton() { return *m_close; }
  QList<CNumEdit*> NumericEdits() const;
  QString SourceCaption(int source) const;
  QString OutputCaption(int output) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Cell {
    BitmapSlider* slider = nullptr;
    CNumEdit* edit = nullptr;
    CNumSpin* spin = nullptr;
  };
  struct Field {
    CNumEdit* edit = nullptr;
    CNumSpin* spin = nullptr;
  };

  Cell& At(RoutingCell c) { return m_cells[static_cast<std::size_t>(RoutingIndexOf(c))]; }
  void BuildCell(int index);
  void BuildLimiterField(int field, int left);
  void SetUpSpin(CNumSpin* spin);
  void ShowLevel(int index, int level);

  PanelHost& m_host;
  LimiterRoutingEditor m_editor;
  GestureStep* m_gesture = nullptr;
  std::array<Cell, kRoutingCellCount> m_cells{};
  std::array<Field, kLimiterFieldCount> m_limiter{};
  ComBoxBtn* m_release = nullptr;
  xSkinButton* m_close = nullptr;

  // Texts the dialog draws itself.
  QString m_title, m_matrixCaption, m_outputsCaption, m_limiterCaption;
  std::array<QString, kLimiterFieldCount> m_fieldCaptions;
  std::array<QString, rec::kMixerSources> m_sources;
  std::array<QString, rec::kOutputCount> m_outputs;

  bool m_dragging = false;
  QPoint m_dragOffset;
};

}  // namespace vantor
