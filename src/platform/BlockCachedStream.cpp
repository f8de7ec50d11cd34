#include "platform/BlockCachedStream.h"

#include <algorithm>

#include "platform/Errors.h"

namespace pictarix {

const TBlockCachedStream::Block* TBlockCachedStream::Holding(FileRange range) const {
  for (const Block& block : blocks_) {
    if (range.Offset >= block.Range.Offset &&
        range.Offset - block.Range.Offset <= block.Range.Size &&
        range.Size <= block.Range.Size - (range.Offset - block.Range.Offset)) {
      return &block;
    }
  }
  return nullptr;
}

bool TBlockCachedStream::Holds(FileRange range) const {
  return Holding(range) != nullptr;
}

bool TBlockCachedStream::Load(FileRange range) {
  if (Holds(range)) return true;
  auto bytes = ReadFileRange(*stream_, range);
  if (!bytes) return false;
  blocks_.push_back(Block{range, std::move(*bytes)});
  return true;
}

std::size_t TBlockCachedStream::Read(std::span<std::uint8_t> buffer) {
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

void TBlockCachedStream::Write(std::span<const std::uint8_t>) {
  throw EStreamError("Stream write error");
}

}  // namespace pictarix
