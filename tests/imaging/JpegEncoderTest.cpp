#include "imaging/JpegEncoder.h"

#include <gtest/gtest.h>

#include "output/PictureDecoders.h"
#include "output/TestPictures.h"

namespace pictarix {
namespace {

TEST(JpegEncoderTest, BaselineColourAtQuality100) {
  const std::vector<std::uint8_t> bytes = EncodeJpeg(testing::Gradient(32, 32));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  const auto jpeg = testing::DecodeJpeg(bytes);
  ASSERT_TRUE(jpeg.has_value());
  EXPECT_EQ(jpeg->FrameMarker, 0xC0);  // baseline sequential
  EXPECT_FALSE(jpeg->Progressive);
  EXPECT_EQ(jpeg->Components, 3);
  EXPECT_TRUE(jpeg->YCbCr);
  EXPECT_TRUE(jpeg->AllQuantValuesOne);  // quality 100 quantises nothing away
}

TEST(JpegEncoderTest, PixelsSurviveWithinASmallTolerance) {
  for (const RgbImage& source : {testing::Gradient(32, 32), testing::Gradient(45, 17)}) {
    const auto jpeg = testing::DecodeJpeg(EncodeJpeg(source));
    ASSERT_TRUE(jpeg.has_value());
    ASSERT_EQ(jpeg->Image.Width, source.Width);
    ASSERT_EQ(jpeg->Image.Height, source.Height);
    EXPECT_LE(testing::MaxAbsoluteError(jpeg->Image, source), 8);
    EXPECT_LT(testing::MeanAbsoluteError(jpeg->Image, source), 1.5);
  }
}

TEST(JpegEncoderTest, FlatAreasKeepTheirColourAwayFromColourEdges) {
  // The encoder's default chroma subsampling shares colour between 2x2 pixels, so sharp colour
  // edges blur by a pixel or two; inside flat areas the colour stays.
  RgbImage blocks(32, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::size_t at = blocks.PixelOffset(x, y);
      const bool red = (x / 16 + y / 16) % 2 == 0;
      blocks.Rgb[at] = red ? 200 : 20;
      blocks.Rgb[at + 1] = red ? 30 : 90;
      blocks.Rgb[at + 2] = red ? 40 : 220;
    }
  }
  const auto jpeg = testing::DecodeJpeg(EncodeJpeg(blocks));
  ASSERT_TRUE(jpeg.has_value());
  ASSERT_EQ(jpeg->Image.Rgb.size(), blocks.Rgb.size());
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13) continue;
      for (std::size_t c = 0; c < 3; ++c) {
        const std::size_t at = blocks.PixelOffset(x, y) + c;
        ASSERT_LE(std::abs(jpeg->Image.Rgb[at] - blocks.Rgb[at]), 3) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace pictarix
