#include <gtest/gtest.h>

#include <vector>

#include "imaging/IconHandle.h"
#include "support/DibBuilder.h"

namespace pictarix {
namespace {

using testing::BuildDib;
using testing::DibLayout;
using testing::PixelOf;
using testing::Rgba;

// A square 32 bpp image in four quadrants: red, green (masked), blue, white (half alpha).
DibLayout Quadrants(int side, bool alpha) {
  DibLayout layout{.Width = side, .Height = side, .BitCount = 32};
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const bool right = x >= side / 2;
      const bool bottom = y >= side / 2;
      std::uint32_t colour = !bottom ? (right ? Rgba(0, 255, 0) : Rgba(255, 0, 0))
                                     : (right ? Rgba(255, 255, 255, 128) : Rgba(0, 0, 255));
      if (!alpha) colour &= 0xFFFFFF00u;
      layout.Pixels.push_back(colour);
      layout.Mask.push_back(right && !bottom ? 1 : 0);
    }
  }
  return layout;
}

TEST(IconHandleScaleTest, LargeImageAskedAtThirtyTwoBecomesThirtyTwo) {
  const IconHandle icon = CreateIconFromResource(BuildDib(Quadrants(288, true)), 32, 32);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Width, 32);
  EXPECT_EQ(icon->Height, 32);
  EXPECT_TRUE(icon->HasAlpha);
  ASSERT_EQ(icon->Rgba.size(), 32u * 32 * 4);
  // 288 / 32 = 9: every destination pixel lies within one quadrant.
  EXPECT_EQ(PixelOf(*icon, 0, 0), Rgba(255, 0, 0));
  EXPECT_EQ(PixelOf(*icon, 15, 15), Rgba(255, 0, 0));
  EXPECT_EQ(PixelOf(*icon, 16, 0), Rgba(0, 255, 0));
  EXPECT_EQ(PixelOf(*icon, 0, 31), Rgba(0, 0, 255));
  EXPECT_EQ(PixelOf(*icon, 31, 31), Rgba(255, 255, 255, 128));
  EXPECT_EQ(icon->Mask[16], 1);
  EXPECT_EQ(icon->Mask[15], 0);
  EXPECT_EQ(icon->Mask[31 * 32 + 31], 0);
}

TEST(IconHandleScaleTest, DownscaleAveragesPremultipliedSoTransparentColourDoesNotBleed) {
  // 48 columns alternating opaque red and fully transparent green, asked for at 32.
  DibLayout layout{.Width = 48, .Height = 48, .BitCount = 32};
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      layout.Pixels.push_back(x % 2 == 0 ? Rgba(255, 0, 0, 255) : Rgba(0, 255, 0, 0));
      layout.Mask.push_back(x % 2);
    }
  }
  const IconHandle icon = CreateIconFromResource(BuildDib(layout), 32, 32);
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(icon->Width, 32);
  for (int x = 0; x < 32; ++x) {
    const std::uint32_t pixel = PixelOf(*icon, x, 5);
    EXPECT_EQ(pixel & 0xFFFFFF00u, Rgba(255, 0, 0, 0)) << x;  // only red, whatever the alpha
    // Each destination pixel covers 1.5 source pixels: 1 or 0.5 of them opaque.
    const std::uint8_t alpha = pixel & 0xFF;
    EXPECT_TRUE(alpha == 170 || alpha == 85) << x << ": " << int{alpha};
    EXPECT_EQ(icon->Mask[5 * 32 + x], alpha == 85 ? 1 : 0) << x;
  }
}

TEST(IconHandleScaleTest, WithoutAlphaTheMajorityDecidesAndMaskedPixelsKeepXorColour) {
  // 4x4 in 2x2 blocks: three unmasked (red, red, blue) and one masked (white XOR) in the first;
  // three masked (white, white, black) and one unmasked in the second.
  DibLayout layout{.Width = 4, .Height = 2, .BitCount = 24};
  layout.Pixels = {Rgba(255, 0, 0), Rgba(255, 0, 0),     Rgba(255, 255, 255), Rgba(255, 255, 255),
                   Rgba(0, 0, 255), Rgba(255, 255, 255), Rgba(0, 0, 0),       Rgba(9, 9, 9)};
  layout.Mask = {0, 0, 1, 1, 0, 1, 1, 0};
  const IconHandle icon = CreateIconFromResource(BuildDib(layout), 2, 1);
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->HasAlpha);
  EXPECT_EQ(icon->Mask, (std::vector<std::uint8_t>{0, 1}));
  EXPECT_EQ(PixelOf(*icon, 0, 0), Rgba(170, 0, 85, 255));   // average of the unmasked three
  EXPECT_EQ(PixelOf(*icon, 1, 0), Rgba(170, 170, 170, 0));  // average of the masked three
}

TEST(IconHandleScaleTest, UpscaleByWholeFactorRepeatsPixels) {
  DibLayout layout{.Width = 2, .Height = 2, .BitCount = 4};
  layout.Palette = {Rgba(0, 0, 0), Rgba(255, 0, 0), Rgba(0, 255, 0), Rgba(0, 0, 255)};
  layout.Pixels = {1, 2, 3, 0};
  layout.Mask = {0, 0, 0, 1};
  const IconHandle icon = CreateIconFromResource(BuildDib(layout), 6, 6);
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(icon->Width, 6);
  EXPECT_EQ(icon->Monochrome, false);
  EXPECT_EQ(PixelOf(*icon, 2, 2), Rgba(255, 0, 0));
  EXPECT_EQ(PixelOf(*icon, 3, 0), Rgba(0, 255, 0));
  EXPECT_EQ(PixelOf(*icon, 0, 5), Rgba(0, 0, 255));
  EXPECT_EQ(PixelOf(*icon, 5, 5), Rgba(0, 0, 0, 0));
  EXPECT_EQ(icon->Mask[5 * 6 + 3], 1);
  EXPECT_EQ(icon->Mask[2 * 6 + 3], 0);
}

TEST(IconHandleScaleTest, ZeroKeepsThatSideAndMonochromeStaysMonochrome) {
  DibLayout layout{.Width = 8, .Height = 4, .BitCount = 1};
  layout.Palette = {Rgba(0, 0, 0), Rgba(255, 255, 255)};
  layout.Pixels.assign(32, 1);
  const IconHandle wide = CreateIconFromResource(BuildDib(layout), 16, 0);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->Width, 16);
  EXPECT_EQ(wide->Height, 4);
  EXPECT_TRUE(wide->Monochrome);
  EXPECT_EQ(PixelOf(*wide, 15, 3), Rgba(255, 255, 255));
  // The model asks for the smaller side, square: a 8x4 image at 4 becomes 4x4.
  const IconHandle square = CreateIconFromResource(BuildDib(layout), 4, 4);
  ASSERT_NE(square, nullptr);
  EXPECT_EQ(square->Width, 4);
  EXPECT_EQ(square->Height, 4);
}

}  // namespace
}  // namespace pictarix
