// Hostile PE modules, made by patching or cutting modules linked by the MinGW binutils: cut at
// every byte, counts at 0 and 0xFFFF, offsets at themselves and past the end, types that share
// one directory, and a group that names one large image 65535 times. Each read ends in a clean
// failure or in resources exactly as the whole module holds them, within the test's memory limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "formats/FileIcons.h"
#include "formats/IconLibrary.h"
#include "formats/ico/GroupIconReader.h"
#include "formats/pe/PeReader.h"
#include "formats/pe/PeResources.h"
#include "harvest/Harvester.h"
#include "model/AdvancedIcon.h"
#include "os/Errors.h"
#include "support/IconFileBuilder.h"
#include "support/PeBytes.h"
#include "support/PeFixture.h"
#include "support/QuietHost.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::PeBytes;

std::unique_ptr<PeResources> Open(const Bytes& bytes) {
  return PeResources::Open(std::make_unique<MemoryStream>(bytes));
}

// What the 32-bit reader makes of the bytes: the icons, or nothing when it fails.
std::optional<std::vector<IconEntry>> ReadIcons(const Bytes& bytes) {
  MemoryStream stream(bytes);
  try {
    return ReadFileIcons(stream, "m.dll").Icons;
  } catch (const IconLibraryError&) {
    return std::nullopt;
  }
}

class PeHostileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto tools = testing::Pe32PlusToolchain();
    if (!tools.Available()) GTEST_SKIP() << "MinGW windres/ld not installed";
    tools_ = tools;
  }

  // Links a module from a resource script, after writing the files it names.
  Bytes Build(const std::string& script) {
    testing::IconFileBuilder large;
    large.AddImage(testing::BlankDibImage(32, 32, 4));
    large.AddImage(testing::BlankDibImage(16, 16, 8));
    testing::WriteBytes(dir_.Path() / "a.ico", large.Build());
    const auto module = testing::BuildModule(tools_, dir_.Path(), "m", script);
    if (!module) ADD_FAILURE() << "the module did not link";
    return module ? PeBytes(*module).Bytes() : Bytes{};
  }

  testing::PeToolchain tools_;
  testing::TempDir dir_;
};

// Cut at every byte of the headers and the resource directory (and every fifth byte of the
// data after it): no module while the headers are cut; then every group and image found is
// exactly what the whole module holds, and the reader fails or reads icons equal to the whole
// module's.
TEST_F(PeHostileTest, CutAtEveryByte) {
  const Bytes whole = Build("1 ICON \"a.ico\"\nSTAR ICON \"a.ico\"\n7 RCDATA { 1, 2 }\n");
  ASSERT_FALSE(whole.empty());
  const auto full = Open(whole);
  ASSERT_NE(full, nullptr);
  const auto groups = full->Names(kResourceTypeGroupIcon);
  ASSERT_EQ(groups.size(), 2u);
  const auto fullIcons = ReadIcons(whole);
  ASSERT_TRUE(fullIcons);

  const std::size_t directoryEnd = PeBytes(dir_.Path() / "m.dll").ResourceSectionOffset() + 0x100;
  int opened = 0;
  int complete = 0;
  for (std::size_t size = 0; size < whole.size(); size += size < directoryEnd ? 1 : 5) {
    SCOPED_TRACE(size);
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
    const auto module = Open(cut);
    if (!module) continue;
    ++opened;
    for (const ResourceName& name : module->Names(kResourceTypeGroupIcon)) {
      ASSERT_NE(std::find(groups.begin(), groups.end(), name), groups.end());
    }
    for (const auto type : {kResourceTypeGroupIcon, kResourceTypeIcon}) {
      for (const ResourceName& name : full->Names(type)) {
        const auto bytes = module->Resource(type, name);
        if (bytes) {
          EXPECT_EQ(*bytes, *full->Resource(type, name));
        }
      }
    }
    const auto icons = ReadIcons(cut);
    if (!icons) continue;
    for (const IconEntry& entry : *icons) {
      const auto same = std::find_if(fullIcons->begin(), fullIcons->end(),
                                     [&](const IconEntry& e) { return e.Name == entry.Name; });
      ASSERT_NE(same, fullIcons->end());
      ASSERT_EQ(entry.Icon->Images.Count(), same->Icon->Images.Count());
      for (int i = 0; i < entry.Icon->Images.Count(); ++i) {
        EXPECT_EQ(entry.Icon->Images.Get(i)->Bytes(), same->Icon->Images.Get(i)->Bytes());
      }
    }
    if (icons->size() == fullIcons->size()) ++complete;
  }
  EXPECT_GT(opened, 0);
  EXPECT_GT(complete, 0);
}

