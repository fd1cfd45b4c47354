#include "link/LinkWorker.h"

#include "model/ProgramState.h"

namespace vantor {

LinkWorker::LinkWorker(ProgramState& state, Cycles cycles, LinkTimings timings)
    : m_state(state), m_cycles(std::move(cycles)), m_timings(timings) {}

LinkWorker::~LinkWorker() { Stop(); }

void LinkWorker::Start() {
  m_state.stopTransfers = false;
  if (!m_thread.joinable()) {
    m_events.ResetAll();
    m_running = true;
    m_thread = std::thread([this] { Loop(); });
  }
  m_events.Set(m_state.firmwareUpdateMode ? WorkerEvents::kUpdateCycle
                                          : WorkerEvents::kNormalCycle);
  m_state.usbTransfer = true;
  m_state.connected = true;
}

void LinkWorker::Stop() {
  // A cycle under way ends at its next check of the USB transfer flag.
  m_state.usbTransfer = false;
  if (m_thread.joinable()) {
    m_events.Set(WorkerEvents::kExit);
    m_thread.join();
  }
  m_events.ResetAll();
  m_running = false;
  m_state.usbTransfer = false;
  m_state.connected = false;
}

void LinkWorker::Loop() {
  for (;;) {
    m_running = true;
    const int signalled = m_events.WaitAny(m_timings.workerWait);
    switch (signalled) {
      case WorkerEvents::kExit:
        m_running = false;
        return;
      case WorkerEvents::kSuspend:
        // Never raised by the program; treated as a pause until another event.
        m_events.Reset(WorkerEvents::kSuspend);
        break;
      case WorkerEvents::kUpdateCycle:
        if (!m_cycles.update || !m_cycles.update()) m_events.Reset(WorkerEvents::kUpdateCycle);
        break;
      case WorkerEvents::kNormalCycle:
        m_cycles.lock();
        if (m_state.stopTransfers) {
          // Transfers halted by a reply without data: wait for the view to disconnect.
          m_cycles.unlock();
          std::this_thread::sleep_for(m_timings.cyclePause);
          break;
        }
        m_cycles.normal();
        m_cycles.unlock();
        // The pause between cycles is the producers' gap: taken without the lock, so that
        // the user interface never waits behind a sleeping worker.
        std::this_thread::sleep_for(m_timings.cyclePause);
        break;
      default:
        break;  // the wait timed out: nothing to do
    }
  }
}

}  // namespace vantor
