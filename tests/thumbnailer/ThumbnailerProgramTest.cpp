#include <gtest/gtest.h>

#include <sys/wait.h>

#include "ThumbnailFixtures.h"
#include "support/HarvestFixtures.h"
#include "support/NeBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

class ThumbnailerProgramTest : public ::testing::Test {
 protected:
  // The exit status of the thumbnailer run with these arguments (stderr kept in `err`).
  int Run(const std::vector<std::string>& args) {
    std::string command = PICTARIX_THUMBNAILER;
    for (const auto& arg : args) command += " '" + arg + "'";
    const auto errPath = dir.Path() / "stderr.txt";
    const int raw = std::system((command + " 2>'" + errPath.string() + "'").c_str());
    const auto bytes = ReadWholeFile(errPath);
    err.assign(bytes.begin(), bytes.end());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  // Width and height from the PNG header, when OUTPUT is an 8-bit RGBA PNG.
  std::pair<int, int> RgbaPngSize() {
    const auto bytes = ReadWholeFile(output);
    if (bytes.size() < 26 || bytes[24] != 8 || bytes[25] != 6) return {0, 0};
    const auto at = [&](std::size_t i) {
      return (bytes[i] << 24) | (bytes[i + 1] << 16) | (bytes[i + 2] << 8) | bytes[i + 3];
    };
    return {at(16), at(20)};
  }
  testing::TempDir dir;
  std::string err;
  testing::ThumbnailFixtures fixtures = testing::WriteThumbnailFixtures(dir.Path());
  std::filesystem::path output = dir.Path() / "thumb.png";
};

TEST_F(ThumbnailerProgramTest, FirstIconOfEveryKindOfFile) {
  EXPECT_EQ(Run({"-s", "128", "file://" + fixtures.Library.string(), output}), 0);
  EXPECT_EQ(RgbaPngSize(), std::make_pair(128, 128));
  EXPECT_EQ(Run({fixtures.Program16, output}), 0);
  EXPECT_EQ(RgbaPngSize(), std::make_pair(32, 32));
  const auto iconFile = dir.Path() / "Tall.ICO";
  testing::WriteIconFile(iconFile, {{24, 32}});
  EXPECT_EQ(Run({"-s", "16", iconFile, output}), 0);
  EXPECT_EQ(RgbaPngSize(), std::make_pair(16, 16));
  if (fixtures.Module.empty()) GTEST_SKIP() << "no MinGW tools to link a PE module";
  // The first group, though it has no 32x32 image and the second does.
  EXPECT_EQ(Run({"-s", "256", fixtures.Module, output}), 0);
  EXPECT_EQ(RgbaPngSize(), std::make_pair(48, 48));
}

TEST_F(ThumbnailerProgramTest, FailuresLeaveNoOutput) {
  // An icon library whose only image lies past the end of the file.
  testing::NeFile hostile = testing::IclFile({{"A", {testing::SquareImage(32, 4)}}});
  hostile.Types[0].Resources[0].OffsetUnits = 0xFFFF;
  const auto broken = dir.Path() / "broken.icl";
  testing::WriteBytes(broken, std::span<const std::uint8_t>(hostile.Build()));
  const auto text = dir.Path() / "notes.ico";
  testing::WriteBytes(text, std::vector<std::uint8_t>{'M', 'Z', 'n', 'o'});
  for (const auto& input : {broken, text, dir.Path() / "missing.exe", dir.Path()})
    EXPECT_EQ(Run({input, output}), 1) << input;
  EXPECT_EQ(Run({fixtures.Library, (dir.Path() / "no/such/folder.png").string()}), 1);
  EXPECT_EQ(Run({"-s", "0", fixtures.Library, output}), 2);
  EXPECT_EQ(Run({fixtures.Library}), 2);
  EXPECT_EQ(Run({"file://elsewhere/x.exe", output}), 2);
  EXPECT_EQ(Run({"http://host/x.exe", output}), 2);
  EXPECT_EQ(Run({"smb://server/share/x.dll", output}), 2);
  EXPECT_FALSE(std::filesystem::exists(output));
  // Names on stderr never carry raw controls.
  EXPECT_EQ(Run({(dir.Path() / "a\x1B[2J\a\r\u202Eb.exe").string(), output}), 1);
  EXPECT_NE(err.find("a\\x1B[2J\\x07\\x0D\\u{202E}b.exe"), std::string::npos) << err;
}

}  // namespace
}  // namespace pictarix