TEST_F(PeHostileTest, CountsAtZeroAndAtTheMaximum) {
  ASSERT_FALSE(Build("1 ICON \"a.ico\"\n").empty());
  PeBytes pe(dir_.Path() / "m.dll");
  const std::uint64_t peOffset = pe.U32(0x3C);
  const auto patched = [&](std::uint64_t at, std::uint16_t value) {
    PeBytes copy = pe;
    copy.SetU16(at, value);
    return copy.Bytes();
  };
  // No sections: the module opens, its resources map nowhere.
  const auto noSections = Open(patched(peOffset + 6, 0));
  ASSERT_NE(noSections, nullptr);
  EXPECT_TRUE(noSections->Names(kResourceTypeGroupIcon).empty());
  // 65535 sections: the table runs past the end of the file.
  EXPECT_EQ(Open(patched(peOffset + 6, 0xFFFF)), nullptr);
  // An optional header of 0 bytes has no magic; one of 65535 runs past the end.
  EXPECT_EQ(Open(patched(peOffset + 20, 0)), nullptr);
  EXPECT_EQ(Open(patched(peOffset + 20, 0xFFFF)), nullptr);
  // A root with no entries, and one announcing 65535 named and 65535 id entries.
  const auto emptyRoot = Open([&] {
    PeBytes copy = pe;
    copy.SetU32(copy.Root() + 12, 0);
    return copy.Bytes();
  }());
  ASSERT_NE(emptyRoot, nullptr);
  EXPECT_TRUE(emptyRoot->Names(kResourceTypeGroupIcon).empty());
  const auto fullRoot = Open([&] {
    PeBytes copy = pe;
    copy.SetU32(copy.Root() + 12, 0xFFFFFFFF);
    return copy.Bytes();
  }());
  ASSERT_NE(fullRoot, nullptr);
  EXPECT_TRUE(fullRoot->Names(kResourceTypeGroupIcon).empty());
}

TEST_F(PeHostileTest, OffsetsAtThemselvesAndPastTheEnd) {
  ASSERT_FALSE(Build("1 ICON \"a.ico\"\n").empty());
  PeBytes pe(dir_.Path() / "m.dll");
  const auto withU32 = [&](std::uint64_t at, std::uint32_t value) {
    PeBytes copy = pe;
    copy.SetU32(at, value);
    return copy.Bytes();
  };
  // The PE header offset pointing at itself, at the MZ header, past the end.
  EXPECT_EQ(Open(withU32(0x3C, 0x3C)), nullptr);
  EXPECT_EQ(Open(withU32(0x3C, 0)), nullptr);
  EXPECT_EQ(Open(withU32(0x3C, 0xFFFFFFF0)), nullptr);
  // The resource directory's RVA past every section: no resources.
  const auto nowhere = Open(withU32(pe.ResourceDataDirectory(), 0x7FFFFFF0));
  ASSERT_NE(nowhere, nullptr);
  EXPECT_TRUE(nowhere->Names(kResourceTypeGroupIcon).empty());

  // The group's data entry pointing at itself: its 16 bytes are fetched, and the reader
  // refuses them as a group (they are no icon header) without reading anything else.
  const std::uint64_t group = pe.Target(pe.EntryAt(
      pe.Target(pe.EntryWithId(pe.Target(pe.EntryWithId(pe.Root(), kResourceTypeGroupIcon)), 1)),
      0));
  const std::uint32_t groupRva =
      static_cast<std::uint32_t>(group - pe.ResourceSectionOffset() + pe.ResourceSectionRva());
  PeBytes self = pe;
  self.SetU32(group, groupRva);
  self.SetU32(group + 4, 16);
  const auto module = Open(self.Bytes());
  ASSERT_NE(module, nullptr);
  const auto bytes = module->Resource(kResourceTypeGroupIcon, ResourceName::FromId(1));
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, Bytes(self.Bytes().begin() + static_cast<long>(group),
                          self.Bytes().begin() + static_cast<long>(group + 16)));
  const auto icons = ReadIcons(self.Bytes());
  ASSERT_TRUE(icons);
  ASSERT_EQ(icons->size(), 1u);
}

// The icon type's entry leads to the group type's table: the two types overlap. Lookups end,
// and each answers with bytes the module holds.
TEST_F(PeHostileTest, TypesSharingOneDirectory) {
  ASSERT_FALSE(Build("1 ICON \"a.ico\"\n").empty());
  PeBytes pe(dir_.Path() / "m.dll");
  const std::uint64_t groupTable = pe.Target(pe.EntryWithId(pe.Root(), kResourceTypeGroupIcon));
  pe.PointAtTable(pe.EntryWithId(pe.Root(), kResourceTypeIcon), groupTable);
  const auto module = Open(pe.Bytes());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->Names(kResourceTypeIcon), module->Names(kResourceTypeGroupIcon));
  // Image 1 is now the group itself: 6 + 2 * 14 bytes, read as an image.
  const auto image = module->Resource(kResourceTypeIcon, ResourceName::FromId(1));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), 6u + 2 * 14);
  // The group also lists image 2, which the icon type (now the group table) lacks: the group is
  // left out.
  const auto icons = ReadIcons(pe.Bytes());
  ASSERT_TRUE(icons);
  EXPECT_TRUE(icons->empty());
}

