#include <gtest/gtest.h>
#include <zlib.h>

#include <cctype>

#include <ostream>
#include <string>
#include <vector>

#include "imaging/IconHandle.h"
#include "support/DibBuilder.h"

namespace pictarix {
namespace {

using testing::BuildPng;
using testing::PixelsOf;
using testing::PngColour;
using testing::PngLayout;
using testing::Rgba;

const std::vector<std::uint32_t> kColours{Rgba(255, 0, 0, 255), Rgba(0, 255, 0, 128),
                                          Rgba(0, 0, 255, 0),   Rgba(255, 255, 255, 255),
                                          Rgba(17, 34, 51, 68), Rgba(0, 0, 0, 255)};

TEST(IconHandlePngTest, RgbaPixelsDecodeWithAlphaAndAMaskWhereTransparent) {
  const IconHandle icon = CreateIconFromResource(BuildPng(3, 2, kColours), 0, 0);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Width, 3);
  EXPECT_EQ(icon->Height, 2);
  EXPECT_TRUE(icon->HasAlpha);
  EXPECT_FALSE(icon->Monochrome);
  EXPECT_EQ(PixelsOf(*icon), kColours);
  EXPECT_EQ(icon->Mask, (std::vector<std::uint8_t>{0, 0, 1, 0, 0, 0}));
}

struct ColourCase {
  const char* Name;
  PngColour Colour;
  int BitDepth;
  std::vector<std::uint32_t> Pixels;
  std::vector<std::uint32_t> Expected;
};

void PrintTo(const ColourCase& c, std::ostream* os) {
  *os << c.Name;
}

class IconHandlePngColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(IconHandlePngColourTest, EveryColourTypeBecomesEightBitRgba) {
  const ColourCase& c = GetParam();
  for (const bool interlaced : {false, true}) {
    PngLayout layout{.Width = 3,
                     .Height = 2,
                     .Pixels = c.Pixels,
                     .Colour = c.Colour,
                     .BitDepth = c.BitDepth,
                     .Interlaced = interlaced};
    const IconHandle icon = CreateIconFromResource(BuildPng(layout), 0, 0);
    ASSERT_NE(icon, nullptr) << c.Name;
    EXPECT_TRUE(icon->HasAlpha);
    EXPECT_EQ(PixelsOf(*icon), c.Expected) << c.Name << (interlaced ? " interlaced" : "");
  }
}

const std::vector<std::uint32_t> kGreys{Rgba(0, 0, 0, 255),   Rgba(255, 9, 9, 0),
                                        Rgba(128, 1, 1, 255), Rgba(255, 255, 255, 128),
                                        Rgba(64, 0, 0, 255),  Rgba(200, 0, 0, 255)};

INSTANTIATE_TEST_SUITE_P(
    Types, IconHandlePngColourTest,
    ::testing::Values(
        ColourCase{"rgba16", PngColour::Rgba, 16, kColours, kColours},
        ColourCase{"rgb",
                   PngColour::Rgb,
                   8,
                   kColours,
                   {Rgba(255, 0, 0), Rgba(0, 255, 0), Rgba(0, 0, 255), Rgba(255, 255, 255),
                    Rgba(17, 34, 51), Rgba(0, 0, 0)}},
        ColourCase{"palette with transparency", PngColour::Palette, 8, kColours, kColours},
        ColourCase{"palette 4 bits", PngColour::Palette, 4, kColours, kColours},
        ColourCase{"grey",
                   PngColour::Grey,
                   8,
                   kGreys,
                   {Rgba(0, 0, 0), Rgba(255, 255, 255), Rgba(128, 128, 128), Rgba(255, 255, 255),
                    Rgba(64, 64, 64), Rgba(200, 200, 200)}},
        ColourCase{"grey 1 bit",
                   PngColour::Grey,
                   1,
                   kGreys,
                   {Rgba(0, 0, 0), Rgba(255, 255, 255), Rgba(255, 255, 255), Rgba(255, 255, 255),
                    Rgba(0, 0, 0), Rgba(255, 255, 255)}},
        ColourCase{"grey with alpha",
                   PngColour::GreyAlpha,
                   8,
                   kGreys,
                   {Rgba(0, 0, 0), Rgba(255, 255, 255, 0), Rgba(128, 128, 128),
                    Rgba(255, 255, 255, 128), Rgba(64, 64, 64), Rgba(200, 200, 200)}}),
    [](const auto& info) {
      std::string name = info.param.Name;
      for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return name;
    });

TEST(IconHandlePngTest, DamagedOrOversizedStreamsAreRefused) {
  const auto valid = BuildPng(3, 2, kColours);
  ASSERT_NE(CreateIconFromResource(valid, 0, 0), nullptr);

  // Signature only; cut inside IHDR; cut inside the image data.
  for (const std::size_t size : {std::size_t{8}, std::size_t{20}, valid.size() - 20}) {
    const std::vector<std::uint8_t> cut(valid.begin(), valid.begin() + static_cast<long>(size));
    EXPECT_EQ(CreateIconFromResource(cut, 0, 0), nullptr) << size;
  }

  // A flipped byte in the IHDR breaks its checksum.
  auto damaged = valid;
  damaged[20] ^= 0x40;
  EXPECT_EQ(CreateIconFromResource(damaged, 0, 0), nullptr);

  // A consistent IHDR (checksum fixed) claiming more than an icon may hold, or more pixels
  // than the stream could inflate to.
  const auto withSize = [&](std::uint32_t width, std::uint32_t height) {
    auto big = BuildPng(1, 1, {Rgba(1, 2, 3)});
    const auto putBigEndian = [&](std::size_t at, std::uint32_t value) {
      for (int i = 0; i < 4; ++i) big[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    };
    putBigEndian(16, width);
    putBigEndian(20, height);
    putBigEndian(29, static_cast<std::uint32_t>(crc32(0, big.data() + 12, 17)));
    return big;
  };
  EXPECT_EQ(CreateIconFromResource(withSize(5000, 5000), 0, 0), nullptr);
  EXPECT_EQ(CreateIconFromResource(withSize(4096, 4096), 0, 0), nullptr);
}

TEST(IconHandlePngTest, LargePngIsScaledToTheDesiredSize) {
  std::vector<std::uint32_t> pixels(256 * 256, Rgba(10, 200, 30, 255));
  const auto bytes = BuildPng(256, 256, pixels);
  const IconHandle own = CreateIconFromResource(bytes, 0, 0);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->Width, 256);
  const IconHandle small = CreateIconFromResource(bytes, 32, 32);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->Width, 32);
  EXPECT_EQ(small->Height, 32);
  EXPECT_EQ(testing::PixelOf(*small, 31, 31), Rgba(10, 200, 30, 255));
}

}  // namespace
}  // namespace pictarix
