#include "firmware/FirmwarePackets.h"

#include <algorithm>
#include <array>

#include "link/FrameBuilders.h"
#include "model/DataDefine.h"

namespace vantor {

std::unique_ptr<CSendData> BuildFirmwarePacket(int code, std::span<const std::uint8_t> payload,
                                               int progressIndex) {
  FrameHeader h;
  h.cls = frame::kWriteClass;
  h.deviceId = 1;  // the boot loader answers to 1 only
  h.slot = 0;
  h.blockType = static_cast<std::uint8_t>(rec::kBlockSystem);
  h.index = static_cast<std::uint8_t>(code);
  h.item = 0;
  h.link = 0;
  auto packet = BuildFrame(h, payload);
  if (!packet) return nullptr;
  packet->SetStageCode(code);
  packet->SetProgressIndex(std::max(1, progressIndex));
  return packet;
}

std::chrono::milliseconds FirmwareReadTimeout(int code, const LinkTimings& t) {
  switch (code) {
    case fw::kStart:
      return t.fwReadStart;
    case fw::kHeader:
      return t.fwReadHeader;
    case fw::kData:
      return t.fwReadData;
    case fw::kEnd:
      return t.fwReadEnd;
    case fw::kControllerStart1:
    case fw::kControllerStart2:
      return t.fwReadControllerStart;
    case fw::kControllerData:
      return t.fwReadControllerData;
    case fw::kControllerEnd:
      return t.fwReadControllerEnd;
    default:
      return t.readWait;
  }
}

void FirmwareSequencer::Reset(FirmwareImage image) {
  m_image = std::move(image);
  m_firstPacket = true;
  m_position = 0;
  m_sent = 0;
  m_packets = 0;
}

void FirmwareSequencer::Queue(std::vector<std::unique_ptr<CSendData>>& out, int code,
                              std::span<const std::uint8_t> payload) {
  out.push_back(BuildFirmwarePacket(code, payload, ++m_packets));
}

bool FirmwareSequencer::QueueData(std::vector<std::unique_ptr<CSendData>>& out, int code) {
  const std::size_t remaining = m_image.bytes.size() - m_sent;
  std::array<std::uint8_t, kFirmwareChunk> chunk;
  chunk.fill(fw::kFill);
  const std::size_t n = std::min(remaining, kFirmwareChunk);
  std::copy_n(m_image.bytes.begin() + static_cast<std::ptrdiff_t>(m_sent), n, chunk.begin());
  m_sent += n;
  Queue(out, code, chunk);
  // 49 bytes or more left: another packet follows; 1..48: this one was the last.
  return remaining <= kFirmwareChunk;
}

std::vector<std::unique_ptr<CSendData>> FirmwareSequencer::NextPackets() {
  std::vector<std::unique_ptr<CSendData>> out;
  if (m_image.bytes.empty()) return out;
  if (m_firstPacket) {
    m_firstPacket = false;
    const std::array<std::uint8_t, fw::kWakePayload> zeros{};
    Queue(out, fw::kWake, zeros);
    return out;
  }
  const bool controller = m_image.kind == FirmwareKind::kController;
  const std::array<std::uint8_t, fw::kStartPayload> zeros{};
  // Positions: 0 start, 1 header (processor only), 2 data, 3 end, 4 done. One call goes
  // on until it has queued a data packet that is not the last one, or reached the end.
  for (;;) {
    switch (m_position) {
      case 0:
        if (controller) {
          Queue(out, fw::kControllerStart1, zeros);
          Queue(out, fw::kControllerStart2, zeros);
          m_position = 2;
        } else {
          Queue(out, fw::kStart, zeros);
          m_position = 1;
        }
        break;
      case 1: {
        const std::array<std::uint8_t, fw::kHeaderPayload> header = {
            m_image.bytes[0], m_image.bytes[0], m_image.bytes[0], m_image.bytes[0]};
        Queue(out, fw::kHeader, header);
        m_position = 2;
        break;
      }
      case 2:
        if (!QueueData(out, controller ? fw::kControllerData : fw::kData)) return out;
        m_position = 3;
        break;
      case 3: {
        const std::array<std::uint8_t, 1> checksum = {m_image.checksum};
        Queue(out, controller ? fw::kControllerEnd : fw::kEnd, checksum);
        m_position = kDone;
        return out;
      }
      default:
        return out;
    }
  }
}

std::map<int, int> FirmwarePacketCounts(const FirmwareImage& image) {
  std::map<int, int> counts;
  FirmwareSequencer sequencer(image);
  for (;;) {
    auto packets = sequencer.NextPackets();
    if (packets.empty()) break;
    for (const auto& p : packets) {
      if (p && p->StageCode() != fw::kWake) ++counts[p->StageCode()];
    }
  }
  return counts;
}

}  // namespace vantor
