#pragma once
// The mic input ("Mic 1", input index 0): record bytes 184..295. It travels only inside
// state records and files; nothing sends it to the device.

#include "model/InputData.h"

namespace vantor {

class CMIC_InData : public CInputData {
 public:
  explicit CMIC_InData(const LiveSyncFlag* liveSync);
};

}  // namespace vantor
