#pragma once
// PNG pictures: truecolour, 8 bits per channel; the tile pictures have no alpha channel and no
// transparency chunk.
#include <cstdint>
#include <span>
#include <vector>

#include "model/RgbImage.h"

namespace pictarix {

// The whole file, rows unfiltered, deflated at the fastest level. Raises PictureError on failure.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);
// The whole file of `width` x `height` pixels of 3 (RGB) or 4 (RGBA) bytes each, top row first.
std::vector<std::uint8_t> EncodePngPixels(int width, int height, int channels,
                                          std::span<const std::uint8_t> pixels);

}  // namespace pictarix
