#pragma once
// Automatic EQ for one output: the bands that make its prediction (measurement + channel
// curve) follow a target. The result is a preview; applying it sets the bands through the
// filters' own setters, so that they reach the processor as ordinary edits.

#include <optional>
#include <vector>

#include "dsp/KTVEQ.h"
#include "measure/MeasureError.h"
#include "measure/Measurement.h"
#include "measure/TargetCurve.h"

namespace vantor {

class CKTV_OutData;

inline constexpr double kDefaultMaxBoostDb = 6.0;
inline constexpr double kFitLowestHz = 20.0;
inline constexpr double kFitHighestHz = 20000.0;

struct AutoEqOptions {
  std::optional<int> bands;      // at most this many; default every band the fit may use
  std::optional<double> fromHz;  // default the high-pass frequency when it is active, else 20
  std::optional<double> toHz;    // default the low-pass frequency when it is active, else 20000
  double maxBoostDb = kDefaultMaxBoostDb;  // 0..20
};

// One band as the fit leaves it: a peaking band at these codes, or (gain index 200) a band
// the fit does not need, put back to 0 dB with its frequency, width and type kept.
struct BandSetting {
  int band = 0;  // 0..30
  int frequencyHz = 1000;
  int gainIndex = 200;
  int widthIndex = 15;
};

struct AutoEqPreview {
  int firstIndex = 0;  // the grid points fitted
  int lastIndex = 0;
  std::vector<BandSetting> bands;  // every band the fit owns, in band order
  Response predictionBefore{};
  Response predictionAfter{};  // exactly what the channel will compute once applied
  double rmsBeforeDb = 0.0;    // deviation from the target over the fitted points
  double rmsAfterDb = 0.0;
};

// The prediction: the shifted measurement plus the channel curve in dB.
Response PredictResponse(const Measurement& measurement, const CKTVEQ& set);

// A band the fit may set: one the person has not switched off (a band is off when it is
// bypassed, or flat with a gain other than 0 dB). A band at 0 dB is free.
bool BandIsFree(const CFilter& band);

// The default range: the crossover passband (an active high-pass to an active low-pass)
// within 20 Hz..20 kHz.
std::pair<double, double> DefaultFitRange(const CKTVEQ& set);

// Fits the free bands of `set`. In graphic EQ mode (`graphic`) each band keeps its frequency.
// Nothing, with `error`, when the range holds no measured point or no band is free.
std::optional<AutoEqPreview> PreviewAutoEq(const CKTVEQ& set, bool graphic,
                                           const Measurement& measurement,
                                           const TargetCurve& target, const AutoEqOptions& options,
                                           MeasureError& error);
std::optional<AutoEqPreview> PreviewAutoEq(const CKTV_OutData& output,
                                           const Measurement& measurement,
                                           const TargetCurve& target, const AutoEqOptions& options,
                                           MeasureError& error);

// Sets the preview's bands through the filters' setters (only values that change).
void ApplyBandSettings(CKTVEQ& set, const std::vector<BandSetting>& bands);
// The same on an output, whose channel curve is then summed again.
void ApplyAutoEq(CKTV_OutData& output, const AutoEqPreview& preview);

}  // namespace vantor
