#include "model/KTV_OutData.h"

#include <cassert>

#include "base/LittleEndian.h"
#include "model/KTV_Data.h"
#include "model/RecordCodec.h"
#include "text/GbkCodec.h"

namespace vantor {

int ItemOfChange(OutputChange change) {
  switch (change) {
    case OutputChange::Name:
      return rec::kItemName;
    case OutputChange::MixerLow:
      return rec::kItemMixerLow;
    case OutputChange::Settings:
      return rec::kItemSettings;
    case OutputChange::Limiter:
      return rec::kItemLimiter;
    case OutputChange::MixerHigh:
      return rec::kItemMixerHigh;
  }
  return -1;
}

CKTV_OutData::CKTV_OutData(CKTV_Data& owner, int channel)
    : m_owner(owner), m_channel(channel), m_eq(&owner.State().liveSync) {
  assert(channel >= 0 && channel < rec::kOutputCount);
  const OutputChannelInfo& info = kOutputChannels[static_cast<std::size_t>(channel)];
  m_eq.BuildOutput(kOutputBandCountArg, kFrequencyMin, kFrequencyMax, info.crossoverLimitMode,
                   kOutputCrossoverBand);
  m_name = std::string(info.tag);
  // The mixer row starts as the record holds it.
  const auto r = Record();
  for (std::size_t s = 0; s < rec::kMixerSources; ++s) m_mixer[s].store(r[rec::kOutMixer + s]);
}

std::span<std::uint8_t> CKTV_OutData::Record() {
  return std::span<std::uint8_t>(m_owner.State().Live())
      .subspan(rec::OutputOffset(m_channel), rec::kOutputRecordSize);
}

bool CKTV_OutData::Live() const { return m_owner.State().liveSync.load(); }

void CKTV_OutData::Layout(const Rect& plot) {
  m_eq.Layout(plot);
  m_eq.SumResponse();
}

// ---------------------------------------------------------------------------------------
// Values

MixerRow CKTV_OutData::Mixer() const {
  MixerRow row{};
  for (std::size_t s = 0; s < row.size(); ++s) row[s] = m_mixer[s].load();
  return row;
}

int CKTV_OutData::MixerLevel(int source) const {
  if (source < 0 || source >= static_cast<int>(rec::kMixerSources)) return 0;
  return m_mixer[static_cast<std::size_t>(source)].load();
}

std::string CKTV_OutData::NameGbk() const {
  std::lock_guard lock(m_nameMutex);
  return m_name;
}

std::string CKTV_OutData::NameText() const { return GbkToUtf8Lossy(NameGbk()); }

// ---------------------------------------------------------------------------------------
// Setters

void CKTV_OutData::Mark(OutputChange change) {
  m_changes[static_cast<std::size_t>(change)].store(Live());
}

void CKTV_OutData::StoreGain(int code) {
  m_gain.store(code);
  m_muted.store(code == 0);
}

void CKTV_OutData::StoreEqMode(int mode) {
  m_eqMode.store(mode);
  for (int b = 0; b < BandCount(); ++b) m_eq.At(b).SetGraphicMode(mode);
}

void CKTV_OutData::SetOutputOn(int on) {
  m_outputOn.store(on);
  Mark(OutputChange::Settings);
}

void CKTV_OutData::SetPhase(int phase) {
  m_phase.store(phase);
  Mark(OutputChange::Settings);
  PropagateSettings();
}

void CKTV_OutData::SetGainCode(int code) {
  StoreGain(code);
  Mark(OutputChange::Settings);
  PropagateSettings();
}

void CKTV_OutData::SetDelayCode(int code) {
  m_delay.store(code);
  Mark(OutputChange::Settings);
}

void CKTV_OutData::SetEqMode(int mode) {
  StoreEqMode(mode);
  Mark(OutputChange::Settings);
  PropagateSettings();
}

void CKTV_OutData::SetAuxLevel(int level) {
  m_auxLevel.store(level);
  Mark(OutputChange::Settings);
}

void CKTV_OutData::SetThresholdCode(int code) {
  m_threshold.store(code);
  Mark(OutputChange::Limiter);
  PropagateLimiter();
}

void CKTV_OutData::SetAttackCode(int code) {
  m_attack.store(code);
  Mark(OutputChange::Limiter);
  PropagateLimiter();
}

void CKTV_OutData::SetReleaseCode(int code) {
  m_release.store(code);
  Mark(OutputChange::Limiter);
  PropagateLimiter();
}

void CKTV_OutData::SetMixerLow(const MixerRow& row) {
  for (std::size_t s = 0; s < row.size(); ++s) m_mixer[s].store(row[s]);
  Mark(OutputChange::MixerLow);
}

void CKTV_OutData::SetMixerHigh(const MixerRow& row) {
  for (std::size_t s = 0; s < row.size(); ++s) m_mixer[s].store(row[s]);
  Mark(OutputChange::MixerHigh);
}

void CKTV_OutData::SetNameGbk(std::string gbk) {
  {
    std::lock_guard lock(m_nameMutex);
    m_name = std::move(gbk);
  }
  Mark(OutputChange::Name);
}

NameResult CKTV_OutData::SetNameText(std::string_view utf8) {
  auto gbk = Utf8ToGbk(utf8);
  if (!gbk) return NameResult::NotEncodable;
  SetNameGbk(std::move(*gbk));
  return NameResult::Ok;
}

void CKTV_OutData::PropagateSettings() {
  const int gain = GainCode();
  const int mode = EqMode();
  const int aux = AuxLevel();
  m_owner.Links().ForEachPartner(
      m_channel, [&](CKTV_OutData& other) { other.ReceiveLinkedSettings(gain, mode, aux); });
}

void CKTV_OutData::PropagateLimiter() {
  const int t = ThresholdCode();
  const int a = AttackCode();
  const int r = ReleaseCode();
  m_owner.Links().ForEachPartner(m_channel,
                                 [&](CKTV_OutData& other) { other.ReceiveLinkedLimiter(t, a, r); });
}

void CKTV_OutData::TakeLinkCopy(const CKTV_OutData& from) {
  if (&from == this) return;
  m_eq.CopyValues(from.m_eq);
  StoreGain(from.GainCode());
  StoreEqMode(from.EqMode());
  m_eq.SumResponse();
}

void CKTV_OutData::ReceiveLinkedSettings(int gainCode, int eqMode, int auxLevel) {
  StoreGain(gainCode);
  StoreEqMode(eqMode);
  m_auxLevel.store(auxLevel);
  Mark(OutputChange::Settings);
}

void CKTV_OutData::ReceiveLinkedLimiter(int threshold, int attack, int release) {
  m_threshold.store(threshold);
  m_attack.store(attack);
  m_release.store(release);
  Mark(OutputChange::Limiter);
}

// ---------------------------------------------------------------------------------------
// Change flags

bool CKTV_OutData::Changed(OutputChange change) const {
  return m_changes[static_cast<std::size_t>(change)].load();
}

bool CKTV_OutData::TakeChange(OutputChange change) {
  return m_changes[static_cast<std::size_t>(change)].exchange(false);
}

void CKTV_OutData::SetChange(OutputChange change, bool on) {
  m_changes[static_cast<std::size_t>(change)].store(on);
}

void CKTV_OutData::ClearChanges() {
  for (auto& c : m_changes) c.store(false);
}

// ---------------------------------------------------------------------------------------
// Packers

void CKTV_OutData::WriteBand(std::span<std::uint8_t> record, int band) const {
  assert(band >= 0 && band < BandCount());
  const BandRecord r = m_eq.GetBandRecord(band);
  std::copy(r.begin(), r.end(), record.begin() + static_cast<std::ptrdiff_t>(rec::OutBand(band)));
}

void CKTV_OutData::WriteSettings(std::span<std::uint8_t> r) const {
  r[rec::kOutOn] = static_cast<std::uint8_t>(OutputOn());
  r[rec::kOutPhase] = static_cast<std::uint8_t>(Phase());
  le::PutI16(r, rec::kOutDelay, static_cast<std::int16_t>(DelayCode()));
  r[rec::kOutEqMode] = static_cast<std::uint8_t>(EqMode());
  r[rec::kOutAuxLevel] = static_cast<std::uint8_t>(AuxLevel());
  le::PutI16(r, rec::kOutGain, static_cast<std::int16_t>(Muted() ? 0 : GainCode()));
}

void CKTV_OutData::WriteCrossover(std::span<std::uint8_t> r) const {
  vantor::PackCrossover(r.subspan(rec::kOutHighPassFreq, rec::kItemSize), m_eq.At(m_eq.Count() - 2),
                        m_eq.At(m_eq.Count() - 1));
}

void CKTV_OutData::WriteMixer(std::span<std::uint8_t> r) const {
  for (std::size_t s = 0; s < rec::kMixerSources; ++s) r[rec::kOutMixer + s] = m_mixer[s].load();
}

void CKTV_OutData::WriteLimiter(std::span<std::uint8_t> r) const {
  le::PutI16(r, rec::kOutLimiterThreshold, static_cast<std::int16_t>(ThresholdCode()));
  r[rec::kOutLimiterAttack] = static_cast<std::uint8_t>(AttackCode());
  r[rec::kOutLimiterRelease] = static_cast<std::uint8_t>(ReleaseCode());
}

void CKTV_OutData::PackBand(int band) { WriteBand(Record(), band); }

void CKTV_OutData::PackSettings() { WriteSettings(Record()); }

void CKTV_OutData::PackCrossover() { WriteCrossover(Record()); }

void CKTV_OutData::PackMixer() { WriteMixer(Record()); }

void CKTV_OutData::PackLimiter() { WriteLimiter(Record()); }

NameResult CKTV_OutData::PackName() {
  const std::string name = NameGbk();
  if (name.size() >= rec::kOutNameSize) {
    m_owner.Report(TextId::CharLenError);
    return NameResult::TooLong;
  }
  WriteNameField(Record().subspan(rec::kOutName, rec::kOutNameSize), name);
  return NameResult::Ok;
}

NameResult CKTV_OutData::PackAll() {
  for (int b = 0; b < BandCount(); ++b) PackBand(b);
  const NameResult name = PackName();
  PackSettings();
  PackCrossover();
  PackLimiter();
  PackMixer();
  return name;
}

void CKTV_OutData::PackInto(std::span<std::uint8_t> record) const {
  for (int b = 0; b < BandCount(); ++b) WriteBand(record, b);
  const std::string name = NameGbk();
  if (name.size() < rec::kOutNameSize) {
    WriteNameField(record.subspan(rec::kOutName, rec::kOutNameSize), name);
  }
  WriteSettings(record);
  WriteCrossover(record);
  WriteLimiter(record);
  WriteMixer(record);
}

void CKTV_OutData::Unpack() {
  const auto r = Record();
  for (int b = 0; b < BandCount(); ++b) {
    m_eq.SetBandRecord(r.subspan(rec::OutBand(b), rec::kBandRecordSize), b);
  }
  {
    std::string name = ReadNameField(r.subspan(rec::kOutName, rec::kOutNameSize));
    std::lock_guard lock(m_nameMutex);
    m_name = std::move(name);
  }
  UnpackCrossover(r.subspan(rec::kOutHighPassFreq, rec::kItemSize), HighPass(), LowPass());
  m_outputOn.store(r[rec::kOutOn]);
  m_phase.store(r[rec::kOutPhase]);
  m_delay.store(le::GetI16(r, rec::kOutDelay));
  StoreGain(le::GetI16(r, rec::kOutGain));
  StoreEqMode(r[rec::kOutEqMode]);
  m_auxLevel.store(r[rec::kOutAuxLevel]);
  m_threshold.store(le::GetI16(r, rec::kOutLimiterThreshold));
  m_attack.store(r[rec::kOutLimiterAttack]);
  m_release.store(r[rec::kOutLimiterRelease]);
  for (std::size_t s = 0; s < rec::kMixerSources; ++s) m_mixer[s].store(r[rec::kOutMixer + s]);
  m_eq.SumResponse();
}

void CKTV_OutData::ResetEq() {
  for (int b = 0; b < BandCount(); ++b) {
    m_eq.At(b).ResetToDefault(kOutputBandFrequencies[static_cast<std::size_t>(b)]);
  }
  m_eq.SumResponse();
}

}  // namespace vantor
