#include "thumbnailer/Thumbnail.h"

#include <algorithm>
#include <cstdint>

#include "imaging/IconScaler.h"
#include "os/ByteCursor.h"

namespace pictarix::thumbnailer {
namespace {

RgbaPicture Reduced(const RgbaPicture& picture, FittedSize size) {
  // The picture's alpha already holds its mask; an all-clear mask lets the alpha decide.
  IconPicture source;
  source.Width = picture.Width;
  source.Height = picture.Height;
  source.Rgba = picture.Rgba;
  source.Mask.assign(static_cast<std::size_t>(picture.Width) * picture.Height, 0);
  source.HasAlpha = true;
  const auto scaled = ScaleIconPicture(source, size.Width, size.Height);
  if (!scaled) return picture;
  return {scaled->Width, scaled->Height, scaled->Rgba};
}

// PNG data whose header states 8 bits a channel of RGBA.
bool IsRgbaPng(const IconImage& image) {
  const ByteCursor cursor(image.Bytes());
  return IsPngImage(image) && cursor.U8At(24) == 8 && cursor.U8At(25) == 6;
}

}  // namespace

FittedSize FitWithin(int width, int height, int size) {
  if (width <= size && height <= size) return {width, height};
  const auto longer = static_cast<std::int64_t>(std::max(width, height));
  const auto scale = [&](int side) {
    return static_cast<int>(
        std::max<std::int64_t>(1, (side * std::int64_t{size} + longer / 2) / longer));
  };
  return {scale(width), scale(height)};
}

std::optional<RgbaPicture> MakeThumbnail(AdvancedIcon& icon, int size) {
  const int index = ImageIndexForSize(icon.Images, size);
  if (index < 0) return std::nullopt;
  auto picture = ImageToRgba(*icon.Images.Get(index));
  if (!picture) return std::nullopt;
  const FittedSize fitted = FitWithin(picture->Width, picture->Height, size);
  if (fitted.Width == picture->Width && fitted.Height == picture->Height) return picture;
  return Reduced(*picture, fitted);
}

std::optional<std::vector<std::uint8_t>> ThumbnailPng(AdvancedIcon& icon, int size) {
  const int index = ImageIndexForSize(icon.Images, size);
  if (index < 0) return std::nullopt;
  IconImage& image = *icon.Images.Get(index);
  const ImageSize real = RealImageSize(image);
  if (IsRgbaPng(image) && std::max(real.Width, real.Height) <= size) return ImagePngBytes(image);
  const auto picture = MakeThumbnail(icon, size);
  if (!picture) return std::nullopt;
  return EncodePngRgba(*picture);
}

}  // namespace pictarix::thumbnailer
