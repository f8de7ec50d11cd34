#include "output/SaveFormat.h"

#include <gtest/gtest.h>

namespace pictarix {
namespace {

TEST(SaveFormatTest, FormatFromTheLastExtensionOfTheLastComponent) {
  const struct {
    const char* Name;
    std::optional<TSaveFormat> Format;
  } cases[] = {
      {"icon.ico", TSaveFormat::Icon}, {"a.gif", TSaveFormat::Gif},
      {"a.bmp", TSaveFormat::Bitmap},  {"a.jpg", TSaveFormat::Jpeg},
      {"a.jpeg", TSaveFormat::Jpeg},   {"a.png", TSaveFormat::Png},
      {"Pic.JPEG", TSaveFormat::Jpeg}, {"A.PNG", TSaveFormat::Png},
      {"x.Ico", TSaveFormat::Icon},    {"/tmp/dir.d/a.tar.bmp", TSaveFormat::Bitmap},
      {".ico", TSaveFormat::Icon},     {"pic.txt", std::nullopt},
      {"pic", std::nullopt},           {"pic.", std::nullopt},
      {"dir.png/pic", std::nullopt},   {"a.png.bak", std::nullopt},
      {"a.jpe", std::nullopt},         {"a.jpgx", std::nullopt},
      {"a. png", std::nullopt},        {"", std::nullopt},
      {"a.tif", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFromExt(c.Name), c.Format) << c.Name;
}

TEST(SaveFormatTest, ExtensionWrittenPerFormat) {
  EXPECT_EQ(ExtFromFormat(TSaveFormat::Icon), ".ico");
  EXPECT_EQ(ExtFromFormat(TSaveFormat::Gif), ".gif");
  EXPECT_EQ(ExtFromFormat(TSaveFormat::Bitmap), ".bmp");
  EXPECT_EQ(ExtFromFormat(TSaveFormat::Jpeg), ".jpg");
  EXPECT_EQ(ExtFromFormat(TSaveFormat::Png), ".png");
  for (const auto format : {TSaveFormat::Icon, TSaveFormat::Gif, TSaveFormat::Bitmap,
                            TSaveFormat::Jpeg, TSaveFormat::Png})
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
