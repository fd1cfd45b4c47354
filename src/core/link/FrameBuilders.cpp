#include "link/FrameBuilders.h"

#include <algorithm>

#include "base/LittleEndian.h"
#include "link/BlockAddress.h"
#include "model/DataDefine.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

constexpr std::size_t kRequestPayload = 8;  // reads carry 8 zero bytes
constexpr std::size_t kFactoryResetPayload = 7;
constexpr int kHighestSlot = rec::kLastEffectSlot;

bool ByteRange(int v) { return v >= 0 && v <= 0xFF; }
bool RecordSlot(int slot) { return slot >= 0 && slot <= rec::kSlotRecordCount; }

std::unique_ptr<CSendData> Finish(FrameStaging& staging, const FrameHeader& header,
                                  std::size_t payloadLength) {
  staging.SetHeader(header, payloadLength);
  return FinishFrame(staging.bytes, payloadLength + frame::kOverhead);
}

std::unique_ptr<CSendData> ZeroPayloadRead(const FrameHeader& header) {
  FrameStaging staging;
  std::fill_n(staging.Payload().begin(), kRequestPayload, std::uint8_t{0});
  return Finish(staging, header, kRequestPayload);
}

bool ItemCarriesLinkFlag(int item) {
  return (item >= 0 && item < rec::kItemSettings) || item == rec::kItemCrossover ||
         item == rec::kItemMixerLow;
}

}  // namespace

FrameStaging::FrameStaging() {
  for (int i = 0; i < frame::kPreambleLength; ++i)
    bytes[static_cast<std::size_t>(i)] = frame::kPreambleByte;
  bytes[3] = frame::kStartByte;
}

void FrameStaging::SetHeader(const FrameHeader& h, std::size_t payloadLength) {
  bytes[frame::kClass] = h.cls;
  bytes[frame::kDevice] = h.deviceId;
  bytes[frame::kSlot] = h.slot;
  bytes[frame::kBlockType] = h.blockType;
  bytes[frame::kIndex] = h.index;
  bytes[frame::kItem] = h.item;
  bytes[frame::kLink] = h.link;
  bytes[frame::kReserved] = 0;
  le::PutU16(bytes, frame::kLength, static_cast<std::uint16_t>(payloadLength));
}

std::unique_ptr<CSendData> FinishFrame(std::span<const std::uint8_t> staged, std::size_t length) {
  if (length < frame::kOverhead || staged.size() < length - 2) return nullptr;
  std::vector<std::uint8_t> out(length);
  std::copy_n(staged.begin(), length - 2, out.begin());
  out[length - 2] = frame::Checksum(out);
  out[length - 1] = frame::kEndByte;
  return std::make_unique<CSendData>(std::move(out));
}

std::unique_ptr<CSendData> BuildFrame(const FrameHeader& header,
                                      std::span<const std::uint8_t> payload) {
  if (payload.size() > frame::kStagingPayload) return nullptr;
  FrameStaging staging;
  std::copy(payload.begin(), payload.end(), staging.Payload().begin());
  return Finish(staging, header, payload.size());
}

std::unique_ptr<CSendData> BuildItemWrite(const ProgramState& state, int type, int index, int item,
                                          bool channelLinked) {
  const auto region = RecordBlock(type, index);
  if (!region || item < 0 || item >= BlockItemCount(type)) return nullptr;

  FrameHeader h;
  h.cls = frame::kWriteClass;
  h.blockType = static_cast<std::uint8_t>(type);
  h.index = static_cast<std::uint8_t>(index);
  h.item = static_cast<std::uint8_t>(item);
  h.link = (type == rec::kBlockOutput && channelLinked && ItemCarriesLinkFlag(item)) ? 1 : 0;

  FrameStaging staging;
  const auto from =
      state.Live().begin() + static_cast<std::ptrdiff_t>(region->offset + rec::ItemOffset(item));
  std::copy_n(from, rec::kItemSize, staging.Payload().begin());
  return Finish(staging, h, rec::kItemSize);
}

