// Fuzzes the simulated processor: its memory file (anything as a file, and files whose
// flash part is arbitrary but whose header and checksum are right, so the fuzzer reaches
// the boot loader's saved state), and its receiver with the firmware behind it (any bytes
// as output reports of a host, answered as the unit answers).
//
// Input layout: byte 0 picks the mode, the rest is split by the mode.
//   0: the rest is a memory file.
//   1: a memory file made whole around the rest: bytes 0..16 the identity, the others the
//      boot loader's saved state.
//   2: the rest is the host's byte stream, cut into 64-byte output reports; the unit's
//      answers are read after each report. Byte 1, bit 0: send the boot loader's wake-up
//      pattern first.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "link/HidDevice.h"
#include "model/ProgramState.h"
#include "sim/SimMemoryFile.h"
#include "sim/SimulatedProcessor.h"

namespace {

using vantor::sim::SimFileStatus;
using vantor::sim::SimulatedProcessor;

std::shared_ptr<SimulatedProcessor> Unit() {
  vantor::sim::SimOptions options;
  options.timing = vantor::sim::SimTiming::Instant();
  options.logCapacity = 0;
  return SimulatedProcessor::Create(options);
}

// A file the unit takes is one it writes back the same way.
void Load(std::span<const std::uint8_t> file) {
  const SimFileStatus checked = vantor::sim::CheckMemoryImage(file);
  auto unit = Unit();
  const auto before = unit->MemoryImage();
  const SimFileStatus applied = unit->ApplyMemoryImage(file);
  if (checked != SimFileStatus::kOk && applied == SimFileStatus::kOk) std::abort();
  if (applied != SimFileStatus::kOk) {
    if (unit->MemoryImage() != before) std::abort();  // a refused file changes nothing
    return;
  }
  const auto saved = unit->MemoryImage();
  if (vantor::sim::CheckMemoryImage(saved) != SimFileStatus::kOk) std::abort();
  auto again = Unit();
  if (again->ApplyMemoryImage(saved) != SimFileStatus::kOk || again->MemoryImage() != saved)
    std::abort();
}

void Talk(std::span<const std::uint8_t> stream, bool wake) {
  auto unit = Unit();
  unit->Plug();
  auto device = unit->Open();
  if (!device) std::abort();
  vantor::Report report{};
  if (wake) {
    for (std::size_t i = 1; i + 1 < report.size(); i += 2) {
      report[i] = 0x43;
      report[i + 1] = 0x11;
    }
    device->WriteReport(report, std::chrono::milliseconds(0));
  }
  for (std::size_t at = 0; at < stream.size(); at += vantor::kReportPayload) {
    report.fill(0);
    const std::size_t n = std::min(vantor::kReportPayload, stream.size() - at);
    std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), n, report.begin() + 1);
    if (!device->WriteReport(report, std::chrono::milliseconds(0))) return;  // restarted
    for (int i = 0; i < 64; ++i) {
      if (device->ReadReport(report, std::chrono::milliseconds(0)) != vantor::HidReadResult::kOk)
        break;
    }
  }
  if (vantor::sim::CheckMemoryImage(unit->MemoryImage()) != SimFileStatus::kOk) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      Load(rest);
      break;
    case 1: {
      vantor::ProgramState state;
      vantor::sim::SimFlash flash;
      const std::size_t identity = std::min<std::size_t>(rest.size(), 17);
      flash.identity.assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(identity));
      flash.boot.assign(rest.begin() + static_cast<std::ptrdiff_t>(identity), rest.end());
      Load(vantor::sim::EncodeMemoryImage(state, flash));
      break;
    }
    default:
      if (!rest.empty()) Talk(rest.subspan(1), (rest[0] & 1) != 0);
      break;
  }
  return 0;
}
