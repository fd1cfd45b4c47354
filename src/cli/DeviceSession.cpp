#include "cli/DeviceSession.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>

#include "base/FileIo.h"
#include "cli/ExitCodes.h"
#include "cli/SimFaultSettings.h"
#include "device/FileClaimStore.h"
#include "device/HidApiBackend.h"
#include "link/Frame.h"
#include "sim/SimMemoryStore.h"
#include "sim/SimulatedBackend.h"
#include "sim/SimulatedProcessor.h"
#include "text/TextFormat.h"

namespace vantor::cli {
namespace {

using namespace std::chrono_literals;

std::string Hex(std::span<const std::uint8_t> bytes) {
  static const char* kDigits = "0123456789ABCDEF";
  std::string s;
  s.reserve(bytes.size() * 3);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i != 0) s += ' ';
    s += kDigits[bytes[i] >> 4];
    s += kDigits[bytes[i] & 0xF];
  }
  return s;
}

bool IsStatusReply(std::span<const std::uint8_t> f) {
  return f.size() > frame::kIndex && f[frame::kClass] == frame::kReplyData &&
         f[frame::kBlockType] == 4 && f[frame::kIndex] == 3;
}

}  // namespace

DeviceSession::DeviceSession(const GlobalOptions& options, std::ostream& err, bool terminal)
    : m_options(options),
      m_err(err),
      m_screen(err, m_errLock, options.chinese, terminal),
      m_claims(std::make_unique<FileClaimStore>()) {
  m_state.chinese = options.chinese;
}

DeviceSession::~DeviceSession() {
  if (m_controller) m_controller->Shutdown();
  m_controller.reset();
  if (m_store) m_store->Close();
}

void DeviceSession::Say(const std::string& line) {
  std::lock_guard lock(m_errLock);
  m_err << line << '\n';
}

int DeviceSession::Prepare() {
  if (m_options.sim) {
    m_unit = sim::SimulatedProcessor::Create();
    if (m_options.simState) {
      sim::SimMemoryStore::Options keep;
      keep.lockWait = FileTimings{}.sessionWait;
      keep.waiting = [this] {
        Say("vantorctl: " + FormatText(Tr(TextId::FileWaiting, m_options.chinese),
                                       {{"file", *m_options.simState}}));
      };
      sim::SimStoreProblem problem;
      m_store = sim::SimMemoryStore::Open(*m_options.simState, m_unit, keep, problem);
      if (!m_store) {
        Say("vantorctl: " + *m_options.simState + ": " + problem.Describe(m_options.chinese));
        return kExitFile;
      }
    }
    if (m_options.simFaults) {
      std::string error;
      const auto filter = ParseSimFaultSettings(*m_options.simFaults, error);
      if (!filter) {
        Say("vantorctl: " + error);
        return kExitUsage;
      }
      m_unit->SetRandomFaults(filter->seed, filter->rates);
      for (const sim::SimFault& fault : filter->once) m_unit->InjectFault(fault);
    }
    m_simBus = std::make_unique<sim::SimulatedBackend>();
    m_simBus->Attach(m_unit);
    m_unit->Plug();
    m_backend = m_simBus.get();
  } else {
    m_realBackend =
        m_options.usbBackend ? m_options.usbBackend() : std::make_unique<HidApiBackend>();
    m_backend = m_realBackend.get();
  }
  m_controller = std::make_unique<ConnectionController>(m_model, *m_backend, *m_claims, m_screen);
  m_controller->SetFrameTap(
      [this](FrameDirection d, std::span<const std::uint8_t> f) { Trace(d, f); });
  return kExitOk;
}

void DeviceSession::Trace(FrameDirection direction, std::span<const std::uint8_t> frame) {
  if (direction == FrameDirection::kReceived && IsStatusReply(frame)) ++m_statusReplies;
  if (!m_options.trace) return;
  Say((direction == FrameDirection::kSent ? "> " : "< ") + Hex(frame));
}

int DeviceSession::Connect() {
  m_controller->ToggleConnection();
  const bool live = Until([this] { return m_controller->Phase() == ConnectionPhase::kLive; }, 60s);
  if (live) return kExitOk;
  const auto& events = m_screen.Events();
  const bool linkError = std::any_of(events.begin(), events.end(), [](const auto& e) {
    return e.id == DeviceEvent::WM_DEV_LINK_ERROR;
  });
  if (m_screen.EverConnected() && linkError) {
    // It was found and opened, but nothing it answered completed a command.
    Say("vantorctl: " + std::string(Tr(TextId::DeviceNotAnswering, m_options.chinese)));
  } else if (m_screen.Messages().empty()) {
    // Identity mismatch closes without a message in the window; the tool says why.
    Say(std::string("vantorctl: ") +
        (m_screen.EverConnected()
             ? (m_options.chinese ? "设备型号不符" : "the device is not a supported processor")
             : std::string(Tr(TextId::UnableToConnect, m_options.chinese))));
  }
  return kExitDevice;
}

bool DeviceSession::Until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const bool ok = m_controller->ProcessUntil(
      [&] {
        return done() ||
               (!m_controller->Connected() && m_controller->Phase() == ConnectionPhase::kClosed);
      },
      timeout);
  return ok && done();
}

bool DeviceSession::WaitIdle(std::chrono::milliseconds timeout) {
  // Two more status answers: the second poll was built after everything before it had been
  // answered, and a poll is only sent when nothing is pending.
  const int start = m_statusReplies.load();
  return Until([&] { return m_statusReplies.load() >= start + 2; }, timeout);
}

int DeviceSession::Disconnect() {
  if (m_controller && m_controller->Connected()) m_controller->ToggleConnection();
  if (m_store) {
    const sim::SimStoreProblem saved = m_store->Close();
    if (!saved.Ok()) {
      Say("vantorctl: " + *m_options.simState + ": " + saved.Describe(m_options.chinese));
      return kExitFile;
    }
  }
  return kExitOk;
}

}  // namespace vantor::cli
