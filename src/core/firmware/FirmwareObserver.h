#pragma once
// What an update shows while it runs: the progress bar (range 0..block count, one step per
// acknowledged packet) and the status line. The calls come from the worker thread as well
// as from the thread that started the update; an implementation hands the values to its
// own thread (a dialog posts them into its event loop) and must not wait for it.

#include "text/TextCatalog.h"

namespace vantor {

class FirmwareObserver {
 public:
  virtual ~FirmwareObserver() = default;
  virtual void SetProgressRange(int low, int high) = 0;
  virtual void SetProgressPosition(int position) = 0;
  // The status line's new text, in the language current when it is shown.
  virtual void SetStatus(TextId text) = 0;
};

}  // namespace vantor
