#pragma once
// Real icon files for window tests: one 32x32 image of 32 bits per pixel with its AND mask,
// filled with one colour.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace pictarix::testing {

inline void WriteSolidIconFile(const std::filesystem::path& path, std::uint32_t rgb) {
  constexpr std::uint32_t kSide = 32;
  constexpr std::uint32_t kPixelBytes = kSide * kSide * 4;
  constexpr std::uint32_t kMaskBytes = kSide * 4;  // rows of 32 bits
  constexpr std::uint32_t kImageBytes = 40 + kPixelBytes + kMaskBytes;
  std::vector<std::uint8_t> bytes;
  const auto put16 = [&bytes](std::uint32_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  const auto put32 = [&put16](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  put16(0), put16(1), put16(1);                                    // header: one icon image
  bytes.push_back(kSide), bytes.push_back(kSide);                  // width, height
  bytes.push_back(0), bytes.push_back(0);                          // colours, reserved
  put16(1), put16(32), put32(kImageBytes), put32(22);              // planes, bits, size, offset
  put32(40), put32(kSide), put32(kSide * 2), put16(1), put16(32);  // bitmap header
  put32(0), put32(kPixelBytes), put32(0), put32(0), put32(0), put32(0);
  for (std::uint32_t i = 0; i < kSide * kSide; ++i) put32(0xFF000000u | rgb);  // BGRA
  bytes.insert(bytes.end(), kMaskBytes, 0);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace pictarix::testing
