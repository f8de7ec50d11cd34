#include <gtest/gtest.h>

#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include "formats/IconLibrary.h"
#include "formats/pe/PeReader.h"
#include "os/Stream.h"
#include "support/IconFileBuilder.h"
#include "support/NeBuilder.h"
#include "support/PeFixture.h"
#include "support/PeModuleBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A module made in memory whose groups each list small bitmaps by id.
class GroupModule {
 public:
  // The images `missing` are listed but not added.
  void AddGroup(const ResourceName& name, const std::vector<std::uint16_t>& ids,
                const std::set<std::uint16_t>& missing = {}) {
    std::vector<testing::NeGroupEntry> entries;
    for (const auto id : ids) {
      const Bytes image = testing::DibImage(16, 4, static_cast<std::uint8_t>(id));
      entries.push_back(testing::EntryFor(image, id));
      if (missing.count(id) == 0 && added_.insert(id).second) {
        Module.AddResource(kResourceTypeIcon, ResourceName::FromId(id), image);
      }
    }
    Module.AddResource(kResourceTypeGroupIcon, name, testing::GroupDirectory(entries));
  }

  testing::PeModuleBuilder Module;

 private:
  std::set<std::uint16_t> added_;
};

struct ReaderRun {
  std::vector<std::string> Names;
  std::vector<int> ImageCounts;
  std::vector<std::pair<int, int>> Progress;
  int NumberedGroups = 0;
};

ReaderRun ReadModule(const GroupModule& module, FileIconsOptions options = {}) {
  ReaderRun run;
  options.Progress = [&run](std::int32_t total, std::int32_t current) {
    run.Progress.emplace_back(total, current);
  };
  const auto resources = module.Module.Open();
  const FileIcons read = ReadPeIcons(*resources, options);
  EXPECT_EQ(read.Found, Container::PeModule);
  run.NumberedGroups = read.NumberedGroups;
  for (const auto& entry : read.Icons) {
    run.Names.push_back(entry.Name);
    run.ImageCounts.push_back(entry.Icon->Images.Count());
  }
  return run;
}

TEST(PeReaderTest, NamesEveryGroupAfterItsResourceInDirectoryOrder) {
  GroupModule module;
  module.AddGroup(ResourceName::FromName(u"FOLDER"), {1, 2});
  module.AddGroup(ResourceName::FromId(1), {3});
  module.AddGroup(ResourceName::FromId(2), {});
  module.AddGroup(ResourceName::FromId(32512), {4});
  module.AddGroup(ResourceName::FromName(std::u16string{u'A', 0xD800}), {5});
  const ReaderRun run = ReadModule(module);
  EXPECT_EQ(run.Names, (std::vector<std::string>{"FOLDER", "1", "2", "32512", "A\uFFFD"}));
  EXPECT_EQ(run.ImageCounts, (std::vector<int>{2, 1, 0, 1, 1}));
  EXPECT_EQ(run.Progress,
            (std::vector<std::pair<int, int>>{{5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}}));
}

TEST(PeReaderTest, NumberSignNamesBeepAndLoadByTheirNumber) {
  GroupModule module;
  module.AddGroup(ResourceName::FromId(7), {1});
  // Loaded by its full name, this group would have no images.
  module.Module.AddResource(kResourceTypeGroupIcon, ResourceName::FromName(u"#7"), Bytes{0, 0});
  module.AddGroup(ResourceName::FromName(u"#abc"), {2});
  module.AddGroup(ResourceName::FromName(u"#70000"), {3});
  const ReaderRun run = ReadModule(module);
  EXPECT_EQ(run.NumberedGroups, 3);
  // "#7" is loaded as id 7; names that are no id are loaded by their full name.
  EXPECT_EQ(run.Names, (std::vector<std::string>{"7", "7", "#abc", "#70000"}));
  EXPECT_EQ(run.ImageCounts, (std::vector<int>{1, 1, 1, 1}));
}

