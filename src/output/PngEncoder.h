#pragma once
// PNG pictures: truecolour, 8 bits per channel, no alpha channel and no transparency chunk.
#include <cstdint>
#include <vector>

#include "output/RgbImage.h"

namespace pictarix {

// The whole file, compressed at libpng's default level. Raises EPictureError on failure.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);

}  // namespace pictarix
