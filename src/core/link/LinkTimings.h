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

  // A command answered this many times in a row with the resend code: the device takes no
  // command, which ends the connection as a link error (a count, not scaled).
  int resendLimit = 10;

  // Connection.
  ms disconnectPause{500};  // after stopping the worker, before closing the device

  // Firmware update.
  ms fwSearchLimit{10000};    // looking for the device before an update starts
  ms fwSearchInterval{50};    // between two looks
  ms fwWakeInterval{5};       // pause after each wake-up report
  ms fwWakeDuration{1000};    // wake-up reports are written this long...
  ms fwWakePause{2000};       // ...then the boot loader gets this long to start
  ms fwRestartWait{3000};     // after the start packet: the device restarts into its boot loader
  ms fwExchangeLimit{10000};  // one exchange without a complete frame
  ms fwIdleWait{50};          // an update cycle that found nothing to send
  // Wait for one input report, by packet: start, header, data and end of the processor
  // image; the two start packets, data and end of the controller image.
  ms fwReadStart{3000};
  ms fwReadHeader{8000};
  ms fwReadData{2000};
  ms fwReadEnd{2000};
  ms fwReadControllerStart{30000};
  ms fwReadControllerData{10000};
  ms fwReadControllerEnd{8000};

  // All values divided by `factor` (at least 1 ms each), for tests.
  LinkTimings Scaled(double factor) const;
};

}  // namespace vantor