TEST(PeReaderTest, GroupsThatAreNoIconDirectoriesGiveIconsWithoutImages) {
  GroupModule module;
  module.AddGroup(ResourceName::FromId(1), {1});
  Bytes cursor = testing::GroupDirectory({testing::EntryFor(testing::DibImage(16, 4, 2), 2)});
  cursor[2] = 2;  // a cursor directory
  module.Module.AddResource(kResourceTypeGroupIcon, ResourceName::FromId(2), cursor);
  EXPECT_EQ(ReadModule(module).ImageCounts, (std::vector<int>{1, 0}));

  EXPECT_TRUE(ReadModule(GroupModule()).Names.empty());  // no group icons at all
}

TEST(PeReaderTest, ModulesThatDoNotOpenRaiseAndGroupsThatCannotBeFetchedAreLeftOut) {
  GroupModule module;
  module.AddGroup(ResourceName::FromId(1), {1});
  module.AddGroup(ResourceName::FromId(2), {2, 3}, {3});
  module.AddGroup(ResourceName::FromId(3), {4});
  // Listed, but its data cannot be reached.
  module.Module.AddUnreadable(kResourceTypeGroupIcon, ResourceName::FromId(4));
  const ReaderRun run = ReadModule(module);
  EXPECT_EQ(run.Names, (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(run.ImageCounts, (std::vector<int>{1, 1}));

  Bytes broken = module.Module.Build();
  broken[0x58] = 0;  // no optional header magic
  MemoryStream stream(broken);
  EXPECT_THROW(ReadFileIcons(stream, "x.dll"), IconLibraryError);
}

TEST(PeReaderTest, AThumbnailReadEndsAtTheFirstIconWithImagesAndAStopBetweenIcons) {
  GroupModule module;
  module.AddGroup(ResourceName::FromId(1), {});
  module.AddGroup(ResourceName::FromId(2), {1}, {1});
  module.AddGroup(ResourceName::FromId(3), {2});
  module.AddGroup(ResourceName::FromId(4), {3});
  FileIconsOptions first;
  first.UntilFirstWithImages = true;
  EXPECT_EQ(ReadModule(module, first).Names, (std::vector<std::string>{"1", "3"}));

  std::stop_source stop;
  FileIconsOptions stopping;
  stopping.Stop = stop.get_token();
  std::vector<std::string> names;
  stopping.Progress = [&](std::int32_t, std::int32_t current) {
    if (current == 3) stop.request_stop();
  };
  const FileIcons read = ReadPeIcons(*module.Module.Open(), stopping);
  for (const auto& entry : read.Icons) names.push_back(entry.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"1", "3"}));  // the icon in hand is finished
}

// A real module whose first group names an icon image it lacks: the library keeps the others.
TEST(PeReaderTest, AGroupNamingAMissingImageLeavesOutThatIconOnly) {
  const auto tools = testing::Pe32PlusToolchain();
  if (!tools.Available()) GTEST_SKIP() << "MinGW windres/ld not installed";
  testing::TempDir dir;
  testing::IconFileBuilder icon;
  icon.AddImage(testing::BlankDibImage(32, 32, 4));
  testing::WriteBytes(dir.Path() / "a.ico", icon.Build());
  testing::ByteWriter group;  // one 32x32 image with id 99, which the module does not hold
  group.U16(0).U16(1).U16(1).U8(32).U8(32).U16(16).U16(1).U16(4).U32(744).U16(99);
  testing::WriteBytes(dir.Path() / "missing.bin", group.Data());
  const auto module =
      testing::BuildModule(tools, dir.Path(), "m", "1 14 \"missing.bin\"\n5 ICON \"a.ico\"\n");
  ASSERT_TRUE(module);

  IconLibrary library;
  ASSERT_EQ(library.LoadFromFile(*module), LoadOutcome::Loaded);
  ASSERT_EQ(library.Icons.Count(), 1);
  EXPECT_EQ(library.Icons.Name(0), "5");
  EXPECT_EQ(library.Icons.Icon(0).Images.Count(), 1);
  EXPECT_EQ(library.FileName, *module);
}

}  // namespace
}  // namespace pictarix
