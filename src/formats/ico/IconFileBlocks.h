#pragma once
// The image blocks of one icon file while it loads. All claims together (every entry's
// BytesInRes, also when entries repeat one another) stay within the file's read budget, so a
// directory of 65535 entries that each claim the whole file fails instead of multiplying it, in
// memory now or in every copy and file written from the icon later. Within the budget, entries
// that claim the same bytes (offset and size) share one block.
#include <cstdint>
#include <map>
#include <utility>

#include "model/IconImage.h"
#include "os/ReadBudget.h"
#include "os/Stream.h"

namespace pictarix {

class IconFileLayout {
 public:
  // Blocks are read from `stream` (position 0 = start of the icon file); not owned.
  explicit IconFileLayout(ByteStream& stream);

  // The `size` bytes at `offset`, zero-filled past the end of the stream. FormatError for a
  // size larger than the whole stream, or when the file's claims together exceed its budget.
  // Leaves the stream's position undefined.
  ImageData Read(std::uint32_t offset, std::uint32_t size);

 private:
  ByteStream& stream_;
  ReadBudget budget_;
  std::map<std::pair<std::uint32_t, std::uint32_t>, ImageData> blocks_;
};

}  // namespace pictarix
