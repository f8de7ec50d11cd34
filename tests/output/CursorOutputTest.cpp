#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "formats/ani/AnimatedCursorReader.h"
#include "formats/cur/CursorFileReader.h"
#include "output/EntryListFixture.h"
#include "output/ExportImages.h"
#include "output/LibraryCommands.h"
#include "output/SaveEntry.h"
#include "support/CursorBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace pictarix::testing;

// Two frames, the second shown first: frame 0 holds 32x32 and 16x16, frame 1 two 32x32 images.
const Bytes kAnimated = RiffFile(
    {AniHeader(2, 2, 6, 3), Chunk("seq ", Words({1, 0})), Chunk("rate", Words({6, 12})),
     List("fram",
          {Chunk("icon", CursorFile({{SquareImage(32, 4), 1, 2}, {SquareImage(16, 4), 3, 4}})),
           Chunk("icon", CursorFile({{SquareImage(32, 4), 5, 6}, {SquareImage(32, 4), 7, 8}}))})});

std::unique_ptr<AdvancedIcon> Animated() {
  auto cursor = std::make_unique<AdvancedIcon>();
  ReadAnimatedCursor(kAnimated, *cursor);
  return cursor;
}

std::unique_ptr<AdvancedIcon> StillCursor() {
  MemoryStream file(CursorFile({{SquareImage(32, 8), 3, 9}}));
  auto cursor = std::make_unique<AdvancedIcon>();
  ReadCursorFile(file, *cursor);
  return cursor;
}

std::string TextOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CursorOutputTest, ExportNamesFramesAndWritesTheCursorFileInStepOrder) {
  TempDir dir;
  const auto cursor = Animated();
  const auto plan = PlanEntryExport(*cursor, 7, dir.Path(), {});
  std::vector<std::string> names;
  for (const ExportItem& item : plan) names.push_back(item.Path.filename().string());
  EXPECT_EQ(names,
            (std::vector<std::string>{"7-f0-32x32-4.png", "7-f0-16x16-4.png", "7-f1-32x32-4.png",
                                      "7-f1-32x32-4-2.png", "7.cursor"}));
  EXPECT_TRUE(WriteEntryExport(*cursor, plan).empty());
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "7-f1-32x32-4-2.png"));
  // What an Xcursor file holds: a size at a time, steps in order, one image per size and frame
  // (of frame 1's two 32x32 images of equal depth, the later).
  EXPECT_EQ(TextOf(dir.Path() / "7.cursor"),
            "16 3 4 7-f0-16x16-4.png 200\n"
            "32 7 8 7-f1-32x32-4-2.png 100\n32 1 2 7-f0-32x32-4.png 200\n");

  // A size selects per frame, and images keep their names.
  ExportSelection sized;
  sized.Which = ExportSelection::Mode::Size;
  sized.Size = 16;
  EXPECT_EQ(PlanEntryExport(*cursor, 7, "out", sized).back().Text,
            "16 3 4 7-f0-16x16-4.png 200\n32 7 8 7-f1-32x32-4-2.png 100\n");
  // A still cursor: delay 0, as its Xcursor file says.
  EXPECT_EQ(PlanEntryExport(*StillCursor(), 2, "out", {}).back().Text, "32 3 9 2-32x32-8.png 0\n");
  // Named after the caption, frames keep their part; no spaces, for xcursorgen.
  UniqueFileNames captions(UniqueFileNames::Repeat::Dashed);
  EXPECT_EQ(PlanCaptionExport(*cursor, "a busy", "out", {}, captions).back().Text,
            "16 3 4 a_busy-f0-16x16.png 200\n32 7 8 a_busy-f1-32x32-2.png 100\n"
            "32 1 2 a_busy-f0-32x32.png 200\n");
}

TEST(CursorOutputTest, FormatsAndLibrariesRefuseTheWrongKind) {
  TempDir dir;
  EntryListFixture fixture;
  fixture.Add(MakeIcon({{32, 8}}));
  fixture.Add(StillCursor());
  fixture.Add(Animated());
  const auto save = [&](int entry, SaveFormat format) {
    return SaveEntryPicture(fixture.Entry(entry), fixture.LargeImgs,
                            dir.Path() / ("e" + std::to_string(entry) + ExtFromFormat(format)),
                            format);
  };
  EXPECT_EQ(save(0, SaveFormat::Cursor), SaveResult::WrongKind);
  EXPECT_EQ(save(0, SaveFormat::AnimatedCursor), SaveResult::WrongKind);
  EXPECT_EQ(save(1, SaveFormat::AnimatedCursor), SaveResult::WrongKind);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "e0.cur"));
  EXPECT_EQ(save(1, SaveFormat::Icon), SaveResult::Written);
  EXPECT_EQ(save(2, SaveFormat::Cursor), SaveResult::Written);
  EXPECT_EQ(save(2, SaveFormat::AnimatedCursor), SaveResult::Written);
  EXPECT_EQ(ReadWholeFile(dir.Path() / "e2.ani"), kAnimated);

  EntrySelection refused;
  EXPECT_EQ(SaveEntriesToLibrary(fixture.Select({0, 1, 2}), dir.Path() / "l.icl", false, &refused),
            1);
  ASSERT_EQ(refused.size(), 2u);
  EXPECT_EQ(refused[0].Position, 1);
  EXPECT_EQ(refused[1].Position, 2);
}

}  // namespace
}  // namespace pictarix
