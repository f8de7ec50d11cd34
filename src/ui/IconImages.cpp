#include "ui/IconImages.h"

#include <algorithm>
#include <cstddef>

namespace pictarix {

QImage ToQImage(const IconPicture& picture, int side) {
  const int width = std::min(picture.Width, side);
  const int height = std::min(picture.Height, side);
  const auto rowBytes = static_cast<std::size_t>(picture.Width) * 4;
  if (width <= 0 || height <= 0 ||
      picture.Rgba.size() < rowBytes * static_cast<std::size_t>(picture.Height)) {
    return QImage();
  }
  QImage image(width, height, QImage::Format_RGBA8888);
  for (int y = 0; y < height; ++y) {
    const auto* source = picture.Rgba.data() + rowBytes * static_cast<std::size_t>(y);
    std::copy_n(source, static_cast<std::size_t>(width) * 4, image.scanLine(y));
  }
  return image;
}

QImage ToQImage(const IconPicture& picture) {
  return ToQImage(picture, std::max(picture.Width, picture.Height));
}

QImage ToQImage(const RgbaPicture& picture) {
  const auto rowBytes = static_cast<std::size_t>(std::max(picture.Width, 0)) * 4;
  if (picture.Width <= 0 || picture.Height <= 0 ||
      picture.Rgba.size() < rowBytes * static_cast<std::size_t>(picture.Height)) {
    return QImage();
  }
  QImage image(picture.Width, picture.Height, QImage::Format_RGBA8888);
  for (int y = 0; y < picture.Height; ++y) {
    std::copy_n(picture.Rgba.data() + rowBytes * static_cast<std::size_t>(y), rowBytes,
                image.scanLine(y));
  }
  return image;
}

}  // namespace pictarix
