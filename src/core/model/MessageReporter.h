#pragma once
// How the model tells the user about a refusal (a name that does not fit). The GUI shows
// the text in a modal message box; tests record it; the core never opens a window.
// The model may report from the worker thread (the pending-change scan packs names), so an
// implementation that touches widgets must hand the report over to the UI thread.

#include "text/TextCatalog.h"

namespace vantor {

class MessageReporter {
 public:
  virtual ~MessageReporter() = default;
  virtual void Report(TextId message) = 0;
};

}  // namespace vantor
