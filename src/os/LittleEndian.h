#pragma once
// Little-endian numbers: the byte order of every file format the system reads and writes. Loads
// take views of a fixed size, so only bytes already known to be held (through ByteCursor or a
// fixed-size record) can be passed in.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace pictarix {

constexpr std::uint16_t LoadLe16(std::span<const std::uint8_t, 2> bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

constexpr std::uint32_t LoadLe32(std::span<const std::uint8_t, 4> bytes) {
  return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
         (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
}

constexpr std::array<std::uint8_t, 2> Le16Bytes(std::uint16_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
}

constexpr std::array<std::uint8_t, 4> Le32Bytes(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

inline void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  const auto bytes = Le16Bytes(value);
  out.insert(out.end(), bytes.begin(), bytes.end());
}

inline void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  const auto bytes = Le32Bytes(value);
  out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace pictarix
