#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "formats/IconLibrary.h"
#include "formats/ico/IconFileReader.h"
#include "os/EscapedText.h"
#include "os/Stream.h"
#include "support/CursorBuilder.h"
#include "support/FileBytes.h"
#include "support/HarvestFixtures.h"
#include "support/IconFileBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::WriteIconFile;
using testing::WriteIconLibrary;

struct CliResult {
  int Status = -1;
  std::string Out;
  std::string Err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs pictarix-cli with the arguments; stdout and stderr go to files beside the test's folder.
// `launcher`, when given, starts the program (such as a change of user).
CliResult RunCli(const testing::TempDir& dir, const std::vector<std::string>& args,
                 const std::string& launcher = "") {
  std::string command = launcher + Quote(PICTARIX_CLI);
  for (const auto& arg : args) command += " " + Quote(arg);
  const auto out = dir.Path() / "stdout.txt";
  const auto err = dir.Path() / "stderr.txt";
  command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
  const int raw = std::system(command.c_str());
  CliResult result;
  result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.Out = Slurp(out);
  result.Err = Slurp(err);
  return result;
}

class CliTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (dir.Path() / name).string(); }
  CliResult Cli(const std::vector<std::string>& args) { return RunCli(dir, args); }
  testing::TempDir dir;
};

TEST_F(CliTest, BadUsageAnswersTwoWithTheUsageText) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"list"},
                                             {"list", "--bogus", "x"},
                                             {"save", "x"},
                                             {"save", "--format", "tiff", "--output", ".", "x"},
                                             {"icl"},
                                             {"xcursor", "x"},
                                             {"theme", "--output", ".", "a", "b"},
                                             {"save", "--format"}}) {
    const CliResult result = Cli(args);
    EXPECT_EQ(result.Status, 2) << ::testing::PrintToString(args);
    EXPECT_NE(result.Err.find("usage: pictarix-cli"), std::string::npos);
    EXPECT_TRUE(result.Out.empty());
  }
  const CliResult help = Cli({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("pictarix-cli theme --output DIR [--name NAME] FOLDER"),
            std::string::npos);
  EXPECT_EQ(Cli({"--version"}).Out, "pictarix-cli 4.5\n");
}

TEST_F(CliTest, ListJsonDescribesEveryEntryFieldByField) {
  std::filesystem::create_directory(PathOf("tree"));
  WriteIconFile(PathOf("tree/a.ico"), {{32, 8}, {16, 4}});
  const CliResult result = Cli({"list", "--json", PathOf("tree")});
  ASSERT_EQ(result.Status, 0) << result.Err;
  const std::string file = PathOf("tree") + "/a.ico";
  EXPECT_EQ(result.Out,
            "[\n  {\"index\": 0, \"file\": \"" + file +
                "\", \"name\": \"a\", \"tile\": 1, \"images\": [{\"width\": 16, \"height\": 16, "
                "\"bits\": 4, \"png\": false, \"stored\": {\"width\": 16, \"height\": 16, "
                "\"colors\": 16, \"planes\": 1, \"bits\": 4, \"bytes\": 296}}, "
                "{\"width\": 32, \"height\": 32, \"bits\": 8, \"png\": false, \"stored\": "
                "{\"width\": 32, \"height\": 32, \"colors\": 256, \"planes\": 1, \"bits\": 8, "
                "\"bytes\": 2216}}]}\n]\n");
  EXPECT_EQ(result.Err, "1 files, 1 icons\n");
  // A PNG image: its real size and depth, and the directory fields as its first bytes give them.
  testing::IconFileBuilder png;
  png.AddImage(testing::PngImageStub(256, 256));
  testing::WriteBytes(PathOf("png.ico"), png.Build());
  EXPECT_NE(Cli({"list", "--all", "--json", PathOf("png.ico")})
                .Out.find("[{\"width\": 256, \"height\": 256, \"bits\": 32, \"png\": true, "
                          "\"stored\": {\"width\": 0, \"height\": 0, \"colors\": 0, "),
            std::string::npos);
}

