#pragma once
// The firmware update and the factory reset, as the update dialog drives them. It works
// the device through a connection controller: starting an update closes any connection,
// searches the device, and lets the controller's worker run the update cycles; the
// outcome comes back as device events, which the owner hands to OnDeviceEvent (the
// screen's OnDeviceEvent is the place). Everything here runs on the thread that owns the
// controller; progress and status reach the observer from the worker as well.
//
//   FirmwareUpdater updater(controller);
//   updater.SetObserver(&dialog);                 // progress bar and status line
//   updater.ChooseFirmwareFile(pickedPath);       // or SetFirmwarePath(fromSettings)
//   if (updater.Start() == FirmwareStart::kStarted) ... wait for Outcome() to settle
//
// Only one updater may be attached to a controller at a time.

#include <optional>
#include <string>

#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareObserver.h"
#include "firmware/FirmwareUpdateCycle.h"
#include "link/ConnectionController.h"

namespace vantor {

enum class FirmwareStart {
  kStarted,         // the update runs
  kAlreadyRunning,  // ignored: an update is under way
  kFileRefused,     // the file could not be loaded (message shown); the connection is as it was
  kDeviceNotFound,  // no device within the search time (connection error shown)
};

enum class FirmwareOutcome {
  kIdle,  // no update started yet
  kRunning,
  kSucceeded,  // the device acknowledged the end packet
  kFailed,     // stopped on the way; the link is closed and the error was shown
};

enum class FactoryResetResult {
  kQueued,        // the reset item was queued to the connected device
  kNotConnected,  // "The device is not connected" was shown
  kUpdating,      // refused while an update runs ("Don't close up the update!" shown)
};

class FirmwareUpdater {
 public:
  explicit FirmwareUpdater(ConnectionController& controller);
  ~FirmwareUpdater();
  FirmwareUpdater(const FirmwareUpdater&) = delete;
  FirmwareUpdater& operator=(const FirmwareUpdater&) = delete;

  // The progress bar and status line; none: not shown. Set while no update runs.
  void SetObserver(FirmwareObserver* observer);

  // --- The file.
  // The path remembered from an earlier run.
  void SetFirmwarePath(std::string path) { m_file.SetPath(std::move(path)); }
  const std::string& FirmwarePath() const { return m_file.Path(); }
  // The browse button with what the file dialog returned (none: cancelled); true when a
  // file was taken (store FirmwarePath() with the settings then).
  bool ChooseFirmwareFile(const std::optional<std::string>& chosen);
  const FirmwareFile& File() const { return m_file; }
  // Reads the file at the firmware path; refusals and the controller warning are shown
  // as messages. True when an image is held.
  bool LoadFirmwareImage();

  // --- The update.
  // The start button: loads the file, closes the connection, searches the device (showing
  // "Search for upgraded devices") and starts the update cycles.
  FirmwareStart Start();
  // The firmware-update mode: while it holds, the dialog stays open and its buttons only
  // show "Don't close up the update!".
  bool Updating() const;
  // Also settles an update that the link stopped without an event (a removal).
  FirmwareOutcome Outcome();
  // Every device event, after the controller's own handling: the update finished
  // (WM_DEV_UPGRADE_DONE, 179) or failed (WM_DEV_LINK_ERROR).
  void OnDeviceEvent(const DeviceEventMessage& message);
  // The dialog's close box: refused with the warning while updating; otherwise the
  // update mode ends and the observer is let go. True when the dialog may close.
  bool RequestClose();

  int PacketsAcknowledged() const { return m_cycle.PacketsAcknowledged(); }
  int PacketsTotal() const { return m_cycle.PacketsTotal(); }
  // The code of the packet exchanged last (where a failed update stopped).
  int LastPacketCode() const { return m_cycle.CurrentCode(); }

  // --- Factory reset, once the user answered Yes to FactoryResetQuestion: system item 137
  // with seven zero bytes, without progress.
  FactoryResetResult FactoryReset();

 private:
  void Finish(FirmwareOutcome outcome);

  ConnectionController& m_controller;
  FirmwareFile m_file;
  FirmwareObserver* m_observer = nullptr;
  FirmwareUpdateCycle m_cycle;
  FirmwareOutcome m_outcome = FirmwareOutcome::kIdle;
};

}  // namespace vantor
