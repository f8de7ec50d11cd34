#include "os/Stream.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

#include <unistd.h>

#include "os/Errors.h"
#include "os/LittleEndian.h"

namespace pictarix {

void ByteStream::WriteU8(std::uint8_t value) {
  Write(std::span<const std::uint8_t>(&value, 1));
}

void ByteStream::WriteU16(std::uint16_t value) {
  Write(Le16Bytes(value));
}

void ByteStream::WriteU32(std::uint32_t value) {
  Write(Le32Bytes(value));
}

void ByteStream::WriteZeros(std::uint64_t count) {
  static const std::array<std::uint8_t, 256> zeros{};
  while (count > 0) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, zeros.size()));
    Write(std::span<const std::uint8_t>(zeros.data(), n));
    count -= n;
  }
}

std::size_t MemoryStream::Read(std::span<std::uint8_t> buffer) {
  if (position_ >= data_.size()) return 0;
  const auto n =
      static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), data_.size() - position_));
  std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(position_), n, buffer.begin());
  position_ += n;
  return n;
}

void MemoryStream::Write(std::span<const std::uint8_t> bytes) {
  const std::uint64_t end = position_ + bytes.size();
  if (end > data_.max_size()) throw StreamError("Stream write error");
  if (end > data_.size()) data_.resize(static_cast<std::size_t>(end));
  std::copy(bytes.begin(), bytes.end(), data_.begin() + static_cast<std::ptrdiff_t>(position_));
  position_ = end;
}

void MemoryStream::Patch(std::uint64_t position, std::span<const std::uint8_t> bytes) {
  if (position > data_.size() || bytes.size() > data_.size() - position)
    throw StreamError("Stream write error");
  std::copy(bytes.begin(), bytes.end(), data_.begin() + static_cast<std::ptrdiff_t>(position));
}

namespace {

[[noreturn]] void ThrowOpenError(const std::filesystem::path& path, const std::string& reason) {
  throw FOpenError("Cannot open file \"" + path.string() + "\". " + reason);
}

// Why an open file cannot be read as a file.
std::string NotRegularText(FileKind kind) {
  return kind == FileKind::Directory ? SystemErrorText(EISDIR) : "Not a regular file";
}

}  // namespace

FileStream::FileStream(const std::filesystem::path& path) {
  OpenedFile opened = OpenForReading(path);
  if (opened.Error != 0) ThrowOpenError(path, SystemErrorText(opened.Error));
  if (opened.Handle.Kind != FileKind::Regular)
    ThrowOpenError(path, NotRegularText(opened.Handle.Kind));
  file_ = std::move(opened.Handle);
}

FileStream::FileStream(FileHandle file) : file_(std::move(file)) {}

std::unique_ptr<FileStream> FileStream::OpenIfRegular(const std::filesystem::path& path) {
  OpenedFile opened = OpenForReading(path);
  if (opened.Error == ENOENT || opened.Error == ENOTDIR) return nullptr;
  if (opened.Error != 0) ThrowOpenError(path, SystemErrorText(opened.Error));
  if (opened.Handle.Kind != FileKind::Regular) return nullptr;
  return std::make_unique<FileStream>(std::move(opened.Handle));
}

std::size_t FileStream::ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t got = ::pread(file_.Descriptor(), buffer.data() + done, buffer.size() - done,
                                static_cast<off_t>(offset + done));
    if (got == 0) break;  // the file ends here (it may have shrunk since it was opened)
    if (got < 0) {
      if (errno == EINTR) continue;
      throw StreamError(SystemErrorText(errno));
    }
    done += static_cast<std::size_t>(got);
  }
  return done;
}

std::size_t FileStream::Read(std::span<std::uint8_t> buffer) {
  if (position_ >= file_.Size || buffer.empty()) return 0;
  const std::size_t want =
      static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), file_.Size - position_));
  std::size_t done = 0;
  if (position_ < kHeadBytes) {
    if (!headRead_) {
      headRead_ = true;
      const auto headWant =
          static_cast<std::size_t>(std::min<std::uint64_t>(kHeadBytes, file_.Size));
      headSize_ = ReadAt(0, std::span<std::uint8_t>(head_.data(), headWant));
    }
    if (position_ < headSize_) {
      done = std::min(want, headSize_ - static_cast<std::size_t>(position_));
      std::copy_n(head_.begin() + static_cast<std::ptrdiff_t>(position_), done, buffer.begin());
    } else if (headSize_ < kHeadBytes) {
      return 0;  // the head holds the whole file
    }
  }
  if (done < want) done += ReadAt(position_ + done, buffer.subspan(done, want - done));
  position_ += done;
  return done;
}

void FileStream::Write(std::span<const std::uint8_t>) {
  throw StreamError("Stream write error");
}

std::vector<std::uint8_t> ReadBytesAt(ByteStream& stream, std::uint64_t offset, std::uint64_t count) {
  const std::uint64_t size = stream.Size();
  const std::uint64_t held = offset < size ? std::min(count, size - offset) : 0;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(held));
  stream.Seek(offset);
  bytes.resize(stream.Read(bytes));
  return bytes;
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  FileStream stream(path);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
  bytes.resize(stream.Read(bytes));
  return bytes;
}

}  // namespace pictarix
