#pragma once
// The packets of a firmware update: system-item write frames (block type 4) whose index
// byte is the packet code, addressed to device id 1 whatever the configured id, and the
// sequencer that turns an image into them, a few at a time as the queue runs empty.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "firmware/FirmwareImage.h"
#include "link/LinkTimings.h"
#include "link/SendData.h"

namespace vantor {

namespace fw {
inline constexpr int kWake = 255;    // placeholder for the wake-up phase, never sent
inline constexpr int kStart = 176;   // processor: start (the device restarts)
inline constexpr int kHeader = 177;  // processor: four copies of the image's first byte
inline constexpr int kData = 178;    // processor: 48 image bytes
inline constexpr int kEnd = 179;     // processor: the image checksum
inline constexpr int kControllerStart1 = 224;
inline constexpr int kControllerStart2 = 225;
inline constexpr int kControllerData = 226;
inline constexpr int kControllerEnd = 227;

inline constexpr std::size_t kWakePayload = 48;
inline constexpr std::size_t kStartPayload = 16;
inline constexpr std::size_t kHeaderPayload = 4;
inline constexpr std::uint8_t kFill = 0xFF;  // pads the last data packet to 48 bytes
// The wake-up report: these two bytes, 32 times.
inline constexpr std::uint8_t kWakeByte0 = 0x43;
inline constexpr std::uint8_t kWakeByte1 = 0x11;
}  // namespace fw

// One packet: its frame, its code as stage code, `progressIndex` (1 or more, so that the
// answer runs the firmware progress step).
std::unique_ptr<CSendData> BuildFirmwarePacket(int code, std::span<const std::uint8_t> payload,
                                               int progressIndex);

// How long one input report is waited for after a packet of this code.
std::chrono::milliseconds FirmwareReadTimeout(int code, const LinkTimings& timings);

// Hands out the packets of one image in order. The first call gives the wake-up
// placeholder; each later call advances the image's sequence as far as one step reaches:
// start packet(s), header and the first data packet together; then one data packet per
// call; the last data packet together with the end packet; then nothing.
class FirmwareSequencer {
 public:
  FirmwareSequencer() = default;
  explicit FirmwareSequencer(FirmwareImage image) { Reset(std::move(image)); }

  // Back to the start for `image` (sequence positions at 0, first-packet flag set).
  void Reset(FirmwareImage image);
  std::vector<std::unique_ptr<CSendData>> NextPackets();
  bool Done() const { return m_position == kDone; }
  const FirmwareImage& Image() const { return m_image; }

 private:
  static constexpr int kDone = 4;
  void Queue(std::vector<std::unique_ptr<CSendData>>& out, int code,
             std::span<const std::uint8_t> payload);
  // The next data packet, padded when it is the last; true when it was the last.
  bool QueueData(std::vector<std::unique_ptr<CSendData>>& out, int code);

  FirmwareImage m_image;
  bool m_firstPacket = false;
  int m_position = kDone;
  std::size_t m_sent = 0;  // image bytes already put into data packets
  int m_packets = 0;
};

// How many packets of each code an image is sent in (the wake-up placeholder not counted).
std::map<int, int> FirmwarePacketCounts(const FirmwareImage& image);

}  // namespace vantor
