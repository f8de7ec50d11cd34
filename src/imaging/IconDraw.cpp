#include <algorithm>
#include <cstdint>

#include "imaging/IconDraw.h"

namespace pictarix {
namespace {

// Source-over with straight alpha on both sides: the result alpha is sa + da * (1 - sa) and
// the colour is weighted by each side's share of it.
void BlendOver(std::uint8_t* canvasPixel, const std::uint8_t* iconPixel) {
  const std::uint32_t sa = iconPixel[3];
  if (sa == 0) return;
  if (sa == 255) {
    std::copy_n(iconPixel, 4, canvasPixel);
    return;
  }
  const std::uint32_t da = canvasPixel[3];
  const std::uint32_t sourceShare = sa * 255;         // in 1/255² units
  const std::uint32_t canvasShare = da * (255 - sa);  // in 1/255² units
  const std::uint32_t total = sourceShare + canvasShare;
  for (int c = 0; c < 3; ++c) {
    canvasPixel[c] = static_cast<std::uint8_t>(
        (iconPixel[c] * sourceShare + canvasPixel[c] * canvasShare + total / 2) / total);
  }
  canvasPixel[3] = static_cast<std::uint8_t>((total + 127) / 255);
}

// The AND mask then the XOR colour: unmasked pixels are replaced (opaque), masked pixels have
// their colour XORed onto the canvas, so black leaves the canvas and white inverts it.
void ApplyMaskAndXor(std::uint8_t* canvasPixel, const std::uint8_t* iconPixel, bool masked) {
  if (!masked) {
    std::copy_n(iconPixel, 3, canvasPixel);
    canvasPixel[3] = 255;
    return;
  }
  for (int c = 0; c < 3; ++c) canvasPixel[c] ^= iconPixel[c];
}

}  // namespace

RgbaCanvas::RgbaCanvas(int width, int height, std::uint32_t fillRgba)
    : Width(std::max(width, 0)), Height(std::max(height, 0)) {
  Rgba.resize(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height) * 4);
  for (std::size_t i = 0; i < Rgba.size(); i += 4) {
    Rgba[i] = static_cast<std::uint8_t>(fillRgba >> 24);
    Rgba[i + 1] = static_cast<std::uint8_t>(fillRgba >> 16);
    Rgba[i + 2] = static_cast<std::uint8_t>(fillRgba >> 8);
    Rgba[i + 3] = static_cast<std::uint8_t>(fillRgba);
  }
}

void DrawIcon(RgbaCanvas& canvas, int x, int y, const IconPicture& icon) {
  const auto iconPixels = static_cast<std::size_t>(std::max(icon.Width, 0)) *
                          static_cast<std::size_t>(std::max(icon.Height, 0));
  if (icon.Rgba.size() < iconPixels * 4) return;
  // An alpha picture is drawn by its alpha alone and so needs no mask.
  const bool useMask = !icon.HasAlpha;
  if (useMask && icon.Mask.size() < iconPixels) return;
  if (canvas.Rgba.size() < static_cast<std::size_t>(canvas.Width) * canvas.Height * 4) return;
  // Clip in 64 bits so that far-off positions cannot overflow.
  const std::int64_t left = std::max<std::int64_t>(0, x);
  const std::int64_t top = std::max<std::int64_t>(0, y);
  const std::int64_t right = std::min<std::int64_t>(canvas.Width, std::int64_t{x} + icon.Width);
  const std::int64_t bottom = std::min<std::int64_t>(canvas.Height, std::int64_t{y} + icon.Height);
  for (std::int64_t cy = top; cy < bottom; ++cy) {
    for (std::int64_t cx = left; cx < right; ++cx) {
      const auto at = static_cast<std::size_t>((cy - y) * icon.Width + (cx - x));
      std::uint8_t* canvasPixel =
          &canvas.Rgba[static_cast<std::size_t>(cy * canvas.Width + cx) * 4];
      const std::uint8_t* iconPixel = &icon.Rgba[at * 4];
      if (!useMask) {
        BlendOver(canvasPixel, iconPixel);
      } else {
        ApplyMaskAndXor(canvasPixel, iconPixel, icon.Mask[at] != 0);
      }
    }
  }
}

}  // namespace pictarix