TEST_F(CliTest, ListAllAddsIconsWithoutATileAndEscapesNames) {
  WriteIconLibrary(PathOf("lib.icl"), {{"with \"quote\"", {{32, 4}}}, {"small", {{16, 4}}}});
  const CliResult plain = Cli({"list", "--json", PathOf("lib.icl")});
  EXPECT_NE(plain.Out.find("\"name\": \"with \\\"quote\\\"\""), std::string::npos);
  EXPECT_EQ(plain.Out.find("small"), std::string::npos);
  const CliResult all = Cli({"list", "--all", "--json", PathOf("lib.icl")});
  EXPECT_NE(all.Out.find("\"name\": \"small\", \"tile\": -1"), std::string::npos);
  EXPECT_EQ(Cli({"list", "--json", PathOf("empty-dir-none")}).Status, 1);
}

TEST_F(CliTest, MissingPathsAreReportedAndTheOthersStillHarvested) {
  WriteIconFile(PathOf("a.ico"), {{32, 4}});
  const CliResult result = Cli({"list", PathOf("missing.dll"), PathOf("a.ico")});
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Err.find("missing.dll"), std::string::npos);
  EXPECT_NE(result.Out.find("\ta\t"), std::string::npos);
  EXPECT_NE(result.Err.find("1 files, 1 icons"), std::string::npos);
}

// An icon file whose 65535 entries all claim the whole file: past the read limit, so the file is
// named with the reason, fails the run as a PATH and is counted as unreadable inside a tree.
TEST_F(CliTest, WhatTheReadLimitLeavesOutIsSaid) {
  std::vector<std::uint8_t> bytes = testing::IconFileBuilder().Count(0xFFFF).Build();
  bytes.resize(6 + 16 * 0xFFFF, 0);
  for (std::size_t i = 0; i < 0xFFFF; ++i) {
    for (int b = 0; b < 4; ++b)
      bytes[6 + 16 * i + 8 + b] = static_cast<std::uint8_t>(bytes.size() >> (8 * b));
  }
  std::filesystem::create_directory(PathOf("tree"));
  testing::WriteBytes(PathOf("tree/shared.ico"), bytes);
  WriteIconFile(PathOf("tree/a.ico"), {{32, 4}});

  const CliResult named = Cli({"list", PathOf("tree/shared.ico")});
  EXPECT_EQ(named.Status, 1);
  EXPECT_NE(
      named.Err.find("shared.ico: Icon images claim more than their file can hold (read limit)"),
      std::string::npos)
      << named.Err;
  const CliResult tree = Cli({"list", PathOf("tree")});
  EXPECT_EQ(tree.Status, 0);
  EXPECT_NE(tree.Err.find("2 files, 1 icons, 1 unreadable"), std::string::npos) << tree.Err;
}

TEST_F(CliTest, SaveIcoWritesEveryEntryByIndex) {
  WriteIconLibrary(PathOf("lib.icl"), {{"x", {{32, 4}, {16, 8}}}, {"y", {{32, 8}}}});
  std::filesystem::create_directory(PathOf("out"));
  const CliResult result =
      Cli({"save", "--format", "ico", "--output", PathOf("out"), PathOf("lib.icl")});
  ASSERT_EQ(result.Status, 0) << result.Err;
  AdvancedIcon first;
  ASSERT_TRUE(ReadIconFile(PathOf("out/0.ico"), first));
  EXPECT_EQ(first.Images.Count(), 2);
  EXPECT_TRUE(std::filesystem::exists(PathOf("out/1.ico")));
  EXPECT_FALSE(std::filesystem::exists(PathOf("out/2.ico")));
}

TEST_F(CliTest, SaveRefusesAMissingOrUnwritableFolder) {
  WriteIconFile(PathOf("a.ico"), {{32, 4}});
  EXPECT_EQ(Cli({"save", "--format", "ico", "--output", PathOf("nowhere"), PathOf("a.ico")}).Status,
            1);
  std::ofstream(PathOf("plain")) << "x";
  EXPECT_EQ(Cli({"save", "--format", "ico", "--output", PathOf("plain"), PathOf("a.ico")}).Status,
            1);
}

// Little-endian and big-endian fields of a written picture (0 past its end).
unsigned Le(const std::string& bytes, std::size_t at, int size) {
  unsigned value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = value << 8 | (at + i < bytes.size() ? static_cast<std::uint8_t>(bytes[at + i]) : 0u);
  }
  return value;
}
unsigned Be(const std::string& bytes, std::size_t at, int size) {
  unsigned value = 0;
  for (int i = 0; i < size; ++i) {
    value = value << 8 | (at + i < bytes.size() ? static_cast<std::uint8_t>(bytes[at + i]) : 0u);
  }
  return value;
}

