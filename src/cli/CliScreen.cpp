#include "cli/CliScreen.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace vantor::cli {

CliScreen::CliScreen(std::ostream& err, std::mutex& lock, bool chinese, bool terminal)
    : m_err(err), m_lock(lock), m_chinese(chinese), m_terminal(terminal) {}

void CliScreen::ShowStatusMessage(TextId text) {
  m_messages.push_back(text);
  std::lock_guard lock(m_lock);
  if (m_barShown) m_err << '\n';
  m_barShown = false;
  m_err << "vantorctl: " << Tr(text, m_chinese) << '\n';
}

void CliScreen::ShowMessage(TextId text) { ShowStatusMessage(text); }

void CliScreen::ShowDetailedMessage(TextId text, const std::string& detail) {
  ShowStatusMessage(text);
  std::lock_guard lock(m_lock);
  std::size_t at = 0;
  while (at < detail.size()) {
    const std::size_t end = std::min(detail.find('\n', at), detail.size());
    m_err << "vantorctl: " << detail.substr(at, end - at) << '\n';
    at = end + 1;
  }
}

void CliScreen::ShowTransferWindow(TransferOwner /*owner*/) {
  m_barShown = m_terminal;
  DrawBar();
}

void CliScreen::HideTransferWindow() {
  if (m_barShown) {
    if (!m_updateBar) {
      m_position = m_high;
      DrawBar();
    }
    std::lock_guard lock(m_lock);
    m_err << '\n';
  }
  m_barShown = false;
  m_updateBar = false;
}

void CliScreen::ShowUpdateProgress(int position, int high) {
  m_updateBar = true;
  m_barShown = m_terminal;
  m_low = 0;
  m_high = high;
  m_position = position;
  DrawBar();
}

void CliScreen::SetTransferRange(int low, int high) {
  m_low = low;
  m_high = high;
  m_position = low;
  DrawBar();
}

void CliScreen::SetTransferPosition(int position) {
  m_position = position;
  DrawBar();
}

void CliScreen::SetConnectionIndicator(bool connected) {
  if (connected) m_everConnected = true;
}

void CliScreen::OnDeviceEvent(const DeviceEventMessage& message) {
  m_events.push_back(message);
  if (m_listener) m_listener(message);
}

void CliScreen::DrawBar() {
  if (!m_barShown || !m_terminal) return;
  std::lock_guard lock(m_lock);
  constexpr int kWidth = 40;
  const int span = std::max(1, m_high - m_low);
  const int done = std::clamp((m_position - m_low) * kWidth / span, 0, kWidth);
  const TextId caption = m_updateBar ? TextId::FirmwareDialogTitle : TextId::TransferCaption;
  m_err << '\r' << Tr(caption, m_chinese) << " ["
        << std::string(static_cast<std::size_t>(done), '#')
        << std::string(static_cast<std::size_t>(kWidth - done), '.') << "] " << m_position << '/'
        << m_high << std::flush;
}

}  // namespace vantor::cli
