#include "measure/MeasureController.h"

#include "model/KTV_Data.h"

namespace vantor {

MeasureController::MeasureController(CKTV_Data& model) : m_model(model) {}

std::optional<Measurement>& MeasureController::Slot(int output) {
  return m_set.outputs[static_cast<std::size_t>(output)];
}

bool MeasureController::ImportMeasurement(int output, const std::filesystem::path& file,
                                          MeasureError& error) {
  auto m = LoadMeasurement(file, error);
  if (!m) return false;
  SetMeasurement(output, std::move(*m));
  return true;
}

void MeasureController::SetMeasurement(int output, Measurement measurement) {
  Slot(output) = std::move(measurement);
  m_modified = true;
}

void MeasureController::ClearMeasurement(int output) {
  if (!Slot(output)) return;
  Slot(output).reset();
  m_modified = true;
}

const Measurement* MeasureController::MeasurementOf(int output) const {
  const auto& m = m_set.outputs[static_cast<std::size_t>(output)];
  return m ? &*m : nullptr;
}

void MeasureController::SetShift(int output, double db) {
  auto& m = Slot(output);
  if (!m || m->shiftDb == db) return;
  m->shiftDb = db;
  m_modified = true;
}

void MeasureController::SetTarget(TargetCurve target) {
  m_set.target = std::move(target);
  m_modified = true;
}

bool MeasureController::ImportTarget(const std::filesystem::path& houseCurve, MeasureError& error) {
  auto target = LoadHouseCurve(houseCurve, error);
  if (!target) return false;
  SetTarget(std::move(*target));
  return true;
}

std::optional<Response> MeasureController::Prediction(int output) const {
  const Measurement* m = MeasurementOf(output);
  if (m == nullptr) return std::nullopt;
  return PredictResponse(*m, m_model.Output(output).Filters());
}

std::optional<AutoEqPreview> MeasureController::PreviewAutoEq(int output,
                                                              const AutoEqOptions& options,
                                                              MeasureError& error) const {
  const Measurement* m = MeasurementOf(output);
  if (m == nullptr) {
    error = {MeasureErrorKind::kNoMeasurement, 0};
    return std::nullopt;
  }
  return vantor::PreviewAutoEq(m_model.Output(output), *m, m_set.target, options, error);
}

void MeasureController::ApplyAutoEq(int output, const AutoEqPreview& preview) {
  vantor::ApplyAutoEq(m_model.Output(output), preview);
}

AlignmentPreview MeasureController::PreviewAlignment(const OutputDistances& metres) const {
  return AlignFromDistances(metres);
}

void MeasureController::ApplyAlignment(const AlignmentPreview& preview) {
  vantor::ApplyAlignment(m_model, preview);
}

bool MeasureController::Save(const std::filesystem::path& path, MeasureError& error) {
  if (!SaveMeasurementSet(path, m_set, error)) return false;
  m_modified = false;
  return true;
}

bool MeasureController::Load(const std::filesystem::path& path, MeasureError& error) {
  auto set = LoadMeasurementSet(path, error);
  if (!set) return false;
  m_set = std::move(*set);
  m_modified = false;
  return true;
}

}  // namespace vantor
