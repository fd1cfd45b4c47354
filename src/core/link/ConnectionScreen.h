#pragma once
// What the connection controller needs from a screen. The application implements it with
// windows; the command-line tool and the tests implement it plainly. Every call comes on the
// thread that owns the controller.

#include <string>

#include "link/DeviceEvents.h"
#include "text/TextCatalog.h"

namespace vantor {

// Which window the transfer window disables while it is shown.
enum class TransferOwner { kView, kPresetDialog };

class ConnectionScreen {
 public:
  virtual ~ConnectionScreen() = default;

  // The status message window ("unable to connect").
  virtual void ShowStatusMessage(TextId text) = 0;
  // A modal message box with an OK button.
  virtual void ShowMessage(TextId text) = 0;
  // The same message box with lines composed for this occasion below the text, already in
  // the current language: a file's path and the system's reason, or how far a transfer got
  // before it broke off and what to do.
  virtual void ShowDetailedMessage(TextId text, const std::string& detail) = 0;
  virtual void ShowTransferWindow(TransferOwner owner) = 0;
  virtual void HideTransferWindow() = 0;
  virtual void SetTransferRange(int low, int high) = 0;
  virtual void SetTransferPosition(int position) = 0;
  virtual void SetConnectionIndicator(bool connected) = 0;
  // Reload every panel from the model.
  virtual void RefreshAll() = 0;
  // The device's input source changed; the source list follows.
  virtual void ShowInputSource(int source) = 0;
  // Every device event after the controller's own handling, for the parts that follow
  // them too (preset dialogs, the limiter dialog, the firmware dialog).
  virtual void OnDeviceEvent(const DeviceEventMessage& /*message*/) {}
};

}  // namespace vantor
