#include "output/SaveFormat.h"

#include <gtest/gtest.h>

namespace pictarix {
namespace {

TEST(SaveFormatTest, FormatFromTheLastExtensionOfTheLastComponent) {
  const struct {
    const char* Name;
    int Format;
  } cases[] = {
      {"icon.ico", sfIcon}, {"a.gif", sfGif},
      {"a.bmp", sfBitmap},  {"a.jpg", sfJpeg},
      {"a.jpeg", sfJpeg},   {"a.png", sfPng},
      {"Pic.JPEG", sfJpeg}, {"A.PNG", sfPng},
      {"x.Ico", sfIcon},    {"/tmp/dir.d/a.tar.bmp", sfBitmap},
      {".ico", sfIcon},     {"pic.txt", -1},
      {"pic", -1},          {"pic.", -1},
      {"dir.png/pic", -1},  {"a.png.bak", -1},
      {"a.jpe", -1},        {"a.jpgx", -1},
      {"a. png", -1},       {"", -1},
      {"a.tif", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFromExt(c.Name), c.Format) << c.Name;
}

TEST(SaveFormatTest, ExtensionWrittenPerFormat) {
  EXPECT_EQ(ExtFromFormat(sfIcon), ".ico");
  EXPECT_EQ(ExtFromFormat(sfGif), ".gif");
  EXPECT_EQ(ExtFromFormat(sfBitmap), ".bmp");
  EXPECT_EQ(ExtFromFormat(sfJpeg), ".jpg");
  EXPECT_EQ(ExtFromFormat(sfPng), ".png");
  EXPECT_EQ(ExtFromFormat(-1), "");
  EXPECT_EQ(ExtFromFormat(5), "");
  for (int format = sfIcon; format <= sfPng; ++format) {
    EXPECT_EQ(FormatFromExt("x" + ExtFromFormat(format)), format);
  }
}

TEST(SaveFormatTest, ReplaceExtChangesOrAppendsTheExtension) {
  EXPECT_EQ(ReplaceExt("pic.txt", ".ico"), "pic.ico");
  EXPECT_EQ(ReplaceExt("pic", ".ico"), "pic.ico");
  EXPECT_EQ(ReplaceExt("pic.", ".ico"), "pic.ico");
  EXPECT_EQ(ReplaceExt("/a/dir.d/pic", ".ico"), "/a/dir.d/pic.ico");
  EXPECT_EQ(ReplaceExt("/a/dir.d/pic.tar.gz", ".ico"), "/a/dir.d/pic.tar.ico");
  EXPECT_EQ(ReplaceExt(".hidden", ".ico"), ".ico");
}

}  // namespace
}  // namespace pictarix
