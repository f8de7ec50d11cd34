#include <gtest/gtest.h>

#include "formats/ico/IconFileReader.h"
#include "os/Stream.h"
#include "support/CursorBuilder.h"
#include "support/DibBuilder.h"
#include "support/FileBytes.h"
#include "support/HarvestFixtures.h"
#include "support/IconFileBuilder.h"
#include "support/TempDir.h"
#include "thumbnailer/FirstIcon.h"
#include "thumbnailer/Thumbnail.h"
#include "thumbnailer/ThumbnailArguments.h"

namespace pictarix::thumbnailer {
namespace {

TEST(ThumbnailArgumentsTest, InputIsAPathOrALocalFileUri) {
  EXPECT_EQ(InputPath("/a/b c.exe"), std::filesystem::path("/a/b c.exe"));
  EXPECT_EQ(InputPath("relative.dll"), std::filesystem::path("relative.dll"));
  EXPECT_EQ(InputPath("file:///a%20b/caf%C3%a9%25.exe"), std::filesystem::path("/a b/café%.exe"));
  EXPECT_EQ(InputPath("FILE://localhost/x.icl"), std::filesystem::path("/x.icl"));
  EXPECT_EQ(InputPath("a:b/c.exe"), std::filesystem::path("a:b/c.exe"));  // no scheme's "//"
  EXPECT_EQ(InputPath("./http://x.exe"), std::filesystem::path("./http://x.exe"));
  for (const char* bad : {"", "file://server/x.exe", "file:/x.exe", "file:///%2", "file:///%zz",
                          "file:///a%00b", "file://", "http://host/x.exe",
                          "smb://server/share/a.dll", "SFTP://h/a.exe", "x-git+ssh://h/a.exe"})
    EXPECT_FALSE(InputPath(bad)) << bad;
}

TEST(ThumbnailArgumentsTest, SizeAndOperands) {
  const auto plain = ParseArguments({"in.exe", "out.png"});
  ASSERT_TRUE(plain.Arguments);
  EXPECT_EQ(plain.Arguments->Size, 256);
  const auto sized = ParseArguments({"-s", "4096", "file:///in.exe", "out.png"});
  ASSERT_TRUE(sized.Arguments);
  EXPECT_EQ(sized.Arguments->Size, 4096);
  EXPECT_EQ(sized.Arguments->Input, std::filesystem::path("/in.exe"));
  for (const auto& bad : std::vector<std::vector<std::string>>{{"in"},
                                                               {"in", "out", "more"},
                                                               {"-s", "0", "in", "out"},
                                                               {"-s", "4097", "in", "out"},
                                                               {"-s", "12x", "in", "out"},
                                                               {"in", "out", "-s"},
                                                               {"-q", "in", "out"},
                                                               {"in", ""}})
    EXPECT_FALSE(ParseArguments(bad).Arguments) << ::testing::PrintToString(bad);
}

TEST(ThumbnailTest, FitKeepsTheAspectRatioAndNeverEnlarges) {
  EXPECT_EQ(FitWithin(256, 128, 100).Width, 100);
  EXPECT_EQ(FitWithin(256, 128, 100).Height, 50);
  EXPECT_EQ(FitWithin(1000, 1, 10).Height, 1);
  EXPECT_EQ(FitWithin(16, 8, 256).Width, 16);
}

std::uint32_t PixelAt(const RgbaPicture& picture, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * picture.Width + x) * 4;
  return (std::uint32_t{picture.Rgba.at(at)} << 24) | (picture.Rgba.at(at + 1) << 16) |
         (picture.Rgba.at(at + 2) << 8) | picture.Rgba.at(at + 3);
}

TEST(ThumbnailTest, SmallestImageReachingTheSizeElseTheLargestAtItsOwnSize) {
  const auto icon = testing::MakeIcon({{16, 4}, {256, 32}, {48, 8}});
  const std::vector<std::pair<int, int>> cases{{32, 48}, {48, 48}, {1024, 256}, {8, 16}};
  for (const auto& [size, side] : cases) {
    const auto picture = MakeThumbnail(*icon, size);
    ASSERT_TRUE(picture) << size;
    EXPECT_EQ(std::min(size, side), picture->Width) << size;
    EXPECT_EQ(picture->Width, picture->Height);
  }
  // 256 reduced to 128: the red square in the middle, its clear border kept clear.
  const auto reduced = MakeThumbnail(*icon, 128);
  ASSERT_TRUE(reduced);
  EXPECT_EQ(reduced->Width, 128);
  EXPECT_EQ(PixelAt(*reduced, 64, 64), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(*reduced, 2, 2) & 0xFF, 0u);
  EXPECT_FALSE(MakeThumbnail(*testing::MakeIcon({}), 128));
}

TEST(ThumbnailTest, StoredRgbaPngIsWrittenAsStoredOnlyWhenItFits) {
  const auto png = testing::BuildPng(64, 64, std::vector<std::uint32_t>(64 * 64, 0x00FF0080u));
  testing::IconFileBuilder file;
  file.AddImage(png);
  MemoryStream stream(file.Build());
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  EXPECT_EQ(ThumbnailPng(icon, 64), png);
  const auto reduced = ThumbnailPng(icon, 32);
  ASSERT_TRUE(reduced);
  EXPECT_NE(*reduced, png);
}

TEST(ThumbnailTest, AnAnimatedCursorShowsTheFrameOfItsFirstStep) {
  using namespace pictarix::testing;
  const testing::TempDir dir;
  const auto frame = [](int size) {
    return Chunk("icon", CursorFile({{SquareImage(size, 8), 0, 0}}));
  };
  const auto ani = dir.Path() / "busy.ani";
  WriteBytes(ani, RiffFile({AniHeader(2, 2, 6, 3), Chunk("seq ", Words({1, 0})),
                            List("fram", {frame(16), frame(48)})}));
  const auto cursor = LoadFirstIcon(ani);
  ASSERT_TRUE(cursor);
  const auto picture = MakeThumbnail(*cursor, 256);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Width, 48);
}

}  // namespace
}  // namespace pictarix::thumbnailer