// The chunk types of a PNG file in order.
std::vector<std::string> PngChunks(const std::string& png) {
  std::vector<std::string> chunks;
  for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + Be(png, at, 4)) {
    chunks.push_back(png.substr(at + 4, 4));
  }
  return chunks;
}

// Width and height from a JPEG's baseline frame header (0, 0 without one).
std::pair<unsigned, unsigned> JpegBaselineSize(const std::string& jpeg) {
  for (std::size_t at = 2; at + 9 <= jpeg.size(); at += 2 + Be(jpeg, at + 2, 2)) {
    if (Be(jpeg, at, 2) == 0xFFC0) return {Be(jpeg, at + 7, 2), Be(jpeg, at + 5, 2)};
  }
  return {0, 0};
}

TEST_F(CliTest, SavePicturesWritesTilesAndTheBestGifImageByIndex) {
  // Entry 0: a 32x32 4-bit tile and a 16x16 8-bit image; entry 1: 32-bit images only.
  WriteIconLibrary(PathOf("lib.icl"), {{"x", {{32, 4}, {16, 8}}}, {"y", {{48, 32}, {32, 32}}}});
  std::filesystem::create_directory(PathOf("out"));
  for (const char* format : {"gif", "bmp", "jpg", "png"}) {
    const CliResult result =
        Cli({"save", "--format", format, "--output", PathOf("out"), PathOf("lib.icl")});
    EXPECT_EQ(result.Status, 0) << format << result.Err;
    EXPECT_TRUE(result.Out.empty());
  }

  const std::string gif = Slurp(PathOf("out/0.gif"));
  EXPECT_EQ(gif.substr(0, 6), "GIF89a");
  EXPECT_EQ(Le(gif, 6, 2), 16u);  // the 8-bit image at its own size, not the tile
  EXPECT_EQ(Le(gif, 8, 2), 16u);
  EXPECT_FALSE(std::filesystem::exists(PathOf("out/1.gif")));  // nothing of at most 256 colours

  for (const char* name : {"out/0.bmp", "out/1.bmp"}) {
    const std::string bmp = Slurp(PathOf(name));
    EXPECT_EQ(bmp.substr(0, 2), "BM") << name;
    EXPECT_EQ(Le(bmp, 18, 4), 32u) << name;
    EXPECT_EQ(Le(bmp, 22, 4), 32u) << name;
    EXPECT_EQ(Le(bmp, 28, 2), 24u) << name;
    EXPECT_EQ(bmp.size(), 54u + 32 * 32 * 3) << name;
  }
  // White around the red square where the icon is transparent (rows bottom-up, blue first).
  const std::string bmp = Slurp(PathOf("out/1.bmp"));
  EXPECT_EQ(bmp.substr(54, 3), "\xFF\xFF\xFF");
  EXPECT_EQ(bmp.substr(54 + (16 * 32 + 16) * 3, 3), std::string("\0\0\xFF", 3));

  for (const char* name : {"out/0.png", "out/1.png"}) {
    const std::string png = Slurp(PathOf(name));
    EXPECT_EQ(Be(png, 16, 4), 32u) << name;
    EXPECT_EQ(Be(png, 20, 4), 32u) << name;
    EXPECT_EQ(png[24], 8) << name;  // bit depth
    EXPECT_EQ(png[25], 2) << name;  // truecolour, no alpha
    const auto chunks = PngChunks(png);
    EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "tRNS"), 0) << name;
  }

  for (const char* name : {"out/0.jpg", "out/1.jpg"}) {
    EXPECT_EQ(JpegBaselineSize(Slurp(PathOf(name))), (std::pair<unsigned, unsigned>{32, 32}))
        << name;
  }
}

