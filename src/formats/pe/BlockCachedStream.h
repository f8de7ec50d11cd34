#pragma once
// A read-only stream over another one that answers reads from blocks of it read earlier in one
// go: a parser that reads many small pieces of a region costs one read of the region.
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "formats/pe/PeImageLayout.h"
#include "os/Stream.h"

namespace pictarix {

class BlockCachedStream : public ByteStream {
 public:
  explicit BlockCachedStream(std::unique_ptr<ByteStream> stream) : stream_(std::move(stream)) {}
  ~BlockCachedStream() override;
  BlockCachedStream(const BlockCachedStream&) = delete;
  BlockCachedStream& operator=(const BlockCachedStream&) = delete;

  // Reads `range` into memory; false (and nothing kept) when the stream does not hold it.
  bool Load(FileRange range);
  // Whether a block read earlier holds the whole of `range`.
  bool Holds(FileRange range) const;
  // The bytes of `range` when a block read earlier holds all of them (valid while this lives).
  std::optional<std::span<const std::uint8_t>> View(FileRange range) const;

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  void Write(std::span<const std::uint8_t> bytes) override;  // always throws: read-only
  std::uint64_t Position() const override { return position_; }
  void Seek(std::uint64_t position) override { position_ = position; }
  std::uint64_t Size() const override { return stream_->Size(); }
  std::uint64_t StoredSize() const override { return stream_->StoredSize(); }

 private:
  struct Block {
    FileRange Range;
    std::vector<std::uint8_t> Bytes;  // its first Range.Size bytes hold the range
  };
  const Block* Holding(FileRange range) const;

  std::unique_ptr<ByteStream> stream_;
  std::vector<Block> blocks_;
  std::uint64_t position_ = 0;
};

}  // namespace pictarix
