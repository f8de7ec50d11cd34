#include "imaging/ComposeOverWhite.h"

#include <cstddef>

#include "imaging/IconDraw.h"

namespace pictarix {

RgbImage ComposeOverWhite(const IconPicture& picture) {
  return ComposeOverWhite(picture, picture.Width, picture.Height);
}

RgbImage ComposeOverWhite(const IconPicture& picture, int width, int height) {
  RgbaCanvas canvas(width > 0 ? width : 0, height > 0 ? height : 0, 0xFFFFFFFF);
  DrawIcon(canvas, 0, 0, picture);
  // The canvas stays opaque: white under everything, so dropping its alpha loses nothing.
  RgbImage image(canvas.Width, canvas.Height);
  const std::size_t pixels = image.Rgb.size() / 3;
  for (std::size_t i = 0; i < pixels; ++i) {
    image.Rgb[i * 3] = canvas.Rgba[i * 4];
    image.Rgb[i * 3 + 1] = canvas.Rgba[i * 4 + 1];
    image.Rgb[i * 3 + 2] = canvas.Rgba[i * 4 + 2];
  }
  return image;
}

}  // namespace pictarix
