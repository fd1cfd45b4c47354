#pragma once
// From the model's pending changes to commands: what the worker sends when its queue is
// empty.

#include <memory>

#include "link/SendData.h"

namespace vantor {

class CKTV_Data;

// The single-item write of the first pending change (its flag cleared and its item packed
// into the live record by the model), or the status poll when nothing is pending. Never
// null. Runs on the worker thread under the queue lock.
std::unique_ptr<CSendData> NextPendingCommand(CKTV_Data& model);

}  // namespace vantor
