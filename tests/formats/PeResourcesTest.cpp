#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "formats/pe/PeResources.h"
#include "os/Errors.h"
#include "os/Stream.h"
#include "support/IconFileBuilder.h"
#include "support/LittleEndian.h"
#include "support/PeBytes.h"
#include "support/PeFixture.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::PeBytes;
using testing::PeToolchain;

using Bytes = std::vector<std::uint8_t>;

// The module in a file; nothing when it cannot be opened or is no PE module.
std::unique_ptr<PeResources> OpenFile(const std::filesystem::path& path) {
  try {
    auto stream = FileStream::OpenIfRegular(path);
    return stream ? PeResources::Open(std::move(stream)) : nullptr;
  } catch (const FOpenError&) {
    return nullptr;
  }
}

// Group icon records: 6-byte header, then 14-byte entries ending in BytesInRes and the id.
std::uint32_t FirstGroupEntryBytesInRes(const Bytes& group) {
  return testing::U32At(group, 6 + 8);
}
std::uint16_t FirstGroupEntryId(const Bytes& group) {
  return testing::U16At(group, 6 + 12);
}

// Icon images 1..4 (distinct bytes) and a script naming them under ids 1, 2, 32512 and the
// string Zebra, with a data resource between them that is no icon.
class PeResourcesTest : public ::testing::Test {
 protected:
  void BuildOrSkip(const PeToolchain& tools, const std::string& script) {
    if (!tools.Available()) GTEST_SKIP() << "MinGW windres/ld not installed";
    for (std::uint8_t k = 1; k <= 4; ++k) {
      images_.push_back(testing::BlankDibImage(16, 16, 32));
      images_.back().at(40) = k;  // the first colour byte tells the images apart
      testing::IconFileBuilder icon;
      icon.AddImage(images_.back());
      testing::WriteBytes(dir_.Path() / ("i" + std::to_string(k) + ".ico"), icon.Build());
    }
    std::string log;
    const auto built = testing::BuildModule(tools, dir_.Path(), "m", script, &log);
    ASSERT_TRUE(built.has_value()) << log;
    module_ = *built;
  }

  void ExpectGroupShowsImage(PeResources& module, const ResourceName& group, std::size_t image) {
    const auto bytes = module.Resource(kResourceTypeGroupIcon, group);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_EQ(bytes->size(), 6u + 14u);
    EXPECT_EQ(testing::U16At(*bytes, 2), 1);  // icon type
    EXPECT_EQ(testing::U16At(*bytes, 4), 1);  // one image
    EXPECT_EQ(FirstGroupEntryBytesInRes(*bytes), images_.at(image).size());
    EXPECT_EQ(module.Resource(kResourceTypeIcon, ResourceName::FromId(FirstGroupEntryId(*bytes))),
              images_.at(image));
  }

  static constexpr const char* kFourGroups =
      "1 ICON \"i1.ico\"\n"
      "2 ICON \"i2.ico\"\n"
      "3 RCDATA { 1, 2, 3 }\n"
      "32512 ICON \"i3.ico\"\n"
      "Zebra ICON \"i4.ico\"\n";

  testing::TempDir dir_;
  std::vector<Bytes> images_;
  std::filesystem::path module_;
};

TEST_F(PeResourcesTest, GroupNamesComeNamedFirstThenIdsAsStored) {
  BuildOrSkip(testing::Pe32PlusToolchain(), kFourGroups);
  const auto module = OpenFile(module_);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->Names(kResourceTypeGroupIcon),
            (std::vector<ResourceName>{ResourceName::FromName(u"ZEBRA"), ResourceName::FromId(1),
                                       ResourceName::FromId(2), ResourceName::FromId(32512)}));
  EXPECT_EQ(module->IconCount(), 4);
  EXPECT_EQ(module->Names(kResourceTypeIcon).size(), 4u);
  EXPECT_TRUE(module->Names(99).empty());
}

TEST_F(PeResourcesTest, FetchesGroupsByIdAndByNameInAnyCase) {
  BuildOrSkip(testing::Pe32PlusToolchain(), kFourGroups);
  const auto module = OpenFile(module_);
  ASSERT_NE(module, nullptr);
  ExpectGroupShowsImage(*module, ResourceName::FromId(1), 0);
  ExpectGroupShowsImage(*module, ResourceName::FromId(2), 1);
  ExpectGroupShowsImage(*module, ResourceName::FromId(32512), 2);
  ExpectGroupShowsImage(*module, ResourceName::FromName(u"zebra"), 3);
  ExpectGroupShowsImage(*module, ResourceName::FromName(u"ZeBrA"), 3);
  EXPECT_EQ(module->Resource(10, ResourceName::FromId(3)), (Bytes{1, 0, 2, 0, 3, 0}));
}

TEST_F(PeResourcesTest, MissingResourcesAreNotFound) {
  BuildOrSkip(testing::Pe32PlusToolchain(), kFourGroups);
  const auto module = OpenFile(module_);
  ASSERT_NE(module, nullptr);
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, ResourceName::FromId(3)));
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, ResourceName::FromName(u"Zebr")));
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, ResourceName::FromName(u"ZEBRAS")));
  // A string that spells an id is a name, not the id.
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, ResourceName::FromName(u"1")));
  EXPECT_FALSE(module->Resource(99, ResourceName::FromId(1)));
}

