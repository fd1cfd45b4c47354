#include "sim/SimFault.h"

#include <utility>

#include "link/HidDevice.h"
#include "sim/SimBootLoader.h"
#include "sim/SimMemory.h"

namespace vantor::sim {
namespace {

SimFault Make(SimFaultKind kind, int onFrame) {
  SimFault f;
  f.kind = kind;
  f.onFrame = onFrame < 1 ? 1 : onFrame;
  return f;
}

}  // namespace

const char* SimFaultName(SimFaultKind kind) {
  switch (kind) {
    case SimFaultKind::kDropReply:
      return "drop reply";
    case SimFaultKind::kCorruptChecksum:
      return "corrupt checksum";
    case SimFaultKind::kResend:
      return "resend";
    case SimFaultKind::kSplitReply:
      return "split reply";
    case SimFaultKind::kEmptyData:
      return "empty data";
    case SimFaultKind::kGarbageBefore:
      return "garbage before";
    case SimFaultKind::kStopAnswering:
      return "stop answering";
    case SimFaultKind::kUnplug:
      return "unplug";
    case SimFaultKind::kWrongIdentity:
      return "wrong identity";
    case SimFaultKind::kBabble:
      return "babble";
    case SimFaultKind::kNoReturn:
      return "no return";
  }
  return "?";
}

SimFault SimFault::DropReply(int onFrame) { return Make(SimFaultKind::kDropReply, onFrame); }
SimFault SimFault::CorruptChecksum(int onFrame) {
  return Make(SimFaultKind::kCorruptChecksum, onFrame);
}
SimFault SimFault::Resend(int onFrame) { return Make(SimFaultKind::kResend, onFrame); }
SimFault SimFault::SplitReply(std::size_t atByte, int onFrame) {
  SimFault f = Make(SimFaultKind::kSplitReply, onFrame);
  f.splitAt = atByte;
  return f;
}
SimFault SimFault::EmptyData(int onFrame) { return Make(SimFaultKind::kEmptyData, onFrame); }
SimFault SimFault::GarbageBefore(std::size_t count, int onFrame) {
  SimFault f = Make(SimFaultKind::kGarbageBefore, onFrame);
  f.garbageCount = count;
  return f;
}
SimFault SimFault::GarbageBefore(std::vector<std::uint8_t> bytes, int onFrame) {
  SimFault f = Make(SimFaultKind::kGarbageBefore, onFrame);
  f.garbageCount = bytes.size();
  f.garbageBytes = std::move(bytes);
  return f;
}
SimFault SimFault::StopAnswering(int onFrame) {
  return Make(SimFaultKind::kStopAnswering, onFrame);
}
SimFault SimFault::Unplug(int onFrame) { return Make(SimFaultKind::kUnplug, onFrame); }
SimFault SimFault::WrongIdentity(std::string identity, int onFrame) {
  SimFault f = Make(SimFaultKind::kWrongIdentity, onFrame);
  f.identity = std::move(identity);
  return f;
}
SimFault SimFault::Babble(int onFrame) { return Make(SimFaultKind::kBabble, onFrame); }
SimFault SimFault::NoReturn(int onFrame) { return Make(SimFaultKind::kNoReturn, onFrame); }

SimFaultPlan::SimFaultPlan(std::uint64_t seed) : m_rng(seed) {}

void SimFaultPlan::Inject(SimFault fault) {
  const int n = fault.onFrame < 1 ? 1 : fault.onFrame;
  m_queue.push_back({std::move(fault), n});
}

void SimFaultPlan::SetRandom(std::uint64_t seed, const SimFaultRates& rates) {
  m_rates = rates;
  m_rng.seed(seed);
}

void SimFaultPlan::Clear() {
  m_queue.clear();
  m_rates = {};
}

bool SimFaultPlan::AppliesTo(const SimFault& fault, const HostFrame& frame, bool intact) {
  switch (fault.kind) {
    case SimFaultKind::kEmptyData:
      return intact && frame.Code() == kClassRead;
    case SimFaultKind::kWrongIdentity:
      return intact && IsIdentityRead(frame);
    case SimFaultKind::kNoReturn:
      return intact && IsFirmwarePacket(frame) && frame.Index() == boot::kStart;
    default:
      return true;
  }
}

void SimFaultPlan::Fire(const SimFault& fault, SimFrameFaults& out) {
  out.kinds.push_back(fault.kind);
  switch (fault.kind) {
    case SimFaultKind::kDropReply:
      out.dropReply = true;
      break;
    case SimFaultKind::kCorruptChecksum:
      out.corruptChecksum = true;
      break;
    case SimFaultKind::kResend:
      out.resend = true;
      break;
    case SimFaultKind::kSplitReply:
      out.splitAt = fault.splitAt;
      break;
    case SimFaultKind::kEmptyData:
      out.emptyData = true;
      break;
    case SimFaultKind::kGarbageBefore: {
      auto bytes = fault.garbageBytes.empty() ? Garbage(fault.garbageCount) : fault.garbageBytes;
      out.garbage.insert(out.garbage.end(), bytes.begin(), bytes.end());
      break;
    }
    case SimFaultKind::kStopAnswering:
      out.stopAnswering = true;
      break;
    case SimFaultKind::kUnplug:
      out.unplug = true;
      break;
    case SimFaultKind::kWrongIdentity:
      out.identity = fault.identity;
      break;
    case SimFaultKind::kBabble:
      out.babble = true;
      break;
    case SimFaultKind::kNoReturn:
      out.noReturn = true;
      break;
  }
}

bool SimFaultPlan::Chance(double rate) {
  // Always draw, so that the sequence of draws does not depend on the rates.
  const double u = std::uniform_real_distribution<double>(0.0, 1.0)(m_rng);
  return u < rate;
}

SimFrameFaults SimFaultPlan::ForFrame(const HostFrame& frame, bool intact) {
  SimFrameFaults out;
  for (auto it = m_queue.begin(); it != m_queue.end();) {
    if (AppliesTo(it->fault, frame, intact) && --it->remaining == 0) {
      Fire(it->fault, out);
      it = m_queue.erase(it);
    } else {
      ++it;
    }
  }

  const bool read = intact && frame.Code() == kClassRead;
  const bool drop = Chance(m_rates.dropReply);
  const bool corrupt = Chance(m_rates.corruptChecksum);
  const bool resend = Chance(m_rates.resend);
  const bool split = Chance(m_rates.splitReply);
  const bool garbage = Chance(m_rates.garbageBefore);
  const bool empty = Chance(m_rates.emptyData);
  const bool unplug = Chance(m_rates.unplug);
  const std::size_t splitAt = 1 + static_cast<std::size_t>(m_rng() % (kReportPayload - 1));
  const std::size_t garbageCount = 1 + static_cast<std::size_t>(m_rng() % kReportPayload);

  if (drop) Fire(SimFault::DropReply(), out);
  if (corrupt) Fire(SimFault::CorruptChecksum(), out);
  if (resend) Fire(SimFault::Resend(), out);
  if (split) Fire(SimFault::SplitReply(splitAt), out);
  if (garbage) Fire(SimFault::GarbageBefore(garbageCount), out);
  if (empty && read) Fire(SimFault::EmptyData(), out);
  if (unplug) Fire(SimFault::Unplug(), out);
  return out;
}

std::vector<std::uint8_t> SimFaultPlan::Garbage(std::size_t count) {
  // Neither a preamble byte nor the host's preamble-less start byte: garbage must stay
  // garbage, whatever precedes or follows it.
  std::vector<std::uint8_t> bytes;
  bytes.reserve(count);
  while (bytes.size() < count) {
    const auto b = static_cast<std::uint8_t>(m_rng());
    if (b == kPreambleByte || b == kHostAltStartByte) continue;
    bytes.push_back(b);
  }
  return bytes;
}

}  // namespace vantor::sim
