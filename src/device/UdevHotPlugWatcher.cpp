#include "device/UdevHotPlugWatcher.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

namespace vantor {
namespace {

std::optional<unsigned> HexAttribute(udev_device* dev, const char* name) {
  const char* text = udev_device_get_sysattr_value(dev, name);
  if (text == nullptr) return std::nullopt;
  unsigned value = 0;
  const std::string_view s(text);
  const auto r = std::from_chars(s.data(), s.data() + s.size(), value, 16);
  if (r.ec != std::errc()) return std::nullopt;
  return value;
}

bool IsProcessor(udev_device* hidraw) {
  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device");
  if (usb == nullptr) return false;
  const auto vendor = HexAttribute(usb, "idVendor");
  const auto product = HexAttribute(usb, "idProduct");
  const auto release = HexAttribute(usb, "bcdDevice");
  return vendor == kVendorId && product == kProductId && release == kReleaseNumber;
}

}  // namespace

UdevHotPlugWatcher::~UdevHotPlugWatcher() { Stop(); }

bool UdevHotPlugWatcher::Start(HotPlugCallback callback) {
  Stop();
  udev* u = udev_new();
  if (u == nullptr) return false;
  udev_monitor* mon = udev_monitor_new_from_netlink(u, "udev");
  if (mon == nullptr ||
      udev_monitor_filter_add_match_subsystem_devtype(mon, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(mon) < 0) {
    if (mon != nullptr) udev_monitor_unref(mon);
    udev_unref(u);
    return false;
  }
  m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (m_wakeFd < 0) {
    udev_monitor_unref(mon);
    udev_unref(u);
    return false;
  }
  m_udev = u;
  m_monitor = mon;
  m_thread = std::thread([this, cb = std::move(callback)] { Run(cb); });
  return true;
}

void UdevHotPlugWatcher::Stop() {
  if (m_thread.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(m_wakeFd, &one, sizeof one);
    m_thread.join();
  }
  if (m_wakeFd >= 0) {
    ::close(m_wakeFd);
    m_wakeFd = -1;
  }
  if (m_monitor != nullptr) udev_monitor_unref(static_cast<udev_monitor*>(m_monitor));
  if (m_udev != nullptr) udev_unref(static_cast<udev*>(m_udev));
  m_monitor = nullptr;
  m_udev = nullptr;
}

void UdevHotPlugWatcher::Run(HotPlugCallback callback) {
  auto* mon = static_cast<udev_monitor*>(m_monitor);
  pollfd fds[2] = {{udev_monitor_get_fd(mon), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
  for (;;) {
    if (::poll(fds, 2, -1) < 0) continue;
    if ((fds[1].revents & POLLIN) != 0) return;
    if ((fds[0].revents & POLLIN) == 0) continue;
    udev_device* dev = udev_monitor_receive_device(mon);
    if (dev == nullptr) continue;
    const char* action = udev_device_get_action(dev);
    const char* node = udev_device_get_devnode(dev);
    if (action != nullptr && node != nullptr) {
      if (std::strcmp(action, "add") == 0 && IsProcessor(dev)) {
        callback({HotPlugEvent::kArrival, node});
      } else if (std::strcmp(action, "remove") == 0) {
        callback({HotPlugEvent::kRemoval, node});
      }
    }
    udev_device_unref(dev);
  }
}

}  // namespace vantor
