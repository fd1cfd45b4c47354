#include "sim/SimBootLoader.h"

#include <algorithm>

#include "base/LittleEndian.h"
#include "model/DataDefine.h"

namespace vantor::sim {
namespace {

constexpr std::size_t kIdentityCompared = 15;

bool AllEqual(std::span<const std::uint8_t> bytes) {
  return std::adjacent_find(bytes.begin(), bytes.end(), std::not_equal_to<>()) == bytes.end();
}

}  // namespace

bool IsWakeReport(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != 64) return false;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    if (bytes[i] != 0x43 || bytes[i + 1] != 0x11) return false;
  }
  return true;
}

bool IsFirmwarePacket(const HostFrame& frame) {
  if (frame.Code() != kClassWrite || frame.Block() != rec::kBlockSystem) return false;
  const std::uint8_t c = frame.Index();
  return (c >= boot::kStart && c <= boot::kEnd) ||
         (c >= boot::kControllerStart1 && c <= boot::kControllerEnd);
}

void SimBootLoader::Enter() {
  m_active = true;
  m_stage = Stage::kIdle;
  m_received.clear();
}

void SimBootLoader::OnSessionEnd() {
  if (m_active && m_stage == Stage::kDone) m_active = false;
}

SimBootAnswer SimBootLoader::Accept(bool restart) {
  SimBootAnswer a;
  a.answered = true;
  a.answer = {SimOutcome::kStored, kReplyAccepted, {}};
  a.restart = restart;
  return a;
}

SimBootAnswer SimBootLoader::Refuse() {
  SimBootAnswer a;
  a.answered = true;
  a.answer = {SimOutcome::kRejected, kReplyResend, {}};
  return a;
}

SimBootAnswer SimBootLoader::Answer(const HostFrame& frame) {
  if (!IsFirmwarePacket(frame)) return {};
  if (frame.DeviceId() != kDeviceId) return Refuse();
  const auto payload = frame.Payload();
  const std::uint8_t code = frame.Index();

  // A start packet always begins a transfer afresh, whatever came before.
  if (code == boot::kStart || code == boot::kControllerStart1) {
    if (payload.size() != boot::kStartSize) return Refuse();
    m_received.clear();
    if (code == boot::kStart) {
      m_stage = Stage::kHeader;
      return Accept(true);
    }
    m_stage = Stage::kController2;
    return Accept();
  }
  switch (code) {
    case boot::kHeader:
      if (m_stage != Stage::kHeader || payload.size() != boot::kHeaderSize || !AllEqual(payload))
        return Refuse();
      m_headerByte = payload[0];
      m_stage = Stage::kData;
      return Accept();
    case boot::kControllerStart2:
      if (m_stage != Stage::kController2 || payload.size() != boot::kStartSize) return Refuse();
      m_stage = Stage::kControllerData;
      return Accept();
    case boot::kData:
    case boot::kControllerData: {
      const Stage expected = code == boot::kData ? Stage::kData : Stage::kControllerData;
      if (m_stage != expected || payload.size() != boot::kChunk) return Refuse();
      m_received.insert(m_received.end(), payload.begin(), payload.end());
      return Accept();
    }
    case boot::kEnd:
    case boot::kControllerEnd: {
      const Stage expected = code == boot::kEnd ? Stage::kData : Stage::kControllerData;
      if (m_stage != expected || payload.size() != 1 || m_received.empty()) return Refuse();
      if (code == boot::kEnd && m_received[0] != m_headerByte) return Refuse();
      auto image = Complete(payload[0]);
      if (!image) return Refuse();
      SimBootAnswer a = Accept();
      if (code == boot::kEnd) {
        m_processorImage = std::move(*image);
        a.installed = true;
      } else {
        m_controllerImage = std::move(*image);
      }
      m_received.clear();
      m_stage = Stage::kDone;
      return a;
    }
    default:
      return Refuse();
  }
}

