#pragma once
// The preset operations of the main view, without a screen: storing the current tuning into
// a device slot, recalling a slot, naming and deleting slots, reading all slots into an
// all-presets file and sending one back, and loading and saving preset files. The preset
// dialogs call these; so do the command-line tool and the tests.
//
// Every operation runs on the thread that owns the connection controller. Messages are
// shown through the connection's screen (ShowMessage for the message boxes, with the file's
// path and the system's reason after a file error; the status window for "unable to
// connect") and the result says which one was shown, so a dialog only
// decides what its own controls show next. The screen's OnDeviceEvent must hand every
// device event to OnDeviceEvent here: the all-presets save writes its file when the last
// slot has arrived.

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/ConnectionController.h"
#include "presets/PresetFormat.h"
#include "presets/SlotNames.h"

namespace vantor {

enum class PresetStatus {
  kDone,          // done, or queued for the device
  kNotConnected,  // no device: the connection error was shown where the operation asks for it
  kNotLive,       // the live-sync flag is clear: nothing was done
  kRejected,      // the entered name was refused; its message was shown
  kFileError,     // the file could not be read or written, or is not a preset file
  kIgnored,       // a path with neither preset extension: nothing was done or shown
  kInterrupted,   // the connection ended before the device had answered; no file was written
  kBadArgument,   // a slot the device does not have: nothing was done
};

struct PresetResult {
  PresetStatus status = PresetStatus::kBadArgument;
  std::optional<TextId> message;  // the message that was shown, if any
  std::string detail;             // what followed it: a file's path and the reason
  PresetKind kind = PresetKind::kNone;
  std::filesystem::path path;  // the file read or written (saves: with its extension)
  bool loaded = false;         // a file load replaced the records (even when nothing could be sent)
  int commands = 0;            // commands queued
  int counter = 0;             // progress range of the batch: 0..counter

  bool Ok() const { return status == PresetStatus::kDone; }
};

class PresetController {
 public:
  explicit PresetController(ConnectionController& link);
  PresetController(const PresetController&) = delete;
  PresetController& operator=(const PresetController&) = delete;

  // --- Device slots.
  // The live program into slot 0..6. fromPanels: the objects are written into the live
  // record first (10 commands: name, music block, outputs 0..7). Otherwise the live record
  // was just loaded from a file and the device's outputs are switched off around the
  // transfer (26 commands). Without a device the connection error is shown.
  PresetResult StorePreset(int slot, bool fromPanels);
  // Slot 1..6 into the live program (9 read requests); the connection controller applies it
  // when the last output has arrived. With requireLiveSync (a left click in the load
  // dialog) nothing happens while the live-sync flag is clear.
  PresetResult Recall(int slot, bool requireLiveSync = false);
  // Slots 1..6 of the device into the slot records (54 read requests); the all-presets file
  // is written to `path` as it is when the last one has arrived.
  PresetResult ReadAllPresets(const std::filesystem::path& path);
  // The live program, the limiter block and slots 1..6 to the device. Nothing without a
  // device, and nothing is shown then.
  PresetResult SendAllPresets();
  // One system-item write; nothing without a device.
  PresetResult SendSystemItem(int code, int slot);

  // The six slot button labels: names when connected, else the default labels.
  std::string SlotLabel(int slot) const;
  std::array<std::string, kPresetSlots> SlotLabels() const;

  // The naming flow after the prompt returned `utf8` with OK: the name check (its message
  // on rejection), the name into slot n's name field and the live record's name, then
  // StorePreset(n, fromPanels). The name change stays when no device is connected.
  PresetResult NameSlot(int slot, std::string_view utf8);
  // The delete flow after the user confirmed (TextId::DeleteSlotQuestion): only while the
  // live-sync flag is set, slot n's name field becomes 16 zero bytes and the empty name is
  // sent. The slot's parameters are not touched.
  PresetResult DeleteSlot(int slot);

  // --- Files.
  // The load button: the kind by the extension (any letter case); a path with neither
  // extension is ignored.
  PresetResult LoadFile(const std::filesystem::path& path);
  // A single-preset file becomes the live program and is stored into the device's live
  // program (StorePreset 0 after a file load); panels refreshed.
  PresetResult LoadSinglePresetFile(const std::filesystem::path& path);
  // An all-presets file replaces the system area, slots, live program and delay table (its
  // listening position kept within 0..3) and is sent (SendAllPresets); panels refreshed.
  PresetResult LoadAllPresetsFile(const std::filesystem::path& path);
  // The current tuning into a single-preset file (".dsps" appended when missing). No device
  // traffic.
  PresetResult SaveSinglePresetFile(const std::filesystem::path& path);
  // The all-presets save: needs a device (else the connection error, before any dialog:
  // call it first with an empty path to ask, see CanSaveAllPresets). Reads all slots; the
  // file (".dspa" appended when missing) is written once the last slot has arrived.
  PresetResult SaveAllPresetsFile(const std::filesystem::path& path);
  // Whether an all-presets save may open its dialog; shows the connection error when not.
  bool CanSaveAllPresets();
  // An all-presets save is waiting for the device.
  bool AllPresetsSavePending() const { return m_allPresetsPath.has_value(); }
  // Told the outcome of each all-presets save (written, write failed, or interrupted).
  void SetAllPresetsSaved(std::function<void(const PresetResult&)> done) {
    m_allSaved = std::move(done);
  }

  // Every device event, from the screen's OnDeviceEvent.
  void OnDeviceEvent(const DeviceEventMessage& message);

 private:
  bool Connected() const;
  ConnectionScreen& Screen() { return m_link.Screen(); }
  bool Chinese() const;
  PresetResult Shown(PresetStatus status, TextId message);
  // A file error: the message, followed by the path and the reason.
  PresetResult FileFailed(TextId message, PresetKind kind, const std::filesystem::path& path,
                          const std::string& detail);
  PresetResult Queued(const SequenceResult& r);
  void FinishAllPresetsSave();
  void AbandonAllPresetsSave();

  ConnectionController& m_link;
  std::optional<std::filesystem::path> m_allPresetsPath;
  std::function<void(const PresetResult&)> m_allSaved;
};

}  // namespace vantor
