#include "device/HidApiBackend.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <unistd.h>

#include <cerrno>

#include "device/DeviceLock.h"
#include "device/HidApiDevice.h"

namespace vantor {
namespace {

void SetError(HidOpenError* error, HidOpenError value) {
  if (error != nullptr) *error = value;
}

// Why a device node cannot be opened, in the terms a user can act on.
HidOpenError DiagnoseNode(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return HidOpenError::kOther;
  }
  if (errno == EACCES || errno == EPERM) return HidOpenError::kPermission;
  if (errno == ENOENT || errno == ENODEV || errno == ENXIO) return HidOpenError::kNotFound;
  return HidOpenError::kOther;
}

}  // namespace

HidApiBackend::HidApiBackend(std::optional<std::filesystem::path> lockFolder)
    : m_lockFolder(std::move(lockFolder)) {
  hid_init();
}

HidApiBackend::~HidApiBackend() { StopHotPlug(); }

std::vector<HidDeviceInfo> HidApiBackend::Enumerate() {
  std::vector<HidDeviceInfo> found;
  hid_device_info* list = hid_enumerate(kVendorId, kProductId);
  for (hid_device_info* d = list; d != nullptr; d = d->next) {
    if (d->path == nullptr) continue;
    HidDeviceInfo info;
    info.path = d->path;
    info.vendorId = d->vendor_id;
    info.productId = d->product_id;
    info.release = d->release_number;
    found.push_back(std::move(info));
  }
  hid_free_enumeration(list);
  return found;
}

std::unique_ptr<HidDevice> HidApiBackend::OpenExclusive(const std::string& path,
                                                        HidOpenError* error) {
  SetError(error, HidOpenError::kNone);
  DeviceLock lock;
  const bool locked = m_lockFolder ? lock.TryLock(path, *m_lockFolder) : lock.TryLock(path);
  if (!locked) {
    SetError(error, HidOpenError::kBusy);
    return nullptr;
  }
  hid_device* handle = hid_open_path(path.c_str());
  if (handle == nullptr) {
    // The screen says it in the interface language (a permission names its fix).
    SetError(error, DiagnoseNode(path));
    return nullptr;
  }
  return std::make_unique<HidApiDevice>(handle, path, std::move(lock));
}

void HidApiBackend::StartHotPlug(HotPlugCallback callback) { m_watcher.Start(std::move(callback)); }

void HidApiBackend::StopHotPlug() { m_watcher.Stop(); }

}  // namespace vantor
