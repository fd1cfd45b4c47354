#pragma once
// Device events: how the link tells the user interface what happened. They keep the numbers
// of the view's private window messages, so traces and tests read the same everywhere.
// They leave the core through one sink; the sink only queues them, it never runs the
// handler on the caller's thread.

#include <cstdint>
#include <string_view>

namespace vantor {

enum class DeviceEvent : std::uint16_t {
  WM_DEV_READBACK_DONE = 0x046E,    // last output of a read-back stored; wParam = slot
  WM_DEV_SLOTS_READ_DONE = 0x046F,  // slot 6 of a read-all stored; wParam = 6
  WM_DEV_SYS64_READ = 0x0470,       // limiter block read
  WM_DEV_AUX_READ = 0x0477,         // live effect block read for slot 21+; wParam = slot
  WM_DEV_AUX_SLOT_READ = 0x0478,    // effect image of slot 40 read
  WM_DEV_BATCH_DONE = 0x0496,       // lParam 0: batch end or busy end; 1: notice
  WM_DEV_UPGRADE_DONE = 0x0497,     // firmware update finished; lParam 179
  WM_DEV_LINK_ERROR = 0x049A,       // reply timeout or I/O failure
  WM_DEV_CONNECT_USB = 0x049C,      // try to connect (start-up)
  WM_DEV_NO_DATA = 0x04A0,          // data reply without data: firmware too old
  WM_DEV_IDENTITY = 0x04A1,         // identity stored
  WM_DEV_SLOT_NAME = 0x04A3,        // a program name stored; wParam = slot
  WM_DEV_SOURCE_CHANGED = 0x04A5,   // the device's input source; wParam = the new value
};

struct DeviceEventMessage {
  DeviceEvent id{};
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;

  friend bool operator==(const DeviceEventMessage&, const DeviceEventMessage&) = default;
};

// "WM_DEV_READBACK_DONE", ...; "?" for a number that is not an event.
std::string_view DeviceEventName(DeviceEvent id);

// Receives device events from the worker thread (and from producers on the user-interface
// thread). Post must be thread-safe and must return without waiting for the user
// interface: the worker calls it while holding the queue lock, which the user-interface
// thread may be waiting for at that very moment.
class DeviceEventSink {
 public:
  virtual ~DeviceEventSink() = default;
  virtual void Post(const DeviceEventMessage& message) = 0;
};

// The transfer progress bar (inside the transfer window). Called from the worker thread;
// an implementation hands the values to its own thread.
class ProgressDisplay {
 public:
  virtual ~ProgressDisplay() = default;
  virtual void SetRange(int low, int high) = 0;
  virtual void SetPosition(int position) = 0;
};

}  // namespace vantor
