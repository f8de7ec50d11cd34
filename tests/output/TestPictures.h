#pragma once
// Pictures the encoder tests feed in.
#include <cstdint>

#include "model/RgbImage.h"

namespace pictarix::testing {

// A smooth picture with Width * Height distinct colours when both are at most 256.
inline RgbImage Gradient(int width, int height) {
  RgbImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t at = image.PixelOffset(x, y);
      image.Rgb[at] = static_cast<std::uint8_t>(x * 255 / (width > 1 ? width - 1 : 1));
      image.Rgb[at + 1] = static_cast<std::uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
      image.Rgb[at + 2] = static_cast<std::uint8_t>(128 + (x - y) / 4);
    }
  }
  return image;
}

// Exactly `colors` distinct colours (at most 4096, and at most Width * Height), neighbours
// differing sharply.
inline RgbImage Scattered(int width, int height, int colors) {
  RgbImage image(width, height);
  for (int i = 0; i < width * height; ++i) {
    const int c = i % colors;
    image.Rgb[static_cast<std::size_t>(i) * 3] = static_cast<std::uint8_t>((c % 16) * 17);
    image.Rgb[static_cast<std::size_t>(i) * 3 + 1] = static_cast<std::uint8_t>((c / 16 % 16) * 17);
    image.Rgb[static_cast<std::size_t>(i) * 3 + 2] = static_cast<std::uint8_t>(c / 256 * 17 + 5);
  }
  return image;
}

}  // namespace pictarix::testing