TEST_F(CliTest, SaveWritesNoTilePictureForAnEntryWithoutATile) {
  WriteIconLibrary(PathOf("lib.icl"), {{"small", {{16, 4}}}, {"big", {{32, 8}}}});
  std::filesystem::create_directory(PathOf("out"));
  for (const char* format : {"png", "gif", "ico"}) {
    EXPECT_EQ(
        Cli({"save", "--all", "--format", format, "--output", PathOf("out"), PathOf("lib.icl")})
            .Status,
        0);
  }
  EXPECT_FALSE(std::filesystem::exists(PathOf("out/0.png")));
  EXPECT_TRUE(std::filesystem::exists(PathOf("out/1.png")));
  EXPECT_TRUE(std::filesystem::exists(PathOf("out/0.gif")));
  EXPECT_TRUE(std::filesystem::exists(PathOf("out/0.ico")));
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

TEST_F(CliTest, SaveNumbersEntriesAsListDoesAndReportsPicturesThatCannotBeMade) {
  // A 32x32 image cut off after its header: still entry 0, but no tile can be drawn from it.
  testing::IconFileBuilder broken;
  const auto image = testing::BlankDibImage(32, 32, 8);
  broken.AddImage(std::vector<std::uint8_t>(image.begin(), image.begin() + 40));
  WriteBytes(PathOf("broken.ico"), broken.Build());
  WriteIconFile(PathOf("good.ico"), {{32, 4}});
  std::filesystem::create_directory(PathOf("out"));
  const std::vector<std::string> paths{PathOf("broken.ico"), PathOf("good.ico")};
  const auto save = [&](const std::string& format) {
    std::vector<std::string> args{"save", "--format", format, "--output", PathOf("out")};
    args.insert(args.end(), paths.begin(), paths.end());
    return Cli(args);
  };

  EXPECT_EQ(Cli({"list", paths[0], paths[1]}).Out.substr(0, 2), "0\t");
  EXPECT_EQ(save("ico").Status, 0);  // stored images need no decoding
  AdvancedIcon saved;
  ASSERT_TRUE(ReadIconFile(PathOf("out/1.ico"), saved));
  EXPECT_EQ(saved.Images.Get(0)->BitCount, 4);
  EXPECT_TRUE(std::filesystem::exists(PathOf("out/0.ico")));

  const CliResult png = save("png");
  EXPECT_EQ(png.Status, 1);
  EXPECT_NE(png.Err.find("entry 0: "), std::string::npos) << png.Err;
  EXPECT_FALSE(std::filesystem::exists(PathOf("out/0.png")));
  EXPECT_TRUE(std::filesystem::exists(PathOf("out/1.png")));
}

TEST_F(CliTest, IclWritesAndAddsLibrariesWithNumberedNames) {
  WriteIconFile(PathOf("a.ico"), {{32, 4}});
  WriteIconFile(PathOf("b.ico"), {{32, 8}});
  ASSERT_EQ(Cli({"icl", PathOf("out.icl"), PathOf("a.ico")}).Status, 0);
  const CliResult added =
      Cli({"icl", "--add", PathOf("out.icl"), PathOf("b.ico"), PathOf("a.ico")});
  ASSERT_EQ(added.Status, 0) << added.Err;

  IconLibrary library;
  ASSERT_EQ(library.LoadFromFile(PathOf("out.icl")), LoadOutcome::Loaded);
  ASSERT_EQ(library.Icons.Count(), 3);
  EXPECT_EQ(library.Icons.Name(0), "0");
  EXPECT_EQ(library.Icons.Name(1), "1");
  EXPECT_EQ(library.Icons.Name(2), "2");
  EXPECT_EQ(library.Icons.Icon(1).Images.Get(0)->BitCount, 8);
}

TEST_F(CliTest, IclAddRefusesWhatIsNotAnIconLibraryAndLeavesItUntouched) {
  WriteIconFile(PathOf("a.ico"), {{32, 4}});
  std::ofstream(PathOf("notes.txt")) << "keep me";
  const CliResult result = Cli({"icl", "--add", PathOf("notes.txt"), PathOf("a.ico")});
  EXPECT_EQ(result.Status, 1);
  EXPECT_EQ(Slurp(PathOf("notes.txt")), "keep me");

  EXPECT_EQ(Cli({"icl", PathOf("none.icl"), PathOf("notes.txt")}).Status, 1);  // no entry
  EXPECT_FALSE(std::filesystem::exists(PathOf("none.icl")));
}

TEST_F(CliTest, IclRefusesALibraryWhoseNamesTableOffsetWouldWrap) {
  // One icon of 5453 images: 5454 icons and images, the most a library's header can place.
  WriteIconFile(PathOf("a.ico"), {{32, 4}});
  std::vector<std::pair<int, int>> images(5453, {16, 4});
  images[0] = {32, 4};  // a tile, so that the icon is listed
  WriteIconFile(PathOf("many.ico"), images);
  ASSERT_EQ(Cli({"icl", PathOf("out.icl"), PathOf("a.ico")}).Status, 0);
  const std::string before = Slurp(PathOf("out.icl"));

  const CliResult refused = Cli({"icl", "--add", PathOf("out.icl"), PathOf("many.ico")});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("at most 5454 icons and images together"), std::string::npos)
      << refused.Err;
  EXPECT_EQ(Slurp(PathOf("out.icl")), before);

  ASSERT_EQ(Cli({"icl", PathOf("out.icl"), PathOf("many.ico")}).Status, 0);
  const CliResult listed = Cli({"list", PathOf("out.icl")});
  EXPECT_EQ(listed.Status, 0);
  EXPECT_NE(listed.Out.find("\t5453 images"), std::string::npos) << listed.Out;
}

}  // namespace
}  // namespace pictarix

