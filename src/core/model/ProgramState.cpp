#include "model/ProgramState.h"

#include <algorithm>

#include "base/LittleEndian.h"

namespace vantor {
namespace {

// The outputs' band frequencies at start-up: near, but not on, the builder's third-octave
// table (an EQ reset moves them onto it).
constexpr std::array<int, rec::kOutputBands> kStartupOutputBandHz = {
    20,  26,   33,   41,   51,   62,   81,   101,  124,  161,  201,  251,   316,   401,   501,  631,
    801, 1001, 1251, 1601, 2001, 2501, 3151, 4001, 5001, 6299, 8001, 10001, 12501, 16001, 20000};

constexpr std::array<std::uint8_t, rec::kSpeakerTypesSize> kStartupSpeakerTypes = {
    1, 7, 5, 11, 15, 18, 21, 24, 0, 0, 0, 0};

void PutBand(std::span<std::uint8_t> block, std::size_t at, int hz, int gainCode, int width) {
  le::PutI16(block, at + rec::kBandFrequency, static_cast<std::int16_t>(hz));
  le::PutI16(block, at + rec::kBandGainCode, static_cast<std::int16_t>(gainCode));
  le::PutI16(block, at + rec::kBandWidth, static_cast<std::int16_t>(width));
  block[at + rec::kBandSlope] = 0;
  block[at + rec::kBandType] = 0;
}

}  // namespace

void FillStartupRecord(rec::StateRecord& record) {
  record.fill(0);
  std::span<std::uint8_t> r(record);

  // Mic, music and effect bands: 1000 Hz, 0 dB, bandwidth index 0.
  for (int b = 0; b < 8; ++b) PutBand(r, rec::kEffectBlock + rec::OutBand(b), 1000, 600, 0);
  for (std::size_t block : {rec::kMicBlock, rec::kMusicBlock}) {
    for (int b = 0; b < rec::kInputBands; ++b) PutBand(r, block + rec::OutBand(b), 1000, 600, 0);
  }

  for (int c = 0; c < rec::kOutputCount; ++c) {
    std::span<std::uint8_t> out = r.subspan(rec::OutputOffset(c), rec::kOutputRecordSize);
    for (int b = 0; b < rec::kOutputBands; ++b) {
      PutBand(out, rec::OutBand(b), kStartupOutputBandHz[static_cast<std::size_t>(b)], 600, 15);
    }
    out[rec::kOutOn] = 1;
    out[rec::kOutPhase] = 0;
    le::PutI16(out, rec::kOutGain, 60);
    le::PutI16(out, rec::kOutDelay, 0);
    out[rec::kOutEqMode] = 0;
    out[rec::kOutAuxLevel] = 0;
    le::PutI16(out, rec::kOutHighPassFreq, 20);
    out[rec::kOutHighPassFamily] = 2;
    out[rec::kOutHighPassSlope] = 2;
    le::PutI16(out, rec::kOutLowPassFreq, 20000);
    out[rec::kOutLowPassFamily] = 2;
    out[rec::kOutLowPassSlope] = 2;
    out[rec::kOutMixer] = 100;  // source 0 at full level, the others off
    le::PutI16(out, rec::kOutLimiterThreshold, 360);
    out[rec::kOutLimiterAttack] = 106;
    out[rec::kOutLimiterRelease] = 5;
    std::fill_n(out.begin() + rec::kOutName, 7, static_cast<std::uint8_t>(' '));
    out[rec::kOutName + 7] = 0;
  }
}

ProgramState::ProgramState() { ResetRecords(); }

void ProgramState::ResetRecords() {
  FillStartupRecord(m_live);
  for (auto& slot : m_slots) {
    // Slot records start as the start-up program under a blank name of 15 spaces.
    FillStartupRecord(slot);
    std::fill_n(slot.begin() + rec::kProgramName, 15, static_cast<std::uint8_t>(' '));
    slot[rec::kProgramName + 15] = 0;
    std::fill_n(slot.begin() + rec::kSecondText, rec::kSecondTextSize,
                static_cast<std::uint8_t>(' '));
  }
  for (auto& image : m_effectImages) image.fill(0);

  m_systemArea.fill(0);
  auto sys = SystemBlock();
  sys[rec::kSysInputSource] = 0;
  le::PutI16(sys, rec::kSysMasterVolume, 60);
  sys[rec::kSysMasterOn] = 1;
  sys[rec::kSysSpeakerMode] = 0;
  std::copy(kStartupSpeakerTypes.begin(), kStartupSpeakerTypes.end(), SpeakerTypes().begin());
  auto hidden = HiddenLevels();
  le::PutI16(hidden, 0, 200);
  le::PutI16(hidden, 2, 200);
  le::PutI16(hidden, 4, 200);
  hidden[6] = 0;
  hidden[7] = 0;

  m_limiterBlock.fill(0);
  m_delayPositions.fill(0);
  m_identity.fill(static_cast<std::uint8_t>(' '));
}

}  // namespace vantor
