#pragma once
// Windows bitmap files: 24 bits per pixel, uncompressed, bottom-up rows padded to 4 bytes.
#include <cstdint>
#include <vector>

#include "model/RgbImage.h"

namespace pictarix {

// The whole file: BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes, no resolution, no colour table,
// biSizeImage set), then the rows. Raises PictureError for a picture that cannot be encoded.
std::vector<std::uint8_t> EncodeBmp(const RgbImage& image);

}  // namespace pictarix