// One group names the same 64 KiB image 65535 times: 4 GiB of copies. The module's read budget
// ends the load with a clean failure instead.
TEST_F(PeHostileTest, AGroupCannotMultiplyOneImage) {
  const Bytes image(64 * 1024, 0x5A);
  Bytes group{0, 0, 1, 0, 0xFF, 0xFF};
  for (int i = 0; i < 0xFFFF; ++i) {
    group.insert(group.end(), {16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 1, 0, 1, 0});  // 64 KiB, id 1
  }
  testing::WriteBytes(dir_.Path() / "group.bin", group);
  Bytes single(group.begin(), group.begin() + 6 + 14);
  single[4] = 1;
  single[5] = 0;
  testing::WriteBytes(dir_.Path() / "single.bin", single);
  testing::WriteBytes(dir_.Path() / "image.bin", image);
  const Bytes bytes = Build("1 14 \"group.bin\"\n2 14 \"single.bin\"\n1 3 \"image.bin\"\n");
  ASSERT_FALSE(bytes.empty());

  const auto module = Open(bytes);
  ASSERT_NE(module, nullptr);
  AdvancedIcon icon;
  EXPECT_THROW(ReadGroupIcon(*module, ResourceName::FromId(1), icon), ResNotFound);
  EXPECT_GT(icon.Images.Count(), 100);
  EXPECT_LT(icon.Images.Count(), 0xFFFF);
  // Once the budget is spent no group can fetch its images: each is left out.
  const auto icons = ReadIcons(bytes);
  ASSERT_TRUE(icons);
  EXPECT_TRUE(icons->empty());

  // A fresh module reads the same image for its other group before the hostile one spends the
  // budget; afterwards nothing more is fetched.
  const auto fresh = Open(bytes);
  AdvancedIcon other;
  EXPECT_TRUE(ReadGroupIcon(*fresh, ResourceName::FromId(2), other));
  ASSERT_EQ(other.Images.Count(), 1);
  EXPECT_EQ(other.Images.Get(0)->Bytes(), image);
  EXPECT_THROW(ReadGroupIcon(*fresh, ResourceName::FromId(1), icon), ResNotFound);
  EXPECT_FALSE(fresh->Resource(kResourceTypeIcon, ResourceName::FromId(1)));
}

// The group that the read limit cuts off is left out and said to be; the group read before it
// stays. The harvest keeps that icon and names the file with the reason.
TEST_F(PeHostileTest, WhatTheReadLimitLeavesOutIsSaid) {
  Bytes group{0, 0, 1, 0, 0xFF, 0xFF};
  for (int i = 0; i < 0xFFFF; ++i) {
    group.insert(group.end(), {16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 1, 0, 1, 0});  // 64 KiB, id 1
  }
  testing::WriteBytes(dir_.Path() / "group.bin", group);
  Bytes single(group.begin(), group.begin() + 6 + 14);
  single[4] = 1;
  single[5] = 0;
  testing::WriteBytes(dir_.Path() / "single.bin", single);
  testing::WriteBytes(dir_.Path() / "image.bin", Bytes(64 * 1024, 0x5A));
  const Bytes bytes = Build("1 14 \"single.bin\"\n2 14 \"group.bin\"\n1 3 \"image.bin\"\n");
  ASSERT_FALSE(bytes.empty());

  const FileIcons read = ReadPeIcons(*Open(bytes), {});
  EXPECT_EQ(read.Icons.size(), 1u);
  EXPECT_EQ(read.LeftOut, "Part of this file was left out: 1 of 2 icon groups (read limit)");

  struct Host : testing::QuietHost {
    Host() : QuietHost(false) {}
    void FileUnreadable(const std::filesystem::path& path, const std::string& reason) override {
      said.push_back(path.filename().string() + ": " + reason);
    }
    std::vector<std::string> said;
  } host;
  testing::WriteBytes(dir_.Path() / "m.dll", bytes);
  Harvester harvester(host);
  harvester.KeepIconsWithoutTile = true;
  harvester.HarvestFile(dir_.Path() / "m.dll");
  EXPECT_EQ(harvester.Entries.size(), 1u);
  EXPECT_EQ(host.said,
            (std::vector<std::string>{
                "m.dll: Part of this file was left out: 1 of 2 icon groups (read limit)"}));
}

}  // namespace
}  // namespace pictarix
