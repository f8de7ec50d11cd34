// Xcursor files and cursor themes, loaded back with libXcursor itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "formats/ani/AnimatedCursorReader.h"
#include "formats/cur/CursorFileReader.h"
#include "model/Animation.h"
#include "os/Errors.h"
#include "os/Stream.h"
#include "output/CursorSchemeTheme.h"
#include "output/XcursorFile.h"
#include "output/XcursorLibrary.h"
#include "support/CursorBuilder.h"
#include "support/DibBuilder.h"
#include "support/FileBytes.h"
#include "support/IconFileBuilder.h"
#include "support/TempDir.h"

// libXcursor's loading functions (its header drags in Xlib's macros), linked into the tests.
extern "C" {
pictarix::XcursorImages* XcursorFilenameLoadAllImages(const char* file);
pictarix::XcursorImages* XcursorLibraryLoadImages(const char* name, const char* theme, int size);
void XcursorImagesDestroy(pictarix::XcursorImages* images);
}

namespace pictarix {
namespace {

namespace fs = std::filesystem;
using testing::ByteVector;
using testing::Rgba;

// A square picture of one colour, its top-left pixel half transparent.
std::vector<std::uint32_t> Pixels(int side, std::uint32_t colour) {
  std::vector<std::uint32_t> pixels(side * side, colour);
  pixels[0] = (colour & 0xFFFFFF00u) | 0x80;
  return pixels;
}

std::uint32_t Premultiplied(std::uint32_t rgba) {
  const std::uint32_t a = rgba & 0xFF;
  const auto channel = [&](int shift) { return (((rgba >> shift) & 0xFF) * a + 127) / 255; };
  return a << 24 | channel(24) << 16 | channel(16) << 8 | channel(8);
}

// A cursor file: a 32x32 DIB (and a 4-bit one of the same size), a 16x16 PNG.
ByteVector CursorOf(std::uint32_t colour, std::uint16_t hot) {
  return testing::CursorFile(
      {{testing::BlankDibImage(32, 32, 4), 1, 1},
       {testing::BuildDib({.Width = 32, .Height = 32, .Pixels = Pixels(32, colour)}), hot, hot},
       {testing::BuildPng(16, 16, Pixels(16, colour)), 40, 40}});
}

using LoadedImages = std::unique_ptr<XcursorImages, decltype(&::XcursorImagesDestroy)>;

LoadedImages LoadAll(const fs::path& file) {
  return {XcursorFilenameLoadAllImages(file.c_str()), &::XcursorImagesDestroy};
}

void ExpectImage(const XcursorImage& image, std::uint32_t side, std::uint32_t hot,
                 std::uint32_t delay, std::uint32_t colour) {
  EXPECT_EQ(image.size, side);
  EXPECT_EQ(image.width, side);
  EXPECT_EQ(image.height, side);
  EXPECT_EQ(image.xhot, hot);
  EXPECT_EQ(image.yhot, hot);
  EXPECT_EQ(image.delay, delay);
  EXPECT_EQ(image.pixels[0], Premultiplied((colour & 0xFFFFFF00u) | 0x80));
  EXPECT_EQ(image.pixels[side * side - 1], Premultiplied(colour));
}

TEST(XcursorFileTest, StillCursorKeepsOneImagePerSizeWithHotspots) {
  testing::TempDir temp;
  MemoryStream stream(CursorOf(Rgba(200, 100, 50), 7));
  AdvancedIcon cursor;
  ASSERT_TRUE(ReadCursorFile(stream, cursor));
  SaveXcursorFile(cursor, temp.Path() / "arrow");
  const LoadedImages images = LoadAll(temp.Path() / "arrow");
  ASSERT_TRUE(images);
  ASSERT_EQ(images->nimage, 2);  // the 4-bit 32x32 image gives way to the 32-bit one
  ExpectImage(*images->images[0], 16, 15, 0, Rgba(200, 100, 50));  // hotspot moved inside
  ExpectImage(*images->images[1], 32, 7, 0, Rgba(200, 100, 50));
}

TEST(XcursorFileTest, AnimatedCursorPlaysItsStepsAtEverySize) {
  testing::TempDir temp;
  const std::uint32_t red = Rgba(255, 0, 0), blue = Rgba(0, 0, 255, 200);
  using testing::Chunk;
  const ByteVector ani = testing::RiffFile(
      {testing::AniHeader(2, 3, 1, 3), Chunk("rate", testing::Words({2, 3, 6})),
       Chunk("seq ", testing::Words({1, 0, 1})),
       testing::List("fram", {Chunk("icon", CursorOf(red, 3)), Chunk("icon", CursorOf(blue, 5))})});
  AdvancedIcon cursor;
  ASSERT_EQ(ReadAnimatedCursor(ani, cursor), "");
  SaveXcursorFile(cursor, temp.Path() / "watch");
  const LoadedImages images = LoadAll(temp.Path() / "watch");
  ASSERT_TRUE(images);
  ASSERT_EQ(images->nimage, 6);
  // Grouped by size, in step order within a size; jiffies of 1/60 s as rounded milliseconds.
  const std::uint32_t delays[] = {33, 50, 100};
  for (int step = 0; step < 3; ++step) {
    const std::uint32_t colour = step == 1 ? red : blue;
    const std::uint32_t hot = step == 1 ? 3 : 5;
    ExpectImage(*images->images[step], 16, 15, delays[step], colour);
    ExpectImage(*images->images[3 + step], 32, hot, delays[step], colour);
  }
  EXPECT_EQ(DelayMilliseconds(1), 17u);
}

TEST(XcursorFileTest, RefusesMoreThanAFileHoldsAndUndecodableCursors) {
  auto frame = std::make_unique<AdvancedIcon>();
  MemoryStream stream(testing::CursorFile({{testing::BuildPng(256, 256, Pixels(256, 0)), 0, 0}}));
  ASSERT_TRUE(ReadCursorFile(stream, *frame));
  auto animation = std::make_shared<Animation>();
  animation->Frames.push_back(std::move(frame));
  animation->Steps.assign(1000, AnimationStep{0, 1});  // 65 million pixels
  AdvancedIcon cursor;
  cursor.Kind = EntryKind::Animated;
  cursor.Frames = animation;
  EXPECT_THROW(XcursorPicturesOf(cursor), FormatError);

  MemoryStream garbage(testing::CursorFile({{ByteVector(64, 0xEE), 0, 0}}));
  AdvancedIcon broken;
  ASSERT_TRUE(ReadCursorFile(garbage, broken));
  EXPECT_THROW(XcursorPicturesOf(broken), FormatError);
}

TEST(CursorSchemeThemeTest, ThemeIsFoundByLibXcursorByFileNamesOrTheInf) {
  testing::TempDir temp;
  const fs::path themes = temp.Path() / "themes";
  fs::create_directory(themes);
  // libXcursor reads the variable once, on its first look-up.
  ASSERT_EQ(setenv("XCURSOR_PATH", themes.c_str(), 1), 0);
  const fs::path plain = temp.Path() / "Plain Pack";
  fs::create_directory(plain);
  testing::WriteBytes(plain / "Pointer.cur", CursorOf(Rgba(1, 2, 3), 4));
  testing::WriteBytes(plain / "help.cur", ByteVector(10, 0));  // unreadable
  const CursorThemeResult byName = WriteCursorThemeFromScheme(plain, themes, "");
  EXPECT_EQ(byName.Name, "Plain Pack");
  ASSERT_EQ(byName.Problems.size(), 1u);
  EXPECT_EQ(byName.Problems[0].rfind("help.cur: ", 0), 0u) << byName.Problems[0];
  EXPECT_EQ(byName.Written.MissingRoles.size(), kCursorRoleCount - 1);
  EXPECT_EQ(byName.Written.MissingRoles.front(), 1u);  // Help

  const fs::path withInf = temp.Path() / "pack";
  fs::create_directory(withInf);
  testing::WriteBytes(withInf / "A1.CUR", CursorOf(Rgba(9, 8, 7), 6));
  const std::string inf =
      "[Scheme.Reg]\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"Brass\",,"
      "\"%10%\\Cursors\\a1.cur,\"\n";
  testing::WriteBytes(withInf / "install.inf", ByteVector(inf.begin(), inf.end()));
  EXPECT_EQ(WriteCursorThemeFromScheme(withInf, themes, "").Name, "Brass");

  // The window's way: entries, roles by caption.
  std::vector<ListEntry> entries(2);
  entries[0].Caption = "Busy";
  entries[1].Caption = "NORMAL";
  for (ListEntry& entry : entries) {
    entry.Icon = std::make_unique<AdvancedIcon>();
    MemoryStream stream(CursorOf(Rgba(5, 5, 5), 2));
    ASSERT_TRUE(ReadCursorFile(stream, *entry.Icon));
  }
  const CursorThemeResult fromList =
      WriteCursorThemeFromEntries(SelectAllEntries(entries), themes, "Listed", "");
  EXPECT_EQ(fromList.Written.MissingRoles.size(), kCursorRoleCount - 2);

  for (const auto& [theme, hot] :
       {std::pair{"Plain Pack", 4u}, std::pair{"Brass", 6u}, std::pair{"Listed", 2u}}) {
    for (const char* name : {"left_ptr", "default"}) {
      const LoadedImages images(XcursorLibraryLoadImages(name, theme, 32), &::XcursorImagesDestroy);
      ASSERT_TRUE(images) << theme << " " << name;
      EXPECT_EQ(images->images[0]->xhot, hot);
    }
  }
}

}  // namespace
}  // namespace pictarix
