#pragma once
// GIF pictures: GIF89a, one frame, a global palette of at most 256 colours made from the picture
// (Floyd-Steinberg dithered when it has more), no transparent colour, no extensions.
#include <cstdint>
#include <vector>

#include "model/RgbImage.h"

namespace pictarix {

// The whole file. A failure raises PictureError and yields no bytes at all: never an empty or
// truncated GIF.
std::vector<std::uint8_t> EncodeGif(const RgbImage& image);

}  // namespace pictarix
