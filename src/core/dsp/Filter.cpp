#include "dsp/Filter.h"

#include <cmath>

#include "base/ByteArchive.h"
#include "base/NumberFormat.h"
#include "dsp/FilterControl.h"
#include "dsp/FilterDesign.h"
#include "dsp/PlotMapping.h"

namespace vantor {
namespace {

constexpr int kHandleSize = 16;
constexpr int kHandleHalf = 8;
constexpr int kWidthHandleWidth = 13;
constexpr int kWidthHandleHalfHeight = 6;
constexpr int kShelfSplitFrequency = 2000;

}  // namespace

std::string ShelfSlopeText(int slope) {
  if (slope == 0) return "6dB/Oct";
  if (slope == 1) return "12dB/Oct";
  return {};
}

CFilter::CFilter(const LiveSyncFlag* liveSync) : m_liveSync(liveSync) {}

// ---------------------------------------------------------------------------------------
// Parameter operations

void CFilter::ReconcileSentFrequency() {
  if (m_sentFrequency == 0) m_sentFrequency = kFrequencyMin;
  if (m_frequency / m_sentFrequency < 2) m_sentFrequency = m_frequency.load();
}

void CFilter::SetFrequency(int hz, bool fromUser) {
  if (m_bandFlag != 0) {
    m_frequency = hz;
    if (!fromUser || !IsLive(m_liveSync)) m_sentFrequency = hz;
  } else {
    m_frequency = hz;
    if (fromUser) {
      if (m_attached != nullptr) m_attached->ShowFrequency(hz);
      // Nothing steps the sent frequency toward the target while edits are not sent, and
      // the sent frequency is what a saved program holds: it must not stay behind.
      if (!IsLive(m_liveSync)) m_sentFrequency = hz;
    } else {
      m_sentFrequency = hz;
    }
  }
  if (fromUser) ReconcileSentFrequency();
  Relayout();
  Recompute();
  if (fromUser) MarkPending();
}

void CFilter::SetGainIndex(int index) {
  m_gain = GainDbFromIndex(index);
  if (m_gain != 0.0) {
    m_flat = 0;
    m_bypass = 0;
  } else {
    m_flat = 1;
  }
  if (m_bandFlag != 0) Relayout();
  Recompute();
  MarkPending();
}

void CFilter::SetBandwidthIndex(int index) {
  m_bandwidth = OctavesFromBandwidthIndex(index);
  if (m_bandFlag != 0) Relayout();
  Recompute();
  MarkPending();
}

void CFilter::SetSlope(int slope, bool fromUser) {
  m_slope = slope;
  Recompute();
  if (fromUser) MarkPending();
}

void CFilter::SetFamily(int family, bool fromUser) {
  m_family = family;
  Recompute();
  if (fromUser) MarkPending();
}

void CFilter::SetType(int type) {
  m_type = type;
  if (type == kLowPass) m_sentFrequency = kFrequencyMax;
  Recompute();
  MarkPending();
}

void CFilter::SetEqType(int eqType) {
  if (eqType == 0) {
    m_type = kPeaking;
  } else if (eqType == 1 || eqType == 2) {
    m_type = kLowShelf;
    m_slope = eqType - 1;
    if (m_frequency > kShelfSplitFrequency) m_frequency = kShelfSplitFrequency;
  } else if (eqType == 3 || eqType == 4) {
    m_type = kHighShelf;
    m_slope = eqType - 3;
    if (m_frequency < kShelfSplitFrequency) m_frequency = kShelfSplitFrequency;
  }
  // A shelf pulled to its side of 2 kHz is sent there by the scan; while edits are not
  // sent, nothing would, and a saved program would hold the old frequency.
  if (!IsLive(m_liveSync)) m_sentFrequency = m_frequency.load();
  Relayout();
  Recompute();
  MarkPending();
}

void CFilter::SetFlat(int on) {
  if (m_bypass != 0) {
    m_bypass = 0;
    if (m_gain == 0.0) return;
  } else if (on == m_flat || m_gain == 0.0) {
    return;
  }
  m_flat = on;
  if (on == 0) m_bypass = 0;
  Relayout();
  Recompute();
  MarkPending();
}

void CFilter::SetBypass(int on) {
  if (on != 0) {
    m_savedBypass = m_bypass;
    m_bypass = 1;
  } else {
    m_bypass = m_savedBypass;
  }
  if (m_flat == 0) {
    Relayout();
    Recompute();
  }
}

void CFilter::ResetToDefault(int hz) {
  m_frequency = hz;
  m_sentFrequency = hz;
  m_bandwidth = 0.2;
  m_gain = 0.0;
  m_flat = 1;
  Relayout();
  Recompute();
}

void CFilter::StepSentFrequency(int p) {
  // A sent frequency of 0 can only come from a damaged image; it would divide by zero.
  if (m_sentFrequency <= 0) m_sentFrequency = kFrequencyMin;
  if (m_sentFrequency == m_frequency) {
    m_pending = p;
    return;
  }
  const int target = m_frequency;
  const int sent = m_sentFrequency;
  if (target / sent >= 2) {
    m_sentFrequency = sent * 2;
  } else if (static_cast<double>(target) / sent > 0.5) {
    m_sentFrequency = target;
  } else {
    m_sentFrequency = sent / 2;
  }
  m_pending = 1;
}

void CFilter::CopyValues(const CFilter& other) {
  m_type = other.m_type.load();
  m_frequency = other.m_frequency.load();
  m_sentFrequency = other.m_frequency.load();
  m_gain = other.m_gain.load();
  m_flat = other.m_flat.load();
  m_bypass = other.m_bypass.load();
  m_bandwidth = other.m_bandwidth.load();
  m_family = other.m_family.load();
  m_slope = other.m_slope.load();
  Relayout();
  Recompute();
}

void CFilter::ApplySettings(const FilterSettings& s, bool asEdit) {
  m_type = s.type;
  m_family = s.family;
  m_slope = s.slope;
  m_bandwidth = OctavesFromBandwidthIndex(s.bandwidthIndex);
  m_gain = GainDbFromIndex(s.gainIndex);
  m_flat = s.flat;
  m_bypass = s.bypass;
  m_savedBypass = s.savedBypass;
  m_frequency = s.frequency;
  if (!asEdit || !IsLive(m_liveSync)) m_sentFrequency = s.frequency;
  if (asEdit) {
    if (m_bandFlag == 0 && m_attached != nullptr) m_attached->ShowFrequency(s.frequency);
    ReconcileSentFrequency();
  }
  Relayout();
  Recompute();
  if (asEdit) MarkPending();
}

FilterSettings CFilter::Settings() const {
  FilterSettings s;
  s.type = m_type;
  s.frequency = m_frequency;
  s.gainIndex = GainIndexFromDb(m_gain);
  s.bandwidthIndex = BandwidthIndex();
  s.family = m_family;
  s.slope = m_slope;
  s.flat = m_flat;
  s.bypass = m_bypass;
  s.savedBypass = m_savedBypass;
  return s;
}

void CFilter::Layout(const Rect& plot) {
  m_plotHeight = plot.Height();
  m_plotWidth = plot.Width();
  Relayout();
  Recompute();
}

void CFilter::SetGainFromDrag(double gainDb) {
  m_gain = gainDb;
  if (gainDb == 0.0) {
    m_flat = 1;
  } else {
    m_flat = 0;
    m_bypass = 0;
  }
}

bool CFilter::Serialize(ByteArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteI32(m_type);
    ar.WriteI32(m_frequency);
    ar.WriteI32(m_sentFrequency);
    ar.WriteF64(m_gain);
    ar.WriteI32(m_bypass);
    ar.WriteI32(m_flat);
    ar.WriteF64(m_bandwidth);
    ar.WriteI32(m_family);
    ar.WriteI32(m_slope);
    ar.WriteI32(m_bandNumber);
    return true;
  }
  const int type = ar.ReadI32();
  const int frequency = ar.ReadI32();
  const int sent = ar.ReadI32();
  const double gain = ar.ReadF64();
  const int bypass = ar.ReadI32();
  const int flat = ar.ReadI32();
  const double bandwidth = ar.ReadF64();
  const int family = ar.ReadI32();
  const int slope = ar.ReadI32();
  const int bandNumber = ar.ReadI32();
  if (!ar.Ok()) return false;
  m_type = type;
  m_frequency = frequency;
  m_sentFrequency = sent;
  m_gain = gain;
  m_bypass = bypass;
  m_flat = flat;
  m_bandwidth = bandwidth;
  m_family = family;
  m_slope = slope;
  m_bandNumber = bandNumber;
  Relayout();
  Recompute();
  return true;
}

