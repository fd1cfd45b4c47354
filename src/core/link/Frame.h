#pragma once
// The frame that every exchange with the processor uses, host to device and back:
//   A2 A2 A2 A3, class or reply code, device id, slot, block type, index, item, link flag, 0,
//   payload length (u16 LE), payload, XOR of bytes 4 .. 13+L, AA.
// Names for the byte positions and codes, so builders and the receiver say what they mean.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vantor::frame {

inline constexpr std::uint8_t kPreambleByte = 0xA2;  // bytes 0..2
inline constexpr std::uint8_t kStartByte = 0xA3;     // byte 3
// Stands in for byte 3 and starts a frame without any preamble.
inline constexpr std::uint8_t kAltStartByte = 0xEE;
inline constexpr std::uint8_t kEndByte = 0xAA;
inline constexpr int kPreambleLength = 3;

// Byte 4: host classes and device reply codes.
inline constexpr std::uint8_t kWriteClass = 0xB3;
inline constexpr std::uint8_t kReadClass = 0xB4;
inline constexpr std::uint8_t kReplyAccepted = 0x64;
inline constexpr std::uint8_t kReplyResend = 0x65;
inline constexpr std::uint8_t kReplyData = 0x66;

// Byte 5 of every frame the host builds.
inline constexpr std::uint8_t kDeviceId = 1;
// Byte 9 of a read request: store the reply into the slot record (or effect image) named by
// byte 6 rather than into the live record.
inline constexpr std::uint8_t kSlotStoreFlag = 0xAB;

// Positions in a frame.
inline constexpr std::size_t kClass = 4;
inline constexpr std::size_t kDevice = 5;
inline constexpr std::size_t kSlot = 6;
inline constexpr std::size_t kBlockType = 7;
inline constexpr std::size_t kIndex = 8;  // block index, or the sub-code of a system item
inline constexpr std::size_t kItem = 9;   // item of a single-item write; slot-store flag of a read
inline constexpr std::size_t kLink = 10;
inline constexpr std::size_t kReserved = 11;
inline constexpr std::size_t kLength = 12;
inline constexpr std::size_t kPayload = 14;
inline constexpr std::size_t kHeaderSize = 14;
// Header plus checksum and end byte: a frame is L + kOverhead bytes.
inline constexpr std::size_t kOverhead = 16;

// Payload room of the staging area a frame is assembled in.
inline constexpr std::size_t kStagingPayload = 302;

// XOR of frame bytes 4 .. length-3: the checksum that goes into byte length-2.
inline std::uint8_t Checksum(std::span<const std::uint8_t> frame) {
  std::uint8_t x = 0;
  if (frame.size() < kOverhead) return x;
  for (std::size_t i = kClass; i + 2 < frame.size(); ++i) x ^= frame[i];
  return x;
}

}  // namespace vantor::frame
