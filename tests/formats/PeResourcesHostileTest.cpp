// Damaged resource directories, made by patching a real module after linking: every lookup
// that meets the damage fails cleanly, and the rest of the module still reads.
#include <gtest/gtest.h>

#include <memory>

#include "formats/pe/PeResourceDirectory.h"
#include "formats/pe/PeResources.h"
#include "os/Stream.h"
#include "support/IconFileBuilder.h"
#include "support/PeBytes.h"
#include "support/PeFixture.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::PeBytes;

const ResourceName kGroup1 = ResourceName::FromId(1);
const ResourceName kGroup2 = ResourceName::FromId(2);
const ResourceName kLastGroup = ResourceName::FromId(32512);

class PeResourcesHostileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const auto tools = testing::Pe32PlusToolchain();
    if (!tools.Available()) return;
    dir_ = std::make_unique<testing::TempDir>();
    testing::IconFileBuilder icon;
    icon.AddImage(testing::BlankDibImage(16, 16, 32));
    testing::WriteBytes(dir_->Path() / "a.ico", icon.Build());
    module_ = testing::BuildModule(tools, dir_->Path(), "m",
                                   "1 ICON \"a.ico\"\n2 ICON \"a.ico\"\n"
                                   "32512 ICON \"a.ico\"\nZebra ICON \"a.ico\"\n");
  }
  static void TearDownTestSuite() { dir_.reset(); }

  void SetUp() override {
    if (!module_) GTEST_SKIP() << "MinGW windres/ld not installed or failed";
    bytes_ = std::make_unique<PeBytes>(*module_);
  }

  std::unique_ptr<PeResources> Open() const {
    return PeResources::Open(std::make_unique<MemoryStream>(bytes_->Bytes()));
  }

  std::uint64_t TypeTable(std::uint16_t type) const {
    return bytes_->Target(bytes_->EntryWithId(bytes_->Root(), type));
  }
  std::uint64_t GroupEntry(std::uint16_t id) const {
    return bytes_->EntryWithId(TypeTable(kResourceTypeGroupIcon), id);
  }
  std::uint64_t LanguageTable(std::uint16_t group) const {
    return bytes_->Target(GroupEntry(group));
  }
  std::uint64_t DataEntry(std::uint16_t group) const {
    return bytes_->Target(bytes_->EntryAt(LanguageTable(group), 0));
  }
  std::uint64_t DataOffset(std::uint64_t dataEntry) const {
    return bytes_->ResourceSectionOffset() + bytes_->U32(dataEntry) - bytes_->ResourceSectionRva();
  }

  // The module reads as built: four groups, the first image fetchable.
  static void ExpectRestReads(PeResources& module) {
    EXPECT_EQ(module.Names(kResourceTypeGroupIcon).size(), 4u);
    EXPECT_TRUE(module.Resource(kResourceTypeIcon, ResourceName::FromId(1)));
  }

  static inline std::unique_ptr<testing::TempDir> dir_;
  static inline std::optional<std::filesystem::path> module_;
  std::unique_ptr<PeBytes> bytes_;
};

TEST_F(PeResourcesHostileTest, LoopsBackToAnAncestorAreRefused) {
  // The group type's table is the root itself.
  bytes_->PointAtTable(bytes_->EntryWithId(bytes_->Root(), kResourceTypeGroupIcon), bytes_->Root());
  auto module = Open();
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(module->Names(kResourceTypeGroupIcon).empty());
  EXPECT_EQ(module->IconCount(), 0);
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kGroup1));
  EXPECT_TRUE(module->Resource(kResourceTypeIcon, ResourceName::FromId(1)));

  // A name's language table is the type table above it; a language table points at itself.
  ASSERT_NE(module_, std::nullopt);
  bytes_ = std::make_unique<PeBytes>(*module_);
  bytes_->PointAtTable(GroupEntry(2), TypeTable(kResourceTypeGroupIcon));
  const std::uint64_t languages = LanguageTable(32512);
  bytes_->PointAtTable(bytes_->EntryAt(languages, 0), languages);
  module = Open();
  ASSERT_NE(module, nullptr);
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kGroup2));
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kLastGroup));
  EXPECT_TRUE(module->Resource(kResourceTypeGroupIcon, kGroup1));
  ExpectRestReads(*module);
}

TEST_F(PeResourcesHostileTest, AFourthLevelIsRefused) {
  // Group 1's language entry is marked as a table, placed on group 2's data entry: taken as
  // data it would fetch group 2.
  bytes_->PointAtTable(bytes_->EntryAt(LanguageTable(1), 0), DataEntry(2));
  const auto module = Open();
  ASSERT_NE(module, nullptr);
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kGroup1));
  EXPECT_TRUE(module->Resource(kResourceTypeGroupIcon, kGroup2));
  ExpectRestReads(*module);
}

