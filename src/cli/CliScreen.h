#pragma once
// The connection's screen for the command-line tool: messages as lines on standard error
// in the chosen language, and a progress bar when standard error is a terminal.

#include <functional>
#include <iosfwd>
#include <mutex>
#include <vector>

#include "link/ConnectionScreen.h"

namespace vantor::cli {

class CliScreen : public ConnectionScreen {
 public:
  // `lock` guards `err`, which the trace writes from the worker thread too.
  CliScreen(std::ostream& err, std::mutex& lock, bool chinese, bool terminal);

  void ShowStatusMessage(TextId text) override;
  void ShowMessage(TextId text) override;
  void ShowDetailedMessage(TextId text, const std::string& detail) override;
  void ShowTransferWindow(TransferOwner owner) override;
  void HideTransferWindow() override;
  void SetTransferRange(int low, int high) override;
  void SetTransferPosition(int position) override;
  void SetConnectionIndicator(bool connected) override;
  void RefreshAll() override {}
  void ShowInputSource(int /*source*/) override {}
  void OnDeviceEvent(const DeviceEventMessage& message) override;
  // The firmware update's bar, drawn like the transfer bar but left where it stood when it
  // is hidden: an update that stopped half-way must not look complete.
  void ShowUpdateProgress(int position, int high);

  // Every message shown so far (status window and message boxes), oldest first; a detailed
  // message counts with its text.
  const std::vector<TextId>& Messages() const { return m_messages; }
  const std::vector<DeviceEventMessage>& Events() const { return m_events; }
  bool EverConnected() const { return m_everConnected; }
  // Also hands every device event to `listener` (the preset operations follow them).
  void SetEventListener(std::function<void(const DeviceEventMessage&)> listener) {
    m_listener = std::move(listener);
  }

 private:
  void DrawBar();

  std::ostream& m_err;
  std::mutex& m_lock;
  bool m_chinese;
  bool m_terminal;
  bool m_barShown = false;
  bool m_updateBar = false;
  int m_low = 0;
  int m_high = 0;
  int m_position = 0;
  bool m_everConnected = false;
  std::vector<TextId> m_messages;
  std::vector<DeviceEventMessage> m_events;
  std::function<void(const DeviceEventMessage&)> m_listener;
};

}  // namespace vantor::cli
