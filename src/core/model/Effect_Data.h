#pragma once
// The effect object ("Effect"): three bands of the record's effect block (record bytes
// 32..55), the effect crossover item (152..159), eleven carried parameter bytes (160..175)
// and the effect name (176..183). It travels only inside state records and files.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "dsp/KTVEQ.h"
#include "model/DataDefine.h"
#include "model/KTV_OutData.h"

namespace vantor {

inline constexpr std::size_t kEffectParamCount = rec::kEffectParamOffsets.size();
// Construction values of the parameter bytes, in offset order.
inline constexpr std::array<std::uint8_t, kEffectParamCount> kEffectParamDefaults = {
    20, 84, 50, 68, 0, 18, 50, 0, 40, 50, 0};

class CEffect_Data {
 public:
  explicit CEffect_Data(const LiveSyncFlag* liveSync);
  CEffect_Data(const CEffect_Data&) = delete;
  CEffect_Data& operator=(const CEffect_Data&) = delete;

  CKTVEQ& Filters() { return m_eq; }
  const CKTVEQ& Filters() const { return m_eq; }

  // Parameter i (0..10) = record byte kEffectParamOffsets[i].
  int Param(int i) const;
  void SetParam(int i, int value);

  std::string NameGbk() const;
  std::string NameText() const;
  void SetNameGbk(std::string gbk);
  NameResult SetNameText(std::string_view utf8);

  // Whole state record <-> object. Bands 3..7 and the rest of the effect block are left
  // in the record as they are.
  void Pack(std::span<std::uint8_t> record) const;
  void Unpack(std::span<const std::uint8_t> record);

 private:
  CKTVEQ m_eq;
  mutable std::mutex m_nameMutex;
  std::string m_name;
  std::array<std::atomic<int>, kEffectParamCount> m_params{};
};

}  // namespace vantor
