#include "connection/LinkRig.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

#include "link/PendingCommand.h"

namespace vantor::testing {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  m_path = std::filesystem::temp_directory_path() /
           ("vantor-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(m_path);
  std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

int AsAnotherPerson(const std::function<int()>& fn) {
  if (::geteuid() != 0) return fn();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(200);
    ::_exit(fn());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 201;
}

ProgramSide::ProgramSide(sim::SimulatedBackend& bus, ClaimStore& claims, LinkTimings timings)
    : controller(std::make_unique<ConnectionController>(model, bus, claims, screen, timings)) {}

namespace {

sim::SimOptions OptionsWith(sim::SimTiming timing) {
  sim::SimOptions o;
  o.timing = timing;
  return o;
}

}  // namespace

LinkRig::LinkRig(sim::SimTiming timing, LinkTimings timings)
    : unit(sim::SimulatedProcessor::Create(OptionsWith(timing))), program(bus, claims, timings) {
  bus.Attach(unit);
}

bool LinkRig::ConnectLive(std::chrono::milliseconds timeout) {
  unit->Plug();
  Controller().ToggleConnection();
  return Until([this] { return Controller().Phase() == ConnectionPhase::kLive; }, timeout);
}

bool LinkRig::Until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  return Controller().ProcessUntil(done, timeout);
}

bool LinkRig::Drained(std::chrono::milliseconds timeout) {
  // Nothing is left once two more status polls have been answered: the second was built
  // after everything before it was answered, and the scan only sends a poll when no change
  // is pending.
  const auto polls = [this] {
    int n = 0;
    for (const auto& f : unit->FrameLog()) {
      if (f.block == 4 && f.index == 3 && f.fate == sim::SimFrameFate::kRead) ++n;
    }
    return n;
  };
  const int start = polls();
  Until([&] { return polls() >= start + 2 || !Controller().Connected(); }, timeout);
  return Controller().Connected() && polls() >= start + 2;
}

}  // namespace vantor::testing
