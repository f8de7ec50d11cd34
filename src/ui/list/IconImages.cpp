#include "ui/list/IconImages.h"

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

QImage PackedPixelsToQImage(int width, int height, const std::vector<std::uint8_t>& bytes,
                            int channels, QImage::Format format) {
  const auto rowBytes = static_cast<std::size_t>(std::max(width, 0)) * channels;
  if (width <= 0 || height <= 0 || bytes.size() < rowBytes * static_cast<std::size_t>(height)) {
    return QImage();
  }
  QImage image(width, height, format);
  for (int y = 0; y < height; ++y) {
    std::copy_n(bytes.data() + rowBytes * static_cast<std::size_t>(y), rowBytes, image.scanLine(y));
  }
  return image;
}

QImage ToQImage(const RgbaPicture& picture) {
  return PackedPixelsToQImage(picture.Width, picture.Height, picture.Rgba, 4,
                              QImage::Format_RGBA8888);
}

}  // namespace pictarix
