#include "link/BlockAddress.h"

#include "model/DataDefine.h"

namespace vantor {

std::optional<BlockRegion> RecordBlock(int type, int index) {
  switch (type) {
    case rec::kBlockMic:
      if (index != 0) return std::nullopt;
      return BlockRegion{rec::kMicBlock, rec::kInputBlockSize};
    case rec::kBlockMusic:
      if (index != rec::kMusicInputIndex) return std::nullopt;
      return BlockRegion{rec::kMusicBlock, rec::kInputBlockSize};
    case rec::kBlockOutput:
      if (index < 0 || index >= rec::kOutputCount) return std::nullopt;
      return BlockRegion{rec::OutputOffset(index), rec::kOutputBlockSize};
    case rec::kBlockEffect:
      if (index != 0) return std::nullopt;
      return BlockRegion{rec::kEffectBlock, rec::kEffectBlockSize};
    default:
      return std::nullopt;
  }
}

int BlockItemCount(int type) {
  switch (type) {
    case rec::kBlockMic:
    case rec::kBlockMusic:
      return static_cast<int>(rec::kInputBlockSize / rec::kItemSize);
    case rec::kBlockOutput:
      return static_cast<int>(rec::kOutputBlockSize / rec::kItemSize);
    case rec::kBlockEffect:
      return static_cast<int>(rec::kEffectBlockSize / rec::kItemSize);
    default:
      return 0;
  }
}

}  // namespace vantor
