// Fuzzes the text parsers of tuning from measurements: measurement exports, house curves and
// the measurement file. Whatever they accept must be finite and consistent, and a measurement
// file that was accepted must read back the same after it was written again.
//
// Input layout: byte 0 picks the parser (value mod 3: measurement, house curve, measurement
// file), the rest is the file's text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "measure/Measurement.h"
#include "measure/MeasurementFile.h"
#include "measure/TargetCurve.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckFinite(const vantor::Response& db) {
  for (double v : db) Check(std::isfinite(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  vantor::MeasureError error;
  switch (data[0] % 3) {
    case 0:
      if (const auto m = vantor::MeasurementFromText(text, error)) {
        CheckFinite(m->db);
        Check(m->firstIndex >= 0 && m->firstIndex <= m->lastIndex &&
              m->lastIndex < static_cast<int>(vantor::kGridPoints));
      } else {
        Check(error.line >= 0);
      }
      break;
    case 1:
      if (const auto t = vantor::HouseCurveFromText(text, error)) CheckFinite(t->db);
      break;
    default:
      if (const auto set = vantor::MeasurementSetFromText(text, error)) {
        const std::string again = vantor::MeasurementSetText(*set);
        const auto back = vantor::MeasurementSetFromText(again, error);
        Check(back.has_value());
        Check(vantor::MeasurementSetText(*back) == again);
      }
      break;
  }
  return 0;
}
