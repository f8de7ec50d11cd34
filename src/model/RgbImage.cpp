#include "model/RgbImage.h"

namespace pictarix {

RgbImage::RgbImage(int width, int height, std::uint32_t fillRgb)
    : Width(width > 0 ? width : 0), Height(height > 0 ? height : 0) {
  const std::size_t pixels = static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height);
  Rgb.resize(pixels * 3);
  for (std::size_t i = 0; i < Rgb.size(); i += 3) {
    Rgb[i] = static_cast<std::uint8_t>(fillRgb >> 16);
    Rgb[i + 1] = static_cast<std::uint8_t>(fillRgb >> 8);
    Rgb[i + 2] = static_cast<std::uint8_t>(fillRgb);
  }
}

bool IsEncodable(const RgbImage& image) {
  if (image.Width <= 0 || image.Height <= 0) return false;
  if (image.Width > kMaxPictureSide || image.Height > kMaxPictureSide) return false;
  return image.Rgb.size() ==
         static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height) * 3;
}

}  // namespace pictarix
