#pragma once
// The processor's boot loader: what the unit runs after the host's wake-up pattern. It
// takes a new processor image (start, header, data, end) or a hand-controller image
// (two start packets, data, end) one acknowledged packet at a time, checks the order and
// the final checksum, and on success holds the new image. Written from what the host
// sends, apart from the host's own firmware code, so that a mistake on one side is not
// mirrored on the other.
//
// Like a real one it cannot know whether its answer reached the host, and a data packet
// carries no sequence number: a packet that comes again is taken again. A failed or
// broken-off transfer leaves the unit in its boot loader, where a new transfer starts over
// with its start packet; only a completed one lets the unit run its program again (once
// the host has let go of it).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/SimFrame.h"
#include "sim/SimMemory.h"

namespace vantor::sim {

namespace boot {
inline constexpr std::uint8_t kStart = 176;
inline constexpr std::uint8_t kHeader = 177;
inline constexpr std::uint8_t kData = 178;
inline constexpr std::uint8_t kEnd = 179;
inline constexpr std::uint8_t kControllerStart1 = 224;
inline constexpr std::uint8_t kControllerStart2 = 225;
inline constexpr std::uint8_t kControllerData = 226;
inline constexpr std::uint8_t kControllerEnd = 227;
inline constexpr std::size_t kStartSize = 16;
inline constexpr std::size_t kHeaderSize = 4;
inline constexpr std::size_t kChunk = 48;
inline constexpr std::uint8_t kFill = 0xFF;
inline constexpr std::uint8_t kChecksumSeed = 0x12;
}  // namespace boot

// True for a report whose 64 bytes are 0x43 0x11, 32 times.
bool IsWakeReport(std::span<const std::uint8_t> bytes);
// True for a frame the boot loader acts on: a write of block 4 with a packet code.
bool IsFirmwarePacket(const HostFrame& frame);

struct SimBootAnswer {
  bool answered = false;  // false: not a boot-loader frame, ignored without an answer
  SimAnswer answer;
  bool restart = false;    // the unit restarts (re-enumerates) once this answer has gone out
  bool installed = false;  // this packet completed a processor image
};

class SimBootLoader {
 public:
  bool Active() const { return m_active; }
  // The wake-up pattern: the unit (re)enters its boot loader, waiting for a start packet.
  void Enter();
  // The host let go of the unit (handle closed, unplugged): after a completed transfer the
  // unit runs its program again; otherwise it stays in its boot loader.
  void OnSessionEnd();

  // An intact frame received in the boot loader.
  SimBootAnswer Answer(const HostFrame& frame);

  // The processor image installed last (the fill of its last packet removed), empty
  // before the first update; likewise the controller's.
  const std::vector<std::uint8_t>& ProcessorImage() const { return m_processorImage; }
  const std::vector<std::uint8_t>& ControllerImage() const { return m_controllerImage; }

  // What a unit keeps in its flash across a power cycle: whether it starts in its boot
  // loader, how far the transfer under way got, and the installed images. RestoreState
  // takes back what SaveState gave, or returns false and changes nothing.
  std::vector<std::uint8_t> SaveState() const;
  bool RestoreState(std::span<const std::uint8_t> bytes);

 private:
  enum class Stage { kIdle, kHeader, kData, kController2, kControllerData, kDone };

  SimBootAnswer Accept(bool restart = false);
  SimBootAnswer Refuse();
  // Checks the received image against the end packet's checksum and returns it without
  // the fill; none when it does not match.
  std::optional<std::vector<std::uint8_t>> Complete(std::uint8_t checksum) const;

  bool m_active = false;
  Stage m_stage = Stage::kIdle;
  std::uint8_t m_headerByte = 0;
  std::vector<std::uint8_t> m_received;
  std::vector<std::uint8_t> m_processorImage;
  std::vector<std::uint8_t> m_controllerImage;
};

// The identity a new processor image gives the unit: the image's own copy of the unit's
// identity (the same first 15 characters, then its minor version), if it carries one.
std::optional<std::string> IdentityInImage(std::span<const std::uint8_t> image,
                                           std::string_view currentIdentity);

}  // namespace vantor::sim
