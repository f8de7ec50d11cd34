#pragma once
// Big-endian numbers, the byte order of PNG streams. As with LittleEndian.h, loads take views of
// a fixed size, so only bytes already known to be held can be passed in.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace pictarix {

constexpr std::uint32_t LoadBe32(std::span<const std::uint8_t, 4> bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

constexpr std::array<std::uint8_t, 4> Be32Bytes(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
          static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

inline void AppendBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  const auto bytes = Be32Bytes(value);
  out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace pictarix
