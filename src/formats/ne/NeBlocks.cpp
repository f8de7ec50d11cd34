#include "formats/ne/NeBlocks.h"

#include <algorithm>

#include "formats/ICLReader.h"

namespace pictarix {

NeBlocks::NeBlocks(ByteStream& stream, std::uint16_t alignShift)
    : stream_(stream), fileSize_(stream.Size()), alignShift_(alignShift), budget_(stream) {}

void NeBlocks::Spend(std::uint64_t bytes) {
  if (!budget_.Spend(bytes)) throw IconLibraryError("Resources larger than the file can hold");
}

std::vector<std::uint8_t> NeBlocks::ReadAt(std::uint64_t offset, std::uint64_t held,
                                           std::uint64_t size) {
  std::vector<std::uint8_t> block(static_cast<std::size_t>(size));
  stream_.Seek(offset);
  const std::span<std::uint8_t> wanted(block.data(), static_cast<std::size_t>(held));
  if (stream_.Read(wanted) != wanted.size()) throw IconLibraryError("Stream read error");
  return block;
}

std::vector<std::uint8_t> NeBlocks::Group(const ResourceEntry& entry) {
  const std::uint64_t offset = std::uint64_t{entry.Offset} << alignShift_;
  const std::uint64_t length = std::uint64_t{entry.Length} << alignShift_;
  if (length == 0) return {};
  if (offset > fileSize_ || length > fileSize_ - offset)
    throw IconLibraryError("Stream read error");
  Spend(length);
  return ReadAt(offset, length, length);
}

// The block of an icon image is its unit length from its unit offset, as far as the file holds
// it. Two departures keep odd files readable without trusting their numbers:
// - a unit length beyond the image's BytesInRes rounded up to a unit is cut there (some tools
//   store lengths in bytes, which the alignment then multiplies into the following resources);
// - a block that runs past the end of the file keeps what the file holds, zero-filled up to
//   BytesInRes.
// An image whose BytesInRes is larger than the whole file cannot be true and fails the read.
// Every image costs its BytesInRes, also when it shares a block already made: that many bytes
// are what each copy and each file written from the icon later holds.
ImageData NeBlocks::Image(std::size_t index, const ResourceEntry& entry, std::uint32_t bytesInRes) {
  if (bytesInRes > fileSize_) throw IconLibraryError("Icon image larger than its file");
  const auto key = std::make_pair(index, bytesInRes);
  if (const auto cached = images_.find(key); cached != images_.end()) {
    Spend(ImageCost(0, bytesInRes));
    return cached->second;
  }

  const std::uint64_t unit = std::uint64_t{1} << alignShift_;
  const std::uint64_t offset = std::uint64_t{entry.Offset} << alignShift_;
  const std::uint64_t unitLength = std::uint64_t{entry.Length} << alignShift_;
  const std::uint64_t roundedSize = (std::uint64_t{bytesInRes} + unit - 1) / unit * unit;
  const std::uint64_t wanted = std::min(unitLength, roundedSize);
  const std::uint64_t held = offset < fileSize_ ? std::min(wanted, fileSize_ - offset) : 0;
  const std::uint64_t size = held < wanted ? std::max<std::uint64_t>(held, bytesInRes) : wanted;

  Spend(ImageCost(size, bytesInRes));
  auto data = std::make_shared<const std::vector<std::uint8_t>>(ReadAt(offset, held, size));
  images_.emplace(key, data);
  return data;
}

}  // namespace pictarix
