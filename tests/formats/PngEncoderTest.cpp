#include "formats/png/PngEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "output/PictureDecoders.h"
#include "output/TestPictures.h"

namespace pictarix {
namespace {

bool Has(const std::vector<std::string>& chunks, const std::string& type) {
  return std::find(chunks.begin(), chunks.end(), type) != chunks.end();
}

TEST(PngEncoderTest, TruecolourWithoutAlphaOrTransparencyAndExactPixels) {
  for (const RgbImage& source : {testing::Gradient(32, 32), testing::Scattered(32, 32, 300),
                                 RgbImage(1, 1, 0x123456), testing::Gradient(7, 3)}) {
    const auto png = testing::DecodePng(EncodePng(source));
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ(png->ColorType, 2);  // RGB: no alpha, no palette
    EXPECT_EQ(png->BitDepth, 8);
    EXPECT_FALSE(Has(png->Chunks, "tRNS"));
    EXPECT_FALSE(Has(png->Chunks, "PLTE"));
    EXPECT_EQ(png->Chunks.front(), "IHDR");
    EXPECT_EQ(png->Chunks.back(), "IEND");
    EXPECT_EQ(png->Image.Width, source.Width);
    EXPECT_EQ(png->Image.Height, source.Height);
    EXPECT_EQ(png->Image.Rgb, source.Rgb);
  }
}

TEST(PngEncoderTest, CompressesFlatPictures) {
  // Default compression: a white tile is far smaller than its 3 KB of pixels.
  EXPECT_LT(EncodePng(RgbImage(32, 32)).size(), 200u);
}

}  // namespace
}  // namespace pictarix
