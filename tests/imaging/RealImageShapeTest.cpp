#include <gtest/gtest.h>

#include "imaging/RgbaPicture.h"
#include "support/DibBuilder.h"

namespace pictarix {
namespace {

using testing::PngColour;

// An image holding `bytes` whose directory claims `storedBits`.
ImageShape ShapeOf(std::vector<std::uint8_t> bytes, std::uint16_t storedBits = 32) {
  IconImage image;
  image.BitCount = storedBits;
  image.BytesInRes = static_cast<std::uint32_t>(bytes.size());
  image.SetData(std::move(bytes));
  return RealImageShape(image);
}

std::vector<std::uint8_t> Png(PngColour colour, int depth) {
  return testing::BuildPng({.Width = 3,
                            .Height = 2,
                            .Pixels = std::vector<std::uint32_t>(6),
                            .Colour = colour,
                            .BitDepth = depth});
}

TEST(RealImageShapeTest, PngDepthIsBitDepthTimesChannels) {
  const struct {
    PngColour Colour;
    int Depth;
    int Bits;
  } cases[] = {{PngColour::Rgba, 8, 32},   {PngColour::Rgba, 16, 64}, {PngColour::Rgb, 8, 24},
               {PngColour::Grey, 1, 1},    {PngColour::Grey, 8, 8},   {PngColour::GreyAlpha, 8, 16},
               {PngColour::Palette, 4, 4}, {PngColour::Palette, 8, 8}};
  for (const auto& c : cases) {
    const ImageShape shape = ShapeOf(Png(c.Colour, c.Depth));
    EXPECT_EQ(shape.Bits, c.Bits) << static_cast<int>(c.Colour) << " at " << c.Depth;
    EXPECT_EQ(shape.Width, 3);
    EXPECT_EQ(shape.Height, 2);
  }
}

TEST(RealImageShapeTest, BitmapDepthComesFromItsHeaderNotTheDirectory) {
  const ImageShape info = ShapeOf(testing::BuildDib({.Width = 6,
                                                     .Height = 3,
                                                     .BitCount = 4,
                                                     .Palette = {0, 1},
                                                     .Pixels = std::vector<std::uint32_t>(18)}),
                                  32);
  EXPECT_EQ(info.Width, 6);
  EXPECT_EQ(info.Height, 3);
  EXPECT_EQ(info.Bits, 4);
  const ImageShape core = ShapeOf(testing::BuildDib({.Width = 5,
                                                     .Height = 2,
                                                     .BitCount = 24,
                                                     .Pixels = std::vector<std::uint32_t>(10),
                                                     .HeaderSize = 12}),
                                  8);
  EXPECT_EQ(core.Bits, 24);
  EXPECT_EQ(core.Width, 5);
  // Too short to hold a bit count: the directory's.
  EXPECT_EQ(ShapeOf({40, 0, 0, 0, 6, 0, 0, 0, 6, 0}, 8).Bits, 8);
}

TEST(RealImageShapeTest, PngHeaderThatStatesNoValidDepthCountsAsShown) {
  auto png = Png(PngColour::Rgba, 8);
  for (const auto& [depth, colourType] :
       {std::pair{16, 3}, std::pair{4, 6}, std::pair{8, 5}, std::pair{0, 0}, std::pair{255, 255}}) {
    png[24] = static_cast<std::uint8_t>(depth);
    png[25] = static_cast<std::uint8_t>(colourType);
    EXPECT_EQ(ShapeOf(png).Bits, 32) << depth << "/" << colourType;
  }
  png.resize(25);  // the colour type cut off
  EXPECT_EQ(ShapeOf(png, 21060).Bits, 32);
}

}  // namespace
}  // namespace pictarix
