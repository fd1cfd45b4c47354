#include "firmware/FirmwareRig.h"

#include <algorithm>
#include <fstream>

namespace vantor::testing {

std::vector<std::uint8_t> TestImage(std::size_t size, unsigned seed) {
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t x = seed * 2654435761U + 1;
  for (auto& b : bytes) {
    x = x * 1664525U + 1013904223U;
    b = static_cast<std::uint8_t>(x >> 24);
  }
  if (!bytes.empty()) bytes.back() = 0x5A;
  return bytes;
}

FirmwareRig::FirmwareRig(sim::SimTiming timing, LinkTimings timings) : link(timing, timings) {
  updater.SetObserver(&observer);
}

std::string FirmwareRig::WriteFile(const std::string& name,
                                   const std::vector<std::uint8_t>& bytes) {
  const auto path = link.dir.Path() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

FirmwareOutcome FirmwareRig::Run(std::chrono::milliseconds timeout) {
  link.Until(
      [this] {
        const auto& events = link.Screen().events;
        for (; m_eventsSeen < events.size(); ++m_eventsSeen)
          updater.OnDeviceEvent(events[m_eventsSeen]);
        return updater.Outcome() != FirmwareOutcome::kRunning;
      },
      timeout);
  return updater.Outcome();
}

FirmwareOutcome FirmwareRig::Update(const std::string& path) {
  updater.SetFirmwarePath(path);
  m_eventsSeen = link.Screen().events.size();
  if (updater.Start() != FirmwareStart::kStarted) return updater.Outcome();
  return Run();
}

std::vector<int> FirmwareRig::PacketCodes() const {
  std::vector<int> codes;
  for (const auto& f : link.unit->FrameLog()) {
    const bool firmware = (f.index >= 176 && f.index <= 179) || (f.index >= 224 && f.index <= 227);
    if (f.IsWrite() && f.block == 4 && firmware) codes.push_back(f.index);
  }
  return codes;
}

int FirmwareRig::Received(int code) const {
  const auto codes = PacketCodes();
  return static_cast<int>(std::count(codes.begin(), codes.end(), code));
}

bool FirmwareRig::Shown(TextId text) const {
  const auto& s = link.program.screen;
  return std::find(s.messages.begin(), s.messages.end(), text) != s.messages.end() ||
         std::find(s.statusMessages.begin(), s.statusMessages.end(), text) !=
             s.statusMessages.end();
}

}  // namespace vantor::testing
