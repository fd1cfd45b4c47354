#include "sim/SimFrame.h"

#include <algorithm>

#include "base/LittleEndian.h"

namespace vantor::sim {

FrameAddress HostFrame::Address() const {
  return {bytes[kFrameSlot], bytes[kFrameBlock], bytes[kFrameIndex], bytes[kFrameItem]};
}

std::size_t HostFrame::PayloadLength() const { return le::GetU16(bytes, kFrameLength); }

std::span<const std::uint8_t> HostFrame::Payload() const {
  return std::span(bytes).subspan(kFrameHeaderSize, PayloadLength());
}

bool HostFrame::Intact() const {
  const std::size_t n = bytes.size();
  if (n < kFrameOverhead || n != PayloadLength() + kFrameOverhead) return false;
  if (bytes[n - 1] != kEndByte) return false;
  const auto covered = std::span(bytes).subspan(kChecksumFrom, n - 2 - kChecksumFrom);
  return FrameXor(covered) == bytes[n - 2];
}

std::uint8_t FrameXor(std::span<const std::uint8_t> bytes) {
  std::uint8_t x = 0;
  for (std::uint8_t b : bytes) x = static_cast<std::uint8_t>(x ^ b);
  return x;
}

std::vector<std::uint8_t> BuildDeviceFrame(std::uint8_t replyCode, const FrameAddress& address,
                                           std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> f(payload.size() + kFrameOverhead, 0);
  f[0] = f[1] = f[2] = kPreambleByte;
  f[3] = kStartByte;
  f[kFrameCode] = replyCode;
  f[kFrameDeviceId] = kDeviceId;
  std::copy(address.begin(), address.end(), f.begin() + kFrameSlot);
  f[kFrameLink] = 0;
  f[kFrameZero] = 0;
  le::PutU16(f, kFrameLength, static_cast<std::uint16_t>(payload.size()));
  std::copy(payload.begin(), payload.end(), f.begin() + kFrameHeaderSize);
  const std::size_t n = f.size();
  f[n - 2] = FrameXor(std::span(f).subspan(kChecksumFrom, n - 2 - kChecksumFrom));
  f[n - 1] = kEndByte;
  return f;
}

}  // namespace vantor::sim
