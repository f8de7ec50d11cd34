#pragma once
// A 24-bit picture without alpha: what every picture file format is written from.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictarix {

struct RgbColor {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;

  friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

struct RgbImage {
  int Width = 0;
  int Height = 0;
  // Red, green, blue per pixel, top row first, Width * Height * 3 bytes, no row padding.
  std::vector<std::uint8_t> Rgb;

  RgbImage() = default;
  // A picture of the given size filled with one colour (0xRRGGBB).
  RgbImage(int width, int height, std::uint32_t fillRgb = 0xFFFFFF);

  RgbColor PixelAt(int x, int y) const {
    const std::size_t at = PixelOffset(x, y);
    return {Rgb[at], Rgb[at + 1], Rgb[at + 2]};
  }
  std::size_t PixelOffset(int x, int y) const {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
            static_cast<std::size_t>(x)) *
           3;
  }
};

// Encoders accept only pictures with at least one pixel, at most kMaxPictureSide pixels a side
// (the smallest limit of the file formats written) and exactly Width * Height * 3 bytes.
inline constexpr int kMaxPictureSide = 65500;
bool IsEncodable(const RgbImage& image);

}  // namespace pictarix
