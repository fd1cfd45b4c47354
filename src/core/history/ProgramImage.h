#pragma once
// One program as the edit history and the program comparison keep it: the eight output
// records packed from the objects, the global blocks, and per band what its record cannot
// hold. Every kind of edit changes some of these bytes, so comparing two images finds any
// edit, and putting an image back covers them all with one mechanism.
//
// The records hold each filter's own frequency, not the one sent so far: a band still
// stepping toward a far target is kept at its target. Per band the image also keeps the
// gain the band holds while it is off or bypassed and its off and bypass switches.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "dsp/Filter.h"
#include "model/DataDefine.h"

namespace vantor {

class CKTV_Data;

class ProgramImage {
 public:
  static constexpr std::size_t kOutputs = 0;
  static constexpr std::size_t kSystemArea =
      kOutputs + rec::kOutputRecordSize * static_cast<std::size_t>(rec::kOutputCount);
  static constexpr std::size_t kLimiterBlock = kSystemArea + rec::kSystemAreaSize;
  static constexpr std::size_t kDelayPositions = kLimiterBlock + rec::kLimiterBlockSize;
  static constexpr std::size_t kBandStates = kDelayPositions + rec::kDelayPositionsSize;
  // Per band: i16 gain index of the gain it keeps, u8 switches, u8 zero.
  static constexpr std::size_t kBandStateSize = 4;
  static constexpr std::size_t kSize =
      kBandStates +
      kBandStateSize * rec::kOutputBands * static_cast<std::size_t>(rec::kOutputCount);

  using Bytes = std::array<std::uint8_t, kSize>;

  // The model's program now. The caller holds the queue lock (the live record's spare
  // bytes are read, and the worker writes the live record).
  static ProgramImage Capture(const CKTV_Data& model);

  const Bytes& Data() const { return m_bytes; }
  Bytes& Data() { return m_bytes; }

  std::span<const std::uint8_t> OutputRecord(int channel) const;
  std::span<std::uint8_t> OutputRecord(int channel);
  std::span<const std::uint8_t> BandState(int channel, int band) const;
  std::span<const std::uint8_t> SystemArea() const;
  std::span<const std::uint8_t> LimiterBlock() const;
  std::span<const std::uint8_t> DelayPositions() const;

  // The settings of element `element` of output `channel` in this image: bands 0..30 from
  // their band record and band state, 31 (high-pass) and 32 (low-pass) frequency, family and
  // slope from the crossover item; everything the image does not hold is taken from `base`.
  FilterSettings FilterOf(int channel, int element, const FilterSettings& base) const;

  // Output `channel` differs between the two images (its record or its band states).
  bool OutputDiffers(const ProgramImage& other, int channel) const;

  friend bool operator==(const ProgramImage&, const ProgramImage&) = default;

 private:
  std::span<std::uint8_t> BandState(int channel, int band);
  Bytes m_bytes{};
};

}  // namespace vantor
