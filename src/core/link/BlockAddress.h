#pragma once
// Where the blocks that commands address lie inside a state record: block type (frame
// byte 7) and index (byte 8) to an offset and a size. Builders and the reply routing share
// it, so a write and the read of the same block always mean the same bytes.

#include <cstddef>
#include <optional>

namespace vantor {

struct BlockRegion {
  std::size_t offset = 0;  // within a state record
  std::size_t size = 0;    // payload of a whole-block write or read
};

// The region of block `type` / `index`, or nothing for a type that is not a record block
// (system items, unknown types) or an index the processor does not have: the mic input is
// index 0, the music input index 2, outputs 0..7, the effect block index 0.
std::optional<BlockRegion> RecordBlock(int type, int index);

// Number of 8-byte items in a block of that type (0 for other types).
int BlockItemCount(int type);

}  // namespace vantor
