#pragma once
// One entry of the simulated processor's frame log: what arrived, what the unit made of it
// and how it answered. Tests read the log to see which commands arrived, in which order.

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/SimFault.h"

namespace vantor::sim {

enum class SimFrameFate {
  kStored,    // a write taken over
  kRead,      // a read answered with data
  kNoData,    // a read answered with L = 0 (nothing held there, or an empty-data fault)
  kRejected,  // a write the unit cannot take, answered 0x65
  kCorrupt,   // checksum, end byte or length wrong; answered 0x65
  kRefused,   // a resend fault: answered 0x65 without acting on it
  kIgnored,   // not acted upon and not answered: stopped, unplugged or babbling
};

const char* SimFrameFateName(SimFrameFate fate);

struct SimFrameRecord {
  std::uint64_t number = 0;  // 1 for the first frame the unit ever received
  std::uint8_t code = 0;     // host class: 0xB3 write, 0xB4 read
  std::uint8_t deviceId = 0;
  std::uint8_t slot = 0;
  std::uint8_t block = 0;
  std::uint8_t index = 0;
  std::uint8_t item = 0;  // item, or the slot-store flag of a read
  std::uint8_t link = 0;
  std::vector<std::uint8_t> payload;  // empty for a corrupt frame
  SimFrameFate fate = SimFrameFate::kIgnored;
  std::optional<std::uint8_t> reply;  // the reply code sent; none when nothing reached the host
  std::vector<SimFaultKind> faults;   // faults committed on this frame

  bool IsWrite() const { return code == kClassWrite; }
  bool IsRead() const { return code == kClassRead; }
};

}  // namespace vantor::sim
