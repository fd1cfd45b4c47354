#include "ui/app/DeviceHost.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <set>
#include <string_view>

#include "device/FileClaimStore.h"
#include "device/HidApiBackend.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "presets/SlotNames.h"
#include "sim/SimMemoryStore.h"
#include "sim/SimulatedBackend.h"
#include "sim/SimulatedProcessor.h"
#include "ui/app/SampleTune.h"

namespace vantor {
namespace {

class NoDeviceBackend : public HidBackend {
 public:
  std::vector<HidDeviceInfo> Enumerate() override { return {}; }
  std::unique_ptr<HidDevice> OpenExclusive(const std::string& /*path*/,
                                           HidOpenError* error) override {
    if (error != nullptr) *error = HidOpenError::kNotFound;
    return nullptr;
  }
  void StartHotPlug(HotPlugCallback /*callback*/) override {}
  void StopHotPlug() override {}
};

// Claims seen by this program only.
class LocalClaimStore : public ClaimStore {
 public:
  bool IsPathUnclaimed(const std::string& path) override {
    std::lock_guard lock(m_mutex);
    return m_paths.count(path) == 0;
  }
  bool ClaimPath(const std::string& path) override {
    std::lock_guard lock(m_mutex);
    m_paths.insert(path);
    return true;
  }
  void ReleaseClaim(const std::string& path) override {
    std::lock_guard lock(m_mutex);
    m_paths.erase(path);
  }

 private:
  std::mutex m_mutex;
  std::set<std::string> m_paths;
};

// The example tuning and speaker roles, as a processor that was tuned before would hold it:
// the tuning is also kept in its first three presets, under names.
void PutSampleTuneInto(sim::SimulatedProcessor& unit) {
  ProgramState scratch;
  CKTV_Data data(scratch);
  data.LoadOutputs();
  ApplySampleTune(data);
  data.Store();
  unit.Modify([&](ProgramState& memory) {
    memory.Live() = scratch.Live();
    constexpr std::array<std::string_view, 3> kNames = {"Daily", "Concert", "Night drive"};
    for (std::size_t n = 0; n < kNames.size(); ++n) {
      rec::StateRecord& slot = memory.Slot(static_cast<int>(n) + 1);
      slot = scratch.Live();
      StoreSlotName(slot, kNames[n]);
    }
    const auto from = scratch.SpeakerTypes();
    auto to = memory.SpeakerTypes();
    std::copy(from.begin(), from.end(), to.begin());
  });
}

}  // namespace

DeviceHost::DeviceHost() = default;

DeviceHost::~DeviceHost() = default;

std::unique_ptr<DeviceHost> DeviceHost::NoDevice() {
  std::unique_ptr<DeviceHost> host(new DeviceHost);
  host->m_backend = std::make_unique<NoDeviceBackend>();
  host->m_claims = std::make_unique<LocalClaimStore>();
  return host;
}

std::unique_ptr<DeviceHost> DeviceHost::Usb() {
  std::unique_ptr<DeviceHost> host(new DeviceHost);
  host->m_backend = std::make_unique<HidApiBackend>();
  host->m_claims = std::make_unique<FileClaimStore>();
  return host;
}

std::unique_ptr<DeviceHost> DeviceHost::Simulated(std::shared_ptr<sim::SimulatedProcessor> unit) {
  std::unique_ptr<DeviceHost> host(new DeviceHost);
  auto bus = std::make_unique<sim::SimulatedBackend>();
  bus->Attach(unit);
  host->m_backend = std::move(bus);
  host->m_claims = std::make_unique<LocalClaimStore>();
  host->m_unit = std::move(unit);
  return host;
}

std::unique_ptr<DeviceHost> DeviceHost::Demo(const DemoOptions& options, bool chinese,
                                             std::string* error) {
  auto unit = sim::SimulatedProcessor::Create();
  std::unique_ptr<sim::SimMemoryStore> store;
  if (options.stateFile) {
    sim::SimMemoryStore::Options keep;
    if (options.sampleTune)
      keep.initialise = [](sim::SimulatedProcessor& u) { PutSampleTuneInto(u); };
    sim::SimStoreProblem problem;
    store = sim::SimMemoryStore::Open(*options.stateFile, unit, keep, problem);
    if (!store) {
      if (error != nullptr) *error = options.stateFile->string() + ": " + problem.Describe(chinese);
      return nullptr;
    }
  } else if (options.sampleTune) {
    PutSampleTuneInto(*unit);
  }
  auto host = Simulated(unit);
  host->m_store = std::move(store);
  unit->Plug();
  return host;
}

bool DeviceHost::SaveDemoState(bool chinese, std::string* error) {
  if (!m_store) return true;
  const sim::SimStoreProblem saved = m_store->Close();
  if (saved.Ok()) return true;
  if (error != nullptr) *error = m_store->Path().string() + ": " + saved.Describe(chinese);
  return false;
}

}  // namespace vantor
