#pragma once
// The resource blocks of one 16-bit NE file: group directories and icon images, each read in one
// piece at its position. Every block made from file data counts against the file's read budget,
// so groups and images that all point at the same bytes cannot multiply them without bound.
#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "formats/ne/NeStructures.h"
#include "model/IconImage.h"
#include "os/ReadBudget.h"
#include "os/Stream.h"

namespace pictarix {

class NeBlocks {
 public:
  // Blocks are read from `stream` (not owned), offsets and lengths counted in units of
  // 2^alignShift bytes.
  NeBlocks(ByteStream& stream, std::uint16_t alignShift);

  // The data of a group entry; empty for a length of 0; IconLibraryError when the file ends before
  // the block does.
  std::vector<std::uint8_t> Group(const ResourceEntry& entry);
  // The data of icon-image entry `index` for an image of `bytesInRes` bytes (see the .cpp).
  ImageData Image(std::size_t index, const ResourceEntry& entry, std::uint32_t bytesInRes);

  // What an image of `bytesInRes` bytes read as a block of `blockSize` bytes costs the budget
  // (a block already made: `blockSize` 0). The library writer checks its files by the same sum.
  static std::uint64_t ImageCost(std::uint64_t blockSize, std::uint32_t bytesInRes) {
    return ReadBudget::kImageOverhead + std::max<std::uint64_t>(blockSize, bytesInRes);
  }

 private:
  // Counts bytes made from file data against what the file can reasonably give.
  void Spend(std::uint64_t bytes);
  // Reads `held` bytes at `offset` into a block of `size` bytes (the rest zeros).
  std::vector<std::uint8_t> ReadAt(std::uint64_t offset, std::uint64_t held, std::uint64_t size);

  ByteStream& stream_;
  std::uint64_t fileSize_;
  std::uint16_t alignShift_;
  ReadBudget budget_;
  // Image blocks already made, by (entry index, BytesInRes): groups that list the same image
  // share its data.
  std::map<std::pair<std::size_t, std::uint32_t>, ImageData> images_;
};

}  // namespace pictarix