// ---------------------------------------------------------------------------------------
// Getters

int CFilter::GainIndex() const {
  if (m_flat != 0 || m_bypass != 0) return kGainIndexFlat;
  return static_cast<int>((m_gain + 20.0) * 10.0 + 0.5);
}

int CFilter::BandwidthIndex() const { return BandwidthIndexFromOctaves(m_bandwidth); }

int CFilter::EqType() const {
  if (m_type == kLowShelf) return 1 + m_slope;
  if (m_type == kHighShelf) return 3 + m_slope;
  return 0;
}

// ---------------------------------------------------------------------------------------
// Response

void CFilter::Recompute() {
  switch (m_type) {
    case kPeaking:
      if (m_bypass != 0 || m_flat != 0) {
        m_response.fill(0.0);
      } else {
        EvaluateBiquad(DesignPeaking(m_frequency, m_gain, m_bandwidth), m_response);
      }
      break;
    case kLowShelf:
    case kHighShelf:
      if (m_bypass != 0 || m_flat != 0) {
        m_response.fill(0.0);
      } else {
        EvaluateBiquad(DesignShelf(m_type, m_frequency, m_gain, m_slope), m_response);
      }
      break;
    case kHighPass:
    case kLowPass: {
      const int offAt = m_type == kHighPass ? kFrequencyMin : kFrequencyMax;
      m_response.fill(0.0);
      if (m_frequency == offAt || m_slope == kSlopeOff) break;
      const CrossoverCascade cascade =
          DesignCrossover(m_type, m_frequency, m_family, m_slope, m_reducedSlopes != 0);
      for (int k = 0; k < cascade.count; ++k) {
        AccumulateBiquad(cascade.sections[static_cast<std::size_t>(k)], m_response);
      }
      break;
    }
    default:
      break;  // an unknown type keeps its response
  }
}

