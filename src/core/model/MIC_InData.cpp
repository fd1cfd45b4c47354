#include "model/MIC_InData.h"

namespace vantor {

CMIC_InData::CMIC_InData(const LiveSyncFlag* liveSync)
    : CInputData(kMicName, kMicColour, kMicInputIndex, liveSync,
                 Held{{true, true, true, true}, {true, false}}) {}

}  // namespace vantor
