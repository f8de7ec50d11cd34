#pragma once
// Byte streams with a position. Every read of file bytes in the core goes through one of these,
// and the bytes read are parsed through a ByteCursor: reads never go past the bytes held.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "os/Files.h"

namespace pictarix {

class ByteStream {
 public:
  virtual ~ByteStream() = default;

  // Reads up to `count` bytes at the position; returns how many were read (short at the end).
  virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
  // Writes all bytes at the position or throws StreamError.
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
  virtual std::uint64_t Position() const = 0;
  // Moving past the end is allowed; reads there return nothing.
  virtual void Seek(std::uint64_t position) = 0;
  virtual std::uint64_t Size() const = 0;
  // The bytes the stream's storage really holds: less than Size for a sparse file, whose holes
  // read as zeros without taking space.
  virtual std::uint64_t StoredSize() const { return Size(); }

  // Little-endian writers. Readers take the bytes of a structure with Read and parse them with
  // a ByteCursor.
  void WriteU8(std::uint8_t value);
  void WriteU16(std::uint16_t value);
  void WriteU32(std::uint32_t value);
  void WriteZeros(std::uint64_t count);
};

// A growable in-memory stream.
class MemoryStream : public ByteStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : data_(std::move(bytes)) {}

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  void Write(std::span<const std::uint8_t> bytes) override;
  std::uint64_t Position() const override { return position_; }
  void Seek(std::uint64_t position) override { position_ = position; }
  std::uint64_t Size() const override { return data_.size(); }

  const std::vector<std::uint8_t>& Bytes() const { return data_; }
  std::vector<std::uint8_t> TakeBytes() {
    position_ = 0;
    return std::move(data_);
  }
  // Overwrites bytes already written (for patching); throws when the range is not held.
  void Patch(std::uint64_t position, std::span<const std::uint8_t> bytes);

 private:
  std::vector<std::uint8_t> data_;
  std::uint64_t position_ = 0;
};

// A read-only stream over an open regular file. Every read is one pread at the position (the
// descriptor's own offset is never moved); the first bytes, where every format keeps its headers,
// are read once and served from memory. A read error raises StreamError with the system's text.
class FileStream : public ByteStream {
 public:
  // Opens `path`; FOpenError ("Cannot open file "%s". %s") when it cannot be opened or is no
  // regular file.
  explicit FileStream(const std::filesystem::path& path);
  // Reads a regular file already open.
  explicit FileStream(FileHandle file);
  // The regular file `path` names, or nothing when the name names nothing or no regular file
  // (a FIFO or device is opened without waiting and left). Other failures raise FOpenError.
  static std::unique_ptr<FileStream> OpenIfRegular(const std::filesystem::path& path);

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  void Write(std::span<const std::uint8_t> bytes) override;  // always throws: read-only
  std::uint64_t Position() const override { return position_; }
  void Seek(std::uint64_t position) override { position_ = position; }
  std::uint64_t Size() const override { return file_.Size; }
  std::uint64_t StoredSize() const override { return file_.StoredBytes; }

  // How many leading bytes are read at once and kept.
  static constexpr std::size_t kHeadBytes = 4096;

 private:
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;

  FileHandle file_;
  std::uint64_t position_ = 0;
  std::array<std::uint8_t, kHeadBytes> head_;  // its first headSize_ bytes are read
  std::size_t headSize_ = 0;
  bool headRead_ = false;
};

// A stream that reads and moves another one, kept open by its owner (which must outlive it).
class BorrowedStream : public ByteStream {
 public:
  explicit BorrowedStream(ByteStream& stream) : stream_(stream) {}
  std::size_t Read(std::span<std::uint8_t> buffer) override { return stream_.Read(buffer); }
  void Write(std::span<const std::uint8_t> bytes) override { stream_.Write(bytes); }
  std::uint64_t Position() const override { return stream_.Position(); }
  void Seek(std::uint64_t position) override { stream_.Seek(position); }
  std::uint64_t Size() const override { return stream_.Size(); }
  std::uint64_t StoredSize() const override { return stream_.StoredSize(); }

 private:
  ByteStream& stream_;
};

// The `count` bytes at `offset`, fewer when the stream ends first (none past its end): the bytes
// of a structure, read once and then parsed with a ByteCursor. Leaves the stream after them.
std::vector<std::uint8_t> ReadBytesAt(ByteStream& stream, std::uint64_t offset, std::uint64_t count);

// Reads a whole file (for small files such as icon files); throws FOpenError.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

}  // namespace pictarix
