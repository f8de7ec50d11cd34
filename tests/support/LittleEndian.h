#pragma once
// Little-endian fields of the bytes a test builds or inspects. Reads and in-place writes check
// their bounds (std::out_of_range), so a wrong offset fails the test instead of reading past.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictarix::testing {

inline void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value));
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

inline std::uint16_t U16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes.at(at) | (bytes.at(at + 1) << 8));
}

inline std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return U16At(bytes, at) | (std::uint32_t{U16At(bytes, at + 2)} << 16);
}

inline void SetU16At(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes.at(at) = static_cast<std::uint8_t>(value);
  bytes.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

inline void SetU32At(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  SetU16At(bytes, at, static_cast<std::uint16_t>(value));
  SetU16At(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace pictarix::testing
