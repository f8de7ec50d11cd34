#include "output/SaveFormat.h"

#include <gtest/gtest.h>

namespace pictarix {
namespace {

TEST(SaveFormatTest, FormatFromTheLastExtensionOfTheLastComponent) {
  const struct {
    const char* Name;
    std::optional<SaveFormat> Format;
  } cases[] = {
      {"icon.ico", SaveFormat::Icon}, {"a.gif", SaveFormat::Gif},
      {"a.bmp", SaveFormat::Bitmap},  {"a.jpg", SaveFormat::Jpeg},
      {"a.jpeg", SaveFormat::Jpeg},   {"a.png", SaveFormat::Png},
      {"Pic.JPEG", SaveFormat::Jpeg}, {"A.PNG", SaveFormat::Png},
      {"x.Ico", SaveFormat::Icon},    {"/tmp/dir.d/a.tar.bmp", SaveFormat::Bitmap},
      {".ico", SaveFormat::Icon},     {"pic.txt", std::nullopt},
      {"pic", std::nullopt},          {"pic.", std::nullopt},
      {"dir.png/pic", std::nullopt},  {"a.png.bak", std::nullopt},
      {"a.jpe", std::nullopt},        {"a.jpgx", std::nullopt},
      {"a. png", std::nullopt},       {"", std::nullopt},
      {"a.tif", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFromExt(c.Name), c.Format) << c.Name;
}

TEST(SaveFormatTest, ExtensionWrittenPerFormat) {
  EXPECT_EQ(ExtFromFormat(SaveFormat::Icon), ".ico");
  EXPECT_EQ(ExtFromFormat(SaveFormat::Gif), ".gif");
  EXPECT_EQ(ExtFromFormat(SaveFormat::Bitmap), ".bmp");
  EXPECT_EQ(ExtFromFormat(SaveFormat::Jpeg), ".jpg");
  EXPECT_EQ(ExtFromFormat(SaveFormat::Png), ".png");
  for (const auto format :
       {SaveFormat::Icon, SaveFormat::Gif, SaveFormat::Bitmap, SaveFormat::Jpeg, SaveFormat::Png})
    EXPECT_EQ(FormatFromExt("x" + ExtFromFormat(format)), format);
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
