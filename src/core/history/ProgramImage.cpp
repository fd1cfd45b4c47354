#include "history/ProgramImage.h"

#include <algorithm>

#include "base/LittleEndian.h"
#include "model/KTV_Data.h"
#include "model/RecordCodec.h"

namespace vantor {
namespace {

constexpr std::uint8_t kFlat = 1;
constexpr std::uint8_t kBypass = 2;
constexpr std::uint8_t kSavedBypass = 4;
constexpr int kHighPassElement = rec::kOutputBands;
constexpr int kLowPassElement = rec::kOutputBands + 1;

std::size_t StateOffset(int channel, int band) {
  return ProgramImage::kBandStates +
         ProgramImage::kBandStateSize *
             static_cast<std::size_t>(channel * rec::kOutputBands + band);
}

bool Same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

ProgramImage ProgramImage::Capture(const CKTV_Data& model) {
  ProgramImage image;
  const ProgramState& state = model.State();
  for (int c = 0; c < rec::kOutputCount; ++c) {
    const CKTV_OutData& out = model.Output(c);
    std::span<std::uint8_t> record = image.OutputRecord(c);
    const auto live = std::span<const std::uint8_t>(state.Live())
                          .subspan(rec::OutputOffset(c), rec::kOutputRecordSize);
    std::copy(live.begin(), live.end(), record.begin());
    out.PackInto(record);
    // A name read from the record lost its padding (spaces are trimmed); while it is the
    // same name, the record's own bytes are the image's, so putting it back restores them.
    const auto liveName = live.subspan(rec::kOutName, rec::kOutNameSize);
    if (out.NameGbk() == ReadNameField(liveName)) {
      std::copy(liveName.begin(), liveName.end(), record.begin() + rec::kOutName);
    }
    for (int b = 0; b < out.BandCount(); ++b) {
      const CFilter& f = out.Filter(b);
      le::PutI16(record, rec::OutBand(b) + rec::kBandFrequency,
                 static_cast<std::int16_t>(f.Frequency()));
      std::span<std::uint8_t> s = image.BandState(c, b);
      le::PutI16(s, 0, static_cast<std::int16_t>(f.Settings().gainIndex));
      s[2] =
          static_cast<std::uint8_t>((f.Flat() != 0 ? kFlat : 0) | (f.Bypass() != 0 ? kBypass : 0) |
                                    (f.SavedBypass() != 0 ? kSavedBypass : 0));
    }
    le::PutI16(record, rec::kOutHighPassFreq,
               static_cast<std::int16_t>(out.Filter(kHighPassElement).Frequency()));
    le::PutI16(record, rec::kOutLowPassFreq,
               static_cast<std::int16_t>(out.Filter(kLowPassElement).Frequency()));
  }
  std::copy(state.SystemArea().begin(), state.SystemArea().end(),
            image.m_bytes.begin() + kSystemArea);
  std::copy(state.LimiterBlock().begin(), state.LimiterBlock().end(),
            image.m_bytes.begin() + kLimiterBlock);
  std::copy(state.DelayPositions().begin(), state.DelayPositions().end(),
            image.m_bytes.begin() + kDelayPositions);
  return image;
}

std::span<const std::uint8_t> ProgramImage::OutputRecord(int channel) const {
  return std::span<const std::uint8_t>(m_bytes).subspan(
      kOutputs + rec::kOutputRecordSize * static_cast<std::size_t>(channel),
      rec::kOutputRecordSize);
}

std::span<std::uint8_t> ProgramImage::OutputRecord(int channel) {
  return std::span<std::uint8_t>(m_bytes).subspan(
      kOutputs + rec::kOutputRecordSize * static_cast<std::size_t>(channel),
      rec::kOutputRecordSize);
}

std::span<const std::uint8_t> ProgramImage::BandState(int channel, int band) const {
  return std::span<const std::uint8_t>(m_bytes).subspan(StateOffset(channel, band), kBandStateSize);
}

std::span<std::uint8_t> ProgramImage::BandState(int channel, int band) {
  return std::span<std::uint8_t>(m_bytes).subspan(StateOffset(channel, band), kBandStateSize);
}

std::span<const std::uint8_t> ProgramImage::SystemArea() const {
  return std::span<const std::uint8_t>(m_bytes).subspan(kSystemArea, rec::kSystemAreaSize);
}

std::span<const std::uint8_t> ProgramImage::LimiterBlock() const {
  return std::span<const std::uint8_t>(m_bytes).subspan(kLimiterBlock, rec::kLimiterBlockSize);
}

std::span<const std::uint8_t> ProgramImage::DelayPositions() const {
  return std::span<const std::uint8_t>(m_bytes).subspan(kDelayPositions, rec::kDelayPositionsSize);
}

FilterSettings ProgramImage::FilterOf(int channel, int element, const FilterSettings& base) const {
  FilterSettings s = base;
  const auto r = OutputRecord(channel);
  if (element < rec::kOutputBands) {
    const auto band = r.subspan(rec::OutBand(element), rec::kBandRecordSize);
    const auto state = BandState(channel, element);
    s.frequency = le::GetI16(band, rec::kBandFrequency);
    s.bandwidthIndex = le::GetI16(band, rec::kBandWidth);
    s.slope = band[rec::kBandSlope];
    s.type = band[rec::kBandType];
    s.gainIndex = le::GetI16(state, 0);
    s.flat = (state[2] & kFlat) != 0 ? 1 : 0;
    s.bypass = (state[2] & kBypass) != 0 ? 1 : 0;
    s.savedBypass = (state[2] & kSavedBypass) != 0 ? 1 : 0;
    return s;
  }
  const bool high = element == kHighPassElement;
  s.frequency = le::GetI16(r, high ? rec::kOutHighPassFreq : rec::kOutLowPassFreq);
  s.family = r[high ? rec::kOutHighPassFamily : rec::kOutLowPassFamily];
  s.slope = r[high ? rec::kOutHighPassSlope : rec::kOutLowPassSlope];
  return s;
}

bool ProgramImage::OutputDiffers(const ProgramImage& other, int channel) const {
  if (!Same(OutputRecord(channel), other.OutputRecord(channel))) return true;
  const std::size_t at = StateOffset(channel, 0);
  const std::size_t n = kBandStateSize * rec::kOutputBands;
  return !std::equal(m_bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     m_bytes.begin() + static_cast<std::ptrdiff_t>(at + n),
                     other.m_bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace vantor
