#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/FileIcons.h"
#include "model/IconRecords.h"
#include "os/Errors.h"
#include "os/Stream.h"
#include "support/CursorBuilder.h"
#include "support/IconFileBuilder.h"
#include "support/NeBuilder.h"
#include "support/PeModuleBuilder.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::BlankDibImage;
using testing::CursorImage;

FileIcons Read(const Bytes& bytes, const std::string& name, const FileIconsOptions& options = {}) {
  MemoryStream stream(bytes);
  return ReadFileIcons(stream, name, options);
}

FileIconsOptions WithCursors() {
  FileIconsOptions options;
  options.Cursors = true;
  return options;
}

std::vector<CursorHotspot> Hotspots(const AdvancedIcon& cursor) {
  std::vector<CursorHotspot> hotspots;
  for (int i = 0; i < cursor.Images.Count(); ++i)
    hotspots.push_back(*cursor.Images.Get(i)->Hotspot);
  return hotspots;
}

const Bytes kCursorFile =
    testing::CursorFile({{BlankDibImage(32, 32, 1), 3, 9}, {testing::PngImageStub(48, 48), 5, 13}});

TEST(CursorTest, ACursorFileKeepsItsHotspotsAndIsReadByNameOrWithTheSwitch) {
  FileIconsOptions named;
  named.CursorFiles = true;
  const FileIcons read = Read(kCursorFile, "dir/Arrow.CUR", named);
  EXPECT_EQ(read.Found, Container::CursorFile);
  ASSERT_EQ(read.Icons.size(), 1u);
  EXPECT_EQ(read.Icons[0].Name, "Arrow");
  const AdvancedIcon& cursor = *read.Icons[0].Icon;
  EXPECT_EQ(cursor.Kind, EntryKind::Cursor);
  EXPECT_EQ(Hotspots(cursor), (std::vector<CursorHotspot>{{3, 9}, {5, 13}}));
  EXPECT_EQ(cursor.Images.Get(0)->BitCount, 1);
  EXPECT_EQ(cursor.Images.Get(0)->Planes, 1);
  EXPECT_EQ(cursor.Images.Get(0)->Width, 32);

  // Off by default: a tree's cursor files, and a cursor stored under ".ico", stay unread.
  EXPECT_EQ(Read(kCursorFile, "a.cur").Found, Container::None);
  EXPECT_EQ(Read(kCursorFile, "a.ico").Found, Container::None);
  EXPECT_EQ(Read(kCursorFile, "a.ico", named).Found, Container::None);
  EXPECT_EQ(Read(kCursorFile, "a.ico", WithCursors()).Found, Container::CursorFile);
  EXPECT_EQ(Read(kCursorFile, "a.bin", WithCursors()).Found, Container::None);
  // Told by content: an icon named ".ani" is an icon.
  testing::IconFileBuilder icon;
  icon.AddImage(BlankDibImage(32, 32, 4));
  const FileIcons iconRead = Read(icon.Build(), "x.ani", named);
  EXPECT_EQ(iconRead.Found, Container::IconFile);
  EXPECT_EQ(iconRead.Icons.at(0).Icon->Kind, EntryKind::Icon);
}

TEST(CursorTest, ACursorFileWhoseImagesClaimTooMuchIsSaidToBeUnreadable) {
  Bytes file = kCursorFile;
  file[kIconHeaderSize + 8] = 0xF0;  // the first entry's size: 0xF0xxxxxx bytes
  file[kIconHeaderSize + 11] = 0xF0;
  const FileIcons read = Read(file, "a.cur", WithCursors());
  EXPECT_EQ(read.Found, Container::CursorFile);
  EXPECT_TRUE(read.Icons.empty());
  EXPECT_THROW(std::rethrow_exception(read.IconFileError), FormatError);
}

TEST(CursorTest, ModulesGiveTheirGroupCursorsOnlyWithTheSwitch) {
  testing::IconFileBuilder icon;
  icon.AddImage(BlankDibImage(32, 32, 4));
  testing::PeModuleBuilder pe;
  pe.AddGroupIcon(ResourceName::FromId(1), icon);
  pe.AddResource(12, ResourceName::FromId(32512), testing::GroupCursor({7, 8}));
  pe.AddResource(12, ResourceName::FromId(32513), testing::GroupCursor({7, 99}));  // 99 missing
  pe.AddResource(1, ResourceName::FromId(7),
                 testing::CursorResource({BlankDibImage(32, 32, 1), 3, 9}));
  pe.AddResource(1, ResourceName::FromId(8),
                 testing::CursorResource({BlankDibImage(48, 48, 1), 5, 13}));
  const Bytes module = pe.Build();

  EXPECT_EQ(Read(module, "m.dll").Icons.size(), 1u);
  const FileIcons read = Read(module, "m.dll", WithCursors());
  ASSERT_EQ(read.Icons.size(), 2u);
  EXPECT_EQ(read.Icons[1].Name, "32512");
  const AdvancedIcon& cursor = *read.Icons[1].Icon;
  EXPECT_EQ(cursor.Kind, EntryKind::Cursor);
  EXPECT_EQ(Hotspots(cursor), (std::vector<CursorHotspot>{{3, 9}, {5, 13}}));
  // The image is the resource after its hotspot, and its size is its own.
  EXPECT_EQ(cursor.Images.Get(0)->BytesInRes, BlankDibImage(32, 32, 1).size());
  EXPECT_EQ(cursor.Images.Get(1)->Width, 48);
}

TEST(CursorTest, NeModulesGiveTheirGroupCursorsAndAnimatedCursors) {
  testing::NeFile ne = testing::IclFile({{"A", {testing::DibImage(16, 4)}}});
  const Bytes image = testing::CursorResource({testing::DibImage(32, 1), 4, 30});
  const auto resource = [](std::uint16_t id, Bytes data) {
    testing::NeResource made;
    made.Id = id;
    made.Data = std::move(data);
    return made;
  };
  const auto type = [](std::uint16_t id, std::vector<testing::NeResource> resources) {
    testing::NeTypeRecord record;
    record.TypeId = id;
    record.Resources = std::move(resources);
    return record;
  };
  ne.Types.push_back(type(0x8001, {resource(0x8003, image)}));
  ne.Types.push_back(type(0x800C, {resource(0x8009, testing::GroupCursor({3, 3})),
                                   resource(0x800A, testing::GroupCursor({4}))}));
  const Bytes ani = testing::RiffFile(
      {testing::AniHeader(1, 1, 6), testing::List("fram", {testing::Chunk("icon", kCursorFile)})});
  ne.Types.push_back(type(0x8015, {resource(0x8002, ani)}));
  const FileIcons read = Read(ne.Build(), "lib.icl", WithCursors());
  // The icon, the group that names cursor 3 (not the one naming cursor 4), the animated cursor.
  ASSERT_EQ(read.Icons.size(), 3u);
  EXPECT_EQ(read.Icons[1].Name, "9");
  EXPECT_EQ(Hotspots(*read.Icons[1].Icon), (std::vector<CursorHotspot>{{4, 30}, {4, 30}}));
  EXPECT_EQ(read.Icons[2].Name, "2");
  EXPECT_EQ(read.Icons[2].Icon->Kind, EntryKind::Animated);
  EXPECT_NE(read.LeftOut.find("1 of 3 cursors"), std::string::npos) << read.LeftOut;
  EXPECT_EQ(Read(ne.Build(), "lib.icl").Icons.size(), 1u);
}

}  // namespace
}  // namespace pictarix
