#pragma once
// The image blocks of one icon file while it loads. Entries that claim the same bytes (offset
// and size) share one block, and all blocks together stay within the file's read budget, so a
// directory of 65535 entries that each claim the whole file costs one copy of it, and one of
// distinct overlapping claims fails instead of multiplying the file.
#include <cstdint>
#include <map>
#include <utility>

#include "model/IconImage.h"
#include "platform/ReadBudget.h"
#include "platform/Stream.h"

namespace pictarix {

class TIconFileBlocks {
 public:
  // Blocks are read from `stream` (position 0 = start of the icon file); not owned.
  explicit TIconFileBlocks(TStream& stream);

  // The `size` bytes at `offset`, zero-filled past the end of the stream. EFormatError for a
  // size larger than the whole stream, or when the file's claims together exceed its budget.
  // Leaves the stream's position undefined.
  ImageData Read(std::uint32_t offset, std::uint32_t size);

 private:
  TStream& stream_;
  ReadBudget budget_;
  std::map<std::pair<std::uint32_t, std::uint32_t>, ImageData> blocks_;
};

}  // namespace pictarix
