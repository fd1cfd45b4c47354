#pragma once
// The real transport: processors found and opened through hidapi (hidraw on Linux), with
// udev telling of arrival and removal.

#include <filesystem>
#include <optional>

#include "device/UdevHotPlugWatcher.h"
#include "link/HidDevice.h"

namespace vantor {

class HidApiBackend : public HidBackend {
 public:
  // Device locks in `lockFolder`, by default the runtime directory.
  explicit HidApiBackend(std::optional<std::filesystem::path> lockFolder = std::nullopt);
  ~HidApiBackend() override;

  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidDevice> OpenExclusive(const std::string& path,
                                           HidOpenError* error = nullptr) override;
  void StartHotPlug(HotPlugCallback callback) override;
  void StopHotPlug() override;

 private:
  std::optional<std::filesystem::path> m_lockFolder;
  UdevHotPlugWatcher m_watcher;
};

}  // namespace vantor
