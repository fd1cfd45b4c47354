#pragma once
// Tuning from measurements without a screen: the measurements of the outputs and the target
// (kept together in a measurement file), the prediction layer, automatic EQ and time
// alignment. Each operation returns what it produced or why it refused; previews change
// nothing until they are applied through the model's setters. The window and vantorctl
// drive the same operations.

#include <filesystem>
#include <optional>

#include "measure/AutoEq.h"
#include "measure/MeasureError.h"
#include "measure/MeasurementFile.h"
#include "measure/TimeAlignment.h"

namespace vantor {

class CKTV_Data;

class MeasureController {
 public:
  explicit MeasureController(CKTV_Data& model);

  // --- Measurements of outputs 0..7.
  // Imports a measurement file for an output; nothing changes on an error.
  bool ImportMeasurement(int output, const std::filesystem::path& file, MeasureError& error);
  void SetMeasurement(int output, Measurement measurement);
  void ClearMeasurement(int output);
  const Measurement* MeasurementOf(int output) const;
  // The person's level shift of an output's measurement (nothing without one).
  void SetShift(int output, double db);

  // --- Target.
  void SetTarget(TargetCurve target);
  bool ImportTarget(const std::filesystem::path& houseCurve, MeasureError& error);
  const TargetCurve& Target() const { return m_set.target; }

  // --- The prediction layer: measurement + the output's channel curve as it is now.
  std::optional<Response> Prediction(int output) const;

  // --- Automatic EQ for one output, as a preview; applying sets the bands.
  std::optional<AutoEqPreview> PreviewAutoEq(int output, const AutoEqOptions& options,
                                             MeasureError& error) const;
  void ApplyAutoEq(int output, const AutoEqPreview& preview);

  // --- Time alignment from distances.
  AlignmentPreview PreviewAlignment(const OutputDistances& metres) const;
  void ApplyAlignment(const AlignmentPreview& preview);

  // --- The measurement file. Load replaces every measurement and the target, or on an
  // error changes nothing. Modified tells whether anything changed since the last save/load.
  bool Save(const std::filesystem::path& path, MeasureError& error);
  bool Load(const std::filesystem::path& path, MeasureError& error);
  const MeasurementSet& Measurements() const { return m_set; }
  bool Modified() const { return m_modified; }

 private:
  std::optional<Measurement>& Slot(int output);

  CKTV_Data& m_model;
  MeasurementSet m_set;
  bool m_modified = false;
};

}  // namespace vantor
