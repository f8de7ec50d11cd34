#include "imaging/GraphicIconFile.h"
#include "imaging/HiResIcon.h"
#include "imaging/ImagePicture.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/IconDraw.h"
#include "imaging/IconHandle.h"
#include "model/AdvancedIcon.h"
#include "os/ByteCursor.h"
#include "support/DibBuilder.h"

namespace pictarix {
namespace {

using testing::BuildDib;
using testing::DibLayout;
using testing::PixelOf;
using testing::PixelsOf;
using testing::Rgba;

// A square image with a distinct colour per pixel and a diagonal mask.
DibLayout Gradient(int side, int bitCount = 32) {
  DibLayout layout{.Width = side, .Height = side, .BitCount = bitCount};
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      layout.Pixels.push_back(Rgba(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                   static_cast<std::uint8_t>(x ^ y),
                                   static_cast<std::uint8_t>(x == y ? 0 : 255)));
      layout.Mask.push_back(x == y ? 1 : 0);
    }
  }
  return layout;
}

IconHandle Handle(const DibLayout& layout) {
  IconHandle handle = CreateIconFromResource(BuildDib(layout), 0, 0);
  EXPECT_NE(handle, nullptr);
  return handle;
}

class HiResIconSizeTest : public ::testing::TestWithParam<int> {};

