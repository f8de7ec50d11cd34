#pragma once
// JPEG pictures: colour (YCbCr, 3 components), baseline, quality 100, otherwise libjpeg defaults.
#include <cstdint>
#include <vector>

#include "model/RgbImage.h"

namespace pictarix {

inline constexpr int kJpegQuality = 100;

// The whole file. Raises PictureError on failure, after releasing everything libjpeg held.
std::vector<std::uint8_t> EncodeJpeg(const RgbImage& image);

}  // namespace pictarix
