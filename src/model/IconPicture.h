#pragma once
// A decoded icon image: shared and immutable, so copies of an image share one picture and the
// last owner frees it.
#include <cstdint>
#include <memory>
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

}  // namespace pictarix
