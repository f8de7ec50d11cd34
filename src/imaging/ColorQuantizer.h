#pragma once
// Reducing a picture to a palette of at most 256 colours, as the GIF format needs.
#include <cstdint>
#include <vector>

#include "model/RgbImage.h"

namespace pictarix {

struct IndexedImage {
  int Width = 0;
  int Height = 0;
  std::vector<RgbColor> Palette;      // at most 256 colours, no padding
  std::vector<std::uint8_t> Indices;  // one palette index per pixel, top row first
};

inline constexpr int kMaxPaletteColors = 256;

// A picture with at most `maxColors` distinct colours keeps exactly those colours, pixel for
// pixel. Otherwise the palette comes from a median cut of the picture's colours and the pixels
// are mapped to it with Floyd-Steinberg error diffusion (serpentine rows).
// `maxColors` is clamped to 1..256; the picture must be encodable (IsEncodable).
IndexedImage QuantizeColors(const RgbImage& image, int maxColors = kMaxPaletteColors);

}  // namespace pictarix
