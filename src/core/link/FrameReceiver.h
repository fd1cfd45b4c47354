#pragma once
// Finds frames in the byte stream from the device. Bytes arrive in pieces (64 per input
// report); the receiver hunts for a preamble, collects one frame, and checks its end byte
// and checksum. It allocates nothing and never writes outside its 400-byte frame buffer,
// whatever the input.
//
// Hunting: each 0xA2 counts; the next byte starts a frame when exactly three came before
// it, or when it is 0xEE (which needs no preamble). The count survives between calls, so
// a preamble may be split across reports. A run of four or more 0xA2 starts nothing.
//
// A frame whose declared length cannot fit the buffer (L > 387) is dropped as soon as its
// length is read, and hunting resumes with the bytes after its start byte, so a real frame
// hidden behind a false start is still found. Bytes after a complete frame in the same call
// are discarded, as is the rest of a call whose frame failed its checks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vantor {

// A verified frame; `payload` points into the receiver's buffer and stays valid until the
// next Feed or Reset.
struct ReceivedFrame {
  std::uint8_t code = 0;       // byte 4: reply code
  std::uint8_t slot = 0;       // byte 6
  std::uint8_t blockType = 0;  // byte 7
  std::uint8_t index = 0;      // byte 8: block index or sub-code
  std::uint8_t flag = 0;       // byte 9: slot-store flag
  std::uint16_t length = 0;    // L
  std::span<const std::uint8_t> payload;
  // The whole frame from its start byte (byte 3, or 0xEE) to the end byte.
  std::span<const std::uint8_t> raw;
};

class FrameReceiver {
 public:
  // Holds frame bytes from byte 3 on; the largest frame it can take has L = 387.
  static constexpr std::size_t kBufferSize = 400;
  static constexpr std::size_t kMaxPayload = kBufferSize - 13;

  // Appends received bytes; true when this call completed a frame that passed its checks.
  // The frame is then available from Frame() and the receiver is hunting again.
  bool Feed(std::span<const std::uint8_t> bytes);
  // Back to hunting with nothing collected; `clear` also wipes the first 300 buffer bytes.
  void Reset(bool clear = false);

  const ReceivedFrame& Frame() const { return m_frame; }
  bool InFrame() const { return m_inFrame; }
  int PreambleCount() const { return m_preambleCount; }
  std::size_t Collected() const { return m_collected; }

 private:
  enum class Step { kMore, kDecoded, kFailed };
  // Feeds bytes and reports where it stopped; `used` is how many were consumed.
  Step Consume(std::span<const std::uint8_t> bytes, std::size_t& used);
  bool Hunt(std::uint8_t byte);
  Step CheckComplete();

  std::array<std::uint8_t, kBufferSize> m_buffer{};
  int m_preambleCount = 0;
  bool m_inFrame = false;
  std::size_t m_collected = 0;
  std::size_t m_expected = 0;
  ReceivedFrame m_frame;
};

}  // namespace vantor
