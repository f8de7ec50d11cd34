#include "imaging/RgbaPicture.h"

#include <algorithm>
#include <span>
#include <string>

#include "formats/png/PngCheck.h"
#include "formats/png/PngDecoder.h"
#include "formats/png/PngEncoder.h"
#include "imaging/IconHandle.h"
#include "imaging/IconScaler.h"
#include "os/BigEndian.h"
#include "os/ByteCursor.h"
#include "os/PictureError.h"
#include "os/ReadBudget.h"

namespace pictarix {
namespace {

std::span<const std::uint8_t> HeldData(const IconImage& image) {
  const auto& bytes = image.Bytes();
  const std::size_t size = std::min<std::size_t>(image.BytesInRes, bytes.size());
  return {bytes.data(), size};
}

std::uint32_t BigEndianAt(const ByteCursor& cursor, std::uint64_t offset) {
  const auto field = cursor.Sub(offset, 4);
  return field ? LoadBe32(field->Bytes().first<4>()) : 0;
}

constexpr std::uint32_t kCoreHeaderSize = 12;

constexpr int kShownPngBits = 32;

// Bits per pixel of a PNG header's bit depth and colour type; nothing for a pair no PNG may hold.
std::optional<int> PngBitsPerPixel(std::uint8_t depth, std::uint8_t colourType) {
  const bool upTo8 = depth == 1 || depth == 2 || depth == 4 || depth == 8;
  const bool wide = depth == 8 || depth == 16;
  switch (colourType) {
    case 0:  // grey
      if (upTo8 || depth == 16) return depth;
      break;
    case 2:  // RGB
      if (wide) return depth * 3;
      break;
    case 3:  // palette
      if (upTo8) return depth;
      break;
    case 4:  // grey and alpha
      if (wide) return depth * 2;
      break;
    case 6:  // RGBA
      if (wide) return depth * 4;
      break;
  }
  return std::nullopt;
}

int RealBits(const IconImage& image, const ByteCursor& cursor) {
  if (IsPngImage(cursor.Bytes())) {
    // The bit depth and colour type follow IHDR's width and height.
    const auto depth = cursor.U8At(24);
    const auto colourType = cursor.U8At(25);
    if (depth && colourType) return PngBitsPerPixel(*depth, *colourType).value_or(kShownPngBits);
    return kShownPngBits;
  }
  const auto bits = cursor.U32At(0) == kCoreHeaderSize ? cursor.U16At(10) : cursor.U16At(14);
  return bits.value_or(image.BitCount);
}

int DirectorySide(std::uint8_t side) {
  return side == 0 ? 256 : side;
}

// Pixels, then BitCount, compared as the size rules rank images.
bool RanksAbove(const IconImage& a, ImageSize sa, const IconImage& b, ImageSize sb) {
  const auto pixelsA = static_cast<std::int64_t>(sa.Width) * sa.Height;
  const auto pixelsB = static_cast<std::int64_t>(sb.Width) * sb.Height;
  if (pixelsA != pixelsB) return pixelsA > pixelsB;
  return a.BitCount > b.BitCount;
}

// The decoded picture with its transparency made straight: without an alpha channel of its
// own, the mask alone decides what shows.
RgbaPicture StraightPicture(const IconPicture& decoded) {
  RgbaPicture picture{decoded.Width, decoded.Height, decoded.Rgba};
  if (!decoded.HasAlpha) {
    const std::size_t pixels = picture.Rgba.size() / 4;
    for (std::size_t i = 0; i < pixels; ++i)
      picture.Rgba[i * 4 + 3] = i < decoded.Mask.size() && decoded.Mask[i] ? 0 : 255;
  }
  return picture;
}

}  // namespace

bool IsPngImage(const IconImage& image) {
  return IsPngImage(std::span(image.Bytes()));
}

ImageSize RealImageSize(const IconImage& image) {
  const ByteCursor cursor(HeldData(image));
  if (IsPngImage(cursor.Bytes())) {
    // IHDR follows the signature and the chunk's length and type.
    if (cursor.Size() >= 24)
      return {static_cast<int>(std::min<std::uint32_t>(BigEndianAt(cursor, 16), 1u << 30)),
              static_cast<int>(std::min<std::uint32_t>(BigEndianAt(cursor, 20), 1u << 30))};
  } else if (cursor.U32At(0) == kCoreHeaderSize) {
    // The old core header keeps 16-bit sides.
    const int w = cursor.U16At(4).value_or(0);
    const int h = cursor.U16At(6).value_or(0) / 2;
    if (w > 0 && h > 0) return {w, h};
  } else if (auto width = cursor.U32At(4), height = cursor.U32At(8); width && height) {
    const auto w = static_cast<std::int32_t>(*width);
    const auto h = static_cast<std::int32_t>(*height) / 2;
    if (w > 0 && h > 0) return {w, h};
  }
  return {DirectorySide(image.Width), DirectorySide(image.Height)};
}

ImageShape RealImageShape(const IconImage& image) {
  const ImageSize size = RealImageSize(image);
  return {size.Width, size.Height, RealBits(image, ByteCursor(HeldData(image)))};
}

std::optional<RgbaPicture> ImageToRgba(const IconImage& image) {
  const IconHandle handle = CreateIconFromResource(HeldData(image), 0, 0);
  if (!handle) return std::nullopt;
  return StraightPicture(*handle);
}

ImageSize SizeWithin(ImageSize size, int maxSide) {
  const int longer = std::max(size.Width, size.Height);
  if (longer <= maxSide || maxSide <= 0) return size;
  const auto scaled = [&](int side) {
    return std::max(1, static_cast<int>(std::int64_t{side} * maxSide / longer));
  };
  return {scaled(size.Width), scaled(size.Height)};
}

std::optional<RgbaPicture> ImageToRgbaWithin(const IconImage& image, int maxSide) {
  const auto held = HeldData(image);
  if (held.size() > ReadBudget::kMaxClaim) return std::nullopt;
  IconHandle handle = CreateIconFromResource(held, 0, 0);
  if (!handle) return std::nullopt;
  const ImageSize size = SizeWithin({handle->Width, handle->Height}, maxSide);
  if (size.Width != handle->Width || size.Height != handle->Height) {
    handle = ScaleIconPicture(*handle, size.Width, size.Height);  // the large one goes here
    if (!handle) return std::nullopt;
  }
  return StraightPicture(*handle);
}

std::vector<std::uint8_t> EncodePngRgba(const RgbaPicture& picture) {
  if (picture.Width <= 0 || picture.Height <= 0 ||
      picture.Rgba.size() != static_cast<std::size_t>(picture.Width) * picture.Height * 4) {
    throw PictureError("Cannot write a PNG picture of this size");
  }
  return EncodePngPixels(picture.Width, picture.Height, 4, picture.Rgba);
}

std::optional<std::vector<std::uint8_t>> ImagePngBytes(const IconImage& image) {
  if (IsPngImage(image)) {
    // Stored bytes are written unchanged, but only when they decode; the quick check settles
    // nearly every image, the decoder the few it is not sure of.
    const auto held = HeldData(image);
    if (!IsSoundPng(held) && !CreateIconFromResource(held, 0, 0)) return std::nullopt;
    return std::vector<std::uint8_t>(held.begin(), held.end());
  }
  auto picture = ImageToRgba(image);
  if (!picture) return std::nullopt;
  return EncodePngRgba(*picture);
}

int LargestImageIndex(const IconImageList& images) {
  int best = -1;
  ImageSize bestSize;
  for (int i = 0; i < images.Count(); ++i) {
    const IconImage& image = *images.Get(i);
    const ImageSize size = RealImageSize(image);
    if (best < 0 || !RanksAbove(*images.Get(best), bestSize, image, size)) {
      best = i;
      bestSize = size;
    }
  }
  return best;
}

int ImageIndexForSize(const IconImageList& images, int size) {
  int best = -1;
  ImageSize bestSize;
  for (int i = 0; i < images.Count(); ++i) {
    const IconImage& image = *images.Get(i);
    const ImageSize imageSize = RealImageSize(image);
    if (std::max(imageSize.Width, imageSize.Height) < size) continue;
    // Smaller wins; equal pixels: the higher BitCount, then the later one.
    const auto pixels = static_cast<std::int64_t>(imageSize.Width) * imageSize.Height;
    const auto bestPixels = static_cast<std::int64_t>(bestSize.Width) * bestSize.Height;
    if (best < 0 || pixels < bestPixels ||
        (pixels == bestPixels && image.BitCount >= images.Get(best)->BitCount)) {
      best = i;
      bestSize = imageSize;
    }
  }
  return best >= 0 ? best : LargestImageIndex(images);
}

}  // namespace pictarix
