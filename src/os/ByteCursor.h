#pragma once
// A bounds-checked cursor over bytes already held in memory. Every read answers success or a
// clean failure; offsets are widened before sizes are added, so a bad offset or count from a
// file can only fail the structure being read.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace pictarix {

class ByteCursor {
 public:
  ByteCursor() = default;
  explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Size() const { return bytes_.size(); }
  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return bytes_.size() - position_; }
  bool Seek(std::uint64_t position);
  bool Skip(std::uint64_t count);

  bool ReadU8(std::uint8_t& value);
  bool ReadU16(std::uint16_t& value);
  bool ReadU32(std::uint32_t& value);
  bool ReadI32(std::int32_t& value);
  bool ReadBytes(std::span<std::uint8_t> out);
  // A view of the next `count` bytes (advances), or nothing when they are not all held.
  std::optional<std::span<const std::uint8_t>> Take(std::uint64_t count);
  // The next N bytes as a fixed-size record (advances), or nothing when they are not all held.
  template <std::size_t N>
  std::optional<std::span<const std::uint8_t, N>> TakeRecord() {
    const auto view = Take(N);
    if (!view) return std::nullopt;
    return view->template first<N>();
  }
  // The next N bytes, zeros for those not held (advances past what is held).
  template <std::size_t N>
  std::array<std::uint8_t, N> TakeZeroFilled() {
    std::array<std::uint8_t, N> record{};
    const auto view = Take(std::min<std::uint64_t>(N, Remaining()));
    std::copy(view->begin(), view->end(), record.begin());
    return record;
  }

  // Values at an absolute offset, without moving the cursor.
  std::optional<std::uint8_t> U8At(std::uint64_t offset) const;
  std::optional<std::uint16_t> U16At(std::uint64_t offset) const;
  std::optional<std::uint32_t> U32At(std::uint64_t offset) const;
  // The sub-range [offset, offset + count), or nothing when it is not wholly held.
  std::optional<ByteCursor> Sub(std::uint64_t offset, std::uint64_t count) const;
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace pictarix
