#pragma once
// Helpers for driving a simulated processor from the host's side of the seam in tests:
// cutting a hand-built frame into output reports and collecting the answer from input
// reports. Written independently of both the host's and the unit's framing code.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/HidDevice.h"
#include "sim/SimulatedProcessor.h"

namespace simtest {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// Bytes from text like "A2 A2 A2 A3 B4 01".
Bytes Hex(const std::string& text);

// A host frame: class, device id 1, slot, block, index, item, link, 0, length, payload,
// XOR of bytes 4..13+L, 0xAA.
Bytes HostFrame(std::uint8_t code, std::uint8_t slot, std::uint8_t block, std::uint8_t index,
                std::uint8_t item, std::uint8_t link, const Bytes& payload);
Bytes ReadRequest(std::uint8_t slot, std::uint8_t block, std::uint8_t index, std::uint8_t item = 0);

// 65-byte output reports carrying the stream: report id 0, 64 bytes each, zero filled.
std::vector<vantor::Report> ToReports(const Bytes& stream);
void Send(vantor::HidDevice& device, const Bytes& stream);

// An answer as it came back: the frame bytes (from the preamble to the end byte), anything
// that preceded the preamble, and how many reports it took.
struct Answer {
  Bytes frame;
  Bytes before;
  int reports = 0;

  std::uint8_t Code() const { return frame.at(4); }
  std::size_t Length() const { return frame.at(12) | (frame.at(13) << 8); }
  Bytes Address() const { return Bytes(frame.begin() + 6, frame.begin() + 10); }
  Bytes Payload() const {
    return Bytes(frame.begin() + 14, frame.begin() + 14 + static_cast<std::ptrdiff_t>(Length()));
  }
  bool ChecksumOk() const;
};

// Reads reports until one whole frame has arrived; nothing when a read times out or fails
// first.
std::optional<Answer> ReadAnswer(vantor::HidDevice& device,
                                 std::chrono::milliseconds perReport = 200ms);
std::optional<Answer> Exchange(vantor::HidDevice& device, const Bytes& frame);

// A unit that answers at once, plugged in, with one open handle.
vantor::sim::SimOptions InstantOptions(const std::string& path = "sim:test");

}  // namespace simtest