TEST_P(HiResIconSizeTest, ReportsTheRealSize) {
  IconGraphic graphic;
  graphic.SetHandle(Handle(Gradient(GetParam())));
  EXPECT_EQ(graphic.GetWidth(), GetParam());
  EXPECT_EQ(graphic.GetHeight(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Sizes, HiResIconSizeTest, ::testing::Values(16, 48, 256));

TEST(HiResIconTest, StartsAtTheStandardSizeAndFollowsEveryNewHandle) {
  IconGraphic graphic;
  EXPECT_TRUE(graphic.Empty());
  EXPECT_FALSE(graphic.SizeStale);
  EXPECT_EQ(graphic.GetWidth(), 32);
  EXPECT_EQ(graphic.GetHeight(), 32);

  graphic.SetHandle(Handle(Gradient(48)));
  EXPECT_TRUE(graphic.SizeStale);
  EXPECT_EQ(graphic.GetWidth(), 48);
  EXPECT_FALSE(graphic.SizeStale);
  graphic.SetHandle(Handle(Gradient(16)));
  EXPECT_EQ(graphic.GetWidth(), 16);

  // Without a handle the last known size stays.
  graphic.SetHandle(nullptr);
  EXPECT_EQ(graphic.GetHeight(), 16);
}

TEST(HiResIconTest, MonochromeMeasuresSquare) {
  DibLayout layout{.Width = 32, .Height = 32, .BitCount = 1};
  layout.Palette = {Rgba(0, 0, 0), Rgba(255, 255, 255)};
  layout.Pixels.assign(32 * 32, 1);
  IconGraphic graphic;
  graphic.SetHandle(Handle(layout));
  ASSERT_TRUE(graphic.Handle()->Monochrome);
  EXPECT_EQ(graphic.GetWidth(), 32);
  EXPECT_EQ(graphic.GetHeight(), 32);
}

TEST(HiResIconTest, DrawsAtItsOwnSizeFromTheRectangleCorner) {
  IconGraphic graphic;
  graphic.SetHandle(Handle(Gradient(48, 24)));
  RgbaCanvas canvas(64, 64, Rgba(0, 0, 0, 0));
  graphic.Draw(canvas, IconRect{5, 7, 37, 39});
  EXPECT_EQ(PixelOf(canvas, 4, 7), Rgba(0, 0, 0, 0));
  EXPECT_EQ(PixelOf(canvas, 5, 6), Rgba(0, 0, 0, 0));
  EXPECT_EQ(PixelOf(canvas, 5, 7), Rgba(0, 0, 0, 0));  // masked diagonal, black XOR: unchanged
  EXPECT_EQ(PixelOf(canvas, 6, 7), Rgba(1, 0, 1, 255));
  // Beyond the 32x32 rectangle: the icon is drawn at 48, not stretched or cut.
  EXPECT_EQ(PixelOf(canvas, 5 + 40, 7 + 45), Rgba(40, 45, 40 ^ 45, 255));
  EXPECT_EQ(PixelOf(canvas, 5 + 47, 7 + 46), Rgba(47, 46, 47 ^ 46, 255));
  EXPECT_EQ(PixelOf(canvas, 5 + 48, 7 + 46), Rgba(0, 0, 0, 0));

  IconGraphic empty;
  const RgbaCanvas before = canvas;
  empty.Draw(canvas, IconRect{0, 0, 32, 32});
  EXPECT_EQ(canvas.Rgba, before.Rgba);
}

// The icon file written by the graphic: header, one entry, then the image at offset 22.
struct SavedIcon {
  std::vector<std::uint8_t> Bytes;
  IconHandle Decoded;
};

SavedIcon Save(const IconGraphic& graphic) {
  MemoryStream stream;
  WriteGraphicIconFile(graphic, stream);
  SavedIcon saved{stream.Bytes(), nullptr};
  const ByteCursor file(saved.Bytes);
  if (const auto image = file.Sub(22, file.U32At(14).value_or(0))) {
    saved.Decoded = CreateIconFromResource(image->Bytes(), 0, 0);
  }
  return saved;
}

TEST(HiResIconTest, SavesOneThirtyTwoBitImageThatReadsBackUnchanged) {
  IconGraphic graphic;
  graphic.SetHandle(Handle(Gradient(5)));  // odd width: padded mask rows
  const SavedIcon saved = Save(graphic);
  ASSERT_EQ(saved.Bytes.size(), 22u + 40 + 5 * 5 * 4 + 5 * 4);
  const ByteCursor file(saved.Bytes);
  EXPECT_EQ(file.U16At(0), 0);
  EXPECT_EQ(file.U16At(2), 1);
  EXPECT_EQ(file.U16At(4), 1);
  EXPECT_EQ(file.U8At(6), 5);
  EXPECT_EQ(file.U8At(7), 5);
  EXPECT_EQ(file.U16At(8), 0);
  EXPECT_EQ(file.U16At(10), 1);
  EXPECT_EQ(file.U16At(12), 32);
  EXPECT_EQ(file.U32At(18), 22u);
  EXPECT_EQ(file.U32At(22 + 8), 10u);  // height counts colour bits and mask
  ASSERT_NE(saved.Decoded, nullptr);
  EXPECT_TRUE(saved.Decoded->HasAlpha);
  EXPECT_EQ(PixelsOf(*saved.Decoded), PixelsOf(*graphic.Handle()));
  EXPECT_EQ(saved.Decoded->Mask, graphic.Handle()->Mask);
}

TEST(HiResIconTest, ImageWithoutAlphaKeepsMaskAndXorColoursWhenSaved) {
  DibLayout layout{.Width = 3, .Height = 2, .BitCount = 4};
  layout.Palette = {Rgba(0, 0, 0), Rgba(255, 255, 255), Rgba(200, 10, 10)};
  layout.Pixels = {2, 1, 0, 0, 2, 1};
  layout.Mask = {0, 1, 1, 0, 0, 0};  // a masked white pixel inverts the background
  IconGraphic graphic;
  graphic.SetHandle(Handle(layout));
  const SavedIcon saved = Save(graphic);
  ASSERT_NE(saved.Decoded, nullptr);
  EXPECT_FALSE(saved.Decoded->HasAlpha);
  EXPECT_EQ(PixelsOf(*saved.Decoded), PixelsOf(*graphic.Handle()));
  EXPECT_EQ(saved.Decoded->Mask, layout.Mask);
}

TEST(HiResIconTest, FullyTransparentAlphaImageStaysInvisibleWhenSaved) {
  const std::vector<std::uint32_t> clear(4, Rgba(255, 255, 255, 0));
  IconGraphic graphic;
  graphic.SetHandle(CreateIconFromResource(testing::BuildPng(2, 2, clear), 0, 0));
  const SavedIcon saved = Save(graphic);
  ASSERT_NE(saved.Decoded, nullptr);
  RgbaCanvas canvas(2, 2, Rgba(10, 20, 30, 255));
  DrawIcon(canvas, 0, 0, *saved.Decoded);
  EXPECT_EQ(PixelOf(canvas, 1, 1), Rgba(10, 20, 30, 255));
}

TEST(HiResIconTest, SizesOf256AreWrittenAsZeroAndEmptyWritesNothing) {
  IconGraphic graphic;
  graphic.SetHandle(Handle(Gradient(256)));
  const SavedIcon saved = Save(graphic);
  EXPECT_EQ(saved.Bytes.at(6), 0);
  EXPECT_EQ(saved.Bytes.at(7), 0);
  ASSERT_NE(saved.Decoded, nullptr);
  EXPECT_EQ(saved.Decoded->Width, 256);

  EXPECT_TRUE(Save(IconGraphic{}).Bytes.empty());
}

TEST(HiResIconTest, IconMadeFromTheGraphicShowsTheSamePixels) {
  IconGraphic graphic;
  graphic.SetHandle(Handle(Gradient(48)));
  AdvancedIcon icon;
  AssignGraphic(icon, graphic);
  ASSERT_EQ(icon.Images.Count(), 1);
  IconImage* image = icon.Images.Get(0);
  EXPECT_EQ(image->Width, 48);
  EXPECT_EQ(image->BitCount, 32);
  const IconHandle handle = DecodedPicture(*image);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(PixelsOf(*handle), PixelsOf(*graphic.Handle()));
}

}  // namespace
}  // namespace pictarix
