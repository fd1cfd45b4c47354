#include "SimTestSupport.h"

#include <algorithm>
#include <sstream>

namespace simtest {

Bytes Hex(const std::string& text) {
  Bytes out;
  std::istringstream in(text);
  std::string token;
  while (in >> token) out.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
  return out;
}

Bytes HostFrame(std::uint8_t code, std::uint8_t slot, std::uint8_t block, std::uint8_t index,
                std::uint8_t item, std::uint8_t link, const Bytes& payload) {
  Bytes f = {0xA2,
             0xA2,
             0xA2,
             0xA3,
             code,
             0x01,
             slot,
             block,
             index,
             item,
             link,
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

Bytes ReadRequest(std::uint8_t slot, std::uint8_t block, std::uint8_t index, std::uint8_t item) {
  return HostFrame(0xB4, slot, block, index, item, 0, Bytes(8, 0));
}

std::vector<vantor::Report> ToReports(const Bytes& stream) {
  std::vector<vantor::Report> reports;
  for (std::size_t at = 0; at < stream.size(); at += 64) {
    vantor::Report r{};
    const std::size_t n = std::min<std::size_t>(64, stream.size() - at);
    std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), n, r.begin() + 1);
    reports.push_back(r);
  }
  return reports;
}

void Send(vantor::HidDevice& device, const Bytes& stream) {
  for (const auto& r : ToReports(stream)) device.WriteReport(r, 20ms);
}

bool Answer::ChecksumOk() const {
  std::uint8_t x = 0;
  for (std::size_t i = 4; i + 2 < frame.size(); ++i) x ^= frame[i];
  return frame.size() >= 16 && frame[frame.size() - 2] == x && frame.back() == 0xAA;
}

std::optional<Answer> ReadAnswer(vantor::HidDevice& device, std::chrono::milliseconds perReport) {
  Answer a;
  Bytes stream;
  for (;;) {
    vantor::Report r{};
    if (device.ReadReport(r, perReport) != vantor::HidReadResult::kOk) return std::nullopt;
    ++a.reports;
    stream.insert(stream.end(), r.begin() + 1, r.end());
    const Bytes preamble = {0xA2, 0xA2, 0xA2, 0xA3};
    auto it = std::search(stream.begin(), stream.end(), preamble.begin(), preamble.end());
    if (it == stream.end()) continue;
    const auto start = static_cast<std::size_t>(it - stream.begin());
    if (stream.size() < start + 14) continue;
    const std::size_t length = stream[start + 12] | (stream[start + 13] << 8);
    if (stream.size() < start + 16 + length) continue;
    a.before.assign(stream.begin(), it);
    a.frame.assign(it, it + 16 + static_cast<std::ptrdiff_t>(length));
    return a;
  }
}

std::optional<Answer> Exchange(vantor::HidDevice& device, const Bytes& frame) {
  Send(device, frame);
  return ReadAnswer(device);
}

vantor::sim::SimOptions InstantOptions(const std::string& path) {
  vantor::sim::SimOptions options;
  options.path = path;
  options.timing = vantor::sim::SimTiming::Instant();
  return options;
}

}  // namespace simtest