namespace pictarix {
namespace {

TEST_F(CliTest, FileNamesThatAreNotUtf8KeepTheirBytesInJson) {
  const std::string name = "caf\xE9.ico";  // Latin-1 bytes, not UTF-8
  WriteIconFile(dir.Path() / name, {{32, 4}});
  const CliResult result = Cli({"list", "--json", PathOf(name)});
  ASSERT_EQ(result.Status, 0) << result.Err;
  // The path as surrogate escapes, which Python's os.fsencode turns back into the bytes; the
  // caption is text, made valid when the file was harvested.
  EXPECT_NE(result.Out.find("/caf\\udce9.ico\", \"name\": \"caf\xEF\xBF\xBD\""), std::string::npos)
      << result.Out;
  EXPECT_NE(Cli({"list", PathOf(name)}).Out.find("\tcaf\xEF\xBF\xBD\t"), std::string::npos);
}

}  // namespace
}  // namespace pictarix

namespace pictarix {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CliTest, ExportWritesEachChosenImageOnceWithItsOwnName) {
  WriteIconLibrary(PathOf("lib.icl"),
                   {{"app", {{32, 4}, {48, 32}, {16, 8}}}, {"tool", {{32, 8}, {32, 8}}}});
  std::filesystem::create_directory(PathOf("out"));
  const std::string out = PathOf("out");
  const CliResult every = Cli({"export", PathOf("lib.icl"), "--output", out});
  ASSERT_EQ(every.Status, 0) << every.Err;
  EXPECT_EQ(Lines(every.Out),
            (std::vector<std::string>{out + "/0-32x32-4.png", out + "/0-16x16-8.png",
                                      out + "/0-48x48-32.png", out + "/1-32x32-8.png",
                                      out + "/1-32x32-8-2.png"}));
  for (const auto& path : Lines(every.Out)) EXPECT_EQ(Slurp(path).substr(1, 3), "PNG") << path;

  EXPECT_EQ(Cli({"export", "--output", out, "--largest", "--entry", "1", PathOf("lib.icl")}).Out,
            out + "/1-32x32-8-2.png\n");  // a tie: the later image
  EXPECT_EQ(Cli({"export", "--output=" + out, "--size", "20", "--name", "app", "--entry", "9",
                 PathOf("lib.icl")})
                .Out,
            out + "/0-32x32-4.png\n");
  // Nothing selected, a missing folder, "--" before a PATH that looks like an option.
  EXPECT_EQ(Cli({"export", "--output", out, "--name", "none", PathOf("lib.icl")}).Status, 1);
  EXPECT_EQ(Cli({"export", "--output", PathOf("nowhere"), PathOf("lib.icl")}).Status, 1);
  std::filesystem::copy_file(PathOf("lib.icl"), PathOf("-lib.icl"));
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  EXPECT_EQ(Cli({"export", "--output", out, "--largest", "--", "-lib.icl"}).Status, 0);
  std::filesystem::current_path(before);
  EXPECT_EQ(Cli({"export", "--output", out, "--largest", "--size", "3", "x"}).Status, 2);
}

