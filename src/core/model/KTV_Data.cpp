#include "model/KTV_Data.h"

#include <cassert>

#include "base/LittleEndian.h"
#include "text/TextCatalog.h"

namespace vantor {
namespace {

constexpr int kMasterVolumeMax = 66;
constexpr int kSpeakerTypeMax = 26;
constexpr int kHiddenLevelValues = 3;  // i16 values, then two bytes
constexpr int kHiddenLevelFields = 5;
// Crossover limits applied to channels 0..5 when a record is loaded.
constexpr int kClampedChannels = 6;

}  // namespace

CKTV_Data::CKTV_Data(ProgramState& state)
    : m_state(state),
      m_effect(&state.liveSync),
      m_mic(std::make_unique<CMIC_InData>(&state.liveSync)),
      m_music(std::make_unique<CMusic_InData>(&state.liveSync)) {
  for (int c = 0; c < rec::kOutputCount; ++c) {
    m_outputs[static_cast<std::size_t>(c)] = std::make_unique<CKTV_OutData>(*this, c);
  }
  for (int c = 0; c < rec::kOutputCount; ++c) m_links.SetOutput(c, &Output(c));
}

CMIC_InData& CKTV_Data::Mic(int i) {
  assert(i == 0);
  (void)i;
  return *m_mic;
}

CMusic_InData& CKTV_Data::Music(int i) {
  assert(i == 0);
  (void)i;
  return *m_music;
}

CKTV_OutData& CKTV_Data::Output(int channel) {
  assert(channel >= 0 && channel < rec::kOutputCount);
  return *m_outputs[static_cast<std::size_t>(channel)];
}

const CKTV_OutData& CKTV_Data::Output(int channel) const {
  assert(channel >= 0 && channel < rec::kOutputCount);
  return *m_outputs[static_cast<std::size_t>(channel)];
}

void CKTV_Data::Report(TextId message) {
  if (MessageReporter* r = m_reporter.load()) r->Report(message);
}

// ---------------------------------------------------------------------------------------
// Whole model

NameResult CKTV_Data::Store() {
  std::span<std::uint8_t> live(m_state.Live());
  m_effect.Pack(live);
  m_mic->Pack(live.subspan(rec::kMicBlock, rec::kInputBlockSize));
  m_music->Pack(live.subspan(rec::kMusicBlock, rec::kInputBlockSize));
  NameResult result = NameResult::Ok;
  for (auto& out : m_outputs) {
    if (out->PackAll() != NameResult::Ok) result = NameResult::TooLong;
  }
  return result;
}

void CKTV_Data::Load(int loadArgument) {
  std::span<std::uint8_t> live(m_state.Live());
  if (loadArgument == 0 || loadArgument == 6) m_effect.Unpack(live);
  m_mic->Unpack(live.subspan(rec::kMicBlock, rec::kInputBlockSize));
  m_music->Unpack(live.subspan(rec::kMusicBlock, rec::kInputBlockSize));
  for (int c = 0; c < kClampedChannels; ++c) {
    auto out = live.subspan(rec::OutputOffset(c), rec::kOutputRecordSize);
    if (le::GetI16(out, rec::kOutHighPassFreq) > kFrequencyMax) {
      le::PutI16(out, rec::kOutHighPassFreq, kFrequencyMax);
    }
    if (le::GetI16(out, rec::kOutLowPassFreq) < kFrequencyMin) {
      le::PutI16(out, rec::kOutLowPassFreq, kFrequencyMin);
    }
  }
  LoadOutputs();
  NoteProgramReplaced();
}

void CKTV_Data::LoadOutputs() {
  for (auto& out : m_outputs) out->Unpack();
}

// ---------------------------------------------------------------------------------------
// Pending-change scan

std::optional<PendingChange> CKTV_Data::TakePendingChange() {
  using Kind = PendingChange::Kind;
  if (TakeMasterVolumeChange())
    return PendingChange{Kind::SystemItem, -1, rec::kSysItemSystemBlock};
  if (TakeHiddenLevelChange())
    return PendingChange{Kind::SystemItem, -1, rec::kSysItemHiddenLevels};
  for (MusicChange c : {MusicChange::Levels, MusicChange::LevelByte}) {
    if (m_music->TakeChange(c)) {
      m_music->Pack(
          std::span<std::uint8_t>(m_state.Live()).subspan(rec::kMusicBlock, rec::kInputBlockSize));
      return PendingChange{Kind::MusicItem, -1, ItemOfChange(c)};
    }
  }

  for (int c = 0; c < rec::kOutputCount; ++c) {
    CKTV_OutData& out = Output(c);
    auto found = [c](int item) { return PendingChange{Kind::OutputItem, c, item}; };
    if (out.TakeChange(OutputChange::Name)) {
      out.PackName();  // a refused name is reported and sent as the record holds it
      return found(rec::kItemName);
    }
    if (out.TakeChange(OutputChange::Settings)) {
      out.PackSettings();
      return found(rec::kItemSettings);
    }
    CFilter& hp = out.HighPass();
    CFilter& lp = out.LowPass();
    if (hp.Pending() != 0 || lp.Pending() != 0) {
      if (hp.Pending() != 0) hp.StepSentFrequency(0);
      if (lp.Pending() != 0) lp.StepSentFrequency(0);
      out.PackCrossover();
      return found(rec::kItemCrossover);
    }
    if (out.TakeChange(OutputChange::MixerLow)) {
      out.PackMixer();
      return found(rec::kItemMixerLow);
    }
    if (out.TakeChange(OutputChange::MixerHigh)) {
      out.PackMixer();
      return found(rec::kItemMixerHigh);
    }
    if (out.TakeChange(OutputChange::Limiter)) {
      out.PackLimiter();
      return found(rec::kItemLimiter);
    }
    for (int b = 0; b < out.BandCount(); ++b) {
      CFilter& f = out.Filter(b);
      if (f.Pending() == 0) continue;
      f.StepSentFrequency(0);
      out.PackBand(b);
      return found(f.BandNumber());
    }
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------
// System block edits

int CKTV_Data::MasterVolume() const {
  return le::GetI16(m_state.SystemBlock(), rec::kSysMasterVolume);
}

bool CKTV_Data::SetMasterVolume(int code) {
  if (code < 0 || code > kMasterVolumeMax) return false;
  le::PutI16(m_state.SystemBlock(), rec::kSysMasterVolume, static_cast<std::int16_t>(code));
  m_masterVolumeChanged.store(m_state.liveSync.load());
  return true;
}

int CKTV_Data::MasterOn() const { return m_state.SystemBlock()[rec::kSysMasterOn]; }

void CKTV_Data::SetMasterOn(int on) {
  m_state.SystemBlock()[rec::kSysMasterOn] = static_cast<std::uint8_t>(on != 0 ? 1 : 0);
}

int CKTV_Data::HiddenLevel(int i) const {
  if (i < 0 || i >= kHiddenLevelFields) return 0;
  const auto h = m_state.HiddenLevels();
  if (i < kHiddenLevelValues) return le::GetI16(h, 2 * static_cast<std::size_t>(i));
  return h[2 * kHiddenLevelValues + static_cast<std::size_t>(i - kHiddenLevelValues)];
}

bool CKTV_Data::SetHiddenLevel(int i, int value) {
  if (i < 0 || i >= kHiddenLevelFields) return false;
  auto h = m_state.HiddenLevels();
  if (i < kHiddenLevelValues) {
    le::PutI16(h, 2 * static_cast<std::size_t>(i), static_cast<std::int16_t>(value));
  } else {
    h[2 * kHiddenLevelValues + static_cast<std::size_t>(i - kHiddenLevelValues)] =
        static_cast<std::uint8_t>(value);
  }
  m_hiddenLevelChanged.store(m_state.liveSync.load());
  return true;
}

// ---------------------------------------------------------------------------------------
// Inputs, sources and routing

int CKTV_Data::InputSource() const { return m_state.SystemBlock()[rec::kSysInputSource]; }

RoutingResult CKTV_Data::SelectInputSource(int value) {
  if (value < 0 || value >= kInputSourceCount) return RoutingResult::Refused;
  m_state.SystemBlock()[rec::kSysInputSource] = static_cast<std::uint8_t>(value);
  return m_state.connected.load() ? RoutingResult::QueueSystem : RoutingResult::Stored;
}

bool CKTV_Data::ApplyReportedSource(int value) {
  // A value outside the source list can only come from a damaged reply.
  if (value < 0 || value >= kInputSourceCount) return false;
  if (value == m_state.lastReportedSource.load()) return false;
  m_state.lastReportedSource.store(value);
  m_state.SystemBlock()[rec::kSysInputSource] = static_cast<std::uint8_t>(value);
  return true;
}

int CKTV_Data::SpeakerType(int channel) const {
  if (channel < 0 || channel >= rec::kOutputCount) return 0;
  return m_state.SpeakerTypes()[static_cast<std::size_t>(channel)];
}

RoutingResult CKTV_Data::SetSpeakerType(int channel, int type) {
  if (channel < 0 || channel >= rec::kOutputCount || type < 0 || type > kSpeakerTypeMax) {
    return RoutingResult::Refused;
  }
  m_state.SpeakerTypes()[static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(type);
  return m_state.connected.load() ? RoutingResult::QueueSystem : RoutingResult::Stored;
}

int CKTV_Data::SpeakerMode() const { return m_state.SystemBlock()[rec::kSysSpeakerMode]; }

}  // namespace vantor