std::unique_ptr<CSendData> BuildBlockWrite(ProgramState& state, int slot, int type, int index,
                                           bool fromLive, bool channelLinked) {
  const auto region = RecordBlock(type, index);
  if (!region || !RecordSlot(slot)) return nullptr;

  // A program stored into a device slot always has its music input switched on.
  if (fromLive && type == rec::kBlockMusic && slot >= 1) state.Live()[rec::kMusicOnFlag] = 1;

  FrameHeader h;
  h.cls = frame::kWriteClass;
  h.slot = static_cast<std::uint8_t>(slot);
  h.blockType = static_cast<std::uint8_t>(type);
  h.index = static_cast<std::uint8_t>(index);
  h.link = (type == rec::kBlockOutput && channelLinked) ? 1 : 0;

  const rec::StateRecord& source = fromLive ? state.Live() : state.Record(slot);
  FrameStaging staging;
  std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(region->offset), region->size,
              staging.Payload().begin());
  return Finish(staging, h, region->size);
}

std::unique_ptr<CSendData> BuildBlockRead(int slot, int type, int index, bool liveTarget) {
  if (!RecordBlock(type, index) || slot < 0 || slot > kHighestSlot) return nullptr;
  FrameHeader h;
  h.cls = frame::kReadClass;
  h.slot = static_cast<std::uint8_t>(slot);
  h.blockType = static_cast<std::uint8_t>(type);
  h.index = static_cast<std::uint8_t>(index);
  h.item = (liveTarget && slot != 0) ? 0 : frame::kSlotStoreFlag;
  return ZeroPayloadRead(h);
}

std::unique_ptr<CSendData> BuildSystemRead(int subCode, int slot) {
  if (!ByteRange(subCode) || slot < 0 || slot > kHighestSlot) return nullptr;
  FrameHeader h;
  h.cls = frame::kReadClass;
  h.slot = static_cast<std::uint8_t>(slot);
  h.blockType = rec::kBlockSystem;
  h.index = static_cast<std::uint8_t>(subCode);
  return ZeroPayloadRead(h);
}

std::unique_ptr<CSendData> BuildSystemWrite(const ProgramState& state, int subCode, int slot) {
  if (slot < 0 || slot > kHighestSlot) return nullptr;
  FrameStaging staging;
  auto payload = staging.Payload();
  std::size_t length = 0;
  switch (subCode) {
    case rec::kSysItemLimiter:
      length = rec::kLimiterBlockSize;
      std::copy_n(state.LimiterBlock().begin(), length, payload.begin());
      break;
    case rec::kSysItemProgramName: {
      if (!RecordSlot(slot)) return nullptr;
      const rec::StateRecord& r = state.Record(slot);
      std::copy_n(r.begin() + rec::kProgramName, rec::kProgramNameSent, payload.begin());
      payload[rec::kProgramNameSent] = 0;
      length = rec::kProgramNameSent + 1;
      break;
    }
    case rec::kSysItemFactoryReset:
      length = kFactoryResetPayload;
      std::fill_n(payload.begin(), length, std::uint8_t{0});
      break;
    case rec::kSysItemSystemBlock:
      length = rec::kSystemBlockSize;
      std::copy_n(state.SystemBlock().begin(), length, payload.begin());
      break;
    case rec::kSysItemSpeakerTypes:
      length = rec::kSpeakerTypesSize;
      std::copy_n(state.SpeakerTypes().begin(), length, payload.begin());
      break;
    case rec::kSysItemHiddenLevels:
      length = rec::kHiddenLevelsSize;
      std::copy_n(state.HiddenLevels().begin(), length, payload.begin());
      break;
    default:
      return nullptr;
  }
  FrameHeader h;
  h.cls = frame::kWriteClass;
  h.slot = static_cast<std::uint8_t>(slot);
  h.blockType = rec::kBlockSystem;
  h.index = static_cast<std::uint8_t>(subCode);
  return Finish(staging, h, length);
}

std::unique_ptr<CSendData> BuildStatusPoll() {
  FrameHeader h;
  h.cls = frame::kReadClass;
  h.blockType = rec::kBlockSystem;
  h.index = static_cast<std::uint8_t>(rec::kSysItemStatus);
  return ZeroPayloadRead(h);
}

}  // namespace vantor