TEST_F(CliTest, ControlCharactersInNamesAreEscapedOnEveryLine) {
  EXPECT_EQ(EscapeControlChars("a\nb\tc\\d\x1B[31m\x7F\x01\xC3\xA9"),
            "a\\nb\\tc\\\\d\\x1B[31m\\x7F\\x01\xC3\xA9");
  const std::string name = "fake\n99\tINJECTED\x1B[2J.ico";
  WriteIconFile(dir.Path() / name, {{32, 4}});
  const CliResult list = Cli({"list", PathOf(name), PathOf("gone\x1B]0;x\a")});
  ASSERT_EQ(Lines(list.Out).size(), 1u) << list.Out;
  EXPECT_NE(list.Out.find("fake\\n99\\tINJECTED\\x1B[2J"), std::string::npos);
  EXPECT_EQ(list.Err.find('\x1B'), std::string::npos);
  EXPECT_NE(list.Err.find("gone\\x1B]0;x\\x07"), std::string::npos) << list.Err;
}

TEST_F(CliTest, IclReplacesOnlyAnIconLibraryUnlessForced) {
  WriteIconFile(PathOf("a.ico"), {{32, 4}});
  std::filesystem::copy_file(PathOf("a.ico"), PathOf("keep.ico"));
  const CliResult refused = Cli({"icl", PathOf("keep.ico"), PathOf("a.ico")});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("not an icon library"), std::string::npos);
  EXPECT_EQ(Slurp(PathOf("keep.ico")), Slurp(PathOf("a.ico")));

  ASSERT_EQ(Cli({"icl", PathOf("keep.ico"), PathOf("a.ico"), "--force"}).Status, 0);
  EXPECT_TRUE(IsIconLibraryFile(PathOf("keep.ico")));
  EXPECT_EQ(Cli({"icl", PathOf("keep.ico"), PathOf("a.ico")}).Status, 0);  // a library now
}

TEST_F(CliTest, UnreadableFilesAreCountedAndAnUnreadablePathFailsTheRun) {
  // Root reads every file, so as root the program runs as the unprivileged user "nobody".
  std::string launcher;
  if (::geteuid() == 0) {
    if (std::system("command -v setpriv >/dev/null") != 0) GTEST_SKIP() << "no setpriv";
    launcher = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
  }
  std::filesystem::create_directories(PathOf("tree/sub"));
  WriteIconFile(PathOf("tree/a.ico"), {{32, 4}});
  WriteIconFile(PathOf("tree/sub/locked.ico"), {{32, 4}});
  std::filesystem::permissions(PathOf("tree/sub/locked.ico"), std::filesystem::perms::none);
  const auto as = [&](const std::vector<std::string>& args) { return RunCli(dir, args, launcher); };
  const CliResult tree = as({"list", "--verbose", PathOf("tree")});
  EXPECT_EQ(tree.Status, 0);
  EXPECT_NE(tree.Err.find("2 files, 1 icons, 1 unreadable"), std::string::npos) << tree.Err;
  EXPECT_NE(tree.Err.find("locked.ico: "), std::string::npos);
  EXPECT_EQ(as({"list", PathOf("tree")}).Err.find("locked.ico"), std::string::npos);

  const CliResult argument = as({"list", PathOf("tree/sub/locked.ico"), PathOf("tree/a.ico")});
  EXPECT_EQ(argument.Status, 1);
  EXPECT_NE(argument.Err.find("locked.ico: "), std::string::npos);
  EXPECT_EQ(Lines(argument.Out).size(), 1u);
}

}  // namespace
}  // namespace pictarix

