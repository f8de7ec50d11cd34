#include "formats/ico/IconFileBlocks.h"

#include <string>
#include <vector>

#include "os/Errors.h"

namespace pictarix {

IconFileLayout::IconFileLayout(ByteStream& stream) : stream_(stream), budget_(stream) {}

ImageData IconFileLayout::Read(std::uint32_t offset, std::uint32_t size) {
  if (size > stream_.Size()) {
    // No file can hold this image: refuse it instead of allocating the stated size.
    throw FormatError("Icon image of " + std::to_string(size) + " bytes is larger than its file");
  }
  if (!budget_.Spend(ReadBudget::kImageOverhead + std::uint64_t{size})) {
    throw FormatError("Icon images claim more than their file can hold (read limit)");
  }
  const auto key = std::make_pair(offset, size);
  if (const auto found = blocks_.find(key); found != blocks_.end()) return found->second;

  // A block cut off by the end of the file keeps the zeros it was made with.
  std::vector<std::uint8_t> data(size);
  stream_.Seek(offset);
  stream_.Read(data);
  auto block = std::make_shared<const std::vector<std::uint8_t>>(std::move(data));
  blocks_.emplace(key, block);
  return block;
}

}  // namespace pictarix