// ---------------------------------------------------------------------------------------
// Handles and labels

void CFilter::Relayout() {
  if (m_type == kHighPass || m_type == kLowPass || m_bandFlag == 0) {
    LayoutCrossover();
  } else {
    LayoutBand();
  }
}

void CFilter::LayoutBand() {
  const int w = m_plotWidth;
  const int h = m_plotHeight;
  const double shownGain = (m_flat != 0 || m_bypass != 0) ? 0.0 : m_gain.load();
  int x0 = PlotX(m_frequency, w) - kHandleHalf;
  int y0 = PlotY(shownGain, h) - kHandleHalf;
  if (x0 < -kHandleHalf) x0 = -kHandleHalf;
  if (y0 < 1) y0 = 0;
  if (x0 < 1 && m_bandNumber > 8) x0 = 0;
  Rect r{x0, y0, x0 + kHandleSize, y0 + kHandleSize};
  if (r.right > w) r = {w - kHandleSize, r.top, w, r.bottom};
  if (r.bottom > h) r = {r.left, h - kHandleSize, r.right, h};
  m_handle = {r.left + kPlotOffsetX, r.top + kPlotOffsetY, r.right + kPlotOffsetX,
              r.bottom + kPlotOffsetY};

  // Bandwidth handles sit just under (or over, for a cut) the main handle, at the band's
  // edge frequencies.
  const int cy = m_handle.Center().y + (m_gain >= 0.0 ? 10 : -10);
  const double spread = std::pow(2.0, m_bandwidth);
  const int rightLeft = PlotX(m_frequency * spread, w) + 39;
  const int leftRight = PlotX(m_frequency / spread, w) + 31;
  m_rightWidth = {rightLeft, cy - kWidthHandleHalfHeight, rightLeft + kWidthHandleWidth,
                  cy + kWidthHandleHalfHeight};
  m_leftWidth = {leftRight - kWidthHandleWidth, cy - kWidthHandleHalfHeight, leftRight,
                 cy + kWidthHandleHalfHeight};

  // The label sits below the handle, or above it near the bottom edge, and keeps inside
  // the plot on the right. Shelf labels are shorter.
  const bool peaking = m_type == kPeaking;
  const int reach = peaking ? 200 : 110;
  const int span = peaking ? 200 : 116;
  const int extra = peaking ? 210 : 90;
  const int rightLimit = w + kPlotOffsetX;
  Rect label{m_handle.left, m_handle.top + 25, m_handle.right + extra, m_handle.bottom + 25};
  if (m_handle.right + reach > rightLimit) {
    label.right = rightLimit;
    label.left = rightLimit - span;
  }
  if (m_handle.bottom >= h - 15) {
    label.top = m_handle.top - 25;
    label.bottom = m_handle.bottom - 25;
  }
  m_labelRect = label;
}