namespace pictarix {
namespace {

TEST_F(CliTest, C1AndBidiCharactersInNamesAreEscapedOnStdoutAndStderr) {
  const std::string name = "x\u009B2J\u0085\u202Eexe.ico\u2028.ico";
  WriteIconFile(dir.Path() / name, {{32, 4}});
  const CliResult list = Cli({"list", PathOf(name), PathOf("gone\u202E\u2066")});
  EXPECT_EQ(list.Status, 1);
  EXPECT_NE(list.Out.find("x\\u{009B}2J\\u{0085}\\u{202E}exe.ico\\u{2028}.ico\t"),
            std::string::npos)
      << list.Out;
  EXPECT_NE(list.Err.find("gone\\u{202E}\\u{2066}: "), std::string::npos) << list.Err;
  for (const std::string raw : {"\u009B", "\u0085", "\u202E", "\u2028", "\u2066"}) {
    EXPECT_EQ(list.Out.find(raw), std::string::npos);
    EXPECT_EQ(list.Err.find(raw), std::string::npos);
  }
}

// Runs pictarix-cli as a shell would after `trap '' PIPE`, its stdout on descriptor `out`.
CliResult RunCliWithStdout(const testing::TempDir& dir, const std::vector<std::string>& args,
                           int out) {
  const std::string errPath = (dir.Path() / "stderr.txt").string();
  std::vector<std::string> words{PICTARIX_CLI};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGPIPE, SIG_IGN);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (err < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0) ::_exit(99);
    ::execv(argv[0], argv.data());
    ::_exit(98);
  }
  int raw = 0;
  ::waitpid(child, &raw, 0);
  CliResult result;
  result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.Err = Slurp(errPath);
  return result;
}

TEST_F(CliTest, OutputThatCannotBeWrittenEndsTheRunAtOnce) {
  std::vector<std::pair<std::string, std::vector<std::pair<int, int>>>> icons;
  for (int i = 0; i < 300; ++i) icons.push_back({"icon number " + std::to_string(i), {{32, 4}}});
  WriteIconLibrary(PathOf("many.icl"), icons);
  std::filesystem::create_directory(PathOf("out"));
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);  // nobody reads: every write fails with EPIPE
  const std::string brokenPipe = "pictarix-cli: cannot write output: Broken pipe\n";
  // A listing stops before its summary line; export harvests first, then writes.
  const std::string harvested = "1 files, 300 icons\n";
  for (const auto& [args, err] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"list", PathOf("many.icl")}, brokenPipe},
           {{"list", "--json", PathOf("many.icl")}, brokenPipe},
           {{"export", "--output", PathOf("out"), PathOf("many.icl")}, harvested + brokenPipe},
           {{"--version"}, brokenPipe}}) {
    const CliResult result = RunCliWithStdout(dir, args, ends[1]);
    EXPECT_EQ(result.Status, 1) << args[0];
    EXPECT_EQ(result.Err, err) << args[0];
  }
  ::close(ends[1]);
  // The export stopped after its first files instead of writing all 300.
  const auto written = std::distance(std::filesystem::directory_iterator(PathOf("out")), {});
  EXPECT_GT(written, 0);
  EXPECT_LT(written, 300);

  const int full = ::open("/dev/full", O_WRONLY);
  if (full < 0) GTEST_SKIP() << "no /dev/full";
  const CliResult result = RunCliWithStdout(dir, {"list", PathOf("many.icl")}, full);
  ::close(full);
  EXPECT_EQ(result.Status, 1);
  EXPECT_EQ(result.Err, "pictarix-cli: cannot write output: No space left on device\n");
}

TEST_F(CliTest, CursorsAreListedWithTheirKindWhenNamedOrAskedFor) {
  std::filesystem::create_directory(dir.Path() / "tree");
  const auto cursor = dir.Path() / "tree" / "Arrow.cur";
  testing::WriteBytes(cursor, testing::CursorFile({{testing::BlankDibImage(32, 32, 1), 3, 9}}));
  const CliResult named = Cli({"list", "--json", cursor.string()});
  EXPECT_EQ(named.Status, 0);
  EXPECT_NE(named.Out.find("\"name\": \"Arrow\", \"kind\": \"cursor\""), std::string::npos)
      << named.Out;
  EXPECT_NE(named.Out.find("\"hotspot\": [3, 9]}"), std::string::npos) << named.Out;

  EXPECT_EQ(Cli({"list", PathOf("tree")}).Out, "");
  const CliResult asked = Cli({"list", "--cursors", PathOf("tree")});
  EXPECT_EQ(asked.Out, "0\t" + cursor.string() + "\tArrow\t1 images\tcursor\n");
}

