#include "sim/SimMemory.h"

#include <algorithm>

#include "base/LittleEndian.h"

namespace vantor::sim {
namespace {

SimAnswer Stored() { return {SimOutcome::kStored, kReplyAccepted, {}}; }
SimAnswer Rejected() { return {SimOutcome::kRejected, kReplyResend, {}}; }
SimAnswer NoData() { return {SimOutcome::kNoData, kReplyData, {}}; }
SimAnswer Data(std::span<const std::uint8_t> bytes) {
  return {SimOutcome::kRead, kReplyData, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

// A write of exactly `target.size()` bytes.
SimAnswer Take(std::span<std::uint8_t> target, std::span<const std::uint8_t> payload) {
  if (payload.size() != target.size()) return Rejected();
  std::copy(payload.begin(), payload.end(), target.begin());
  return Stored();
}

}  // namespace

SimMemory::SimMemory(std::string_view identity) { SetIdentity(identity); }

SimAnswer SimMemory::Answer(const HostFrame& frame) {
  if (frame.Code() != kClassWrite && frame.Code() != kClassRead) return Rejected();
  if (frame.Block() == rec::kBlockSystem) return AnswerSystem(frame);
  return AnswerBlock(frame);
}

std::span<std::uint8_t> SimMemory::BlockRegion(int slot, int block, int index) {
  const bool recordSlot = slot >= 0 && slot <= rec::kSlotRecordCount;
  switch (block) {
    case rec::kBlockMic:
      if (!recordSlot || index != 0) return {};
      return std::span(m_state.Record(slot)).subspan(rec::kMicBlock, rec::kInputBlockSize);
    case rec::kBlockMusic:
      if (!recordSlot || index != rec::kMusicInputIndex) return {};
      return std::span(m_state.Record(slot)).subspan(rec::kMusicBlock, rec::kInputBlockSize);
    case rec::kBlockOutput:
      if (!recordSlot || index < 0 || index >= rec::kOutputCount) return {};
      return std::span(m_state.Record(slot))
          .subspan(rec::OutputOffset(index), rec::kOutputBlockSize);
    case rec::kBlockEffect:
      if (index != 0) return {};
      if (recordSlot) {
        return std::span(m_state.Record(slot)).subspan(rec::kEffectBlock, rec::kEffectBlockSize);
      }
      if (slot >= rec::kFirstEffectSlot && slot <= rec::kLastEffectSlot) {
        return std::span(m_state.EffectImage(slot - rec::kFirstEffectSlot))
            .subspan(rec::kEffectImageBlock, rec::kEffectBlockSize);
      }
      return {};
    default:
      return {};
  }
}

SimAnswer SimMemory::AnswerBlock(const HostFrame& frame) {
  const auto region = BlockRegion(frame.Slot(), frame.Block(), frame.Index());
  if (frame.Code() == kClassRead) return region.empty() ? NoData() : Data(region);
  if (region.empty()) return Rejected();

  const auto payload = frame.Payload();
  // A whole block, or one 8-byte item of it named by byte 9.
  if (payload.size() == region.size()) return Take(region, payload);
  const std::size_t at = rec::ItemOffset(frame.Item());
  if (payload.size() == rec::kItemSize && at + rec::kItemSize <= region.size()) {
    return Take(region.subspan(at, rec::kItemSize), payload);
  }
  return Rejected();
}

SimAnswer SimMemory::AnswerSystem(const HostFrame& frame) {
  const bool read = frame.Code() == kClassRead;
  const auto payload = frame.Payload();
  const int slot = frame.Slot();
  switch (frame.Index()) {
    case rec::kSysItemStatus: {
      if (!read) return Rejected();
      std::array<std::uint8_t, kStatusSize> status{};
      status[kStatusSource] = static_cast<std::uint8_t>(InputSource());
      return Data(status);
    }
    case rec::kSysItemLimiter:
      return read ? Data(m_state.LimiterBlock()) : Take(m_state.LimiterBlock(), payload);
    case rec::kSysItemProgramName: {
      if (slot < 0 || slot > rec::kSlotRecordCount) return read ? NoData() : Rejected();
      auto name = std::span(m_state.Record(slot)).subspan(rec::kProgramName, rec::kProgramNameSize);
      if (read) return Data(name.first(kNameReplySize));
      if (payload.size() != kNameWriteSize) return Rejected();
      // The unit keeps 15 characters and always ends the field with a zero byte.
      std::copy_n(payload.begin(), rec::kProgramNameSent, name.begin());
      name[rec::kProgramNameSent] = 0;
      return Stored();
    }
    case rec::kSysItemIdentity:
      return read ? Data(std::span(m_state.Identity()).first(rec::kIdentitySize)) : Rejected();
    case rec::kSysItemFactoryReset:
      if (read) return NoData();
      if (payload.size() != kFactoryResetSize) return Rejected();
      FactoryReset();
      return Stored();
    case rec::kSysItemSystemBlock:
      return read ? Data(m_state.SystemBlock()) : Take(m_state.SystemBlock(), payload);
    case rec::kSysItemSpeakerTypes:
      return read ? Data(m_state.SpeakerTypes()) : Take(m_state.SpeakerTypes(), payload);
    case rec::kSysItemHiddenLevels:
      return read ? Data(m_state.HiddenLevels()) : Take(m_state.HiddenLevels(), payload);
    default:
      return read ? NoData() : Rejected();
  }
}

int SimMemory::InputSource() const { return m_state.SystemBlock()[rec::kSysInputSource]; }

void SimMemory::SetInputSource(int source) {
  m_state.SystemBlock()[rec::kSysInputSource] = static_cast<std::uint8_t>(source);
}

void SimMemory::SetIdentity(std::string_view identity) {
  auto& id = m_state.Identity();
  id.fill(static_cast<std::uint8_t>(' '));
  std::copy_n(identity.begin(), std::min(identity.size(), rec::kIdentitySize), id.begin());
}

std::string SimMemory::Identity() const {
  const auto id = std::span(m_state.Identity()).first(rec::kIdentitySize);
  return std::string(id.begin(), id.end());
}

void SimMemory::FactoryReset() {
  const auto identity = m_state.Identity();
  m_state.ResetRecords();
  m_state.Identity() = identity;
}

bool IsIdentityRead(const HostFrame& frame) {
  return frame.Code() == kClassRead && frame.Block() == rec::kBlockSystem &&
         frame.Index() == rec::kSysItemIdentity;
}

}  // namespace vantor::sim
