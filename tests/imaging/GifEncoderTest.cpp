#include "imaging/GifEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "imaging/ColorQuantizer.h"
#include "output/PictureDecoders.h"
#include "output/TestPictures.h"

namespace pictarix {
namespace {

// The worst difference of 8x8 block means, a 16-pixel border left out (where colours beyond the
// palette's range cannot be made up by neighbours): dithering keeps these block means even where
// single pixels move.
double WorstBlockMeanError(const RgbImage& a, const RgbImage& b) {
  double worst = 0;
  for (int by = 16; by + 24 <= a.Height; by += 8) {
    for (int bx = 16; bx + 24 <= a.Width; bx += 8) {
      for (int c = 0; c < 3; ++c) {
        double sum = 0;
        for (int y = by; y < by + 8; ++y) {
          for (int x = bx; x < bx + 8; ++x) {
            const std::size_t at = a.PixelOffset(x, y) + static_cast<std::size_t>(c);
            sum += int{a.Rgb[at]} - int{b.Rgb[at]};
          }
        }
        worst = std::max(worst, std::abs(sum / 64));
      }
    }
  }
  return worst;
}

TEST(GifEncoderTest, OneFrameGlobalPaletteNoTransparency) {
  const auto gif = testing::DecodeGif(EncodeGif(testing::Scattered(32, 32, 16)));
  ASSERT_TRUE(gif.has_value());
  EXPECT_EQ(gif->Version, "GIF89a");
  EXPECT_EQ(gif->ImageCount, 1);
  EXPECT_EQ(gif->ExtensionBlocks, 0);  // no graphic control block, so no transparent colour
  EXPECT_FALSE(gif->LocalColorTable);
  EXPECT_EQ(gif->ColorTableSize, 16);
}

TEST(GifEncoderTest, PicturesWithAtMost256ColoursKeepEveryPixel) {
  struct Case {
    RgbImage Source;
    int TableSize;
  };
  const Case cases[] = {
      {RgbImage(32, 32, 0xFFFFFF), 2},  // one colour: the smallest table GIF allows
      {testing::Scattered(32, 32, 3), 4},   {testing::Scattered(32, 32, 16), 16},
      {testing::Scattered(32, 32, 17), 32}, {testing::Scattered(32, 32, 256), 256},
      {testing::Scattered(5, 3, 15), 16},
  };
  for (const Case& c : cases) {
    const auto gif = testing::DecodeGif(EncodeGif(c.Source));
    ASSERT_TRUE(gif.has_value());
    EXPECT_EQ(gif->ColorTableSize, c.TableSize);
    EXPECT_EQ(gif->Image.Width, c.Source.Width);
    EXPECT_EQ(gif->Image.Height, c.Source.Height);
    EXPECT_EQ(gif->Image.Rgb, c.Source.Rgb) << c.TableSize;
  }
}

TEST(GifEncoderTest, MoreThan256ColoursAreReducedCloseToTheSource) {
  const struct {
    RgbImage Source;
    double MeanError;
    double BlockError;
  } cases[] = {
      {testing::Gradient(256, 256), 5, 5},  // 65536 colours, the largest GIF source
      {testing::Gradient(48, 48), 4, 2},
      {testing::Scattered(64, 64, 4096), 20, 4},  // no two neighbours alike: dithering shows
  };
  for (const auto& c : cases) {
    const auto gif = testing::DecodeGif(EncodeGif(c.Source));
    ASSERT_TRUE(gif.has_value());
    EXPECT_LE(gif->ColorTableSize, 256);
    EXPECT_EQ(gif->ExtensionBlocks, 0);
    EXPECT_EQ(gif->Image.Width, c.Source.Width);
    ASSERT_EQ(gif->Image.Height, c.Source.Height);
    EXPECT_LT(testing::MeanAbsoluteError(gif->Image, c.Source), c.MeanError);
    EXPECT_LT(WorstBlockMeanError(gif->Image, c.Source), c.BlockError);
  }
}

TEST(ColorQuantizerTest, DitheringKeepsTheAverageColourOfAreas) {
  // Thousands of colours squeezed into 4: single pixels are far off (about 26 on average), but
  // 8x8 areas keep their colour far better than mapping each pixel to its nearest colour would.
  const RgbImage source = testing::Gradient(64, 64);
  const IndexedImage indexed = QuantizeColors(source, 4);
  ASSERT_EQ(indexed.Palette.size(), 4u);
  ASSERT_EQ(indexed.Indices.size(), 64u * 64u);
  RgbImage result(64, 64);
  for (std::size_t i = 0; i < indexed.Indices.size(); ++i) {
    ASSERT_LT(indexed.Indices[i], 4);
    const RgbColor color = indexed.Palette[indexed.Indices[i]];
    result.Rgb[i * 3] = color.R;
    result.Rgb[i * 3 + 1] = color.G;
    result.Rgb[i * 3 + 2] = color.B;
  }
  EXPECT_LT(WorstBlockMeanError(result, source), 12);
}

}  // namespace
}  // namespace pictarix
