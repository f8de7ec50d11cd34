#include "formats/pe/BlockCachedStream.h"

#include <algorithm>

#include "os/Errors.h"

namespace pictarix {

const BlockCachedStream::Block* BlockCachedStream::Holding(FileRange range) const {
  for (const Block& block : blocks_) {
    if (range.Offset >= block.Range.Offset &&
        range.Offset - block.Range.Offset <= block.Range.Size &&
        range.Size <= block.Range.Size - (range.Offset - block.Range.Offset)) {
      return &block;
    }
  }
  return nullptr;
}

bool BlockCachedStream::Holds(FileRange range) const {
  return Holding(range) != nullptr;
}

std::optional<std::span<const std::uint8_t>> BlockCachedStream::View(FileRange range) const {
  const Block* block = Holding(range);
  if (block == nullptr) return std::nullopt;
  return std::span<const std::uint8_t>(block->Bytes)
      .subspan(static_cast<std::size_t>(range.Offset - block->Range.Offset),
               static_cast<std::size_t>(range.Size));
}

namespace {

// Blocks are large and made anew for every module: their memory is kept for the next module
// instead of going back to the system and being faulted in and cleared again.
constexpr std::size_t kKeptBlocks = 4;
constexpr std::size_t kKeptBlockBytes = 16u << 20;
thread_local std::vector<std::vector<std::uint8_t>> spareBlocks;

std::vector<std::uint8_t> TakeSpareBlock(std::size_t size) {
  std::vector<std::uint8_t> bytes;
  if (!spareBlocks.empty()) {
    bytes = std::move(spareBlocks.back());
    spareBlocks.pop_back();
  }
  if (bytes.size() < size) bytes.resize(size);
  return bytes;
}

void KeepSpareBlock(std::vector<std::uint8_t> bytes) {
  if (bytes.size() <= kKeptBlockBytes && spareBlocks.size() < kKeptBlocks) {
    spareBlocks.push_back(std::move(bytes));
  }
}

}  // namespace

BlockCachedStream::~BlockCachedStream() {
  for (Block& block : blocks_) KeepSpareBlock(std::move(block.Bytes));
}

bool BlockCachedStream::Load(FileRange range) {
  if (Holds(range)) return true;
  const std::uint64_t size = stream_->Size();
  if (range.Offset > size || range.Size > size - range.Offset) return false;
  Block block{range, TakeSpareBlock(static_cast<std::size_t>(range.Size))};
  stream_->Seek(range.Offset);
  const auto wanted =
      std::span<std::uint8_t>(block.Bytes).first(static_cast<std::size_t>(range.Size));
  if (stream_->Read(wanted) != wanted.size()) {
    KeepSpareBlock(std::move(block.Bytes));
    return false;
  }
  blocks_.push_back(std::move(block));
  return true;
}

std::size_t BlockCachedStream::Read(std::span<std::uint8_t> buffer) {
  const std::uint64_t size = Size();
  if (position_ >= size || buffer.empty()) return 0;
  const FileRange wanted{position_, std::min<std::uint64_t>(buffer.size(), size - position_)};
  std::size_t got = 0;
  if (const Block* block = Holding(wanted)) {
    const auto from = static_cast<std::ptrdiff_t>(wanted.Offset - block->Range.Offset);
    got = static_cast<std::size_t>(wanted.Size);
    std::copy_n(block->Bytes.begin() + from, got, buffer.begin());
  } else {
    stream_->Seek(position_);
    got = stream_->Read(buffer.first(static_cast<std::size_t>(wanted.Size)));
  }
  position_ += got;
  return got;
}

void BlockCachedStream::Write(std::span<const std::uint8_t>) {
  throw StreamError("Stream write error");
}

}  // namespace pictarix
