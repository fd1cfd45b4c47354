#pragma once
// A bus of simulated processors whose nodes this user may not open, as a hidraw node
// without the udev rule: they are enumerated, and opening them fails with a permission
// error until they are allowed.

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "link/HidDevice.h"
#include "sim/SimulatedBackend.h"
#include "sim/SimulatedProcessor.h"

namespace vantor::testing {

class DeniedBackend : public HidBackend {
 public:
  DeniedBackend(const std::vector<std::shared_ptr<sim::SimulatedProcessor>>& units,
                std::set<std::string> denied)
      : m_denied(std::move(denied)) {
    for (const auto& unit : units) m_bus.Attach(unit);
  }

  void Allow(const std::string& path) {
    std::lock_guard lock(m_lock);
    m_denied.erase(path);
  }

  std::vector<HidDeviceInfo> Enumerate() override { return m_bus.Enumerate(); }
  std::unique_ptr<HidDevice> OpenExclusive(const std::string& path,
                                           HidOpenError* error = nullptr) override {
    {
      std::lock_guard lock(m_lock);
      if (m_denied.count(path) != 0) {
        if (error != nullptr) *error = HidOpenError::kPermission;
        return nullptr;
      }
    }
    return m_bus.OpenExclusive(path, error);
  }
  void StartHotPlug(HotPlugCallback callback) override { m_bus.StartHotPlug(std::move(callback)); }
  void StopHotPlug() override { m_bus.StopHotPlug(); }

 private:
  sim::SimulatedBackend m_bus;
  std::mutex m_lock;
  std::set<std::string> m_denied;
};

}  // namespace vantor::testing
