#include "imaging/ComposeOverWhite.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pictarix {
namespace {

IconPicture Picture(int width, int height, bool hasAlpha) {
  IconPicture picture;
  picture.Width = width;
  picture.Height = height;
  picture.HasAlpha = hasAlpha;
  picture.Rgba.assign(static_cast<std::size_t>(width * height) * 4, 0);
  picture.Mask.assign(static_cast<std::size_t>(width * height), 0);
  return picture;
}

void SetPixel(IconPicture& picture, int index, RgbColor color, int alpha, int mask) {
  const auto at = static_cast<std::size_t>(index);
  picture.Rgba[at * 4] = color.R;
  picture.Rgba[at * 4 + 1] = color.G;
  picture.Rgba[at * 4 + 2] = color.B;
  picture.Rgba[at * 4 + 3] = static_cast<std::uint8_t>(alpha);
  picture.Mask[at] = static_cast<std::uint8_t>(mask);
}

const RgbColor kWhite{255, 255, 255};

TEST(ComposeOverWhiteTest, MaskShowsWhiteThroughAndXorsTheColourOntoIt) {
  IconPicture picture = Picture(2, 2, false);
  SetPixel(picture, 0, {0, 0, 0}, 0, 1);       // transparent
  SetPixel(picture, 1, {255, 0, 0}, 0, 1);     // inverts the white under it
  SetPixel(picture, 2, {10, 20, 30}, 255, 0);  // opaque colour
  SetPixel(picture, 3, {0, 0, 0}, 255, 0);     // opaque black
  const RgbImage image = ComposeOverWhite(picture);
  ASSERT_EQ(image.Width, 2);
  ASSERT_EQ(image.Height, 2);
  EXPECT_EQ(image.PixelAt(0, 0), kWhite);
  EXPECT_EQ(image.PixelAt(1, 0), (RgbColor{0, 255, 255}));
  EXPECT_EQ(image.PixelAt(0, 1), (RgbColor{10, 20, 30}));
  EXPECT_EQ(image.PixelAt(1, 1), (RgbColor{0, 0, 0}));
}

TEST(ComposeOverWhiteTest, AlphaBlendsOverWhiteAndOverridesTheMask) {
  IconPicture picture = Picture(3, 1, true);
  SetPixel(picture, 0, {255, 0, 0}, 128, 1);  // half red
  SetPixel(picture, 1, {0, 0, 255}, 0, 0);    // fully transparent despite mask 0
  SetPixel(picture, 2, {0, 128, 0}, 255, 1);  // fully opaque despite mask 1
  const RgbImage image = ComposeOverWhite(picture);
  const RgbColor half = image.PixelAt(0, 0);
  EXPECT_EQ(half.R, 255);
  EXPECT_LE(std::abs(half.G - 128), 1);
  EXPECT_LE(std::abs(half.B - 128), 1);
  EXPECT_EQ(image.PixelAt(1, 0), kWhite);
  EXPECT_EQ(image.PixelAt(2, 0), (RgbColor{0, 128, 0}));
}

TEST(ComposeOverWhiteTest, TileSizeCropsLargerPicturesAndPadsSmallerOnesWithWhite) {
  IconPicture large = Picture(48, 48, false);
  for (int i = 0; i < 48 * 48; ++i) {
    SetPixel(large, i, {static_cast<std::uint8_t>(i % 48), static_cast<std::uint8_t>(i / 48), 7},
             255, 0);
  }
  const RgbImage cropped = ComposeOverWhite(large, 32, 32);
  ASSERT_EQ(cropped.Width, 32);
  ASSERT_EQ(cropped.Height, 32);
  EXPECT_EQ(cropped.PixelAt(31, 31), (RgbColor{31, 31, 7}));  // top-left corner kept

  IconPicture small = Picture(16, 16, false);
  const RgbImage padded = ComposeOverWhite(small, 32, 32);
  EXPECT_EQ(padded.PixelAt(15, 15), (RgbColor{0, 0, 0}));
  EXPECT_EQ(padded.PixelAt(16, 15), kWhite);
  EXPECT_EQ(padded.PixelAt(31, 31), kWhite);
}

}  // namespace
}  // namespace pictarix
