#pragma once
// The program-wide state: the live state record, the slot records, the effect images, the
// global blocks and the flags every layer consults. One object is owned by whoever runs
// the program (the application, a test, the command-line tool) and passed where needed;
// the simulated processor keeps a separate one for its own memory.

#include <array>
#include <atomic>
#include <cstdint>
#include <span>

#include "dsp/LiveSync.h"
#include "model/DataDefine.h"

namespace vantor {

class ProgramState {
 public:
  // Everything at its start-up value.
  ProgramState();

  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

  // Puts records and blocks back to their start-up values; the flags are left alone.
  void ResetRecords();

  // --- Records.
  rec::StateRecord& Live() { return m_live; }
  const rec::StateRecord& Live() const { return m_live; }
  // Slot record n, n = 1..20.
  rec::StateRecord& Slot(int n) { return m_slots[static_cast<std::size_t>(n - 1)]; }
  const rec::StateRecord& Slot(int n) const { return m_slots[static_cast<std::size_t>(n - 1)]; }
  // Slot 0 is the live record, 1..20 the slot records.
  rec::StateRecord& Record(int slot) { return slot == 0 ? m_live : Slot(slot); }
  const rec::StateRecord& Record(int slot) const { return slot == 0 ? m_live : Slot(slot); }
  // Effect image n, n = 0..19 (slots 21..40).
  rec::EffectImage& EffectImage(int n) { return m_effectImages[static_cast<std::size_t>(n)]; }
  const rec::EffectImage& EffectImage(int n) const {
    return m_effectImages[static_cast<std::size_t>(n)];
  }

  // --- Global blocks.
  std::array<std::uint8_t, rec::kSystemAreaSize>& SystemArea() { return m_systemArea; }
  const std::array<std::uint8_t, rec::kSystemAreaSize>& SystemArea() const { return m_systemArea; }
  std::span<std::uint8_t> SystemBlock() { return Area(rec::kSystemBlock, rec::kSystemBlockSize); }
  std::span<std::uint8_t> SpeakerTypes() {
    return Area(rec::kSpeakerTypes, rec::kSpeakerTypesSize);
  }
  std::span<std::uint8_t> HiddenLevels() {
    return Area(rec::kHiddenLevels, rec::kHiddenLevelsSize);
  }
  std::span<const std::uint8_t> SystemBlock() const {
    return Area(rec::kSystemBlock, rec::kSystemBlockSize);
  }
  std::span<const std::uint8_t> SpeakerTypes() const {
    return Area(rec::kSpeakerTypes, rec::kSpeakerTypesSize);
  }
  std::span<const std::uint8_t> HiddenLevels() const {
    return Area(rec::kHiddenLevels, rec::kHiddenLevelsSize);
  }
  std::array<std::uint8_t, rec::kLimiterBlockSize>& LimiterBlock() { return m_limiterBlock; }
  const std::array<std::uint8_t, rec::kLimiterBlockSize>& LimiterBlock() const {
    return m_limiterBlock;
  }
  std::array<std::uint8_t, rec::kDelayPositionsSize>& DelayPositions() { return m_delayPositions; }
  const std::array<std::uint8_t, rec::kDelayPositionsSize>& DelayPositions() const {
    return m_delayPositions;
  }
  // The 17-character identity the device reported, and a space after it; 18 spaces until
  // one has been received.
  std::array<std::uint8_t, rec::kIdentityHeldSize>& Identity() { return m_identity; }
  const std::array<std::uint8_t, rec::kIdentityHeldSize>& Identity() const { return m_identity; }

  // --- Program-wide flags. Written by one thread and read by another, hence atomic.
  // Language: true while the interface is Chinese (the start value).
  std::atomic<bool> chinese{true};
  std::atomic<bool> connected{false};
  // Edits are marked pending only while set.
  LiveSyncFlag liveSync{false};
  // A batch runs and the transfer window is shown.
  std::atomic<bool> busy{false};
  std::atomic<bool> usbTransfer{false};
  std::atomic<bool> stopTransfers{false};
  std::atomic<bool> firmwareUpdateMode{false};
  std::atomic<int> currentOutput{0};
  // The input source the device reported last (status poll, byte 11).
  std::atomic<int> lastReportedSource{0};

 private:
  std::span<std::uint8_t> Area(std::size_t at, std::size_t n) {
    return std::span(m_systemArea).subspan(at, n);
  }
  std::span<const std::uint8_t> Area(std::size_t at, std::size_t n) const {
    return std::span(m_systemArea).subspan(at, n);
  }

  rec::StateRecord m_live{};
  std::array<rec::StateRecord, rec::kSlotRecordCount> m_slots{};
  std::array<rec::EffectImage, rec::kEffectImageCount> m_effectImages{};
  std::array<std::uint8_t, rec::kSystemAreaSize> m_systemArea{};
  std::array<std::uint8_t, rec::kLimiterBlockSize> m_limiterBlock{};
  std::array<std::uint8_t, rec::kDelayPositionsSize> m_delayPositions{};
  std::array<std::uint8_t, rec::kIdentityHeldSize> m_identity{};
};

// Fills a state record with the start-up program: the outputs' bands at their start-up
// frequencies, 0 dB, 0.2 octave; outputs on at 0 dB; crossovers open; limiter at its top;
// input and effect bands at 1000 Hz; names and text fields zero.
void FillStartupRecord(rec::StateRecord& record);

}  // namespace vantor
