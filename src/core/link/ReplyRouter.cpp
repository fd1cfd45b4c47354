#include "link/ReplyRouter.h"

#include <algorithm>

#include "link/BlockAddress.h"
#include "link/Frame.h"
#include "model/DataDefine.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

constexpr std::size_t kStatusSourceByte = 11;  // the device's input source in the status answer
constexpr std::size_t kNameCharsKept = 13;     // a read-back name keeps 13 characters ...
constexpr std::size_t kNameSpaces = 2;         // ... followed by two spaces

// Copies the payload into `to`, never more than `to` holds.
void CopyLimited(std::span<const std::uint8_t> payload, std::span<std::uint8_t> to) {
  std::copy_n(payload.begin(), std::min(payload.size(), to.size()), to.begin());
}

void Notify(DeviceEventSink& sink, DeviceEvent id, std::intptr_t wParam = 0) {
  sink.Post(DeviceEventMessage{id, wParam, 0});
}

bool SlotStore(const ReceivedFrame& r) { return r.flag == frame::kSlotStoreFlag; }

void RouteRecordBlock(const ReceivedFrame& r, ProgramState& state, DeviceEventSink& sink) {
  const auto region = RecordBlock(r.blockType, r.index);
  if (!region) return;  // an index the processor does not have: nothing to store
  const bool toSlot = SlotStore(r) && r.slot >= 1 && r.slot <= rec::kSlotRecordCount;
  rec::StateRecord& record = toSlot ? state.Slot(r.slot) : state.Live();
  CopyLimited(r.payload, std::span(record).subspan(region->offset, region->size));

  if (r.blockType != rec::kBlockOutput || r.index != rec::kOutputCount - 1) return;
  // The last output ends a read-back.
  if (!SlotStore(r) || r.slot == 0) {
    Notify(sink, DeviceEvent::WM_DEV_READBACK_DONE, r.slot);
  } else if (r.slot == rec::kDeviceSlots) {
    Notify(sink, DeviceEvent::WM_DEV_SLOTS_READ_DONE, rec::kDeviceSlots);
  }
}

void RouteEffectBlock(const ReceivedFrame& r, ProgramState& state, DeviceEventSink& sink) {
  const int slot = r.slot;
  if (SlotStore(r) && slot >= rec::kFirstEffectSlot && slot <= rec::kLastEffectSlot) {
    auto image = std::span(state.EffectImage(slot - rec::kFirstEffectSlot));
    CopyLimited(r.payload, image.subspan(rec::kEffectImageBlock, rec::kEffectBlockSize));
    if (slot == rec::kLastEffectSlot) Notify(sink, DeviceEvent::WM_DEV_AUX_SLOT_READ);
    return;
  }
  if (SlotStore(r) && slot >= 1 && slot <= rec::kSlotRecordCount) {
    CopyLimited(r.payload,
                std::span(state.Slot(slot)).subspan(rec::kEffectBlock, rec::kEffectBlockSize));
    return;
  }
  CopyLimited(r.payload, std::span(state.Live()).subspan(rec::kEffectBlock, rec::kEffectBlockSize));
  if (slot >= rec::kFirstEffectSlot) Notify(sink, DeviceEvent::WM_DEV_AUX_READ, slot);
}

void RouteSystemItem(const ReceivedFrame& r, ProgramState& state, DeviceEventSink& sink) {
  switch (r.index) {
    case rec::kSysItemStatus: {
      if (r.payload.size() <= kStatusSourceByte) return;
      const int source = r.payload[kStatusSourceByte];
      // The view stores the value when it takes the notice; until then every poll reports it.
      if (source != state.lastReportedSource.load()) {
        Notify(sink, DeviceEvent::WM_DEV_SOURCE_CHANGED, source);
      }
      return;
    }
    case rec::kSysItemLimiter:
      CopyLimited(r.payload, state.LimiterBlock());
      Notify(sink, DeviceEvent::WM_DEV_SYS64_READ);
      return;
    case rec::kSysItemProgramName: {
      if (r.slot > rec::kSlotRecordCount) return;
      auto name =
          std::span(state.Record(r.slot)).subspan(rec::kProgramName, kNameCharsKept + kNameSpaces);
      // A short reply ends the name; no tail of the previous name survives behind it.
      std::fill_n(name.begin(), kNameCharsKept, std::uint8_t{0});
      CopyLimited(r.payload.first(std::min(r.payload.size(), kNameCharsKept)), name);
      std::fill_n(name.begin() + kNameCharsKept, kNameSpaces, static_cast<std::uint8_t>(' '));
      // Posted like every other notice: the name is stored before the view hears of it.
      Notify(sink, DeviceEvent::WM_DEV_SLOT_NAME, r.slot);
      return;
    }
    case rec::kSysItemIdentity: {
      // A short identity must not keep the tail of an earlier one: the rest reads as spaces.
      // At most 17 characters are taken; the byte after them stays a space.
      auto& identity = state.Identity();
      std::fill(identity.begin(), identity.end(), static_cast<std::uint8_t>(' '));
      CopyLimited(r.payload, std::span(identity).first(rec::kIdentitySize));
      Notify(sink, DeviceEvent::WM_DEV_IDENTITY);
      return;
    }
    case rec::kSysItemSystemBlock:
      CopyLimited(r.payload, state.SystemBlock());
      return;
    case rec::kSysItemSpeakerTypes:
      CopyLimited(r.payload, state.SpeakerTypes());
      return;
    case rec::kSysItemHiddenLevels:
      CopyLimited(r.payload, state.HiddenLevels());
      return;
    default:
      return;  // an item the host does not keep
  }
}

}  // namespace

DataReplyOutcome RouteDataReply(const ReceivedFrame& r, ProgramState& state,
                                DeviceEventSink& sink) {
  if (r.length == 0) {
    state.stopTransfers = true;
    Notify(sink, DeviceEvent::WM_DEV_NO_DATA);
    return DataReplyOutcome::kNoData;
  }
  switch (r.blockType) {
    case rec::kBlockMic:
    case rec::kBlockMusic:
    case rec::kBlockOutput:
      RouteRecordBlock(r, state, sink);
      return DataReplyOutcome::kStored;
    case rec::kBlockSystem:
      RouteSystemItem(r, state, sink);
      return DataReplyOutcome::kStored;
    case rec::kBlockEffect:
      RouteEffectBlock(r, state, sink);
      return DataReplyOutcome::kStored;
    default:
      return DataReplyOutcome::kIgnored;
  }
}

}  // namespace vantor
