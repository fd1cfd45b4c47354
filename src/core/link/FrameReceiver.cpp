#include "link/FrameReceiver.h"

#include <algorithm>

#include "link/Frame.h"

namespace vantor {
namespace {

// Positions in the frame buffer, which starts at frame byte 3.
constexpr std::size_t At(std::size_t frameByte) { return frameByte - 3; }
constexpr std::size_t kHeaderBytes = At(frame::kPayload);  // 11: bytes 3..13
constexpr std::size_t kLengthKnown = kHeaderBytes + 2;     // 13: checksum and end byte

}  // namespace

void FrameReceiver::Reset(bool clear) {
  m_collected = 0;
  m_expected = 0;
  m_inFrame = false;
  if (clear) std::fill_n(m_buffer.begin(), 300, std::uint8_t{0});
}

bool FrameReceiver::Hunt(std::uint8_t byte) {
  if (byte == frame::kPreambleByte) {
    ++m_preambleCount;
    return false;
  }
  const bool start = byte == frame::kAltStartByte || m_preambleCount == frame::kPreambleLength;
  m_preambleCount = 0;
  if (!start) return false;
  m_inFrame = true;
  m_buffer[0] = byte;
  m_collected = 1;
  m_expected = 0;
  return true;
}

FrameReceiver::Step FrameReceiver::CheckComplete() {
  const std::size_t crc = m_expected - 2;
  const std::size_t end = m_expected - 1;
  std::uint8_t x = 0;
  for (std::size_t i = At(frame::kClass); i < crc; ++i) x ^= m_buffer[i];
  if (m_buffer[end] != frame::kEndByte || m_buffer[crc] != x) return Step::kFailed;

  m_frame.code = m_buffer[At(frame::kClass)];
  m_frame.slot = m_buffer[At(frame::kSlot)];
  m_frame.blockType = m_buffer[At(frame::kBlockType)];
  m_frame.index = m_buffer[At(frame::kIndex)];
  m_frame.flag = m_buffer[At(frame::kItem)];
  m_frame.length = static_cast<std::uint16_t>(m_expected - kLengthKnown);
  m_frame.payload = std::span<const std::uint8_t>(m_buffer).subspan(kHeaderBytes, m_frame.length);
  m_frame.raw = std::span<const std::uint8_t>(m_buffer).first(m_expected);
  return Step::kDecoded;
}

FrameReceiver::Step FrameReceiver::Consume(std::span<const std::uint8_t> bytes, std::size_t& used) {
  used = 0;
  while (used < bytes.size()) {
    if (!m_inFrame) {
      Hunt(bytes[used++]);
      continue;
    }
    // Take what the frame still needs: the header first, then the rest once L is known.
    const std::size_t want = (m_expected == 0 ? kLengthKnown : m_expected) - m_collected;
    const std::size_t n = std::min(want, bytes.size() - used);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(used), n,
                m_buffer.begin() + static_cast<std::ptrdiff_t>(m_collected));
    m_collected += n;
    used += n;

    if (m_expected == 0) {
      if (m_collected < kLengthKnown) continue;
      const std::size_t length = m_buffer[At(frame::kLength)] |
                                 (static_cast<std::size_t>(m_buffer[At(frame::kLength) + 1]) << 8);
      if (length > kMaxPayload) {
        // Cannot be held: drop it and hunt again in what followed its start byte (at most
        // 12 bytes, too few to reach this point a second time).
        std::array<std::uint8_t, kLengthKnown - 1> after{};
        std::copy_n(m_buffer.begin() + 1, after.size(), after.begin());
        Reset();
        std::size_t rescanned = 0;
        Consume(after, rescanned);
        continue;
      }
      m_expected = length + kLengthKnown;
    }
    if (m_collected < m_expected) continue;

    const Step result = CheckComplete();
    Reset();
    return result;
  }
  return Step::kMore;
}

bool FrameReceiver::Feed(std::span<const std::uint8_t> bytes) {
  std::size_t used = 0;
  // Whatever follows a complete frame in the same call is dropped.
  return Consume(bytes, used) == Step::kDecoded;
}

}  // namespace vantor
