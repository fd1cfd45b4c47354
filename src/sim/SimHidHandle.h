#pragma once
// An open handle on a simulated processor, as the host sees it: the HidDevice of the seam.
// Once the unit has been unplugged (or the handle closed) every operation fails, as a
// vanished device's handle does, even if the unit is plugged in again.

#include <cstdint>
#include <memory>
#include <string>

#include "link/HidDevice.h"

namespace vantor::sim {

class SimulatedProcessor;

class SimHidHandle : public HidDevice {
 public:
  SimHidHandle(std::shared_ptr<SimulatedProcessor> unit, std::uint64_t id, std::string path);
  ~SimHidHandle() override;

  bool WriteReport(const Report& report, std::chrono::milliseconds timeout) override;
  HidReadResult ReadReport(Report& report, std::chrono::milliseconds timeout) override;
  void DiscardPending() override;
  const std::string& Path() const override { return m_path; }

 private:
  std::shared_ptr<SimulatedProcessor> m_unit;
  std::uint64_t m_id;
  std::string m_path;
};

}  // namespace vantor::sim
