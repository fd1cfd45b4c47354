#include "model/InputData.h"

#include <cassert>

#include "base/LittleEndian.h"
#include "model/RecordCodec.h"
#include "text/GbkCodec.h"

namespace vantor {
namespace {

constexpr int kItemLevels = 9;                              // bytes 72..79
constexpr int kItemLevelByte = 11;                          // byte 88
constexpr std::size_t kCarriedByte0 = rec::kInCarried + 2;  // bytes 98, 99

}  // namespace

CInputData::CInputData(std::string_view name, Rgb colour, int inputIndex,
                       const LiveSyncFlag* liveSync, Held held)
    : m_inputIndex(inputIndex), m_colour(colour), m_held(held), m_eq(liveSync), m_name(name) {
  m_eq.BuildInput(kInputBandCountArg, kFrequencyMax, kInputCrossoverBand);
}

void CInputData::Layout(const Rect& plot) {
  m_eq.Layout(plot);
  m_eq.SumResponse();
}

int CInputData::LevelSwitchByte(int i) const {
  if (i < 0 || i >= 4 || !m_held.levelSwitch[static_cast<std::size_t>(i)]) return 0;
  return m_levelSwitch[static_cast<std::size_t>(i)].load();
}

void CInputData::SetLevelSwitchByte(int i, int value) {
  if (i < 0 || i >= 4 || !m_held.levelSwitch[static_cast<std::size_t>(i)]) return;
  m_levelSwitch[static_cast<std::size_t>(i)].store(value);
  Touched(kItemLevels);
}

void CInputData::SetLevel(int value) {
  m_level.store(value);
  Touched(kItemLevels);
}

void CInputData::SetGainCode(int code) {
  m_gain.store(code);
  m_muted.store(code == 0);
  Touched(kItemLevels);
}

void CInputData::SetLevelByte(int value) {
  m_levelByte.store(value);
  Touched(kItemLevelByte);
}

int CInputData::CarriedByte(int i) const {
  if (i < 0 || i >= 2 || !m_held.carriedBytes[static_cast<std::size_t>(i)]) return 0;
  return m_carriedBytes[static_cast<std::size_t>(i)].load();
}

std::string CInputData::NameGbk() const {
  std::lock_guard lock(m_nameMutex);
  return m_name;
}

std::string CInputData::NameText() const { return GbkToUtf8Lossy(NameGbk()); }

void CInputData::SetNameGbk(std::string gbk) {
  std::lock_guard lock(m_nameMutex);
  m_name = std::move(gbk);
}

NameResult CInputData::SetNameText(std::string_view utf8) {
  auto gbk = Utf8ToGbk(utf8);
  if (!gbk) return NameResult::NotEncodable;
  SetNameGbk(std::move(*gbk));
  return NameResult::Ok;
}

void CInputData::Pack(std::span<std::uint8_t> block) const {
  assert(block.size() >= rec::kInputBlockSize);
  for (int b = 0; b < m_eq.BandCount(); ++b) {
    const BandRecord r = m_eq.GetBandRecord(b);
    std::copy(r.begin(), r.end(), block.begin() + static_cast<std::ptrdiff_t>(rec::OutBand(b)));
  }
  for (std::size_t i = 0; i < 4; ++i) {
    if (m_held.levelSwitch[i])
      block[rec::kInLevelBytes + i] = static_cast<std::uint8_t>(m_levelSwitch[i].load());
  }
  le::PutI16(block, rec::kInLevel, static_cast<std::int16_t>(Level()));
  le::PutI16(block, rec::kInGain, static_cast<std::int16_t>(Muted() ? 0 : GainCode()));
  vantor::PackCrossover(block.subspan(rec::kInCrossover, rec::kItemSize), m_eq.At(m_eq.Count() - 2),
                        m_eq.At(m_eq.Count() - 1));
  block[rec::kInLevelByte] = static_cast<std::uint8_t>(LevelByte());
  le::PutI16(block, rec::kInCarried, static_cast<std::int16_t>(CarriedValue()));
  for (std::size_t i = 0; i < 2; ++i) {
    if (m_held.carriedBytes[i])
      block[kCarriedByte0 + i] = static_cast<std::uint8_t>(m_carriedBytes[i].load());
  }
  WriteNameFieldCut(block.subspan(rec::kInName, rec::kInNameSize), NameGbk());
}

void CInputData::Unpack(std::span<const std::uint8_t> block) {
  assert(block.size() >= rec::kInputBlockSize);
  for (int b = 0; b < m_eq.BandCount(); ++b) {
    m_eq.SetBandRecord(block.subspan(rec::OutBand(b), rec::kBandRecordSize), b);
  }
  for (std::size_t i = 0; i < 4; ++i) {
    if (m_held.levelSwitch[i]) m_levelSwitch[i].store(block[rec::kInLevelBytes + i]);
  }
  m_level.store(le::GetI16(block, rec::kInLevel));
  const int gain = le::GetI16(block, rec::kInGain);
  m_gain.store(gain);
  m_muted.store(gain == 0);
  UnpackCrossover(block.subspan(rec::kInCrossover, rec::kItemSize), m_eq.HighPass(),
                  m_eq.LowPass());
  m_levelByte.store(block[rec::kInLevelByte]);
  m_carriedValue.store(le::GetI16(block, rec::kInCarried));
  for (std::size_t i = 0; i < 2; ++i) {
    if (m_held.carriedBytes[i]) m_carriedBytes[i].store(block[kCarriedByte0 + i]);
  }
  SetNameGbk(ReadNameField(block.subspan(rec::kInName, rec::kInNameSize)));
  m_eq.SumResponse();
}

}  // namespace vantor
