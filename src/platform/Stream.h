#pragma once
// Byte streams with a position. Every read of file bytes in the core goes through one of these
// (or through a ByteCursor over bytes already held): reads never go past the bytes held.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

namespace pictarix {

class TStream {
 public:
  virtual ~TStream() = default;

  // Reads up to `count` bytes at the position; returns how many were read (short at the end).
  virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
  // Writes all bytes at the position or throws EStreamError.
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
  virtual std::uint64_t Position() const = 0;
  // Moving past the end is allowed; reads there return nothing.
  virtual void Seek(std::uint64_t position) = 0;
  virtual std::uint64_t Size() const = 0;

  // Reads exactly buffer.size() bytes or throws EStreamError (position then undefined).
  void ReadBuffer(std::span<std::uint8_t> buffer);
  // Reads up to buffer.size() bytes and zero-fills what the stream does not hold.
  std::size_t ReadZeroFilled(std::span<std::uint8_t> buffer);
  // Little-endian helpers; false (and value 0) when the stream ends first.
  bool ReadU8(std::uint8_t& value);
  bool ReadU16(std::uint16_t& value);
  bool ReadU32(std::uint32_t& value);
  void WriteU8(std::uint8_t value);
  void WriteU16(std::uint16_t value);
  void WriteU32(std::uint32_t value);
  void WriteZeros(std::uint64_t count);
};

// A growable in-memory stream.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : data_(std::move(bytes)) {}

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  void Write(std::span<const std::uint8_t> bytes) override;
  std::uint64_t Position() const override { return position_; }
  void Seek(std::uint64_t position) override { position_ = position; }
  std::uint64_t Size() const override { return data_.size(); }

  const std::vector<std::uint8_t>& Bytes() const { return data_; }
  std::vector<std::uint8_t> TakeBytes() { position_ = 0; return std::move(data_); }
  // Overwrites bytes already written (for patching); throws when the range is not held.
  void Patch(std::uint64_t position, std::span<const std::uint8_t> bytes);

 private:
  std::vector<std::uint8_t> data_;
  std::uint64_t position_ = 0;
};

// A read-only file stream. Opening failures raise EFOpenError with "Cannot open file "%s". %s".
class TFileStream : public TStream {
 public:
  explicit TFileStream(const std::filesystem::path& path);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  void Write(std::span<const std::uint8_t> bytes) override;  // always throws: read-only
  std::uint64_t Position() const override { return position_; }
  void Seek(std::uint64_t position) override { position_ = position; }
  std::uint64_t Size() const override { return size_; }

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  std::uint64_t filePosition_ = 0;  // where the C stream really is, to avoid needless seeks
};

// Reads a whole file (for small files such as icon files); throws EFOpenError.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

}  // namespace pictarix
