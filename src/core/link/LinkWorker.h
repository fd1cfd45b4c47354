#pragma once
// The one worker thread that drives the device link while a connection (or a firmware
// update) is open. It waits on its four events and runs one cycle after another: normal
// cycles under the queue lock, or update cycles in firmware-update mode.

#include <atomic>
#include <functional>
#include <thread>

#include "link/LinkTimings.h"
#include "link/WorkerEvents.h"

namespace vantor {

class ProgramState;

class LinkWorker {
 public:
  struct Cycles {
    // One transfer cycle; the worker holds the queue lock around it (not around the pause
    // that follows).
    std::function<void()> normal;
    // One firmware-update cycle (no queue lock). Returns false once the update has
    // finished, which ends the update cycles.
    std::function<bool()> update;
    // The lock the normal cycle runs under.
    std::function<void()> lock;
    std::function<void()> unlock;
  };

  LinkWorker(ProgramState& state, Cycles cycles, LinkTimings timings = {});
  ~LinkWorker();
  LinkWorker(const LinkWorker&) = delete;
  LinkWorker& operator=(const LinkWorker&) = delete;

  // Clears the stop-transfers flag, creates the thread if there is none and lets it run
  // normal cycles (update cycles in firmware-update mode); sets the USB transfer and
  // connected flags.
  void Start();
  // Signals exit until the thread has stopped, forgets it, resets the events and clears
  // the USB transfer and connected flags. Returns promptly even with a transfer under way:
  // clearing the USB transfer flag ends a running cycle at its next check.
  void Stop();

  bool Exists() const { return m_thread.joinable(); }
  bool Running() const { return m_running.load(); }
  void SetTimings(const LinkTimings& timings) { m_timings = timings; }

 private:
  void Loop();

  ProgramState& m_state;
  Cycles m_cycles;
  LinkTimings m_timings;
  WorkerEvents m_events;
  std::thread m_thread;
  std::atomic<bool> m_running{false};
};

}  // namespace vantor