TEST_F(CliTest, XcursorWritesCursorEntriesAndThemeNamesMissingRoles) {
  const auto cursor = testing::CursorFile({{testing::BlankDibImage(32, 32, 1), 3, 9}});
  std::filesystem::create_directories(dir.Path() / "a");
  std::filesystem::create_directories(dir.Path() / "b");
  std::filesystem::create_directories(dir.Path() / "out");
  testing::WriteBytes(dir.Path() / "a" / "Busy.cur", cursor);
  testing::WriteBytes(dir.Path() / "b" / "Busy.cur", cursor);
  WriteIconFile(PathOf("icon.ico"), {{32, 8}});
  const CliResult written = Cli({"xcursor", "--output", PathOf("out"), PathOf("a/Busy.cur"),
                                 PathOf("icon.ico"), PathOf("b/Busy.cur")});
  EXPECT_EQ(written.Status, 0) << written.Err;
  EXPECT_EQ(written.Out, PathOf("out") + "/Busy\n" + PathOf("out") + "/Busy-2\n");
  const CliResult icons = Cli({"xcursor", "--output", PathOf("out"), PathOf("icon.ico")});
  EXPECT_EQ(icons.Status, 1);
  EXPECT_NE(icons.Err.find("no cursor entry"), std::string::npos) << icons.Err;

  const CliResult noArrow = Cli({"theme", "--output", PathOf("out"), PathOf("a")});
  EXPECT_EQ(noArrow.Status, 1);
  EXPECT_EQ(noArrow.Out, PathOf("out") + "/a\n");
  EXPECT_NE(noArrow.Err.find("no cursor for Arrow, Help, AppStarting, Crosshair,"),
            std::string::npos)
      << noArrow.Err;
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.Path() / "out" / "a" / "cursors" / "watch"));
  testing::WriteBytes(dir.Path() / "b" / "arrow.ani", cursor);  // a cursor file by its content
  const CliResult named = Cli({"theme", "--output", PathOf("out"), "--name", "Mine", PathOf("b")});
  EXPECT_EQ(named.Status, 0) << named.Err;
  EXPECT_TRUE(
      std::filesystem::is_regular_file(dir.Path() / "out" / "Mine" / "cursors" / "left_ptr"));
}

TEST_F(CliTest, CursorOutputsRefuseOtherKindsAndHotspotsAreMovedInside) {
  using namespace pictarix::testing;
  WriteIconFile(PathOf("a.ico"), {{32, 8}});
  // A frame whose hotspot lies past its 32x32 image.
  WriteBytes(PathOf("b.ani"),
             RiffFile({AniHeader(1, 1, 6),
                       List("fram", {Chunk("icon", CursorFile({{SquareImage(32, 8), 40, 5}}))})}));
  std::filesystem::create_directory(PathOf("out"));
  const CliResult save =
      Cli({"save", "--format", "ani", "--output", PathOf("out"), PathOf("a.ico"), PathOf("b.ani")});
  EXPECT_EQ(save.Status, 1);
  EXPECT_NE(
      save.Err.find(
          "pictarix-cli: entry 0: no ani written, \"a\" is an icon, not an animated cursor\n"),
      std::string::npos)
      << save.Err;
  EXPECT_TRUE(std::filesystem::exists(PathOf("out/1.ani")));

  const CliResult icl = Cli({"icl", PathOf("l.icl"), PathOf("a.ico"), PathOf("b.ani")});
  EXPECT_EQ(icl.Status, 1);
  EXPECT_NE(icl.Err.find("pictarix-cli: entry 1: \"b\" is an animated cursor, not an icon; left "
                         "out of the library\n"),
            std::string::npos)
      << icl.Err;
  EXPECT_TRUE(std::filesystem::exists(PathOf("l.icl")));

  const CliResult listed = Cli({"list", "--json", "--verbose", PathOf("b.ani")});
  EXPECT_NE(
      listed.Err.find("pictarix-cli: " + PathOf("b.ani") + ": b: hotspot moved into the image\n"),
      std::string::npos)
      << listed.Err;
  EXPECT_EQ(listed.Out.find("[40, 5]"), std::string::npos) << listed.Out;
  EXPECT_NE(listed.Out.find("\"frames\": [{\"images\": [{\"width\": 32"), std::string::npos);
  EXPECT_NE(listed.Out.find("\"hotspot\": [31, 5]}]}]"), std::string::npos) << listed.Out;
}

}  // namespace
}  // namespace pictarix
