#pragma once
// One processor opened through hidapi, with the advisory lock that keeps it ours.

#include <string>

#include "device/DeviceLock.h"
#include "link/HidDevice.h"

struct hid_device_;

namespace vantor {

class HidApiDevice : public HidDevice {
 public:
  HidApiDevice(hid_device_* handle, std::string path, DeviceLock lock);
  ~HidApiDevice() override;
  HidApiDevice(const HidApiDevice&) = delete;
  HidApiDevice& operator=(const HidApiDevice&) = delete;

  bool WriteReport(const Report& report, std::chrono::milliseconds timeout) override;
  HidReadResult ReadReport(Report& report, std::chrono::milliseconds timeout) override;
  void DiscardPending() override;
  const std::string& Path() const override { return m_path; }

 private:
  hid_device_* m_handle;
  std::string m_path;
  DeviceLock m_lock;
};

}  // namespace vantor
