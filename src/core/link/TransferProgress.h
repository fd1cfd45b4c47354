#pragma once
// How far a batch transfer got, for the message when it breaks off: which operation, how
// many of its commands the device answered, and whether it was writing to the device (then
// the device may hold a mix of old and new settings, with outputs switched off).

#include <string>

#include "text/TextCatalog.h"

namespace vantor {

struct TransferProgress {
  TextId operation = TextId::TransferOpPush;
  bool writes = false;
  int answered = 0;  // commands of the batch the device answered
  int commands = 0;  // commands in the batch

  bool Complete() const { return answered >= commands; }
};

// The lines below "The transfer broke off!": where it stopped (command k of n, k being the
// one under way), what the device may hold now, and what to do.
std::string DescribeBrokenTransfer(const TransferProgress& progress, bool chinese);

}  // namespace vantor
