#pragma once
// The processor's own view of a frame: the layout it reads from the host and writes back.
// Deliberately written apart from the host's framing code, so that a mistake made on one
// side cannot be mirrored on the other and go unnoticed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantor::sim {

// Frame layout, offsets from the first preamble byte.
inline constexpr std::size_t kFramePreambleLength = 4;  // A2 A2 A2 A3
inline constexpr std::uint8_t kPreambleByte = 0xA2;
inline constexpr std::uint8_t kStartByte = 0xA3;
inline constexpr std::size_t kFrameCode = 4;  // host class or device reply code
inline constexpr std::size_t kFrameDeviceId = 5;
inline constexpr std::size_t kFrameSlot = 6;
inline constexpr std::size_t kFrameBlock = 7;
inline constexpr std::size_t kFrameIndex = 8;
inline constexpr std::size_t kFrameItem = 9;  // item, or the slot-store flag of a read
inline constexpr std::size_t kFrameLink = 10;
inline constexpr std::size_t kFrameZero = 11;
inline constexpr std::size_t kFrameLength = 12;  // u16 little-endian payload length
inline constexpr std::size_t kFrameHeaderSize = 14;
inline constexpr std::size_t kFrameOverhead = 16;  // header + checksum + end byte
inline constexpr std::uint8_t kEndByte = 0xAA;
// The host's receiver also opens a frame at this byte without any preamble, so the unit
// never lets it stray outside a frame.
inline constexpr std::uint8_t kHostAltStartByte = 0xEE;
// The checksum covers frame bytes 4 .. 13+L.
inline constexpr std::size_t kChecksumFrom = kFrameCode;

// Host classes and device replies.
inline constexpr std::uint8_t kClassWrite = 0xB3;
inline constexpr std::uint8_t kClassRead = 0xB4;
inline constexpr std::uint8_t kReplyAccepted = 0x64;
inline constexpr std::uint8_t kReplyResend = 0x65;
inline constexpr std::uint8_t kReplyData = 0x66;

inline constexpr std::uint8_t kDeviceId = 1;
inline constexpr std::uint8_t kSlotStoreFlag = 0xAB;

// The largest payload the processor takes from the host. Host frames carry at most a whole
// output block; anything claiming more is a damaged header.
inline constexpr std::size_t kMaxHostPayload = 512;

// Bytes 6..9 of a request, which every answer carries back unchanged.
using FrameAddress = std::array<std::uint8_t, 4>;

// One complete frame as received from the host (checksum already verified or not).
struct HostFrame {
  std::vector<std::uint8_t> bytes;  // the whole frame, preamble to end byte

  std::uint8_t Code() const { return bytes[kFrameCode]; }
  std::uint8_t DeviceId() const { return bytes[kFrameDeviceId]; }
  std::uint8_t Slot() const { return bytes[kFrameSlot]; }
  std::uint8_t Block() const { return bytes[kFrameBlock]; }
  std::uint8_t Index() const { return bytes[kFrameIndex]; }
  std::uint8_t Item() const { return bytes[kFrameItem]; }
  std::uint8_t Link() const { return bytes[kFrameLink]; }
  FrameAddress Address() const;
  std::size_t PayloadLength() const;
  std::span<const std::uint8_t> Payload() const;
  // End byte and XOR checksum both as they should be.
  bool Intact() const;
};

// XOR of the given bytes: the frame checksum over bytes 4 .. 13+L.
std::uint8_t FrameXor(std::span<const std::uint8_t> bytes);

// A device frame: reply code, the request's address, the payload; checksum and end byte
// appended.
std::vector<std::uint8_t> BuildDeviceFrame(std::uint8_t replyCode, const FrameAddress& address,
                                           std::span<const std::uint8_t> payload);

}  // namespace vantor::sim
