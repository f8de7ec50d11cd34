#include "platform/Stream.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/Errors.h"
#include "platform/LittleEndian.h"

namespace pictarix {

void TStream::ReadBuffer(std::span<std::uint8_t> buffer) {
  if (Read(buffer) != buffer.size()) throw EStreamError("Stream read error");
}

std::size_t TStream::ReadZeroFilled(std::span<std::uint8_t> buffer) {
  const std::size_t got = Read(buffer);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(got), buffer.end(), std::uint8_t{0});
  return got;
}

bool TStream::ReadU8(std::uint8_t& value) {
  std::array<std::uint8_t, 1> b{};
  const bool ok = Read(b) == b.size();
  value = ok ? b[0] : 0;
  return ok;
}

bool TStream::ReadU16(std::uint16_t& value) {
  std::array<std::uint8_t, 2> b{};
  const bool ok = Read(b) == b.size();
  value = ok ? LoadLe16(b) : 0;
  return ok;
}

bool TStream::ReadU32(std::uint32_t& value) {
  std::array<std::uint8_t, 4> b{};
  const bool ok = Read(b) == b.size();
  value = ok ? LoadLe32(b) : 0;
  return ok;
}

void TStream::WriteU8(std::uint8_t value) { Write(std::span<const std::uint8_t>(&value, 1)); }

void TStream::WriteU16(std::uint16_t value) {
  Write(Le16Bytes(value));
}

void TStream::WriteU32(std::uint32_t value) {
  Write(Le32Bytes(value));
}

void TStream::WriteZeros(std::uint64_t count) {
  static const std::array<std::uint8_t, 256> zeros{};
  while (count > 0) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, zeros.size()));
    Write(std::span<const std::uint8_t>(zeros.data(), n));
    count -= n;
  }
}

std::size_t TMemoryStream::Read(std::span<std::uint8_t> buffer) {
  if (position_ >= data_.size()) return 0;
  const auto n = static_cast<std::size_t>(
      std::min<std::uint64_t>(buffer.size(), data_.size() - position_));
  std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(position_), n, buffer.begin());
  position_ += n;
  return n;
}

void TMemoryStream::Write(std::span<const std::uint8_t> bytes) {
  const std::uint64_t end = position_ + bytes.size();
  if (end > data_.max_size()) throw EStreamError("Stream write error");
  if (end > data_.size()) data_.resize(static_cast<std::size_t>(end));
  std::copy(bytes.begin(), bytes.end(), data_.begin() + static_cast<std::ptrdiff_t>(position_));
  position_ = end;
}

void TMemoryStream::Patch(std::uint64_t position, std::span<const std::uint8_t> bytes) {
  if (position > data_.size() || bytes.size() > data_.size() - position)
    throw EStreamError("Stream write error");
  std::copy(bytes.begin(), bytes.end(), data_.begin() + static_cast<std::ptrdiff_t>(position));
}

namespace {

std::FILE* OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  return ::_wfopen(path.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

[[noreturn]] void ThrowOpenError(const std::filesystem::path& path, int error) {
  throw EFOpenError("Cannot open file \"" + path.string() + "\". " + SystemErrorText(error));
}

int SeekTo(std::FILE* file, std::uint64_t position) {
#ifdef _WIN32
  return ::_fseeki64(file, static_cast<__int64>(position), SEEK_SET);
#else
  return fseeko(file, static_cast<off_t>(position), SEEK_SET);
#endif
}

}  // namespace

TFileStream::TFileStream(const std::filesystem::path& path) {
  file_ = OpenForReading(path);
  if (file_ == nullptr) ThrowOpenError(path, errno);
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) {
    std::fclose(file_);
    file_ = nullptr;
    ThrowOpenError(path, error.value());
  }
  size_ = size;
}

TFileStream::~TFileStream() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t TFileStream::Read(std::span<std::uint8_t> buffer) {
  if (position_ >= size_ || buffer.empty()) return 0;
  if (filePosition_ != position_) {
    if (SeekTo(file_, position_) != 0) return 0;
    filePosition_ = position_;
  }
  const std::size_t want =
      static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size_ - position_));
  const std::size_t got = std::fread(buffer.data(), 1, want, file_);
  position_ += got;
  filePosition_ += got;
  if (got < want) std::clearerr(file_);
  return got;
}

void TFileStream::Write(std::span<const std::uint8_t>) {
  throw EStreamError("Stream write error");
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  TFileStream stream(path);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
  bytes.resize(stream.Read(bytes));
  return bytes;
}

}  // namespace pictarix
