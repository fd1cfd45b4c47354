// Fuzzes firmware images and the packets they are sent in: any bytes as a processor or
// hand-controller image, cut into the update's packets exactly once; and single packets of
// any code and payload.
//
// Input layout: byte 0 picks the mode, the rest is the image or the packet.
//   bit 0: clear, a processor image (".dsp"); set, a hand-controller image (".contr").
//   bit 1: set, one packet instead: byte 1 is its code, the rest its payload.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "firmware/FirmwareImage.h"
#include "firmware/FirmwarePackets.h"
#include "link/Frame.h"

namespace {

// A frame as the link sends it: preamble, its own length, XOR and end byte right.
void CheckFrame(std::span<const std::uint8_t> f, std::size_t payload) {
  if (f.size() != payload + 16 || f.size() > 64) std::abort();
  for (std::size_t i = 0; i < 3; ++i) {
    if (f[i] != 0xA2) std::abort();
  }
  std::uint8_t x = 0;
  for (std::size_t i = 4; i + 2 < f.size(); ++i) x ^= f[i];
  if (f[f.size() - 2] != x || f.back() != 0xAA) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  std::span<const std::uint8_t> rest(data + 1, size - 1);

  if (mode & 2) {
    if (rest.empty()) return 0;
    const int code = rest[0];
    const auto payload = rest.subspan(1, std::min<std::size_t>(rest.size() - 1, 48));
    const auto packet = vantor::BuildFirmwarePacket(code, payload, 1);
    if (packet) {
      CheckFrame(packet->Frame(), payload.size());
      if (packet->StageCode() != code) std::abort();
    }
    return 0;
  }

  const bool controller = (mode & 1) != 0;
  const auto loaded = vantor::FirmwareImageFromBytes(controller ? "unit.contr" : "unit.dsp", rest);
  if (!loaded.Ok()) return 0;
  const vantor::FirmwareImage& image = *loaded.image;
  if (image.bytes.size() != rest.size()) std::abort();

  // Every packet once, in order; the data packets carry the image and nothing else.
  vantor::FirmwareSequencer sequencer(image);
  std::vector<std::uint8_t> sent;
  int packets = 0;
  const int dataCode = controller ? vantor::fw::kControllerData : vantor::fw::kData;
  const int endCode = controller ? vantor::fw::kControllerEnd : vantor::fw::kEnd;
  bool ended = false;
  for (int round = 0; !sequencer.Done(); ++round) {
    if (round > 10000) std::abort();  // never ends
    for (const auto& p : sequencer.NextPackets()) {
      if (p->StageCode() == vantor::fw::kWake) continue;
      const auto f = p->Frame();
      CheckFrame(f, f.size() - 16);
      ++packets;
      const auto payload = f.subspan(14, f.size() - 16);
      if (p->StageCode() == dataCode) {
        if (payload.size() != vantor::kFirmwareChunk) std::abort();
        sent.insert(sent.end(), payload.begin(), payload.end());
      }
      if (p->StageCode() == endCode) {
        if (payload.size() != 1 || payload[0] != image.checksum) std::abort();
        ended = true;
      }
    }
  }
  if (!ended || sent.size() < image.bytes.size() ||
      sent.size() - image.bytes.size() >= vantor::kFirmwareChunk) {
    std::abort();
  }
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const std::uint8_t expected = i < image.bytes.size() ? image.bytes[i] : vantor::fw::kFill;
    if (sent[i] != expected) std::abort();
  }
  int counted = 0;
  for (const auto& [code, n] : vantor::FirmwarePacketCounts(image)) counted += n;
  if (counted != packets) std::abort();
  return 0;
}