TEST(ResourceDirectoryPathTest, RefusesBytesAlreadyOnThePathButNotTheirNeighbours) {
  ResourceDirectoryPath path;
  EXPECT_TRUE(path.Enter(0, 32));
  EXPECT_TRUE(path.Enter(32, 24));  // right after
  EXPECT_FALSE(path.Enter(0, 16));  // the root again
  EXPECT_FALSE(path.Enter(40, 8));  // inside the second table
  EXPECT_FALSE(path.Enter(31, 1));  // the root's last byte
  EXPECT_TRUE(path.Enter(56, 16));
}

TEST_F(PeResourcesHostileTest, CountsAndOffsetsBeyondTheSectionAreRefused) {
  // The icon table claims 65535 id entries more than the section holds.
  bytes_->SetU16(TypeTable(kResourceTypeIcon) + 14, 0xFFFF);
  // The string name lies far outside.
  const std::uint64_t named = bytes_->EntryAt(TypeTable(kResourceTypeGroupIcon), 0);
  bytes_->SetU32(named, 0x80000000u | 0x7FFFFFF0u);
  // Group 2's language table lies just past the end of the section.
  bytes_->PointAtTable(GroupEntry(2),
                       bytes_->ResourceSectionOffset() + bytes_->ResourceSectionRawSize());
  const auto module = Open();
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(module->Names(kResourceTypeIcon).empty());
  EXPECT_FALSE(module->Resource(kResourceTypeIcon, ResourceName::FromId(1)));
  // The unreadable name is left out; the ids remain.
  EXPECT_EQ(module->Names(kResourceTypeGroupIcon),
            (std::vector<ResourceName>{kGroup1, kGroup2, kLastGroup}));
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, ResourceName::FromName(u"ZEBRA")));
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kGroup2));
  EXPECT_TRUE(module->Resource(kResourceTypeGroupIcon, kGroup1));
}

TEST_F(PeResourcesHostileTest, EntriesSharingOneLongNameCannotMultiplyIt) {
  // The string name grows to fill the section from where it starts, and group 1 becomes a
  // second entry with that name: together they would hold more than the section.
  const std::uint64_t named = bytes_->EntryAt(TypeTable(kResourceTypeGroupIcon), 0);
  const std::uint32_t nameOffset = bytes_->U32(named) & 0x7FFFFFFFu;
  const std::uint32_t room = bytes_->ResourceSectionRawSize() - nameOffset;
  ASSERT_LT(nameOffset, bytes_->ResourceSectionRawSize() / 2);
  bytes_->SetU16(bytes_->ResourceSectionOffset() + nameOffset,
                 static_cast<std::uint16_t>((room - 2) / 2));
  bytes_->SetU32(GroupEntry(1), bytes_->U32(named));
  const auto module = Open();
  ASSERT_NE(module, nullptr);
  const auto names = module->Names(kResourceTypeGroupIcon);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_FALSE(names[0].IsId);
  EXPECT_EQ(names[0].Name.size(), (room - 2) / 2);
  EXPECT_EQ(names[1], kGroup2);
}

TEST_F(PeResourcesHostileTest, DataOutsideTheFileOrItsSectionIsNotFetched) {
  bytes_->SetU32(DataEntry(1), 0x7FFFFFF0);      // RVA in no section
  bytes_->SetU32(DataEntry(2) + 4, 0xFFFFFFFF);  // 4 GiB: never allocated
  const std::uint64_t last = DataEntry(32512);   // runs past the section's raw data
  bytes_->SetU32(last, bytes_->ResourceSectionRva() + bytes_->ResourceSectionRawSize() - 4);
  bytes_->SetU32(last + 4, 8);
  const auto module = Open();
  ASSERT_NE(module, nullptr);
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kGroup1));
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kGroup2));
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kLastGroup));
  EXPECT_TRUE(module->Resource(kResourceTypeGroupIcon, ResourceName::FromName(u"Zebra")));
  ExpectRestReads(*module);
}

TEST_F(PeResourcesHostileTest, TruncatedModulesGiveWhatTheyStillHold) {
  const std::uint64_t lastData = DataOffset(DataEntry(32512));
  ASSERT_LT(DataOffset(bytes_->Target(bytes_->EntryAt(
                bytes_->Target(bytes_->EntryWithId(TypeTable(kResourceTypeIcon), 1)), 0))),
            lastData);
  bytes_->Bytes().resize(static_cast<std::size_t>(lastData + 1));
  auto module = Open();
  ASSERT_NE(module, nullptr);
  EXPECT_FALSE(module->Resource(kResourceTypeGroupIcon, kLastGroup));
  ExpectRestReads(*module);

  // Cut inside the root table: the module opens and has nothing.
  bytes_->Bytes().resize(static_cast<std::size_t>(bytes_->Root() + 20));
  module = Open();
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(module->Names(kResourceTypeGroupIcon).empty());
  EXPECT_FALSE(module->Resource(kResourceTypeIcon, ResourceName::FromId(1)));
}

}  // namespace
}  // namespace pictarix
