// The quick check of stored PNG images: whole streams of every kind pass, and whatever it passes
// the decoder decodes.
#include <gtest/gtest.h>

#include "formats/png/PngCheck.h"
#include "formats/png/PngDecoder.h"
#include "support/DibBuilder.h"

namespace pictarix {
namespace {

using testing::BuildPng;
using testing::JoinPng;
using testing::PngChunk;
using testing::PngColour;
using testing::SplitPng;

// Four colours, one of them clear, so that a 2-bit palette holds them.
std::vector<std::uint32_t> Pixels(int count) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < count; ++i) {
    const int colour = i * 7 / 3 % 4;
    pixels.push_back(testing::Rgba(colour * 80, 200 - colour * 50, 40, colour == 0 ? 0 : 255));
  }
  return pixels;
}

TEST(PngCheckTest, EveryColourTypeDepthAndInterlaceIsSound) {
  struct Kind {
    PngColour Colour;
    int BitDepth;
  };
  for (const Kind kind :
       {Kind{PngColour::Rgba, 8}, Kind{PngColour::Rgba, 16}, Kind{PngColour::Rgb, 8},
        Kind{PngColour::Grey, 1}, Kind{PngColour::Grey, 16}, Kind{PngColour::GreyAlpha, 8},
        Kind{PngColour::Palette, 2}, Kind{PngColour::Palette, 8}}) {
    for (const bool interlaced : {false, true}) {
      // 11 x 5 leaves some of the interlaced passes empty.
      const auto png = BuildPng({.Width = 11,
                                 .Height = 5,
                                 .Pixels = Pixels(55),
                                 .Colour = kind.Colour,
                                 .BitDepth = kind.BitDepth,
                                 .Interlaced = interlaced});
      EXPECT_TRUE(IsSoundPng(png)) << static_cast<int>(kind.Colour) << "/" << kind.BitDepth;
      EXPECT_NE(DecodeIconPng(png), nullptr);
    }
  }
}

TEST(PngCheckTest, StreamsThatBendARuleAreNotSound) {
  const auto valid = BuildPng(12, 12, Pixels(144));
  const auto chunks = SplitPng(valid);
  ASSERT_EQ(chunks[1].Type, "IDAT");
  const auto with = [&](auto change) {
    auto changed = chunks;
    change(changed);
    return JoinPng(changed);
  };
  const std::vector<std::uint8_t> cut(valid.begin(), valid.end() - 5);
  auto badCrc = valid;
  badCrc[valid.size() - 20] ^= 1;
  const auto trailing = with([](auto& c) { c[1].Data.push_back(0); });
  const auto split = with([](auto& c) {
    c.insert(c.begin() + 2, c[1]);
    c.insert(c.begin() + 2, PngChunk{"tEXt", {'a', 0, 'b'}});
  });
  const auto noEnd = with([](auto& c) { c.pop_back(); });
  const auto unknownCritical = with([](auto& c) { c.insert(c.begin() + 1, PngChunk{"CgBI", {}}); });
  for (const auto& png : {cut, badCrc, trailing, split, noEnd, unknownCritical})
    EXPECT_FALSE(IsSoundPng(png));
  EXPECT_NE(DecodeIconPng(trailing), nullptr);  // such a stream may still decode
}

// zlib refuses references beyond the window a stream's header names; a stream naming a window
// smaller than its image is not trusted.
TEST(PngCheckTest, AWindowSmallerThanTheImageIsNotSound) {
  auto chunks = SplitPng(BuildPng(64, 64, Pixels(64 * 64)));
  ASSERT_EQ(chunks[1].Data.at(0) >> 4, 7);
  const auto withWindow = [&](std::uint8_t windowBits) {
    auto changed = chunks;
    auto& method = changed[1].Data[0];
    method = static_cast<std::uint8_t>((windowBits - 8) << 4 | 8);
    auto& flags = changed[1].Data[1];
    flags = static_cast<std::uint8_t>(flags & 0xE0);
    flags = static_cast<std::uint8_t>(flags + 31 - (method * 256 + flags) % 31);  // header check
    return JoinPng(changed);
  };
  EXPECT_TRUE(IsSoundPng(withWindow(15)));
  EXPECT_FALSE(IsSoundPng(withWindow(8)));
}

}  // namespace
}  // namespace pictarix
