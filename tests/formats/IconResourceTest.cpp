#include <gtest/gtest.h>

#include <vector>

#include "formats/ico/GroupIconReader.h"
#include "formats/ico/IconFileReader.h"
#include "formats/ico/IconFileWriter.h"
#include "model/AdvancedIcon.h"
#include "os/Errors.h"
#include "os/Stream.h"
#include "support/IconFileBuilder.h"
#include "support/PeModuleBuilder.h"

namespace pictarix {
namespace {

using testing::BlankDibImage;
using testing::IconFileBuilder;
using testing::PeModuleBuilder;
using testing::PngImageStub;

using Bytes = std::vector<std::uint8_t>;

IconFileBuilder TwoImages() {
  IconFileBuilder icon;
  icon.AddImage(BlankDibImage(32, 32, 8)).ResourceId = 7;
  icon.AddImage(PngImageStub(256, 256)).ResourceId = 8;
  return icon;
}

TEST(IconResourceTest, LoadsByIdAndByName) {
  PeModuleBuilder module;
  const IconFileBuilder icon = TwoImages();
  module.AddGroupIcon(ResourceName::FromId(5), icon);
  module.AddGroupIcon(ResourceName::FromName(u"MAINICON"), icon);

  AdvancedIcon byId;
  ASSERT_TRUE(ReadGroupIcon(*module.Open(), ResourceName::FromId(5), byId));
  ASSERT_EQ(byId.Images.Count(), 2);
  EXPECT_EQ(byId.Images.Get(0)->Bytes(), icon.Entries()[0].Data);
  EXPECT_EQ(byId.Images.Get(0)->Width, 32);
  EXPECT_EQ(byId.Images.Get(0)->ColorCount, 256);
  EXPECT_EQ(byId.Images.Get(1)->BitCount, 21060);

  AdvancedIcon byName;
  ASSERT_TRUE(ReadGroupIcon(*module.Open(), ResourceName::FromName(u"MAINICON"), byName));
  ASSERT_TRUE(ReadGroupIcon(*module.Open(), ResourceName::FromName(u"MAINICON"), byName));
  EXPECT_EQ(byName.Images.Count(), 4);  // appended

  // A group resource carries the same images as an icon file would.
  MemoryStream file(icon.Build());
  AdvancedIcon fromFile;
  ASSERT_TRUE(ReadIconFile(file, fromFile));
  MemoryStream a;
  MemoryStream b;
  WriteIconFile(byId, a);
  WriteIconFile(fromFile, b);
  EXPECT_EQ(a.Bytes(), b.Bytes());
}

TEST(IconResourceTest, GroupEntryKeepsItsBytesInResAndTheWholeResourceIsHeld) {
  PeModuleBuilder module;
  IconFileBuilder icon;
  const Bytes data = BlankDibImage(16, 16, 4);
  icon.AddImage(data).BytesInRes = 20;     // states fewer bytes than the resource holds
  icon.AddImage(data).BytesInRes = 10000;  // states more
  module.AddGroupIcon(ResourceName::FromId(1), icon);

  AdvancedIcon loaded;
  ASSERT_TRUE(ReadGroupIcon(*module.Open(), ResourceName::FromId(1), loaded));
  const IconImage& fewer = *loaded.Images.Get(0);
  EXPECT_EQ(fewer.BytesInRes, 20u);
  EXPECT_EQ(fewer.Bytes(), data);
  const IconImage& more = *loaded.Images.Get(1);
  EXPECT_EQ(more.BytesInRes, 10000u);
  EXPECT_EQ(more.Bytes(), data);

  // Written as an icon file, every block has exactly BytesInRes bytes.
  MemoryStream out;
  WriteIconFile(loaded, out);
  EXPECT_EQ(out.Size(), 6u + 2 * 16 + 20 + 10000);
  MemoryStream reread(out.Bytes());
  AdvancedIcon reloaded;
  ASSERT_TRUE(ReadIconFile(reread, reloaded));
  EXPECT_EQ(reloaded.Images.Get(1)->Bytes().size(), 10000u);
}

TEST(IconResourceTest, MissingResourcesRaiseResNotFound) {
  PeModuleBuilder module;
  IconFileBuilder icon = TwoImages();
  module.AddResource(kResourceTypeGroupIcon, ResourceName::FromId(3), icon.BuildGroup());
  module.AddResource(kResourceTypeIcon, ResourceName::FromId(7), icon.Entries()[0].Data);
  // Image 8 is missing.

  AdvancedIcon loaded;
  try {
    ReadGroupIcon(*module.Open(), ResourceName::FromId(3), loaded);
    FAIL() << "no exception";
  } catch (const ResNotFound& error) {
    EXPECT_STREQ(error.what(), "Resource 8 not found");
  }
  EXPECT_EQ(loaded.Images.Count(), 1);  // the image read before the failure stays

  AdvancedIcon none;
  EXPECT_THROW(ReadGroupIcon(*module.Open(), ResourceName::FromId(4), none), ResNotFound);
  try {
    ReadGroupIcon(*module.Open(), ResourceName::FromName(u"N\u00C4ME"), none);
    FAIL() << "no exception";
  } catch (const ResNotFound& error) {
    EXPECT_STREQ(error.what(), "Resource N\xC3\x84ME not found");
  }
  EXPECT_EQ(none.Images.Count(), 0);
}

TEST(IconResourceTest, GroupThatIsNoIconHeaderAnswersFalse) {
  PeModuleBuilder module;
  IconFileBuilder cursor = TwoImages();
  cursor.Type(2);
  module.AddGroupIcon(ResourceName::FromId(1), cursor);
  module.AddResource(kResourceTypeGroupIcon, ResourceName::FromId(2), Bytes{0, 0});
  AdvancedIcon icon;
  EXPECT_FALSE(ReadGroupIcon(*module.Open(), ResourceName::FromId(1), icon));
  EXPECT_FALSE(ReadGroupIcon(*module.Open(), ResourceName::FromId(2), icon));
  EXPECT_EQ(icon.Images.Count(), 0);
}

TEST(IconResourceTest, CutOffGroupReadsMissingEntriesAsZeros) {
  PeModuleBuilder module;
  IconFileBuilder icon = TwoImages();
  Bytes group = icon.BuildGroup();
  group.resize(6 + 14);  // the second entry is missing: its id reads as 0
  module.AddResource(kResourceTypeGroupIcon, ResourceName::FromId(1), group);
  module.AddResource(kResourceTypeIcon, ResourceName::FromId(7), icon.Entries()[0].Data);
  module.AddResource(kResourceTypeIcon, ResourceName::FromId(0), Bytes{});
  AdvancedIcon loaded;
  ASSERT_TRUE(ReadGroupIcon(*module.Open(), ResourceName::FromId(1), loaded));
  ASSERT_EQ(loaded.Images.Count(), 2);
  EXPECT_EQ(loaded.Images.Get(1)->BytesInRes, 0u);
}

}  // namespace
}  // namespace pictarix
