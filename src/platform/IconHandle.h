#pragma once
// The icon handle stand-in: a shared, immutable decoded picture made from an image's stored
// bytes (DIB with AND mask, or PNG). Copying a handle shares the picture; the last owner frees it.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace pictarix {

struct IconPicture {
  int Width = 0;  // real size after any scaling to the desired size
  int Height = 0;
  // Straight (not premultiplied) RGBA, top row first, Width * Height * 4 bytes. Pixels that the
  // AND mask makes transparent have alpha 0 in images without an alpha channel.
  std::vector<std::uint8_t> Rgba;
  // The AND mask, one byte per pixel (1 = screen shows through), top row first.
  std::vector<std::uint8_t> Mask;
  // True when the colours carry their own alpha (32 bpp with a non-zero alpha byte, or PNG);
  // then the alpha decides and the mask is ignored when drawing.
  bool HasAlpha = false;
  // True for a 1 bpp image (no colour bitmap on the platform: mask twice as high).
  bool Monochrome = false;
};

using IconHandle = std::shared_ptr<const IconPicture>;

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
