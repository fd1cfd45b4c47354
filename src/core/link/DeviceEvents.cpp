#include "link/DeviceEvents.h"

namespace vantor {

std::string_view DeviceEventName(DeviceEvent id) {
  switch (id) {
    case DeviceEvent::WM_DEV_READBACK_DONE:
      return "WM_DEV_READBACK_DONE";
    case DeviceEvent::WM_DEV_SLOTS_READ_DONE:
      return "WM_DEV_SLOTS_READ_DONE";
    case DeviceEvent::WM_DEV_SYS64_READ:
      return "WM_DEV_SYS64_READ";
    case DeviceEvent::WM_DEV_AUX_READ:
      return "WM_DEV_AUX_READ";
    case DeviceEvent::WM_DEV_AUX_SLOT_READ:
      return "WM_DEV_AUX_SLOT_READ";
    case DeviceEvent::WM_DEV_BATCH_DONE:
      return "WM_DEV_BATCH_DONE";
    case DeviceEvent::WM_DEV_UPGRADE_DONE:
      return "WM_DEV_UPGRADE_DONE";
    case DeviceEvent::WM_DEV_LINK_ERROR:
      return "WM_DEV_LINK_ERROR";
    case DeviceEvent::WM_DEV_CONNECT_USB:
      return "WM_DEV_CONNECT_USB";
    case DeviceEvent::WM_DEV_NO_DATA:
      return "WM_DEV_NO_DATA";
    case DeviceEvent::WM_DEV_IDENTITY:
      return "WM_DEV_IDENTITY";
    case DeviceEvent::WM_DEV_SLOT_NAME:
      return "WM_DEV_SLOT_NAME";
    case DeviceEvent::WM_DEV_SOURCE_CHANGED:
      return "WM_DEV_SOURCE_CHANGED";
  }
  return "?";
}

}  // namespace vantor
