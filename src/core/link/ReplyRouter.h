#pragma once
// Stores the payload of a data reply where its request asked for it (the live record, a
// slot record, an effect image or a global block) and raises the notices that go with it.
// A copy never exceeds its destination, whatever length the device declared.

#include "link/DeviceEvents.h"
#include "link/FrameReceiver.h"

namespace vantor {

class ProgramState;

enum class DataReplyOutcome {
  kStored,   // handled (stored, or a known block with nothing to store): the command is done
  kNoData,   // L = 0: nothing stored, transfers stop, the command stays
  kIgnored,  // a block type the host never asks for: not acted upon
};

// Routes one data reply (reply code 0x66).
DataReplyOutcome RouteDataReply(const ReceivedFrame& reply, ProgramState& state,
                                DeviceEventSink& sink);

}  // namespace vantor
