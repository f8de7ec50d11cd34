#include "os/ByteCursor.h"

#include <algorithm>

#include "os/LittleEndian.h"

namespace pictarix {

bool ByteCursor::Seek(std::uint64_t position) {
  if (position > bytes_.size()) return false;
  position_ = static_cast<std::size_t>(position);
  return true;
}

bool ByteCursor::Skip(std::uint64_t count) {
  if (count > Remaining()) return false;
  position_ += static_cast<std::size_t>(count);
  return true;
}

bool ByteCursor::ReadU8(std::uint8_t& value) {
  const auto v = U8At(position_);
  value = v.value_or(0);
  if (v) position_ += 1;
  return v.has_value();
}

bool ByteCursor::ReadU16(std::uint16_t& value) {
  const auto v = U16At(position_);
  value = v.value_or(0);
  if (v) position_ += 2;
  return v.has_value();
}

bool ByteCursor::ReadU32(std::uint32_t& value) {
  const auto v = U32At(position_);
  value = v.value_or(0);
  if (v) position_ += 4;
  return v.has_value();
}

bool ByteCursor::ReadI32(std::int32_t& value) {
  std::uint32_t raw = 0;
  const bool ok = ReadU32(raw);
  value = static_cast<std::int32_t>(raw);
  return ok;
}

bool ByteCursor::ReadBytes(std::span<std::uint8_t> out) {
  const auto view = Take(out.size());
  if (!view) return false;
  std::copy(view->begin(), view->end(), out.begin());
  return true;
}

std::optional<std::span<const std::uint8_t>> ByteCursor::Take(std::uint64_t count) {
  if (count > Remaining()) return std::nullopt;
  const auto view = bytes_.subspan(position_, static_cast<std::size_t>(count));
  position_ += static_cast<std::size_t>(count);
  return view;
}

std::optional<std::uint8_t> ByteCursor::U8At(std::uint64_t offset) const {
  if (offset >= bytes_.size()) return std::nullopt;
  return bytes_[static_cast<std::size_t>(offset)];
}

std::optional<std::uint16_t> ByteCursor::U16At(std::uint64_t offset) const {
  const auto held = Sub(offset, 2);
  if (!held) return std::nullopt;
  return LoadLe16(held->Bytes().first<2>());
}

std::optional<std::uint32_t> ByteCursor::U32At(std::uint64_t offset) const {
  const auto held = Sub(offset, 4);
  if (!held) return std::nullopt;
  return LoadLe32(held->Bytes().first<4>());
}

std::optional<ByteCursor> ByteCursor::Sub(std::uint64_t offset, std::uint64_t count) const {
  if (offset > bytes_.size() || count > bytes_.size() - offset) return std::nullopt;
  return ByteCursor(
      bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count)));
}

}  // namespace pictarix