TEST_F(PeResourcesTest, Pe32ModulesReadAlike) {
  BuildOrSkip(testing::Pe32Toolchain(), kFourGroups);
  const auto module = OpenFile(module_);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->Names(kResourceTypeGroupIcon),
            (std::vector<ResourceName>{ResourceName::FromName(u"ZEBRA"), ResourceName::FromId(1),
                                       ResourceName::FromId(2), ResourceName::FromId(32512)}));
  ExpectGroupShowsImage(*module, ResourceName::FromId(32512), 2);
  ExpectGroupShowsImage(*module, ResourceName::FromName(u"Zebra"), 3);
}

TEST_F(PeResourcesTest, TheFirstLanguageInDirectoryOrderIsTaken) {
  // Languages are stored in ascending order: German (0x407) before English (0x409), whatever
  // the order of the script.
  BuildOrSkip(testing::Pe32PlusToolchain(),
              "LANGUAGE 9, 1\n5 ICON \"i1.ico\"\nVIEW ICON \"i1.ico\"\n"
              "LANGUAGE 7, 1\n5 ICON \"i2.ico\"\nVIEW ICON \"i2.ico\"\n");
  const auto module = OpenFile(module_);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->Names(kResourceTypeGroupIcon),
            (std::vector<ResourceName>{ResourceName::FromName(u"VIEW"), ResourceName::FromId(5)}));
  ExpectGroupShowsImage(*module, ResourceName::FromId(5), 1);
  ExpectGroupShowsImage(*module, ResourceName::FromName(u"view"), 1);
}

TEST_F(PeResourcesTest, ModulesWithoutGroupIconsOpenEmpty) {
  BuildOrSkip(testing::Pe32PlusToolchain(), "7 RCDATA { 1 }\n");
  const auto module = OpenFile(module_);
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(module->Names(kResourceTypeGroupIcon).empty());
  EXPECT_EQ(module->IconCount(), 0);

  // No resource directory at all, or one that no section holds.
  PeBytes bytes(module_);
  bytes.SetU32(bytes.ResourceDataDirectory(), 0);
  bytes.Save(dir_.Path() / "none.dll");
  const auto none = OpenFile(dir_.Path() / "none.dll");
  ASSERT_NE(none, nullptr);
  EXPECT_TRUE(none->Names(10).empty());
  bytes.SetU32(bytes.ResourceDataDirectory(), 0x7FFF0000);
  bytes.Save(dir_.Path() / "nowhere.dll");
  const auto nowhere = OpenFile(dir_.Path() / "nowhere.dll");
  ASSERT_NE(nowhere, nullptr);
  EXPECT_TRUE(nowhere->Names(10).empty());
}

TEST_F(PeResourcesTest, AModuleCutShortBeforeItsResourcesIsDamaged) {
  BuildOrSkip(testing::Pe32PlusToolchain(), kFourGroups);
  PeBytes bytes(module_);
  std::vector<std::uint8_t> cut = bytes.Bytes();
  cut.resize(static_cast<std::size_t>(bytes.ResourceSectionOffset()));
  testing::WriteBytes(dir_.Path() / "cut.dll", std::span<const std::uint8_t>(cut));
  EXPECT_EQ(OpenFile(dir_.Path() / "cut.dll"), nullptr);
}

TEST_F(PeResourcesTest, FilesThatAreNoPeModuleDoNotOpen) {
  BuildOrSkip(testing::Pe32PlusToolchain(), "7 RCDATA { 1 }\n");
  EXPECT_EQ(OpenFile(dir_.Path() / "missing.dll"), nullptr);
  EXPECT_EQ(OpenFile(dir_.Path()), nullptr);  // a folder
  EXPECT_EQ(PeResources::Open(std::make_unique<MemoryStream>()), nullptr);
  EXPECT_EQ(PeResources::Open(nullptr), nullptr);

  const PeBytes good(module_);
  const std::uint32_t peOffset = good.U32(0x3C);
  const auto opensWhenPatched = [&](std::uint64_t at, std::uint32_t value) {
    PeBytes bytes(module_);
    bytes.SetU32(at, value);
    return PeResources::Open(std::make_unique<MemoryStream>(bytes.Bytes())) != nullptr;
  };
  EXPECT_TRUE(opensWhenPatched(0x38, 0));                 // a field nobody reads
  EXPECT_FALSE(opensWhenPatched(0, 0x00005A4E));          // "NZ"
  EXPECT_FALSE(opensWhenPatched(0x3C, 0xFFFFFFF0));       // the PE header offset past the end
  EXPECT_FALSE(opensWhenPatched(peOffset, 0x0000454E));   // "NE"
  EXPECT_FALSE(opensWhenPatched(peOffset + 24, 0x0107));  // optional header magic of ROM images

  // Cut inside the section table.
  PeBytes cut(module_);
  cut.Bytes().resize(peOffset + 24 + 0xF0 + 20);
  EXPECT_EQ(PeResources::Open(std::make_unique<MemoryStream>(cut.Bytes())), nullptr);
}

}  // namespace
}  // namespace pictarix
