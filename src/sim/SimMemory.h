#pragma once
// The processor's parameter memory and what its firmware answers to each host frame: the
// live record, slot records 1..20 (a real unit uses 1..6), the effect images, the global
// blocks, the slot names (the name field of each record) and the active input source
// (system block byte 0, which the status answer reports).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ProgramState.h"
#include "sim/SimFrame.h"

namespace vantor::sim {

inline constexpr char kProcessorIdentity[] = "TRX-620-31EQ-V3.2";
inline constexpr std::size_t kStatusSize = 12;
inline constexpr std::size_t kStatusSource = 11;
inline constexpr std::size_t kNameReplySize = 15;
inline constexpr std::size_t kNameWriteSize = 16;
inline constexpr std::size_t kFactoryResetSize = 7;

// What the firmware made of one intact host frame.
enum class SimOutcome {
  kStored,    // a write it took over: answered 0x64
  kRead,      // a read it answered with data: 0x66
  kNoData,    // a read of something it does not hold: 0x66 with L = 0
  kRejected,  // a write it cannot take (unknown address, wrong size, unknown class): 0x65
};

struct SimAnswer {
  SimOutcome outcome = SimOutcome::kRejected;
  std::uint8_t replyCode = kReplyResend;
  std::vector<std::uint8_t> payload;
};

class SimMemory {
 public:
  explicit SimMemory(std::string_view identity = kProcessorIdentity);

  // Acts on an intact frame and says how to answer it.
  SimAnswer Answer(const HostFrame& frame);

  ProgramState& State() { return m_state; }
  const ProgramState& State() const { return m_state; }

  int InputSource() const;
  void SetInputSource(int source);
  // The identity is padded with spaces or cut to 17 characters.
  void SetIdentity(std::string_view identity);
  std::string Identity() const;

  // Back to the factory contents (what the factory-reset item does); the identity stays.
  void FactoryReset();

 private:
  SimAnswer AnswerBlock(const HostFrame& frame);
  SimAnswer AnswerSystem(const HostFrame& frame);
  // The bytes a block command addresses, empty when the unit has no such block.
  std::span<std::uint8_t> BlockRegion(int slot, int block, int index);

  ProgramState m_state;
};

// True for the identity read request (the frame a wrong-identity fault changes).
bool IsIdentityRead(const HostFrame& frame);

}  // namespace vantor::sim