std::optional<std::vector<std::uint8_t>> SimBootLoader::Complete(std::uint8_t checksum) const {
  // The host's checksum covers its image from byte 4 on, without the fill of the last
  // packet. The unit does not know where the image ended: of the trailing 0xFF bytes of
  // the last packet, the most that leaves a matching checksum are taken for fill (an
  // image whose own last bytes are 0xFF reads the same as erased flash anyway).
  const std::size_t n = m_received.size();
  const auto last = std::span(m_received).last(boot::kChunk);
  const auto data =
      std::find_if(last.rbegin(), last.rend(), [](std::uint8_t b) { return b != boot::kFill; });
  const auto trailing = std::min(static_cast<std::size_t>(data - last.rbegin()), n - 1);

  std::uint8_t x = boot::kChecksumSeed;  // over bytes 4 .. n-1-fill, fill growing below
  for (std::size_t i = 4; i < n; ++i) x ^= m_received[i];
  std::optional<std::size_t> fill;
  for (std::size_t p = 0; p <= trailing; ++p) {
    if (x == checksum) fill = p;
    const std::size_t dropped = n - 1 - p;
    if (dropped >= 4) x ^= m_received[dropped];
  }
  if (!fill) return std::nullopt;
  return std::vector<std::uint8_t>(m_received.begin(),
                                   m_received.end() - static_cast<std::ptrdiff_t>(*fill));
}

namespace {

constexpr std::uint8_t kStateVersion = 1;
constexpr std::size_t kStateFixed = 4;  // version, active, stage, header byte

// A byte string: its length (32 bits, little-endian), then the bytes.
void PutBytes(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
  const std::size_t at = out.size();
  out.resize(at + 4);
  le::PutU32(out, at, static_cast<std::uint32_t>(bytes.size()));
  out.insert(out.end(), bytes.begin(), bytes.end());
}

bool TakeBytes(std::span<const std::uint8_t>& in, std::vector<std::uint8_t>& bytes) {
  if (in.size() < 4) return false;
  const std::uint32_t n = le::GetU32(in, 0);
  in = in.subspan(4);
  if (in.size() < n) return false;
  bytes.assign(in.begin(), in.begin() + n);
  in = in.subspan(n);
  return true;
}

}  // namespace

std::vector<std::uint8_t> SimBootLoader::SaveState() const {
  std::vector<std::uint8_t> out = {kStateVersion, static_cast<std::uint8_t>(m_active ? 1 : 0),
                                   static_cast<std::uint8_t>(m_stage), m_headerByte};
  PutBytes(out, m_received);
  PutBytes(out, m_processorImage);
  PutBytes(out, m_controllerImage);
  return out;
}

bool SimBootLoader::RestoreState(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kStateFixed || bytes[0] != kStateVersion || bytes[1] > 1 ||
      bytes[2] > static_cast<std::uint8_t>(Stage::kDone)) {
    return false;
  }
  std::vector<std::uint8_t> received;
  std::vector<std::uint8_t> processor;
  std::vector<std::uint8_t> controller;
  auto rest = bytes.subspan(kStateFixed);
  if (!TakeBytes(rest, received) || !TakeBytes(rest, processor) || !TakeBytes(rest, controller) ||
      !rest.empty()) {
    return false;
  }
  m_active = bytes[1] != 0;
  m_stage = static_cast<Stage>(bytes[2]);
  m_headerByte = bytes[3];
  m_received = std::move(received);
  m_processorImage = std::move(processor);
  m_controllerImage = std::move(controller);
  return true;
}

std::optional<std::string> IdentityInImage(std::span<const std::uint8_t> image,
                                           std::string_view currentIdentity) {
  if (currentIdentity.size() < kIdentityCompared) return std::nullopt;
  const std::string_view prefix = currentIdentity.substr(0, kIdentityCompared);
  const std::size_t whole = rec::kIdentitySize;
  const auto at = std::search(image.begin(), image.end(), prefix.begin(), prefix.end());
  if (at == image.end() || static_cast<std::size_t>(image.end() - at) < whole) return std::nullopt;
  return std::string(at, at + static_cast<std::ptrdiff_t>(whole));
}

}  // namespace vantor::sim
