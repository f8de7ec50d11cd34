#include "imaging/ImagePicture.h"
#include "output/EntryPictures.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/ComposeOverWhite.h"
#include "output/EntryListFixture.h"
#include "output/PictureDecoders.h"
#include "support/DibBuilder.h"
#include "support/HarvestFixtures.h"

namespace pictarix {
namespace {

using testing::IconOfImages;
using testing::Rgba;

const RgbColor kWhite{255, 255, 255};

// A 32x32 image of one colour at the given depth; `transparentLeft` masks the left half.
std::vector<std::uint8_t> Solid32(int bitCount, std::uint32_t colour, bool transparentLeft) {
  testing::DibLayout layout;
  layout.Width = layout.Height = 32;
  layout.BitCount = bitCount;
  if (bitCount <= 8) layout.Palette = {Rgba(0, 0, 0), colour};
  layout.Pixels.assign(32 * 32, bitCount <= 8 ? 1u : colour);
  layout.Mask.assign(32 * 32, 0);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 16 && transparentLeft; ++x) {
      layout.Pixels[static_cast<std::size_t>(y * 32 + x)] = 0;  // black under the mask: no XOR
      layout.Mask[static_cast<std::size_t>(y * 32 + x)] = 1;
    }
  }
  return testing::BuildDib(layout);
}

TEST(EntryPicturesTest, TileIsWhiteWhereTheMaskIsTransparentAndBlendsAlpha) {
  testing::EntryListFixture fixture;
  fixture.Add(IconOfImages({Solid32(8, Rgba(0, 0, 255), true)}));
  fixture.Add(IconOfImages({Solid32(32, Rgba(255, 0, 0, 128), false)}));

  const auto masked = TileToBitmap(fixture.Entry(0), fixture.LargeImgs);
  ASSERT_TRUE(masked);
  ASSERT_EQ(masked->Width, 32);
  ASSERT_EQ(masked->Height, 32);
  EXPECT_EQ(masked->PixelAt(0, 0), kWhite);
  EXPECT_EQ(masked->PixelAt(15, 31), kWhite);
  EXPECT_EQ(masked->PixelAt(16, 0), (RgbColor{0, 0, 255}));

  const auto blended = TileToBitmap(fixture.Entry(1), fixture.LargeImgs);
  ASSERT_TRUE(blended);
  const RgbColor half = blended->PixelAt(20, 20);
  EXPECT_EQ(half.R, 255);
  EXPECT_LE(std::abs(half.G - 127), 1);
  EXPECT_LE(std::abs(half.B - 127), 1);
}

TEST(EntryPicturesTest, TileComesFromTheEntrysOwnImageIndex) {
  testing::EntryListFixture fixture;
  fixture.Add(IconOfImages({Solid32(8, Rgba(255, 0, 0), false)}));
  fixture.Add(IconOfImages({Solid32(8, Rgba(0, 255, 0), false)}));
  fixture.Add(IconOfImages({Solid32(8, Rgba(0, 0, 255), false)}), /*withTile=*/false);
  // Removing an entry keeps the tiles: the green entry moves to 0, its tile stays at 1.
  fixture.Entries.erase(fixture.Entries.begin());
  const auto green = TileToBitmap(fixture.Entry(0), fixture.LargeImgs);
  ASSERT_TRUE(green);
  EXPECT_EQ(green->PixelAt(5, 5), (RgbColor{0, 255, 0}));

  EXPECT_FALSE(TileToBitmap(fixture.Entry(1), fixture.LargeImgs));  // no tile
  EXPECT_FALSE(TileToPng(fixture.Entry(1), fixture.LargeImgs));
  EXPECT_FALSE(TileToJpeg(fixture.Entry(1), fixture.LargeImgs));
}

TEST(EntryPicturesTest, GraphicToBitmapUsesTheGraphicsOwnSize) {
  auto icon = IconOfImages({testing::SquareImage(48, 4)});
  auto graphic = MakeGraphic(*icon->Images.Get(0));
  const RgbImage image = GraphicToBitmap(*graphic);
  ASSERT_EQ(image.Width, 48);
  ASSERT_EQ(image.Height, 48);
  EXPECT_EQ(image.PixelAt(0, 0), kWhite);
  EXPECT_EQ(image.PixelAt(24, 24), (RgbColor{255, 0, 0}));

  IconGraphic empty;  // no handle: white at the standard size
  EXPECT_EQ(GraphicToBitmap(empty).Rgb, RgbImage(32, 32).Rgb);
}

TEST(EntryPicturesTest, AnAlphaPictureWithoutAMaskStillDraws) {
  IconPicture picture;
  picture.Width = picture.Height = 2;
  picture.HasAlpha = true;
  picture.Rgba = {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 255, 0, 0, 0, 128};
  const RgbImage image = ComposeOverWhite(picture);
  EXPECT_EQ(image.PixelAt(0, 0), (RgbColor{255, 0, 0}));
  EXPECT_EQ(image.PixelAt(1, 0), kWhite);
  EXPECT_EQ(image.PixelAt(0, 1), (RgbColor{0, 255, 0}));
  EXPECT_LE(std::abs(image.PixelAt(1, 1).R - 127), 1);

  picture.HasAlpha = false;  // a mask-driven picture without its mask draws nothing
  EXPECT_EQ(ComposeOverWhite(picture).PixelAt(0, 0), kWhite);
}

}  // namespace
}  // namespace pictarix
