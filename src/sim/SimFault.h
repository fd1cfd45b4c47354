#pragma once
// Faults the simulated processor can be told to commit: one-shot faults queued by a test,
// and seeded random faults for soak runs. Everything random comes from one seeded
// generator, so a run with the same seed and the same frames commits the same faults.

#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sim/SimFrame.h"

namespace vantor::sim {

enum class SimFaultKind {
  kDropReply,        // the frame is acted upon, its answer is lost
  kCorruptChecksum,  // the answer's checksum byte is wrong
  kResend,           // answered 0x65 instead; the frame is not acted upon
  kSplitReply,       // the answer starts a new report at a given byte
  kEmptyData,        // a read is answered 0x66 with L = 0 (what older firmware does)
  kGarbageBefore,    // bytes that are no frame precede the answer
  kStopAnswering,    // from this frame on nothing is answered or acted upon
  kUnplug,           // the unit is removed when this frame arrives; no answer
  kWrongIdentity,    // the identity read is answered with another identity
  kBabble,           // instead of answering, reports of garbage keep coming until the next frame
  kNoReturn,         // a firmware start packet: the unit restarts and never comes back on USB
};

const char* SimFaultName(SimFaultKind kind);

struct SimFault {
  SimFaultKind kind = SimFaultKind::kDropReply;
  // Fires on the n-th frame it applies to, counted from when it is injected (1 = the next).
  // Empty-data faults apply to reads only, wrong-identity faults to identity reads only,
  // no-return faults to firmware start packets only, the others to every frame.
  int onFrame = 1;
  std::size_t splitAt = 1;                 // kSplitReply: first byte of the second part
  std::size_t garbageCount = 16;           // kGarbageBefore: bytes drawn from the seed...
  std::vector<std::uint8_t> garbageBytes;  // ...unless these are given
  std::string identity;                    // kWrongIdentity

  static SimFault DropReply(int onFrame = 1);
  static SimFault CorruptChecksum(int onFrame = 1);
  static SimFault Resend(int onFrame = 1);
  static SimFault SplitReply(std::size_t atByte, int onFrame = 1);
  static SimFault EmptyData(int onFrame = 1);
  static SimFault GarbageBefore(std::size_t count, int onFrame = 1);
  static SimFault GarbageBefore(std::vector<std::uint8_t> bytes, int onFrame = 1);
  static SimFault StopAnswering(int onFrame = 1);
  static SimFault Unplug(int onFrame = 1);
  static SimFault WrongIdentity(std::string identity, int onFrame = 1);
  static SimFault Babble(int onFrame = 1);
  static SimFault NoReturn(int onFrame = 1);
};

// Chance per frame of each random fault (0 = never, 1 = always).
struct SimFaultRates {
  double dropReply = 0;
  double corruptChecksum = 0;
  double resend = 0;
  double splitReply = 0;
  double garbageBefore = 0;
  double emptyData = 0;  // reads only
  double unplug = 0;
};

// What to do to the answer of one frame.
struct SimFrameFaults {
  bool dropReply = false;
  bool corruptChecksum = false;
  bool resend = false;
  bool emptyData = false;
  bool stopAnswering = false;
  bool unplug = false;
  bool babble = false;
  bool noReturn = false;
  std::optional<std::size_t> splitAt;
  std::vector<std::uint8_t> garbage;
  std::optional<std::string> identity;
  std::vector<SimFaultKind> kinds;  // every fault that fired, for the frame log

  bool Any() const { return !kinds.empty(); }
};

class SimFaultPlan {
 public:
  explicit SimFaultPlan(std::uint64_t seed = 1);

  void Inject(SimFault fault);
  // Replaces the random rates and restarts the generator from `seed`.
  void SetRandom(std::uint64_t seed, const SimFaultRates& rates);
  // Drops the queued faults and the random rates.
  void Clear();
  std::size_t Queued() const { return m_queue.size(); }

  // The faults that fire on this frame. `intact` frames only can be reads.
  SimFrameFaults ForFrame(const HostFrame& frame, bool intact);

  // Bytes that can never be taken for a frame by the host's receiver.
  std::vector<std::uint8_t> Garbage(std::size_t count);

 private:
  struct Pending {
    SimFault fault;
    int remaining;
  };
  static bool AppliesTo(const SimFault& fault, const HostFrame& frame, bool intact);
  void Fire(const SimFault& fault, SimFrameFaults& out);
  bool Chance(double rate);

  std::deque<Pending> m_queue;
  SimFaultRates m_rates;
  std::mt19937_64 m_rng;
};

}  // namespace vantor::sim
