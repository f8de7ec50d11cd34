#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "imaging/IconHandle.h"
#include "support/DibBuilder.h"

namespace pictarix {
namespace {

using testing::BuildDib;
using testing::DibLayout;
using testing::PixelOf;
using testing::PixelsOf;
using testing::Rgba;

IconHandle Decode(const std::vector<std::uint8_t>& bytes) {
  return CreateIconFromResource(bytes, 0, 0);
}

// The colour of a pixel as a picture without alpha shows it: opaque, or alpha 0 when masked.
std::uint32_t WithMaskAlpha(std::uint32_t colour, std::uint8_t masked) {
  return (colour & 0xFFFFFF00u) | (masked ? 0 : 255);
}

// A 2x2 24 bpp image written byte by byte, independently of the builder: the first stored row
// is the bottom one, each row padded to 8 bytes, then the mask rows (bottom first).
TEST(IconHandleDibTest, HandWrittenBitmapIsReadBottomUp) {
  const std::vector<std::uint8_t> bytes{
      40,   0, 0,    0,    2,    0,    0,  0,
      4,    0, 0,    0,    1,    0,    24, 0,  // size, width 2, height 2 * 2, 24 bpp
      0,    0, 0,    0,    0,    0,    0,  0,
      0,    0, 0,    0,    0,    0,    0,  0,  // BI_RGB, image size, resolution
      0,    0, 0,    0,    0,    0,    0,  0,  // colours used, important
      0xFF, 0, 0,    0,    0xFF, 0,    0,  0,  // bottom row: blue, green (BGR)
      0,    0, 0xFF, 0xFF, 0xFF, 0xFF, 0,  0,  // top row: red, white
      0x40, 0, 0,    0,                        // bottom mask row: second pixel
      0x80, 0, 0,    0};                       // top mask row: first pixel
  const IconHandle icon = Decode(bytes);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Width, 2);
  EXPECT_EQ(icon->Height, 2);
  EXPECT_FALSE(icon->HasAlpha);
  EXPECT_FALSE(icon->Monochrome);
  EXPECT_EQ(PixelsOf(*icon), (std::vector<std::uint32_t>{Rgba(255, 0, 0, 0), Rgba(255, 255, 255),
                                                         Rgba(0, 0, 255), Rgba(0, 255, 0, 0)}));
  EXPECT_EQ(icon->Mask, (std::vector<std::uint8_t>{1, 0, 0, 1}));
}

struct PaletteCase {
  int BitCount;
  int Width;  // odd widths exercise the row padding
};

void PrintTo(const PaletteCase& c, std::ostream* os) {
  *os << c.BitCount << " bpp, width " << c.Width;
}

class IconHandlePaletteTest : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(IconHandlePaletteTest, IndexesMapThroughThePaletteWithTheMask) {
  const auto [bitCount, width] = GetParam();
  const int height = 3;
  const std::uint32_t entries = 1u << bitCount;
  DibLayout layout{.Width = width, .Height = height, .BitCount = bitCount};
  for (std::uint32_t i = 0; i < entries; ++i) {
    layout.Palette.push_back(Rgba(static_cast<std::uint8_t>(i * 7),
                                  static_cast<std::uint8_t>(255 - i),
                                  static_cast<std::uint8_t>(i * 3 + 1)));
  }
  for (int i = 0; i < width * height; ++i) {
    layout.Pixels.push_back(static_cast<std::uint32_t>(i * 5 + 1) % entries);
    layout.Mask.push_back(i % 3 == 0 ? 1 : 0);
  }
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(icon->Width, width);
  ASSERT_EQ(icon->Height, height);
  EXPECT_EQ(icon->Monochrome, bitCount == 1);
  EXPECT_FALSE(icon->HasAlpha);
  EXPECT_EQ(icon->Mask, layout.Mask);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * width + x;
      EXPECT_EQ(PixelOf(*icon, x, y),
                WithMaskAlpha(layout.Palette[layout.Pixels[i]], layout.Mask[i]))
          << "pixel " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, IconHandlePaletteTest,
                         ::testing::Values(PaletteCase{1, 5}, PaletteCase{1, 33}, PaletteCase{4, 3},
                                           PaletteCase{4, 5}, PaletteCase{8, 3},
                                           PaletteCase{8, 32}));

TEST(IconHandleDibTest, ShortColourTableIsHonouredAndIndexesPastItAreBlack) {
  DibLayout layout{.Width = 4, .Height = 1, .BitCount = 4};
  layout.Palette = {Rgba(10, 20, 30), Rgba(40, 50, 60), Rgba(70, 80, 90)};
  layout.Pixels = {0, 2, 1, 9};
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(PixelsOf(*icon), (std::vector<std::uint32_t>{Rgba(10, 20, 30), Rgba(70, 80, 90),
                                                         Rgba(40, 50, 60), Rgba(0, 0, 0)}));
}

TEST(IconHandleDibTest, OptionalColourTableOfADeepBitmapIsSkipped) {
  DibLayout layout{.Width = 2, .Height = 1, .BitCount = 24};
  layout.Palette = {Rgba(1, 2, 3), Rgba(4, 5, 6)};  // stored, ColorsUsed 2, never used
  layout.Pixels = {Rgba(200, 100, 50), Rgba(0, 128, 255)};
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(PixelsOf(*icon), layout.Pixels);
}

TEST(IconHandleDibTest, SixteenBitsWidenEachChannelByRepeatingItsBits) {
  // 5-5-5: a 5-bit value v becomes v << 3 | v >> 2; 5-6-5 green: v << 2 | v >> 4.
  const std::vector<std::uint32_t> colours{Rgba(0xF8, 0x80, 0x08), Rgba(0x00, 0xFC, 0x50),
                                           Rgba(0x48, 0x04, 0xF8)};
  DibLayout rgb555{.Width = 3, .Height = 1, .BitCount = 16, .Pixels = colours};
  const IconHandle plain = Decode(BuildDib(rgb555));
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(PixelsOf(*plain),
            (std::vector<std::uint32_t>{Rgba(0xFF, 0x84, 0x08), Rgba(0x00, 0xFF, 0x52),
                                        Rgba(0x4A, 0x00, 0xFF)}));

  DibLayout rgb565 = rgb555;
  rgb565.Bitfields = std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F};
  const IconHandle fields = Decode(BuildDib(rgb565));
  ASSERT_NE(fields, nullptr);
  EXPECT_FALSE(fields->HasAlpha);
  EXPECT_EQ(PixelsOf(*fields),
            (std::vector<std::uint32_t>{Rgba(0xFF, 0x82, 0x08), Rgba(0x00, 0xFF, 0x52),
                                        Rgba(0x4A, 0x04, 0xFF)}));
}

