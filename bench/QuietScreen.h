#pragma once
// A connection screen that shows nothing, for benchmarks; device events go to an optional
// listener.

#include <functional>

#include "link/ConnectionScreen.h"

namespace vantor::bench {

class QuietScreen : public ConnectionScreen {
 public:
  void ShowStatusMessage(TextId) override {}
  void ShowMessage(TextId) override {}
  void ShowDetailedMessage(TextId, const std::string&) override {}
  void ShowTransferWindow(TransferOwner) override {}
  void HideTransferWindow() override {}
  void SetTransferRange(int, int) override {}
  void SetTransferPosition(int) override {}
  void SetConnectionIndicator(bool) override {}
  void RefreshAll() override {}
  void ShowInputSource(int) override {}
  void OnDeviceEvent(const DeviceEventMessage& message) override {
    if (listener) listener(message);
  }

  std::function<void(const DeviceEventMessage&)> listener;
};

}  // namespace vantor::bench
