#pragma once
// Images at their own size with their transparency: the RGBA picture of one icon image, its
// real size and depth without decoding, the choice of one image by size, and the PNG bytes of
// an image.
#include <cstdint>
#include <optional>
#include <vector>

#include "model/IconImage.h"
#include "model/IconImageList.h"

namespace pictarix {

// Straight RGBA, 8 bits a channel, top row first, Width * Height * 4 bytes.
struct RgbaPicture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgba;
};

// True when the image's data begins with the PNG signature.
bool IsPngImage(const IconImage& image);

// The image's size in pixels as its data states it (the PNG header, or the bitmap header with
// the mask's half taken off); the directory bytes (0 = 256) when the data is too short to say.
struct ImageSize {
  int Width = 0;
  int Height = 0;
};
ImageSize RealImageSize(const IconImage& image);

// The image's size and bits per pixel as a user means them: RealImageSize, and the depth its
// data states (a PNG's bit depth times the channels of its colour type, 32 for 8-bit RGBA; a
// bitmap header's bit count). A PNG whose header states no valid depth counts as 32, the depth
// it would be shown at; a bitmap too short to say keeps its BitCount.
struct ImageShape {
  int Width = 0;
  int Height = 0;
  int Bits = 0;
};
ImageShape RealImageShape(const IconImage& image);

// The picture of an image at its real size. A 32-bit image whose alpha is in use (and a PNG)
// keeps its alpha; every other image is opaque where its AND mask is 0 and transparent where
// it is 1. Nothing when the data cannot be decoded.
std::optional<RgbaPicture> ImageToRgba(const IconImage& image);
// The same picture scaled down, keeping its proportions, so that neither side exceeds `maxSide`
// (never scaled up), for showing many images at once: the picture at its own size is held only
// while this runs. Nothing also for data larger than any image may claim (ReadBudget::kMaxClaim).
std::optional<RgbaPicture> ImageToRgbaWithin(const IconImage& image, int maxSide);
// The size ImageToRgbaWithin gives, from the size the image's data states.
ImageSize SizeWithin(ImageSize size, int maxSide);

// An 8-bit RGBA PNG of the picture. Raises PictureError when it cannot be written.
std::vector<std::uint8_t> EncodePngRgba(const RgbaPicture& picture);

// What exporting the image writes: a PNG image's stored bytes unchanged, otherwise the RGBA
// PNG of its pixels. Nothing when the image cannot be decoded.
std::optional<std::vector<std::uint8_t>> ImagePngBytes(const IconImage& image);

// Index of the image with the most pixels (ties: the higher BitCount, then the later one);
// -1 for an icon without images.
int LargestImageIndex(const IconImageList& images);
// Index of the smallest image whose larger side is at least `size` (ties as above); the largest
// image when none reaches `size`; -1 for an icon without images.
int ImageIndexForSize(const IconImageList& images, int size);

}  // namespace pictarix
