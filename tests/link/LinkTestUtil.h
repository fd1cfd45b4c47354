#pragma once
// Helpers for link tests: device frames written out by hand (independently of the host's
// builders), feeding them as input reports, and recorders for notices and progress.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "link/DeviceEvents.h"
#include "link/KTVCommand.h"

namespace vantor {

inline void PrintTo(const DeviceEventMessage& m, std::ostream* os) {
  *os << DeviceEventName(m.id) << "(" << m.wParam << ", " << m.lParam << ")";
}

}  // namespace vantor

namespace vantor::test {

using Bytes = std::vector<std::uint8_t>;

// A device frame: A2 A2 A2 A3, code, 1, slot, type, index, flag, 0, 0, L, payload, XOR, AA.
inline Bytes DeviceFrame(std::uint8_t code, std::uint8_t slot, std::uint8_t type,
                         std::uint8_t index, std::uint8_t flag, const Bytes& payload) {
  Bytes f = {0xA2,
             0xA2,
             0xA2,
             0xA3,
             code,
             0x01,
             slot,
             type,
             index,
             flag,
             0x00,
             0x00,
             static_cast<std::uint8_t>(payload.size() & 0xFF),
             static_cast<std::uint8_t>(payload.size() >> 8)};
  // Grown, then copied into: GCC 12 at -O3 warns falsely (-Warray-bounds) about an insert.
  f.resize(f.size() + payload.size());
  std::copy(payload.begin(), payload.end(), f.end() - static_cast<std::ptrdiff_t>(payload.size()));
  std::uint8_t x = 0;
  for (std::size_t i = 4; i < f.size(); ++i) x ^= f[i];
  f.push_back(x);
  f.push_back(0xAA);
  return f;
}

inline Bytes Ack() { return DeviceFrame(0x64, 0, 0, 0, 0, Bytes(8, 0)); }
inline Bytes Resend() { return DeviceFrame(0x65, 0, 0, 0, 0, Bytes(8, 0)); }
inline Bytes Data(std::uint8_t slot, std::uint8_t type, std::uint8_t index, std::uint8_t flag,
                  const Bytes& payload) {
  return DeviceFrame(0x66, slot, type, index, flag, payload);
}

// Feeds bytes as the transport does: 64 at a time, each piece zero-padded to 64 bytes.
// Returns how many calls reported a decoded frame.
inline int FeedAsReports(CKTVCommand& q, const Bytes& bytes) {
  int decoded = 0;
  for (std::size_t at = 0; at < bytes.size(); at += 64) {
    Bytes report(64, 0);
    for (std::size_t i = 0; i < 64 && at + i < bytes.size(); ++i) report[i] = bytes[at + i];
    if (q.Feed(report)) ++decoded;
  }
  return decoded;
}

inline Bytes Pattern(std::size_t n, std::uint8_t seed) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + 7 * i);
  return b;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

class RecordingSink : public DeviceEventSink {
 public:
  void Post(const DeviceEventMessage& m) override {
    std::lock_guard lock(mutex);
    events.push_back(m);
  }
  std::vector<DeviceEventMessage> Take() {
    std::lock_guard lock(mutex);
    auto out = events;
    events.clear();
    return out;
  }
  std::mutex mutex;
  std::vector<DeviceEventMessage> events;
};

class RecordingProgress : public ProgressDisplay {
 public:
  void SetRange(int low, int high) override { ranges.emplace_back(low, high); }
  void SetPosition(int position) override { positions.push_back(position); }
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> positions;
};

inline DeviceEventMessage Ev(DeviceEvent id, std::intptr_t w = 0, std::intptr_t l = 0) {
  return DeviceEventMessage{id, w, l};
}

}  // namespace vantor::test
