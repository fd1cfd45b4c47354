// Fuzzes the --sim-faults settings: any text. What is accepted holds chances within 0..1
// and frames from 1 on, and drives a simulated processor through a few exchanges.

#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/SimFaultSettings.h"
#include "sim/SimulatedProcessor.h"

namespace {

bool Chance(double c) { return std::isfinite(c) && c >= 0.0 && c <= 1.0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1024) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto settings = vantor::cli::ParseSimFaultSettings(text, error);
  if (!settings) {
    if (error.empty()) std::abort();
    return 0;
  }
  const auto& r = settings->rates;
  for (double c : {r.dropReply, r.corruptChecksum, r.resend, r.splitReply, r.garbageBefore,
                   r.emptyData, r.unplug}) {
    if (!Chance(c)) std::abort();
  }
  for (const auto& fault : settings->once) {
    if (fault.onFrame < 1) std::abort();
  }

  vantor::sim::SimOptions options;
  options.timing = vantor::sim::SimTiming::Instant();
  options.logCapacity = 0;
  auto unit = vantor::sim::SimulatedProcessor::Create(options);
  unit->SetRandomFaults(settings->seed, settings->rates);
  for (const auto& fault : settings->once) unit->InjectFault(fault);
  unit->Plug();
  auto device = unit->Open();
  if (!device) return 0;
  // The identity read, a few times: A2 A2 A2 A3 B2 01 00 04 88 00 00 00 00 00, XOR, AA.
  vantor::Report report{};
  const std::uint8_t frame[] = {0xA2, 0xA2, 0xA2, 0xA3, 0xB2, 0x01, 0x00, 0x04,
                                0x88, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3F, 0xAA};
  std::copy(std::begin(frame), std::end(frame), report.begin() + 1);
  for (int i = 0; i < 4; ++i) {
    if (!device->WriteReport(report, std::chrono::milliseconds(0))) break;
    // A babbling unit never runs out of reports: read what one answer may take.
    vantor::Report answer{};
    for (int n = 0; n < 64; ++n) {
      if (device->ReadReport(answer, std::chrono::milliseconds(0)) != vantor::HidReadResult::kOk)
        break;
    }
  }
  return 0;
}
