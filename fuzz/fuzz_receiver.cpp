// Fuzzes the frame receiver and everything a decoded frame reaches: the progress step,
// the queue operations and the reply routing into the records.
//
// Input layout: byte 0 picks the mode, the rest is split by the mode.
//   bit 0 clear: raw stream, fed in chunks: each chunk is one length byte (meaning 1..256)
//          followed by that many stream bytes, so frames are cut at random places, as
//          input reports would cut them.
//   bit 0 set:   repaired frames. Each record is a length byte n and n body bytes; the
//          body becomes a frame (A2 A2 A2 A3, body bytes as header fields, the rest as
//          payload) whose length, checksum and end byte are made right, so the fuzzer
//          reaches the routing instead of dying at the checksum. Frames are then fed in
//          chunks whose sizes come from bits 1..7 of byte 0.
//   bit 1 (raw mode): keep the queue stocked with commands so answers pop and rewind.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "link/FrameBuilders.h"
#include "link/KTVCommand.h"
#include "model/ProgramState.h"

namespace {

class CountingSink : public vantor::DeviceEventSink {
 public:
  void Post(const vantor::DeviceEventMessage&) override { ++count; }
  std::size_t count = 0;
};

class NullProgress : public vantor::ProgressDisplay {
 public:
  void SetRange(int, int) override {}
  void SetPosition(int p) override { last = p; }
  int last = 0;
};

void Stock(vantor::CKTVCommand& q, int& serial) {
  while (q.Count() < 3) {
    auto c = vantor::BuildStatusPoll();
    c->SetProgressIndex(serial % 4);
    c->SetBatchEnd(serial % 5 == 0);
    c->SetNotice(serial % 7 == 0);
    c->SetBusyEnd(serial % 11 == 0);
    c->SetStageCode(serial % 13 == 0 ? 178 : 0);
    ++serial;
    q.Add(std::move(c));
  }
}

void Check(const vantor::CKTVCommand& q) {
  if (q.Receiver().Collected() > vantor::FrameReceiver::kBufferSize) std::abort();
}

std::vector<std::uint8_t> RepairedStream(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> out;
  std::size_t at = 0;
  while (at < data.size()) {
    const std::size_t want = data[at];
    ++at;
    const std::size_t n = std::min(want, data.size() - at);
    auto body = data.subspan(at, n);
    at += n;
    // Header fields from the body (missing ones zero), the rest as payload.
    std::uint8_t header[7] = {};
    for (std::size_t i = 0; i < 7 && i < body.size(); ++i) header[i] = body[i];
    auto payload = body.size() > 7 ? body.subspan(7) : std::span<const std::uint8_t>();
    std::vector<std::uint8_t> f = {0xA2, 0xA2, 0xA2, 0xA3};
    f.insert(f.end(), header, header + 7);
    f.push_back(0);
    f.push_back(static_cast<std::uint8_t>(payload.size() & 0xFF));
    f.push_back(static_cast<std::uint8_t>(payload.size() >> 8));
    f.insert(f.end(), payload.begin(), payload.end());
    std::uint8_t x = 0;
    for (std::size_t i = 4; i < f.size(); ++i) x ^= f[i];
    f.push_back(x);
    f.push_back(0xAA);
    out.insert(out.end(), f.begin(), f.end());
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // Large, so kept between runs, but put back to its start each time so that a finding
  // replays the same way.
  static vantor::ProgramState state;
  state.ResetRecords();
  state.stopTransfers = false;
  state.lastReportedSource = 0;
  CountingSink sink;
  NullProgress progress;
  vantor::CKTVCommand q(state);
  q.SetEventSink(&sink);
  q.SetProgressDisplay(&progress);
  q.SetStageProgress([](vantor::CSendData& c) { c.SetRetryCount(c.RetryCount() + 1); });
  int serial = 1;

  const std::uint8_t mode = data[0];
  std::span<const std::uint8_t> rest(data + 1, size - 1);

  if (mode & 1) {
    const std::vector<std::uint8_t> stream = RepairedStream(rest);
    const std::size_t chunk = 1 + (mode >> 1);  // 1..128
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      Stock(q, serial);
      q.Feed(std::span(stream).subspan(at, std::min(chunk, stream.size() - at)));
      Check(q);
    }
    return 0;
  }

  std::size_t at = 0;
  while (at < rest.size()) {
    const std::size_t want = 1 + std::size_t{rest[at]};
    ++at;
    const std::size_t n = std::min(want, rest.size() - at);
    if (mode & 2) Stock(q, serial);
    q.Feed(rest.subspan(at, n));
    Check(q);
    at += n;
  }
  return 0;
}
