#pragma once
// Builders of the frames the host sends. Each assembles its frame in a staging area of its
// own (so the user-interface thread and the worker never share a half-built frame) and
// returns a new command holding exactly L + 16 bytes; none of them queues it. A request
// the processor has no address for (unknown block type, index, item or sub-code, a slot
// out of range) yields null rather than a frame with undefined content.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "link/Frame.h"
#include "link/SendData.h"

namespace vantor {

class ProgramState;

// Header fields of a frame (bytes 4..10); byte 11 is always 0.
struct FrameHeader {
  std::uint8_t cls = frame::kWriteClass;
  std::uint8_t deviceId = frame::kDeviceId;
  std::uint8_t slot = 0;
  std::uint8_t blockType = 0;
  std::uint8_t index = 0;
  std::uint8_t item = 0;
  std::uint8_t link = 0;
};

// A 14-byte header followed by the payload area; bytes 0..3 hold the preamble from
// construction on.
struct FrameStaging {
  FrameStaging();
  // Writes bytes 4..10, 11 (0) and the payload length.
  void SetHeader(const FrameHeader& header, std::size_t payloadLength);
  std::span<std::uint8_t> Payload() { return std::span(bytes).subspan(frame::kHeaderSize); }

  std::array<std::uint8_t, frame::kHeaderSize + frame::kStagingPayload> bytes{};
};

// Copies the 14 header bytes and length - 16 payload bytes from `staged` into a new
// command of exactly `length` bytes, and sets the checksum and the end byte. Null when
// `length` is below 16 or `staged` holds fewer than length - 2 bytes.
std::unique_ptr<CSendData> FinishFrame(std::span<const std::uint8_t> staged, std::size_t length);

// Any frame from its header fields and payload (at most the staging payload area).
std::unique_ptr<CSendData> BuildFrame(const FrameHeader& header,
                                      std::span<const std::uint8_t> payload);

// Write of one 8-byte item of block `index` of the live record; types 1, 2, 3 and 10.
// For type 3 the link flag is `channelLinked` for items 0..30, 32 and 33 and 0 otherwise.
std::unique_ptr<CSendData> BuildItemWrite(const ProgramState& state, int type, int index, int item,
                                          bool channelLinked = false);

// Write of a whole block (112 bytes for types 1 and 2, the first 296 bytes of the output
// record for type 3, 96 for type 10) into slot `slot` (0 = the device's live program,
// 1..20) of the device, taken from the live record when `fromLive`, else from slot record
// `slot`. A music block taken from the live record for slot 1..20 first sets the live
// record's music-on flag. Type 3 carries `channelLinked` as its link flag.
std::unique_ptr<CSendData> BuildBlockWrite(ProgramState& state, int slot, int type, int index,
                                           bool fromLive, bool channelLinked = false);

// Read request for a block. The reply is stored into slot record (or effect image) `slot`
// unless `liveTarget`, in which case it goes to the live record.
std::unique_ptr<CSendData> BuildBlockRead(int slot, int type, int index, bool liveTarget);

// Read request for system item `subCode`; 8 zero payload bytes.
std::unique_ptr<CSendData> BuildSystemRead(int subCode, int slot);

// Write of system item `subCode`: 64 limiter block, 134 the program name of the live record
// (slot 0) or of slot record `slot` (15 characters and a zero byte), 137 seven zero bytes,
// 144 system block, 145 speaker-type table, 146 hidden level block.
std::unique_ptr<CSendData> BuildSystemWrite(const ProgramState& state, int subCode, int slot);

// The idle request whose answer carries the device's input source. Its payload is 8 zero
// bytes.
std::unique_ptr<CSendData> BuildStatusPoll();

}  // namespace vantor
