#include "model/Effect_Data.h"

#include <cassert>

#include "model/ChannelTable.h"
#include "model/RecordCodec.h"
#include "text/GbkCodec.h"

namespace vantor {

CEffect_Data::CEffect_Data(const LiveSyncFlag* liveSync)
    : m_eq(liveSync), m_name(kEffectObjectName) {
  m_eq.BuildEffect(kEffectBandCountArg, kFrequencyMax, kEffectCrossoverBand);
  for (std::size_t i = 0; i < kEffectParamCount; ++i) m_params[i].store(kEffectParamDefaults[i]);
}

int CEffect_Data::Param(int i) const {
  if (i < 0 || i >= static_cast<int>(kEffectParamCount)) return 0;
  return m_params[static_cast<std::size_t>(i)].load();
}

void CEffect_Data::SetParam(int i, int value) {
  if (i < 0 || i >= static_cast<int>(kEffectParamCount)) return;
  m_params[static_cast<std::size_t>(i)].store(value);
}

std::string CEffect_Data::NameGbk() const {
  std::lock_guard lock(m_nameMutex);
  return m_name;
}

std::string CEffect_Data::NameText() const { return GbkToUtf8Lossy(NameGbk()); }

void CEffect_Data::SetNameGbk(std::string gbk) {
  std::lock_guard lock(m_nameMutex);
  m_name = std::move(gbk);
}

NameResult CEffect_Data::SetNameText(std::string_view utf8) {
  auto gbk = Utf8ToGbk(utf8);
  if (!gbk) return NameResult::NotEncodable;
  SetNameGbk(std::move(*gbk));
  return NameResult::Ok;
}

void CEffect_Data::Pack(std::span<std::uint8_t> record) const {
  assert(record.size() >= rec::kStateRecordSize);
  for (int b = 0; b < m_eq.BandCount(); ++b) {
    const BandRecord r = m_eq.GetBandRecord(b);
    std::copy(r.begin(), r.end(),
              record.begin() + static_cast<std::ptrdiff_t>(rec::kEffectBlock + rec::OutBand(b)));
  }
  PackCrossover(record.subspan(rec::kEffectCrossover, rec::kItemSize), m_eq.At(m_eq.Count() - 2),
                m_eq.At(m_eq.Count() - 1));
  for (std::size_t i = 0; i < kEffectParamCount; ++i) {
    record[rec::kEffectParamOffsets[i]] = static_cast<std::uint8_t>(m_params[i].load());
  }
  WriteNameFieldCut(record.subspan(rec::kEffectName, rec::kEffectNameSize), NameGbk());
}

void CEffect_Data::Unpack(std::span<const std::uint8_t> record) {
  assert(record.size() >= rec::kStateRecordSize);
  for (int b = 0; b < m_eq.BandCount(); ++b) {
    m_eq.SetBandRecord(record.subspan(rec::kEffectBlock + rec::OutBand(b), rec::kBandRecordSize),
                       b);
  }
  UnpackCrossover(record.subspan(rec::kEffectCrossover, rec::kItemSize), m_eq.HighPass(),
                  m_eq.LowPass());
  for (std::size_t i = 0; i < kEffectParamCount; ++i) {
    m_params[i].store(record[rec::kEffectParamOffsets[i]]);
  }
  SetNameGbk(ReadNameField(record.subspan(rec::kEffectName, rec::kEffectNameSize)));
  m_eq.SumResponse();
}

}  // namespace vantor
