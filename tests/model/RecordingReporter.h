#pragma once
// A MessageReporter that remembers what the model reported.

#include <vector>

#include "model/MessageReporter.h"

namespace vantor {

class RecordingReporter : public MessageReporter {
 public:
  void Report(TextId message) override { messages.push_back(message); }
  std::vector<TextId> messages;
};

}  // namespace vantor
