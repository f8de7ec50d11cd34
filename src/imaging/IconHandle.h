#pragma once
// Decoding an image's stored bytes (DIB with AND mask, or PNG) into a picture at its own or a
// desired size.
#include <cstdint>
#include <span>

#include "model/IconPicture.h"

namespace pictarix {

// Decodes stored image bytes as the platform's icon creation does. `desiredWidth`/`Height` of 0
// mean the image's own size; a different desired size scales the picture. Garbage gives nullptr.
// Refused (nullptr): sides outside 1..4096 (also desired sides above 4096 or negative), a
// negative (top-down) bitmap height, bit counts other than 1, 4, 8, 16, 24, 32, compressions
// other than BI_RGB and BI_BITFIELDS (16 and 32 bpp), colour table or colour bits cut short, and
// a missing AND mask unless the image has its own alpha (then it counts as all opaque).
// Palette indexes past the colour table are black.
IconHandle CreateIconFromResource(std::span<const std::uint8_t> data, int desiredWidth,
                                  int desiredHeight);

}  // namespace pictarix
