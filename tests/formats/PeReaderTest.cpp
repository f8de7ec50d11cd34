#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "formats/IconLibrary.h"
#include "formats/pe/PeReader.h"
#include "support/IconFileBuilder.h"
#include "support/NeBuilder.h"
#include "support/PeFixture.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A module held in memory: group-icon names in directory order and the resources by name.
class FakeModule : public ModuleResources {
 public:
  explicit FakeModule(bool* released = nullptr) : released_(released) {}
  ~FakeModule() override {
    if (released_ != nullptr) *released_ = true;
  }
  std::vector<ResourceName> EnumResourceNames(std::uint16_t type) override {
    return type == kResourceTypeGroupIcon ? Groups : std::vector<ResourceName>{};
  }
  std::optional<std::vector<std::uint8_t>> FindResource(std::uint16_t type,
                                                        const ResourceName& name) override {
    Fetched.push_back(name);
    const auto found = Resources.find({type, name.IsId ? std::u16string() : name.Name, name.Id});
    if (found == Resources.end()) return std::nullopt;
    return found->second;
  }
  int IconCount() override { return 42; }

  // A group by id or name listing the images `ids`, each a small bitmap.
  void AddGroup(const ResourceName& name, const std::vector<std::uint16_t>& ids) {
    Groups.push_back(name);
    std::vector<testing::NeGroupEntry> entries;
    for (const auto id : ids) {
      const Bytes image = testing::DibImage(16, 4, static_cast<std::uint8_t>(id));
      entries.push_back(testing::EntryFor(image, id));
      Resources[{kResourceTypeIcon, u"", id}] = image;
    }
    Resources[{kResourceTypeGroupIcon, name.IsId ? u"" : name.Name, name.Id}] =
        testing::GroupDirectory(entries);
  }

  std::vector<ResourceName> Groups;
  std::map<std::tuple<std::uint16_t, std::u16string, std::uint16_t>, Bytes> Resources;
  std::vector<ResourceName> Fetched;

 private:
  bool* released_;
};

struct ReaderRun {
  bool Ok = false;
  std::vector<std::string> Names;
  std::vector<int> ImageCounts;
  std::vector<std::pair<int, int>> Progress;
};

ReaderRun ReadModule(std::unique_ptr<FakeModule> module, Beep beep = {}) {
  ReaderRun run;
  auto held = std::make_shared<std::unique_ptr<FakeModule>>(std::move(module));
  PeReader reader(
      "module.dll", [held](const std::filesystem::path&) { return std::move(*held); },
      std::move(beep));
  const auto icons = reader.ReadIcons([&run](std::int32_t total, std::int32_t current) {
    run.Progress.emplace_back(total, current);
  });
  run.Ok = true;
  for (const auto& entry : icons) {
    run.Names.push_back(entry.Name);
    run.ImageCounts.push_back(entry.Icon->Images.Count());
  }
  return run;
}

TEST(PeReaderTest, NamesEveryGroupAfterItsResourceInDirectoryOrder) {
  auto module = std::make_unique<FakeModule>();
  module->AddGroup(ResourceName::FromName(u"FOLDER"), {1, 2});
  module->AddGroup(ResourceName::FromId(1), {3});
  module->AddGroup(ResourceName::FromId(2), {});
  module->AddGroup(ResourceName::FromId(32512), {4});
  module->AddGroup(ResourceName::FromName(std::u16string{u'A', 0xD800}), {5});
  const ReaderRun run = ReadModule(std::move(module));
  EXPECT_TRUE(run.Ok);
  EXPECT_EQ(run.Names, (std::vector<std::string>{"FOLDER", "1", "2", "32512", "A\uFFFD"}));
  EXPECT_EQ(run.ImageCounts, (std::vector<int>{2, 1, 0, 1, 1}));
  EXPECT_EQ(run.Progress,
            (std::vector<std::pair<int, int>>{{42, 1}, {42, 2}, {42, 3}, {42, 4}, {42, 5}}));
}

TEST(PeReaderTest, NumberSignNamesBeepAndLoadByTheirNumber) {
  int beeps = 0;
  auto module = std::make_unique<FakeModule>();
  module->AddGroup(ResourceName::FromId(7), {1});
  module->Groups = {ResourceName::FromName(u"#7")};
  module->AddGroup(ResourceName::FromName(u"#abc"), {2});
  module->AddGroup(ResourceName::FromName(u"#70000"), {3});
  const ReaderRun run = ReadModule(std::move(module), [&beeps] { ++beeps; });
  EXPECT_TRUE(run.Ok);
  EXPECT_EQ(beeps, 3);
  // "#7" is loaded as id 7; names that are no id are loaded by their full name.
  EXPECT_EQ(run.Names, (std::vector<std::string>{"7", "#abc", "#70000"}));
  EXPECT_EQ(run.ImageCounts, (std::vector<int>{1, 1, 1}));
}

TEST(PeReaderTest, GroupsThatAreNoIconDirectoriesGiveIconsWithoutImages) {
  auto module = std::make_unique<FakeModule>();
  module->AddGroup(ResourceName::FromId(1), {1});
  module->Resources[{kResourceTypeGroupIcon, u"", 1}][2] = 2;  // a cursor directory
  const ReaderRun run = ReadModule(std::move(module));
  EXPECT_TRUE(run.Ok);
  EXPECT_EQ(run.ImageCounts, (std::vector<int>{0}));

  EXPECT_TRUE(ReadModule(std::make_unique<FakeModule>()).Ok);  // no group icons at all
}

TEST(PeReaderTest, ModulesThatDoNotOpenRaiseAndGroupsThatCannotBeFetchedAreLeftOut) {
  PeReader reader("x.dll",
                  [](const std::filesystem::path&) { return std::unique_ptr<ModuleResources>(); });
  EXPECT_THROW(reader.ReadIcons({}), IconLibraryError);

  bool released = false;
  auto module = std::make_unique<FakeModule>(&released);
  module->AddGroup(ResourceName::FromId(1), {1});
  module->AddGroup(ResourceName::FromId(2), {2, 3});
  module->AddGroup(ResourceName::FromId(3), {4});
  module->Resources.erase({kResourceTypeIcon, u"", 3});
  module->Groups.push_back(ResourceName::FromId(4));  // listed, but no group resource
  const ReaderRun run = ReadModule(std::move(module));
  EXPECT_TRUE(released);
  EXPECT_EQ(run.Names, (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(run.ImageCounts, (std::vector<int>{1, 1}));
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
