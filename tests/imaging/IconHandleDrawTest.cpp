#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "imaging/IconDraw.h"
#include "support/DibBuilder.h"

namespace pictarix {
namespace {

using testing::PixelOf;
using testing::Rgba;

IconPicture Picture(int width, int height, std::vector<std::uint32_t> pixels,
                    std::vector<std::uint8_t> mask, bool hasAlpha) {
  IconPicture picture;
  picture.Width = width;
  picture.Height = height;
  picture.HasAlpha = hasAlpha;
  for (const std::uint32_t p : pixels) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      picture.Rgba.push_back(static_cast<std::uint8_t>(p >> shift));
    }
  }
  picture.Mask = std::move(mask);
  return picture;
}

TEST(IconHandleDrawTest, AlphaPixelsAreComposedSourceOver) {
  const IconPicture icon = Picture(
      4, 1, {Rgba(255, 0, 0, 255), Rgba(255, 0, 0, 128), Rgba(0, 0, 255, 0), Rgba(0, 255, 0, 128)},
      {0, 0, 1, 0}, true);
  RgbaCanvas canvas(4, 1, Rgba(255, 255, 255, 255));
  canvas.Rgba[15] = 0;  // last canvas pixel transparent
  DrawIcon(canvas, 0, 0, icon);
  EXPECT_EQ(PixelOf(canvas, 0, 0), Rgba(255, 0, 0, 255));
  EXPECT_EQ(PixelOf(canvas, 1, 0), Rgba(255, 127, 127, 255));  // half red over white
  EXPECT_EQ(PixelOf(canvas, 2, 0), Rgba(255, 255, 255, 255));  // alpha 0: untouched
  EXPECT_EQ(PixelOf(canvas, 3, 0), Rgba(0, 255, 0, 128));      // over nothing: the source
}

TEST(IconHandleDrawTest, HalfOverHalfGivesThreeQuartersAlpha) {
  const IconPicture icon = Picture(1, 1, {Rgba(0, 0, 0, 128)}, {0}, true);
  RgbaCanvas canvas(1, 1, Rgba(255, 255, 255, 128));
  DrawIcon(canvas, 0, 0, icon);
  // a = 0.502 + 0.502 * 0.498 = 0.752; white keeps 0.25 / 0.752 of the colour.
  EXPECT_EQ(PixelOf(canvas, 0, 0), Rgba(85, 85, 85, 192));
}

TEST(IconHandleDrawTest, WithoutAlphaTheMaskAndXorColourApply) {
  const IconPicture icon = Picture(
      4, 1,
      {Rgba(10, 20, 30, 255), Rgba(0, 0, 0, 0), Rgba(255, 255, 255, 0), Rgba(0x0F, 0xF0, 0x00, 0)},
      {0, 1, 1, 1}, false);
  RgbaCanvas canvas(4, 1, Rgba(0x33, 0x66, 0x99, 100));
  DrawIcon(canvas, 0, 0, icon);
  EXPECT_EQ(PixelOf(canvas, 0, 0), Rgba(10, 20, 30, 255));        // opaque colour
  EXPECT_EQ(PixelOf(canvas, 1, 0), Rgba(0x33, 0x66, 0x99, 100));  // black XOR: unchanged
  EXPECT_EQ(PixelOf(canvas, 2, 0), Rgba(0xCC, 0x99, 0x66, 100));  // white XOR: inverted
  EXPECT_EQ(PixelOf(canvas, 3, 0), Rgba(0x3C, 0x96, 0x99, 100));
}

TEST(IconHandleDrawTest, DrawingIsClippedToTheCanvas) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < 9; ++i) pixels.push_back(Rgba(static_cast<std::uint8_t>(i + 1), 0, 0));
  const IconPicture icon = Picture(3, 3, pixels, std::vector<std::uint8_t>(9, 0), false);

  RgbaCanvas canvas(4, 4, Rgba(0, 0, 0, 0));
  DrawIcon(canvas, -1, -2, icon);
  EXPECT_EQ(PixelOf(canvas, 0, 0), Rgba(8, 0, 0));  // icon pixel (1, 2)
  EXPECT_EQ(PixelOf(canvas, 1, 0), Rgba(9, 0, 0));
  EXPECT_EQ(PixelOf(canvas, 2, 0), Rgba(0, 0, 0, 0));
  EXPECT_EQ(PixelOf(canvas, 0, 1), Rgba(0, 0, 0, 0));

  DrawIcon(canvas, 3, 3, icon);
  EXPECT_EQ(PixelOf(canvas, 3, 3), Rgba(1, 0, 0));

  const std::vector<std::uint8_t> before = canvas.Rgba;
  DrawIcon(canvas, INT_MAX, INT_MIN, icon);
  DrawIcon(canvas, INT_MIN, INT_MAX, icon);
  EXPECT_EQ(canvas.Rgba, before);

  // A picture whose buffers do not match its size draws nothing.
  IconPicture broken = icon;
  broken.Mask.resize(2);
  DrawIcon(canvas, 0, 0, broken);
  EXPECT_EQ(canvas.Rgba, before);
}

}  // namespace
}  // namespace pictarix
