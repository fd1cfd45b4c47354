#pragma once
// The one seam between the protocol and a USB HID device. The hidapi transport (real
// hardware) and the simulated processor both implement it; nothing above this interface
// knows which one it talks to.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vantor {

// A report is a report id byte (always 0) followed by 64 data bytes.
inline constexpr std::size_t kReportSize = 65;
inline constexpr std::size_t kReportPayload = 64;
using Report = std::array<std::uint8_t, kReportSize>;

// The processor's USB identity; all three must match exactly.
inline constexpr std::uint16_t kVendorId = 0x0483;
inline constexpr std::uint16_t kProductId = 0x5750;
inline constexpr std::uint16_t kReleaseNumber = 0x0200;

struct HidDeviceInfo {
  std::string path;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t release = 0;

  bool IsProcessor() const {
    return vendorId == kVendorId && productId == kProductId && release == kReleaseNumber;
  }
};

enum class HidReadResult { kOk, kTimeout, kError };

enum class HidOpenError { kNone, kNotFound, kBusy, kPermission, kOther };

// One opened device.
class HidDevice {
 public:
  virtual ~HidDevice() = default;

  // Writes one output report; waits at most `timeout` for it to complete. False when the
  // device is gone or the write failed.
  virtual bool WriteReport(const Report& report, std::chrono::milliseconds timeout) = 0;
  // Reads one input report, waiting at most `timeout`.
  virtual HidReadResult ReadReport(Report& report, std::chrono::milliseconds timeout) = 0;
  // Drops input that has arrived but was not read yet (and output not yet taken).
  virtual void DiscardPending() = 0;
  virtual const std::string& Path() const = 0;
};

// Arrival and removal of devices, reported with their paths.
struct HotPlugEvent {
  enum Kind { kArrival, kRemoval } kind = kArrival;
  std::string path;
};
using HotPlugCallback = std::function<void(const HotPlugEvent&)>;

// Finds and opens devices, and reports hot-plug events.
class HidBackend {
 public:
  virtual ~HidBackend() = default;

  // Present devices in enumeration order.
  virtual std::vector<HidDeviceInfo> Enumerate() = 0;
  // Opens the path for reading and writing, exclusively. On failure returns null and, when
  // `error` is given, says why.
  virtual std::unique_ptr<HidDevice> OpenExclusive(const std::string& path,
                                                   HidOpenError* error = nullptr) = 0;
  // Starts reporting arrival and removal of matching devices until StopHotPlug. The
  // callback runs on a thread of the backend's; receivers hand the event on themselves.
  virtual void StartHotPlug(HotPlugCallback callback) = 0;
  virtual void StopHotPlug() = 0;
};

}  // namespace vantor
