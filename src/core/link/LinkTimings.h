#pragma once
// Every timing constant of the device link in one value. The defaults are the ones the
// processor is known to work with; tests run the same code with shorter ones.

#include <chrono>

namespace vantor {

struct LinkTimings {
  using ms = std::chrono::milliseconds;

  // Transfer cycle.
  ms writeWait{20};        // wait for one output report to complete
  ms readWait{2000};       // wait for one input report
  ms exchangeLimit{3000};  // reports arrive but no valid frame: give up after this
  ms linkErrorPause{10};   // pause before reporting a link error after exchangeLimit
  ms cyclePause{10};       // pause after every normal cycle
  ms workerWait{3000};     // the worker's wait on its events

  // Connection.
  ms disconnectPause{500};  // after stopping the worker, before closing the device

  // All values divided by `factor` (at least 1 ms each), for tests.
  LinkTimings Scaled(double factor) const;
};

}  // namespace vantor
