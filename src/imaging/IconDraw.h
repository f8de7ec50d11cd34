#pragma once
// Drawing an icon's decoded picture onto an RGBA canvas, as the platform draws an icon handle.
#include <cstdint>
#include <vector>

#include "imaging/IconHandle.h"

namespace pictarix {

// An RGBA drawing surface (straight alpha), top row first.
struct RgbaCanvas {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgba;

  RgbaCanvas() = default;
  // fillRgba is 0xRRGGBBAA.
  RgbaCanvas(int width, int height, std::uint32_t fillRgba = 0);
};

// Draws `icon` at its own size with its top-left corner at (x, y), clipped to the canvas:
// alpha-blended where the picture has alpha, AND mask then XOR colour elsewhere.
void DrawIcon(RgbaCanvas& canvas, int x, int y, const IconPicture& icon);

}  // namespace pictarix
