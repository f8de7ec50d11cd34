// Hostile NE files (icon libraries and 16-bit programs): cut at every byte, counts at 0 and
// 0xFFFF, offsets at themselves and past the end, overlapping tables and blocks, and every
// alignment shift from 15 to 255. Each read fails cleanly (the reader never raises) or gives
// icons whose images hold exactly the bytes the file has, within the test's memory limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "formats/IconLibrary.h"
#include "formats/ne/NeReader.h"
#include "support/LittleEndian.h"
#include "support/NeBuilder.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::DibImage;
using testing::IclFile;
using testing::NeFile;
using testing::NeLayout;

struct ReadResult {
  bool Ok = false;
  std::string Error;
  std::vector<IconEntry> Icons;
  const IconImage& Image(int icon, int image) const {
    return *Icons.at(static_cast<std::size_t>(icon)).Icon->Images.Get(image);
  }
};

ReadResult Read(Bytes bytes) {
  NeReader reader("hostile.icl", std::make_unique<MemoryStream>(std::move(bytes)));
  ReadResult result;
  try {
    result.Icons = reader.ReadIcons({});
    result.Ok = true;
  } catch (const IconLibraryError& error) {
    result.Error = error.what();
  }
  EXPECT_TRUE(result.Ok || result.Icons.empty());
  return result;
}

const Bytes kImage32 = DibImage(32, 4, 0x11);  // 744 bytes
const Bytes kImage16 = DibImage(16, 8, 0x22);  // 1384 bytes

// Cut at every byte: the read fails until every group block is whole and the file is at least
// as large as each image; from there on it reads both icons, each image holding the bytes the
// cut file has and zeros for the rest.
TEST(NeHostileTest, CutAtEveryByte) {
  NeLayout layout;
  const Bytes whole = IclFile({{"One", {kImage32}}, {"Two", {kImage16}}}).Build(&layout);
  const std::size_t groupsEnd = layout.DataPos[0][1] + 6 + 14;
  const std::size_t firstImage = layout.DataPos[1][0];
  const std::size_t secondImage = layout.DataPos[1][1];
  ASSERT_LE(groupsEnd, firstImage);
  for (std::size_t size = 0; size <= whole.size(); ++size) {
    SCOPED_TRACE(size);
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
    const ReadResult result = Read(cut);
    if (size < groupsEnd || size < kImage16.size()) {
      EXPECT_FALSE(result.Ok);
      continue;
    }
    ASSERT_TRUE(result.Ok) << result.Error;
    ASSERT_EQ(result.Icons.size(), 2u);
    const auto held = [&](const Bytes& image, std::size_t at) {
      Bytes expected = image;
      for (std::size_t i = 0; i < expected.size(); ++i) {
        if (at + i >= size) expected[i] = 0;
      }
      return expected;
    };
    EXPECT_EQ(result.Image(0, 0).Bytes(), held(kImage32, firstImage));
    EXPECT_EQ(result.Image(1, 0).Bytes(), held(kImage16, secondImage));
  }
}

TEST(NeHostileTest, CountsAtZeroAndAtTheMaximum) {
  {  // No groups: no icons.
    NeFile file = IclFile({{"A", {kImage16}}});
    file.Types[0].Resources.clear();
    const ReadResult result = Read(file.Build());
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(result.Icons.empty());
  }
  {  // No images: the group names one that is not there and is left out.
    NeFile file = IclFile({{"A", {kImage16}}});
    file.Types[1].Resources.clear();
    const ReadResult result = Read(file.Build());
    EXPECT_TRUE(result.Ok) << result.Error;
    EXPECT_TRUE(result.Icons.empty());
  }
  {  // A group directory of 65535 entries naming one small image: one block, shared. Naming a
     // larger one, the claims together exceed the file's budget. (The directory's 917 KB need
     // units of 16 bytes.)
    const Bytes tiny = DibImage(16, 1, 0x33);  // 176 bytes
    std::vector<testing::NeGroupEntry> entries(0xFFFF, testing::EntryFor(tiny, 1));
    NeFile file = IclFile({{"A", {tiny}}}, 4);
    file.Types[0].Resources[0].Data = testing::GroupDirectory(entries);
    const ReadResult result = Read(file.Build());
    ASSERT_TRUE(result.Ok) << result.Error;
    const IconImageList& images = result.Icons.front().Icon->Images;
    ASSERT_EQ(images.Count(), 0xFFFF);
    EXPECT_EQ(images.Get(0)->Data, images.Get(0xFFFE)->Data);
    EXPECT_TRUE(std::equal(tiny.begin(), tiny.end(), images.Get(0)->Bytes().begin()));

    NeFile large = IclFile({{"A", {kImage16}}}, 4);
    large.Types[0].Resources[0].Data = testing::GroupDirectory(
        std::vector<testing::NeGroupEntry>(0xFFFF, testing::EntryFor(kImage16, 1)));
    EXPECT_EQ(Read(large.Build()).Error, "Resources larger than the file can hold");
  }
  {  // 65535 groups announced in a record the file ends inside.
    NeFile file = IclFile({{"A", {kImage16}}});
    file.Types[0].Count = 0xFFFF;
    EXPECT_FALSE(Read(file.Build()).Ok);
  }
}

