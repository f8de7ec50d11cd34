#include "formats/dib/BmpEncoder.h"

#include <gtest/gtest.h>

#include "output/TestPictures.h"

namespace pictarix {
namespace {

TEST(BmpEncoderTest, HeadersOfA32x32Tile) {
  const std::vector<std::uint8_t> bmp = EncodeBmp(RgbImage(32, 32));
  const std::vector<std::uint8_t> expected{
      'B',  'M',  0x36, 0x0C, 0,  0,         // bfType, bfSize = 54 + 3072
      0,    0,    0,    0,                   // bfReserved1, bfReserved2
      54,   0,    0,    0,                   // bfOffBits
      40,   0,    0,    0,                   // biSize
      32,   0,    0,    0,    32, 0, 0, 0,   // biWidth, biHeight (positive: bottom-up)
      1,    0,    24,   0,                   // biPlanes, biBitCount
      0,    0,    0,    0,                   // biCompression = BI_RGB
      0x00, 0x0C, 0,    0,                   // biSizeImage = 32 * 96
      0,    0,    0,    0,    0,  0, 0, 0,   // biXPelsPerMeter, biYPelsPerMeter
      0,    0,    0,    0,    0,  0, 0, 0};  // biClrUsed, biClrImportant
  ASSERT_EQ(bmp.size(), 3126u);
  EXPECT_EQ(std::vector<std::uint8_t>(bmp.begin(), bmp.begin() + 54), expected);
}

TEST(BmpEncoderTest, RowsBottomUpInBlueGreenRedPaddedToFourBytes) {
  RgbImage image(3, 2);
  for (std::size_t i = 0; i < image.Rgb.size(); ++i)
    image.Rgb[i] = static_cast<std::uint8_t>(i + 1);
  const std::vector<std::uint8_t> bmp = EncodeBmp(image);
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);
  EXPECT_EQ(bmp[2], 54 + 24);  // bfSize
  EXPECT_EQ(bmp[34], 24);      // biSizeImage
  const std::vector<std::uint8_t> rows(bmp.begin() + 54, bmp.end());
  const std::vector<std::uint8_t> expected{
      12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0,   // bottom row (pixels 4..6)
      3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};  // top row (pixels 1..3)
  EXPECT_EQ(rows, expected);

  const RgbImage gradient = testing::Gradient(32, 32);
  const std::vector<std::uint8_t> tile = EncodeBmp(gradient);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::size_t at = 54 + static_cast<std::size_t>((31 - y) * 96 + x * 3);
      const RgbColor expectedPixel = gradient.PixelAt(x, y);
      ASSERT_EQ((RgbColor{tile[at + 2], tile[at + 1], tile[at]}), expectedPixel) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace pictarix
