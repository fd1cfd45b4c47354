#include "measure/MeasureSession.h"

#include <system_error>

#include "dsp/FilterCodes.h"
#include "model/DataDefine.h"

namespace vantor {

MeasureSession::MeasureSession(CKTV_Data& model) : m_controller(model) {}

void MeasureSession::DropPreviewOf(int output) {
  if (m_previewOutput == output) Discard();
}

bool MeasureSession::Import(int output, const std::filesystem::path& file, MeasureError& error) {
  if (!m_controller.ImportMeasurement(output, file, error)) return false;
  DropPreviewOf(output);
  return true;
}

void MeasureSession::SetMeasurement(int output, Measurement measurement) {
  m_controller.SetMeasurement(output, std::move(measurement));
  DropPreviewOf(output);
}

void MeasureSession::Clear(int output) {
  m_controller.ClearMeasurement(output);
  DropPreviewOf(output);
}

void MeasureSession::SetShift(int output, double db) {
  const Measurement* m = m_controller.MeasurementOf(output);
  if (m == nullptr || m->shiftDb == db) return;
  m_controller.SetShift(output, db);
  DropPreviewOf(output);
}

void MeasureSession::SetTarget(TargetCurve target) {
  m_controller.SetTarget(std::move(target));
  Discard();
}

bool MeasureSession::ImportTarget(const std::filesystem::path& houseCurve, MeasureError& error) {
  if (!m_controller.ImportTarget(houseCurve, error)) return false;
  Discard();
  return true;
}

bool MeasureSession::Preview(int output, const AutoEqOptions& options, MeasureError& error) {
  auto preview = m_controller.PreviewAutoEq(output, options, error);
  if (!preview) return false;
  m_preview = std::move(*preview);
  m_previewOutput = output;
  return true;
}

const AutoEqPreview* MeasureSession::PreviewOf(int output) const {
  return m_preview && m_previewOutput == output ? &*m_preview : nullptr;
}

bool MeasureSession::Apply(int output) {
  if (PreviewOf(output) == nullptr) return false;
  m_controller.ApplyAutoEq(output, *m_preview);
  Discard();
  return true;
}

void MeasureSession::Discard() {
  m_preview.reset();
  m_previewOutput = -1;
}

GraphOverlay MeasureSession::Overlay(int current,
                                     const std::array<bool, rec::kOutputCount>& behind) const {
  GraphOverlay overlay;
  auto layersOf = [&](int o) {
    const Measurement* m = m_controller.MeasurementOf(o);
    if (m == nullptr) return;
    const bool isCurrent = o == current;
    if (m_switches.measurement) {
      overlay.curves.push_back({LayerKind::kMeasurement, o, isCurrent, m->Shifted()});
    }
    if (m_switches.prediction) {
      overlay.curves.push_back({LayerKind::kPrediction, o, isCurrent, *m_controller.Prediction(o)});
    }
  };
  for (int o = 0; o < rec::kOutputCount; ++o) {
    if (o != current && behind[static_cast<std::size_t>(o)]) layersOf(o);
  }
  if (current < 0 || current >= rec::kOutputCount) return overlay;
  layersOf(current);
  // One target for the car: drawn with the output it is compared with.
  if (m_switches.target && m_controller.MeasurementOf(current) != nullptr) {
    overlay.curves.push_back({LayerKind::kTarget, current, true, m_controller.Target().db});
  }
  if (const AutoEqPreview* p = PreviewOf(current)) {
    overlay.curves.push_back({LayerKind::kAutoEqPreview, current, true, p->predictionAfter});
    for (const BandSetting& b : p->bands) {
      if (b.gainIndex != kGainIndexFlat) {
        overlay.markers.push_back({b.frequencyHz, GainDbFromIndex(b.gainIndex)});
      }
    }
  }
  return overlay;
}

bool MeasureSession::Open(const std::filesystem::path& file, MeasureError& error) {
  m_file = file;
  m_keeping = true;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return true;
  if (m_controller.Load(file, error)) {
    Discard();
    return true;
  }
  m_keeping = false;
  return false;
}

bool MeasureSession::SaveIfModified(MeasureError& error) {
  if (!Keeping() || !m_controller.Modified()) return true;
  return m_controller.Save(*m_file, error);
}

}  // namespace vantor