TEST(IconHandleDibTest, BitfieldMasksInsideALargerHeaderAreRead) {
  DibLayout layout{.Width = 1, .Height = 1, .BitCount = 16, .Pixels = {Rgba(0xF8, 0x00, 0xF8)}};
  layout.Bitfields = std::array<std::uint32_t, 3>{0x001F, 0x07E0, 0xF800};  // blue-green-red
  layout.HeaderSize = 108;
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(PixelOf(*icon, 0, 0), Rgba(0xFF, 0x00, 0xFF));
}

TEST(IconHandleDibTest, TwentyFourBitsWithOddWidthUsePaddedRows) {
  DibLayout layout{.Width = 3, .Height = 2, .BitCount = 24};
  layout.Pixels = {Rgba(1, 2, 3),    Rgba(4, 5, 6),    Rgba(7, 8, 9),
                   Rgba(10, 11, 12), Rgba(13, 14, 15), Rgba(16, 17, 18)};
  layout.Mask = {0, 0, 1, 1, 0, 0};
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  for (std::size_t i = 0; i < layout.Pixels.size(); ++i) {
    EXPECT_EQ(PixelsOf(*icon)[i], WithMaskAlpha(layout.Pixels[i], layout.Mask[i])) << i;
  }
}

TEST(IconHandleDibTest, ThirtyTwoBitsWithAlphaKeepStraightAlphaAndTheMask) {
  DibLayout layout{.Width = 3, .Height = 1, .BitCount = 32};
  layout.Pixels = {Rgba(255, 0, 0, 255), Rgba(0, 255, 0, 128), Rgba(10, 20, 30, 0)};
  layout.Mask = {0, 0, 1};
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(icon->HasAlpha);
  EXPECT_EQ(PixelsOf(*icon), layout.Pixels);
  EXPECT_EQ(icon->Mask, layout.Mask);
}

