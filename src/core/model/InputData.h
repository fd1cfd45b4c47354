#pragma once
// What the mic and the music input objects share: the 112-byte input block layout, its
// 9-band filter set, the carried level values and the name. Which of the level bytes an
// object holds differs (the mic holds bytes 72..75 and 96..98, the music input bytes 73 and
// 75 and 96..99); bytes an object does not hold are left in the record as they are.
// No panel edits the inputs; they are moved between record, objects and files unchanged.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "dsp/KTVEQ.h"
#include "model/ChannelTable.h"
#include "model/DataDefine.h"
#include "model/KTV_OutData.h"

namespace vantor {

class CInputData {
 public:
  virtual ~CInputData() = default;
  CInputData(const CInputData&) = delete;
  CInputData& operator=(const CInputData&) = delete;

  int InputIndex() const { return m_inputIndex; }
  Rgb Colour() const { return m_colour; }
  std::uint32_t SmoothColour() const { return OpaqueArgb(m_colour); }

  CKTVEQ& Filters() { return m_eq; }
  const CKTVEQ& Filters() const { return m_eq; }
  CFilter& HighPass() { return m_eq.HighPass(); }
  CFilter& LowPass() { return m_eq.LowPass(); }
  void Layout(const Rect& plot);

  // --- Carried values (block byte in brackets).
  // Four level and switch bytes (72..75); 0 for a byte the object does not hold.
  int LevelSwitchByte(int i) const;
  void SetLevelSwitchByte(int i, int value);
  int Level() const { return m_level.load(); }  // 76..77
  void SetLevel(int value);
  int GainCode() const { return m_gain.load(); }  // 78..79; 0 = muted
  bool Muted() const { return m_muted.load(); }
  void SetGainCode(int code);                           // also muted := (code == 0)
  int LevelByte() const { return m_levelByte.load(); }  // 88
  void SetLevelByte(int value);
  int CarriedValue() const { return m_carriedValue.load(); }  // 96..97
  // Bytes 98 and 99 (i = 0, 1); 0 for a byte the object does not hold.
  int CarriedByte(int i) const;

  std::string NameGbk() const;
  std::string NameText() const;
  void SetNameGbk(std::string gbk);
  NameResult SetNameText(std::string_view utf8);

  // Block (112 bytes) <-> object: bands by band record, the crossover item at 80, the name
  // at 104 (cut at a character boundary to 7 bytes and a zero byte), the carried bytes the
  // object holds, the gain as 0 while muted.
  void Pack(std::span<std::uint8_t> block) const;
  void Unpack(std::span<const std::uint8_t> block);

 protected:
  struct Held {
    std::array<bool, 4> levelSwitch;   // bytes 72..75
    std::array<bool, 2> carriedBytes;  // bytes 98, 99
  };
  CInputData(std::string_view name, Rgb colour, int inputIndex, const LiveSyncFlag* liveSync,
             Held held);

  // Called after a setter stored a value of block item `item`.
  virtual void Touched(int /*item*/) {}

 private:
  const int m_inputIndex;
  const Rgb m_colour;
  const Held m_held;
  CKTVEQ m_eq;

  mutable std::mutex m_nameMutex;
  std::string m_name;  // GBK bytes

  std::array<std::atomic<int>, 4> m_levelSwitch{};
  std::atomic<int> m_level{0};
  std::atomic<int> m_gain{0};
  std::atomic<bool> m_muted{false};
  std::atomic<int> m_levelByte{0};
  std::atomic<int> m_carriedValue{0};
  std::array<std::atomic<int>, 2> m_carriedBytes{};
};

}  // namespace vantor
