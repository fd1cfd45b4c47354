#include "sim/SimFrameRecord.h"

namespace vantor::sim {

const char* SimFrameFateName(SimFrameFate fate) {
  switch (fate) {
    case SimFrameFate::kStored:
      return "stored";
    case SimFrameFate::kRead:
      return "read";
    case SimFrameFate::kNoData:
      return "no data";
    case SimFrameFate::kRejected:
      return "rejected";
    case SimFrameFate::kCorrupt:
      return "corrupt";
    case SimFrameFate::kRefused:
      return "refused";
    case SimFrameFate::kIgnored:
      return "ignored";
  }
  return "?";
}

}  // namespace vantor::sim