TEST(IconHandleDibTest, ThirtyTwoBitsWithoutAnyAlphaLetTheMaskDecide) {
  DibLayout layout{.Width = 2, .Height = 2, .BitCount = 32};
  layout.Pixels = {Rgba(255, 0, 0, 0), Rgba(0, 255, 0, 0), Rgba(0, 0, 0, 0), Rgba(9, 9, 9, 0)};
  layout.Mask = {0, 1, 1, 0};
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->HasAlpha);
  EXPECT_EQ(PixelsOf(*icon), (std::vector<std::uint32_t>{Rgba(255, 0, 0), Rgba(0, 255, 0, 0),
                                                         Rgba(0, 0, 0, 0), Rgba(9, 9, 9)}));
}

TEST(IconHandleDibTest, ThirtyTwoBitBitfieldsTakeAlphaFromTheFreeByte) {
  DibLayout layout{.Width = 1, .Height = 1, .BitCount = 32, .Pixels = {Rgba(1, 2, 3, 77)}};
  layout.Bitfields = std::array<std::uint32_t, 3>{0x000000FF, 0x0000FF00, 0x00FF0000};
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(icon->HasAlpha);
  EXPECT_EQ(PixelOf(*icon, 0, 0), Rgba(1, 2, 3, 77));
}

TEST(IconHandleDibTest, MissingMaskIsOpaqueForAlphaImagesAndRefusedOtherwise) {
  DibLayout alpha{.Width = 2, .Height = 1, .BitCount = 32};
  alpha.Pixels = {Rgba(1, 2, 3, 200), Rgba(4, 5, 6, 0)};
  alpha.WriteMask = false;
  const IconHandle icon = Decode(BuildDib(alpha));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(PixelsOf(*icon), alpha.Pixels);
  EXPECT_EQ(icon->Mask, (std::vector<std::uint8_t>{0, 0}));

  DibLayout noAlpha = alpha;
  noAlpha.Pixels = {Rgba(1, 2, 3, 0), Rgba(4, 5, 6, 0)};
  EXPECT_EQ(Decode(BuildDib(noAlpha)), nullptr);
  DibLayout deep{.Width = 2, .Height = 1, .BitCount = 24, .Pixels = alpha.Pixels};
  deep.WriteMask = false;
  EXPECT_EQ(Decode(BuildDib(deep)), nullptr);
}

TEST(IconHandleDibTest, CoreHeaderWithThreeByteColourTable) {
  DibLayout layout{.Width = 3, .Height = 1, .BitCount = 8, .HeaderSize = 12};
  for (int i = 0; i < 256; ++i) {
    layout.Palette.push_back(Rgba(static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(~i)));
  }
  layout.Pixels = {0, 128, 255};
  layout.Mask = {0, 1, 0};
  const IconHandle icon = Decode(BuildDib(layout));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(PixelsOf(*icon),
            (std::vector<std::uint32_t>{Rgba(0, 0, 255), Rgba(128, 0, 127, 0), Rgba(255, 0, 0)}));
}

