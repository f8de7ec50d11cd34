#include "formats/ico/IconFileReader.h"
#include "output/BatchSave.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "os/Errors.h"
#include "output/EntryListFixture.h"
#include "support/HarvestFixtures.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::MakeIcon;

std::set<std::string> NamesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    names.insert(item.path().filename().string());
  }
  return names;
}

class BatchSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 10; ++i) fixture.Add(MakeIcon({{32, i % 2 == 0 ? 4 : 8}, {16, 4}}));
  }
  testing::TempDir dir;
  testing::EntryListFixture fixture;
};

TEST_F(BatchSaveTest, NamesAreTheFolderTheListPositionAndTheExtension) {
  EXPECT_EQ(BatchFileName("out", 12, SaveFormat::Jpeg), std::filesystem::path("out/12.jpg"));
  EXPECT_EQ(BatchFileName("out/", 0, SaveFormat::Icon), std::filesystem::path("out/0.ico"));
  EXPECT_EQ(BatchFileName("/", 0, SaveFormat::Icon), std::filesystem::path("/0.ico"));  // a root
  EXPECT_EQ(BatchFileName("a", 3, SaveFormat::Png), std::filesystem::path("a/3.png"));
}

TEST_F(BatchSaveTest, SelectedEntriesOnlyNamedByPosition) {
  EXPECT_EQ(BatchSave(fixture.Select({7, 9}), fixture.LargeImgs, dir.Path(), SaveFormat::Icon), 2);
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"7.ico", "9.ico"}));
  AdvancedIcon seventh;
  ASSERT_TRUE(ReadIconFile(dir.Path() / "7.ico", seventh));
  EXPECT_EQ(seventh.Images.Get(1)->BitCount, 8);

  // The same batch again replaces the files without a question.
  EXPECT_EQ(BatchSave(fixture.Select({7, 9}), fixture.LargeImgs, dir.Path().string() + "/",
                      SaveFormat::Icon),
            2);
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"7.ico", "9.ico"}));
}

TEST_F(BatchSaveTest, OnlyTheFourBatchFormatsAreWritten) {
  EXPECT_EQ(BatchSave(fixture.Select({0}), fixture.LargeImgs, dir.Path(), SaveFormat::Png), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  for (const auto format :
       {SaveFormat::Icon, SaveFormat::Gif, SaveFormat::Bitmap, SaveFormat::Jpeg})
    EXPECT_EQ(BatchSave(fixture.Select({0}), fixture.LargeImgs, dir.Path(), format), 1)
        << ExtFromFormat(format);
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"0.ico", "0.gif", "0.bmp", "0.jpg"}));
}

TEST_F(BatchSaveTest, EntriesWithoutAGifImageAreSkippedAndTheBatchGoesOn) {
  fixture.Add(MakeIcon({{32, 32}}));  // entry 10: no image of at most 256 colours
  EXPECT_EQ(BatchSave(fixture.Select({10, 1}), fixture.LargeImgs, dir.Path(), SaveFormat::Gif), 1);
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"1.gif"}));
}

TEST_F(BatchSaveTest, AFailedFileEndsTheBatchAndKeepsWhatWasWritten) {
  std::filesystem::create_directory(dir.Path() / "3.bmp");  // in the second file's place
  EXPECT_THROW(
      BatchSave(fixture.Select({1, 3, 5}), fixture.LargeImgs, dir.Path(), SaveFormat::Bitmap),
      FCreateError);
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"1.bmp", "3.bmp"}));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "3.bmp"));
}

}  // namespace
}  // namespace pictarix
