#include "device/HidApiDevice.h"

#include <hidapi/hidapi.h>

#include <algorithm>

namespace vantor {

HidApiDevice::HidApiDevice(hid_device_* handle, std::string path, DeviceLock lock)
    : m_handle(handle), m_path(std::move(path)), m_lock(std::move(lock)) {}

HidApiDevice::~HidApiDevice() {
  if (m_handle != nullptr) hid_close(m_handle);
}

bool HidApiDevice::WriteReport(const Report& report, std::chrono::milliseconds /*timeout*/) {
  // hidraw writes complete at once (the kernel queues the report); there is nothing to
  // wait for beyond the call itself.
  return hid_write(m_handle, report.data(), report.size()) == static_cast<int>(report.size());
}

HidReadResult HidApiDevice::ReadReport(Report& report, std::chrono::milliseconds timeout) {
  // Unnumbered reports arrive without their id byte: 64 bytes into bytes 1..64.
  std::array<unsigned char, kReportSize> buffer{};
  const int n = hid_read_timeout(m_handle, buffer.data(), buffer.size(),
                                 static_cast<int>(std::min<long long>(timeout.count(), 1 << 30)));
  if (n < 0) return HidReadResult::kError;
  if (n == 0) return HidReadResult::kTimeout;
  report.fill(0);
  const auto count = std::min<std::size_t>(static_cast<std::size_t>(n), kReportPayload);
  std::copy_n(buffer.begin(), count, report.begin() + 1);
  return HidReadResult::kOk;
}

void HidApiDevice::DiscardPending() {
  std::array<unsigned char, kReportSize> buffer{};
  // Bounded: a device that floods us must not keep us here.
  for (int i = 0; i < 256; ++i) {
    if (hid_read_timeout(m_handle, buffer.data(), buffer.size(), 0) <= 0) break;
  }
}

}  // namespace vantor