// Headers the platform refuses, and cut-off or garbage bytes: never a picture, never a crash.
TEST(IconHandleDibTest, RefusesBadHeadersAndShortData) {
  const DibLayout good{.Width = 4,
                       .Height = 4,
                       .BitCount = 8,
                       .Palette = {Rgba(1, 1, 1)},
                       .Pixels = std::vector<std::uint32_t>(16, 0)};
  const auto valid = BuildDib(good);
  ASSERT_NE(Decode(valid), nullptr);
  const auto patched = [&](std::size_t offset, std::uint32_t value, int bytes = 4) {
    auto copy = valid;
    for (int i = 0; i < bytes; ++i) copy[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return copy;
  };
  const auto cut = [&](std::size_t size) {
    return std::vector<std::uint8_t>(valid.begin(), valid.begin() + static_cast<long>(size));
  };
  const std::size_t paletteEnd = 40 + 4;
  const std::size_t colourEnd = paletteEnd + 4 * 4;
  struct Case {
    const char* What;
    std::vector<std::uint8_t> Bytes;
  } cases[] = {
      {"empty", {}},
      {"three bytes", {40, 0, 0}},
      {"header size 0", patched(0, 0)},
      {"header size 20", patched(0, 20)},
      {"header larger than data", patched(0, 4000)},
      {"width 0", patched(4, 0)},
      {"width -1", patched(4, 0xFFFFFFFF)},
      {"width 4097", patched(4, 4097)},
      {"height 1 (no rows)", patched(8, 1)},
      {"height 2 * 4097", patched(8, 8194)},
      {"top-down height", patched(8, static_cast<std::uint32_t>(-8))},
      {"2 bpp", patched(14, 2, 2)},
      {"64 bpp", patched(14, 64, 2)},
      {"run-length compression", patched(16, 1)},
      {"bitfields at 8 bpp", patched(16, 3)},
      {"colours used past the data", patched(32, 0x10000)},
      {"palette cut", cut(paletteEnd - 1)},
      {"colour bits cut", cut(colourEnd - 1)},
      {"mask cut", cut(valid.size() - 1)},
      {"text", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'c', 'o', 'n'}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decode(c.Bytes), nullptr) << c.What;
  }
  EXPECT_EQ(CreateIconFromResource(valid, -1, 16), nullptr);
  EXPECT_EQ(CreateIconFromResource(valid, 16, 4097), nullptr);
}

// Every depth and PNG, with bytes flipped and cut at random: any result must be whole.
TEST(IconHandleDibTest, DamagedImagesNeverCrash) {
  std::vector<std::vector<std::uint8_t>> seeds;
  for (const int bitCount : {1, 4, 8, 16, 24, 32}) {
    DibLayout layout{.Width = 7, .Height = 5, .BitCount = bitCount};
    if (bitCount <= 8) layout.Palette.assign(1u << bitCount, Rgba(9, 8, 7));
    for (int i = 0; i < 35; ++i) layout.Pixels.push_back(bitCount <= 8 ? 1 : Rgba(1, 2, 3, 4));
    seeds.push_back(BuildDib(layout));
  }
  seeds.push_back(testing::BuildPng(5, 3, std::vector<std::uint32_t>(15, Rgba(1, 2, 3, 4))));

  std::uint32_t state = 12345;
  const auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (int round = 0; round < 1500; ++round) {
    auto bytes = seeds[round % seeds.size()];
    const int flips = 1 + static_cast<int>(next() % 4);
    for (int f = 0; f < flips; ++f) {
      bytes[next() % bytes.size()] = static_cast<std::uint8_t>(next());
    }
    if (next() % 3 == 0) bytes.resize(next() % bytes.size());
    const int desired = static_cast<int>(next() % 3) * 8;
    const IconHandle icon = CreateIconFromResource(bytes, desired, desired);
    if (!icon) continue;
    ASSERT_GT(icon->Width, 0);
    ASSERT_GT(icon->Height, 0);
    const auto pixels = static_cast<std::size_t>(icon->Width) * icon->Height;
    ASSERT_EQ(icon->Rgba.size(), pixels * 4);
    ASSERT_EQ(icon->Mask.size(), pixels);
  }
}

}  // namespace
}  // namespace pictarix
