#pragma once
// The measurement dialog: a small window over the form for the current output's
// measurement (import, removal, level shift), the layers the graph shows, the target
// curve, and the automatic EQ (its range, boost limit and band count, a preview drawn on
// the graph, and Apply as one undo step, so that the bands reach the processor as ordinary
// edits). It follows the channel selection; every rule is MeasureSession's.

#include <QWidget>
#include <optional>

#include "measure/GraphOverlay.h"
#include "measure/TargetCurve.h"
#include "text/TextCatalog.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vantor {

class MeasureSession;
class PanelHost;

class MeasureDlg : public QWidget {
  Q_OBJECT

 public:
  MeasureDlg(PanelHost& host, MeasureSession& session, QWidget* parent);

  // Shows the current output's measurement and what the session holds for it.
  void Refresh();
  void ApplyLanguage();

  // What the buttons do once their file chooser has a file (tests call these directly).
  // False, with the file and the reason in a message, when the file is refused.
  bool ImportFile(const QString& path);
  bool LoadHouseCurveFile(const QString& path);
  void Remove();
  // Fits the current output; the preview is drawn on the graph. False with a message when
  // the fit is refused.
  bool Preview();
  // Sets the previewed bands as one undo step.
  void Apply();
  void Discard();

  QDoubleSpinBox& ShiftSpin() { return *m_shift; }
  QCheckBox& LayerBox(LayerKind kind);
  QComboBox& TargetList() { return *m_target; }
  QCheckBox& PassbandBox() { return *m_passband; }
  QSpinBox& FromSpin() { return *m_from; }
  QSpinBox& ToSpin() { return *m_to; }
  QDoubleSpinBox& BoostSpin() { return *m_boost; }
  QSpinBox& BandsSpin() { return *m_bands; }
  QPushButton& PreviewButton() { return *m_preview; }
  QPushButton& ApplyButton() { return *m_apply; }
  QLabel& SourceLabel() { return *m_source; }
  QLabel& ResultLabel() { return *m_result; }

 signals:
  // The session changed what the graph draws (and what the measurement file keeps).
  void measurementsChanged();
  // Apply set the current output's bands.
  void bandsApplied();

 private:
  int Current() const;
  void ChooseMeasurement();
  void ChooseHouseCurve();
  void OnShift(double db);
  void OnLayers();
  void OnTarget(int index);
  void OnPassband();
  void FillTargets();
  void ShowRange();
  void ShowResult();
  void Changed();
  QString ErrorText(TextId prefix, const QString& path, const MeasureError& error);

  PanelHost& m_host;
  MeasureSession& m_session;
  std::optional<TargetCurve> m_house;  // the last house curve loaded, to go back to

  QLabel* m_title = nullptr;
  QLabel* m_source = nullptr;
  QPushButton* m_import = nullptr;
  QPushButton* m_remove = nullptr;
  QLabel* m_shiftCaption = nullptr;
  QDoubleSpinBox* m_shift = nullptr;
  QLabel* m_layersCaption = nullptr;
  QCheckBox* m_layerBoxes[3] = {};
  QLabel* m_targetCaption = nullptr;
  QComboBox* m_target = nullptr;
  QPushButton* m_loadCurve = nullptr;
  QLabel* m_autoCaption = nullptr;
  QCheckBox* m_passband = nullptr;
  QLabel* m_fromCaption = nullptr;
  QSpinBox* m_from = nullptr;
  QLabel* m_toCaption = nullptr;
  QSpinBox* m_to = nullptr;
  QLabel* m_boostCaption = nullptr;
  QDoubleSpinBox* m_boost = nullptr;
  QLabel* m_bandsCaption = nullptr;
  QSpinBox* m_bands = nullptr;
  QPushButton* m_preview = nullptr;
  QPushButton* m_apply = nullptr;
  QPushButton* m_discard = nullptr;
  QLabel* m_result = nullptr;
};

}  // namespace vantor