void CFilter::LayoutCrossover() {
  const int w = m_plotWidth;
  const int h = m_plotHeight;
  int x0 = PlotX(m_frequency, w) - kHandleHalf;
  if (x0 < -kHandleHalf) x0 = -kHandleHalf;
  const int y0 = PlotY(m_type == kHighPass ? -12.0 : -15.0, h);
  Rect r{x0, y0, x0 + kHandleSize, y0 + kHandleSize};
  if (r.right > w + kHandleHalf)
    r = {w + kHandleHalf - kHandleSize, r.top, w + kHandleHalf, r.bottom};
  m_handle = {r.left + kPlotOffsetX, r.top + kPlotOffsetY, r.right + kPlotOffsetX,
              r.bottom + kPlotOffsetY};
  m_leftWidth = {};
  m_rightWidth = {};

  const int rightLimit = w + kPlotOffsetX;
  Rect label{m_handle.left, 0, m_handle.right + 50, 0};
  if (m_type == kHighPass) {
    label.top = m_handle.top + 15;
    label.bottom = m_handle.bottom + 25;
  } else {
    label.top = m_handle.top - 15;
    label.bottom = m_handle.bottom + 20;
  }
  if (m_handle.right + 50 > rightLimit) {
    label.right = rightLimit;
    label.left = rightLimit - 66;
  }
  m_labelRect = label;
}

std::string CFilter::GainText() const {
  if (m_flat != 0 || m_bypass != 0) return "0.0";
  return FormatFixed(m_gain, 1);
}

std::string CFilter::LabelText() const {
  const std::string freq = std::to_string(m_frequency);
  switch (m_type) {
    case kPeaking:
    case kLowShelf:
    case kHighShelf:
      if (m_graphicMode != 0) return "GEQ";
      break;
    default:
      return "F:" + freq;
  }
  if (m_type == kLowShelf) return "Lo " + freq + "-" + ShelfSlopeText(m_slope) + " G" + GainText();
  if (m_type == kHighShelf) {
    return "Hi F:" + freq + "-" + ShelfSlopeText(m_slope) + " G:" + GainText();
  }
  const double q = QOfBandwidthIndex(BandwidthIndex());
  return "G:" + GainText() + "-F:" + freq + "-Q:" + FormatFixed(q, q > 10.0 ? 2 : 3);
}

}  // namespace vantor
