#pragma once
// The window's work with measurements, without a screen: the measurements and the target
// (through MeasureController), which layers are shown, the automatic EQ's preview of one
// output until it is applied or dropped, and the measurement file they are kept in. The
// graph asks it for the curves to draw; a dialog drives it. Applying sets the bands through
// the filters' setters; the caller brackets that as one undo step.

#include <array>
#include <filesystem>
#include <optional>

#include "measure/GraphOverlay.h"
#include "measure/MeasureController.h"

namespace vantor {

class MeasureSession {
 public:
  explicit MeasureSession(CKTV_Data& model);
  MeasureSession(const MeasureSession&) = delete;
  MeasureSession& operator=(const MeasureSession&) = delete;

  const MeasureController& Controller() const { return m_controller; }

  // --- Measurements and target. A change drops a preview it makes stale.
  bool Import(int output, const std::filesystem::path& file, MeasureError& error);
  void SetMeasurement(int output, Measurement measurement);
  void Clear(int output);
  void SetShift(int output, double db);
  void SetTarget(TargetCurve target);
  bool ImportTarget(const std::filesystem::path& houseCurve, MeasureError& error);

  const LayerSwitches& Switches() const { return m_switches; }
  void SetSwitches(const LayerSwitches& switches) { m_switches = switches; }

  // --- Automatic EQ. A new preview replaces the one before.
  bool Preview(int output, const AutoEqOptions& options, MeasureError& error);
  // The preview of `output`, or null.
  const AutoEqPreview* PreviewOf(int output) const;
  // Sets the previewed bands of `output` and drops the preview. False when it has none.
  bool Apply(int output);
  void Discard();

  // --- What the graph draws: the layers of `current` and of the outputs drawn behind it.
  GraphOverlay Overlay(int current, const std::array<bool, rec::kOutputCount>& behind) const;

  // --- The measurement file. Open loads it when it exists (a missing file is a new one);
  // when it exists but is refused, it is left as it is and nothing is saved into it.
  bool Open(const std::filesystem::path& file, MeasureError& error);
  const std::optional<std::filesystem::path>& File() const { return m_file; }
  // Whether changes are saved: a file is open and it was not refused.
  bool Keeping() const { return m_file.has_value() && m_keeping; }
  bool Modified() const { return m_controller.Modified(); }
  // Saves when something changed since the last save or load (and the file is kept).
  bool SaveIfModified(MeasureError& error);

 private:
  void DropPreviewOf(int output);

  MeasureController m_controller;
  LayerSwitches m_switches;
  std::optional<AutoEqPreview> m_preview;
  int m_previewOutput = -1;
  std::optional<std::filesystem::path> m_file;
  bool m_keeping = false;
};

}  // namespace vantor