TEST(NeHostileTest, OffsetsAtThemselvesAndPastTheEnd) {
  NeLayout layout;
  const NeFile file = IclFile({{"A", {kImage32}}});
  const Bytes bytes = file.Build(&layout);
  const std::size_t header = layout.HeaderPos;
  const auto patched = [&](std::size_t at, std::uint16_t value) {
    Bytes copy = bytes;
    testing::SetU16At(copy, at, value);
    return copy;
  };
  // The NE header offset pointing at itself, and past the end.
  EXPECT_FALSE(Read(patched(0x3C, 0x3C)).Ok);
  EXPECT_FALSE(Read(patched(0x3C, 0xFFF0)).Ok);
  // The resource table at the NE header itself (a relative offset of 0) means no resources.
  EXPECT_EQ(Read(patched(header + 0x24, 0)).Error, "No Resources in file");
  // The resource table past the end of the file.
  EXPECT_FALSE(Read(patched(header + 0x24, 0xFFF0)).Ok);
  // The names table where the resource table is: nothing to read, no icons.
  {
    const ReadResult result =
        Read(patched(header + 0x26, static_cast<std::uint16_t>(layout.ResourceTablePos - header)));
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(result.Icons.empty());
  }
  // The group's block at the resource table itself: its words are no icon header, so the icon
  // has no images.
  {
    NeFile self = file;
    self.Types[0].Resources[0].OffsetUnits = static_cast<std::uint16_t>(layout.ResourceTablePos);
    self.Types[0].Resources[0].LengthUnits = 16;
    const ReadResult result = Read(self.Build());
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Icons.front().Icon->Images.Count(), 0);
  }
  // The group's block past the end of the file fails; the image's is zero-filled.
  {
    NeFile past = file;
    past.Types[0].Resources[0].OffsetUnits = 0xFFF0;
    EXPECT_EQ(Read(past.Build()).Error, "Stream read error");
    past = file;
    past.Types[1].Resources[0].OffsetUnits = 0xFFF0;
    const ReadResult result = Read(past.Build());
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Image(0, 0).Bytes(), Bytes(kImage32.size(), 0));
  }
}

// Tables and blocks that overlap: a second icon-image record replaces the first, and the image
// block lies on the group block. Each read ends with bytes from the file.
TEST(NeHostileTest, OverlappingTablesAndBlocks) {
  NeLayout layout;
  NeFile file = IclFile({{"A", {kImage32}}});
  file.Types.push_back(file.Types[1]);
  file.Types[2].Resources[0].Data = kImage16;
  {
    const ReadResult result = Read(file.Build());
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Image(0, 0).BytesInRes, kImage32.size());
  }
  file = IclFile({{"A", {kImage32}}});
  const Bytes bytes = file.Build(&layout);
  file.Types[1].Resources[0].OffsetUnits = static_cast<std::uint16_t>(layout.DataPos[0][0]);
  const Bytes overlapping = file.Build();
  const ReadResult result = Read(overlapping);
  ASSERT_TRUE(result.Ok) << result.Error;
  const Bytes& image = result.Image(0, 0).Bytes();
  ASSERT_EQ(image.size(), kImage32.size());
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + 20,
                         overlapping.begin() + static_cast<long>(layout.DataPos[0][0])));
  // The names table lies inside the type records: garbage names, read to the end.
  Bytes names = bytes;
  testing::SetU16At(names, layout.HeaderPos + 0x26,
                    static_cast<std::uint16_t>(layout.ResourceTablePos + 2 - layout.HeaderPos));
  Read(names);
}

// Every shift from 15 to 255: 15 places blocks 32 KiB apart and reads; from 16 on the shift
// is refused before any offset is multiplied by it.
TEST(NeHostileTest, AlignmentShiftsFrom15To255) {
  NeLayout layout;
  const Bytes shifted15 = IclFile({{"A", {kImage32, kImage16}}}, 15).Build(&layout);
  const ReadResult result = Read(shifted15);
  ASSERT_TRUE(result.Ok) << result.Error;
  const Bytes& held = result.Image(0, 1).Bytes();
  ASSERT_EQ(held.size(), 32768u);  // BytesInRes rounded up to a unit
  EXPECT_TRUE(std::equal(kImage16.begin(), kImage16.end(), held.begin()));

  const Bytes plain = IclFile({{"A", {kImage32, kImage16}}}).Build(&layout);
  for (unsigned shift = 16; shift <= 255; ++shift) {
    Bytes bytes = plain;
    testing::SetU16At(bytes, layout.ResourceTablePos, static_cast<std::uint16_t>(shift));
    EXPECT_EQ(Read(bytes).Error, "Invalid resource alignment") << shift;
  }
  // 15 on a file laid out with shift 0: every offset lands past the end.
  Bytes bytes = plain;
  testing::SetU16At(bytes, layout.ResourceTablePos, 15);
  EXPECT_FALSE(Read(bytes).Ok);
}

}  // namespace
}  // namespace pictarix
