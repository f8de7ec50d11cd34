#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/IconLibrary.h"
#include "formats/ne/NeReader.h"
#include "os/Errors.h"
#include "support/FileBytes.h"
#include "support/NeBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::DibImage;
using testing::IclFile;
using testing::IclIcon;
using testing::NeFile;
using testing::NeLayout;

struct ReadResult {
  bool Ok = false;
  std::vector<IconEntry> Icons;
  std::string Error;
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : Icons) names.push_back(entry.Name);
    return names;
  }
  const IconImage& Image(int icon, int image) const {
    return *Icons.at(static_cast<std::size_t>(icon)).Icon->Images.Get(image);
  }
};

ReadResult Read(std::vector<std::uint8_t> bytes, const std::string& fileName = "dir/tools.icl") {
  NeReader reader(fileName, std::make_unique<MemoryStream>(std::move(bytes)));
  ReadResult result;
  try {
    result.Icons = reader.ReadIcons({});
    result.Ok = true;
  } catch (const IconLibraryError& error) {
    result.Error = error.what();
  }
  return result;
}

// The bytes of a file with an MZ header and `words` (offset, value) written over zeros.
std::vector<std::uint8_t> Words(std::size_t size,
                                std::vector<std::pair<std::size_t, std::uint16_t>> words) {
  testing::ByteWriter w;
  w.Zeros(size);
  w.U16At(0, 0x5A4D);
  for (auto [at, value] : words) w.U16At(at, value);
  return std::move(w.Data());
}

const std::vector<std::uint8_t> kImage32 = DibImage(32, 4, 0x11);  // 744 bytes
const std::vector<std::uint8_t> kImage16 = DibImage(16, 4, 0x22);  // 296 bytes

TEST(NeReaderTest, HeaderChecksFailWithTheirMessages) {
  struct Row {
    const char* Case;
    std::vector<std::uint8_t> Bytes;
    const char* Message;
  };
  const std::vector<Row> rows = {
      {"empty file", {}, "Not a valid ICL File"},
      {"no MZ", {'Z', 'M', 0, 0}, "Not a valid ICL File"},
      {"ends before 0x3C", Words(0x3D, {}), "Invalid Windows 16 Offset"},
      {"offset 0x20", Words(0x100, {{0x3C, 0x20}}), "Invalid Windows 16 Offset"},
      // 0x3C is accepted as an offset; the word there is then the offset itself, not "NE".
      {"offset 0x3C", Words(0x100, {{0x3C, 0x3C}}), "Invalid Windows 16 Header"},
      {"header past the end", Words(0x80, {{0x3C, 0x80}}), "Invalid Windows 16 Header"},
      {"no resource table", Words(0x100, {{0x3C, 0x40}, {0x40, 0x454E}}), "No Resources in file"},
      {"no names table", Words(0x100, {{0x3C, 0x40}, {0x40, 0x454E}, {0x64, 0x40}}),
       "Names Table not found"},
      {"ends inside the names field", Words(0x67, {{0x3C, 0x40}, {0x40, 0x454E}, {0x64, 0x40}}),
       "Names Table not found"},
  };
  for (const auto& row : rows) {
    const ReadResult result = Read(row.Bytes);
    EXPECT_FALSE(result.Ok) << row.Case;
    EXPECT_EQ(result.Error, row.Message) << row.Case;
  }
}

TEST(NeReaderTest, ReadsAnIconLibraryWithItsNamesAndImages) {
  int reports = 0;
  const auto progress = [&reports](std::int32_t total, std::int32_t current) {
    EXPECT_EQ(total, 2);
    EXPECT_EQ(current, ++reports);
  };
  const auto bytes = IclFile({{"Folder", {kImage32, kImage16}}, {"Disk", {kImage16}}}).Build();
  testing::TempDir dir;
  testing::WriteBytes(dir.Path() / "any.name", bytes);
  NeReader reader(dir.Path() / "any.name");
  const auto icons = reader.ReadIcons(progress);
  EXPECT_EQ(reports, 2);
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].Name, "Folder");
  EXPECT_EQ(icons[1].Name, "Disk");
  ASSERT_EQ(icons[0].Icon->Images.Count(), 2);
  const IconImage& image = *icons[0].Icon->Images.Get(0);
  EXPECT_EQ(image.Bytes(), kImage32);
  EXPECT_EQ(image.BytesInRes, 744u);
  EXPECT_EQ(image.Width, 32);
  EXPECT_EQ(image.BitCount, 4);
  EXPECT_EQ(image.ColorCount, 16);
  EXPECT_EQ(icons[1].Icon->Images.Get(0)->Bytes(), kImage16);
}

TEST(NeReaderTest, NamesPairWithGroupsOnlyWhenTheCountsMatch) {
  const auto names = [](std::vector<std::string> strings, int groups,
                        const std::string& fileName = "dir/tools.icl") {
    std::vector<IclIcon> icons(static_cast<std::size_t>(groups), IclIcon{"", {kImage16}});
    NeFile file = IclFile(icons);
    file.Names = std::move(strings);
    const ReadResult result = Read(file.Build(), fileName);
    EXPECT_TRUE(result.Ok) << result.Error;
    return result.Names();
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(names({"ICL", "Folder", "Disk"}, 2), (V{"Folder", "Disk"}));
  EXPECT_EQ(names({"ICL", "Folder", "Disk"}, 3), (V{"tools 001", "tools 002", "tools 003"}));
  // Case-sensitive, and dropped only while nothing has been kept.
  EXPECT_EQ(names({"icl", "Folder"}, 1), (V{"tools 001"}));
  EXPECT_EQ(names({"icl", "Folder"}, 2), (V{"icl", "Folder"}));
  EXPECT_EQ(names({"ICL", "ICL", "Folder"}, 1), (V{"Folder"}));
  EXPECT_EQ(names({"Folder", "ICL"}, 2), (V{"Folder", "ICL"}));
  // Names are Windows-1252.
  EXPECT_EQ(names({"ICL", "Caf\xE9 \x80\x81"}, 1), (V{"Caf\u00E9 \u20AC\u0081"}));
  // The base name: after the last "/", cut at the last dot that follows it.
  EXPECT_EQ(names({}, 1, "/a.b/tools"), (V{"tools 001"}));
  EXPECT_EQ(names({}, 1, "x/a.b.c"), (V{"a.b 001"}));
  EXPECT_EQ(names({}, 1, "c:\\dir\\x.icl"), (V{"c:\\dir\\x 001"}));
  EXPECT_EQ(names({}, 1, "dir/.icl"), (V{" 001"}));
}

TEST(NeReaderTest, FileBasedNamesHaveAtLeastThreeDigits) {
  // 1000 groups without images; without an icon-image record no names are read.
  NeFile file;
  testing::NeTypeRecord groups{0x800E, {}, {}};
  for (int i = 0; i < 1000; ++i) {
    groups.Resources.push_back(
        {static_cast<std::uint16_t>(0x8001 + i), testing::GroupDirectory({}), {}, {}});
  }
  file.Types = {groups};
  file.Names = {"ICL"};
  const ReadResult result = Read(file.Build());
  ASSERT_TRUE(result.Ok) << result.Error;
  ASSERT_EQ(result.Icons.size(), 1000u);
  EXPECT_EQ(result.Icons[0].Name, "tools 001");
  EXPECT_EQ(result.Icons[98].Name, "tools 099");
  EXPECT_EQ(result.Icons[999].Name, "tools 1000");
  EXPECT_EQ(result.Icons[999].Icon->Images.Count(), 0);
}

TEST(NeReaderTest, OffsetsAndLengthsCountAlignmentUnits) {
  NeLayout layout;
  NeFile file = IclFile({{"A", {kImage16}}}, 4);
  auto bytes = file.Build(&layout);
  // Move the image to 0x300 with a length of 2 units (32 bytes) and a BytesInRes of 32.
  bytes.resize(0x340, 0);
  for (std::size_t i = 0; i < 32; ++i) bytes[0x300 + i] = static_cast<std::uint8_t>(i + 1);
  testing::ByteWriter patch;
  patch.Data() = bytes;
  patch.U16At(layout.EntryPos[1][0], 0x0030);
  patch.U16At(layout.EntryPos[1][0] + 2, 2);
  patch.U16At(layout.DataPos[0][0] + 6 + 8, 32);
  const ReadResult result = Read(patch.Data());
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(result.Image(0, 0).Bytes(),
            std::vector<std::uint8_t>(bytes.begin() + 0x300, bytes.begin() + 0x320));

  // Blocks of a shifted file include their padding.
  const ReadResult padded = Read(IclFile({{"A", {std::vector<std::uint8_t>(20, 7)}}}, 4).Build());
  ASSERT_TRUE(padded.Ok) << padded.Error;
  EXPECT_EQ(padded.Image(0, 0).Bytes().size(), 32u);
  EXPECT_EQ(padded.Image(0, 0).BytesInRes, 20u);
}

TEST(NeReaderTest, RecordsAndGroupsFollowTheFormat) {
  {  // Resource table and names table at the same place: a library without icons.
    NeFile file = IclFile({{"A", {kImage16}}});
    file.NamesField = 64;
    const ReadResult result = Read(file.Build());
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(result.Icons.empty());
  }
  {  // Type ids without the high bit are skipped; icon images without groups give nothing.
    NeFile file = IclFile({{"A", {kImage16}}});
    file.Types[0].TypeId = 14;
    const ReadResult result = Read(file.Build());
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(result.Icons.empty());
  }
  {  // A group naming an image id the file lacks leaves out that icon only; such a file is not
     // taken as an icon library to be rewritten, where that icon would be lost.
    NeFile file = IclFile({{"A", {kImage16}}, {"B", {kImage16}}});
    file.Types[1].Resources[1].Id = 0x8009;
    const std::vector<std::uint8_t> bytes = file.Build();
    const ReadResult result = Read(bytes);
    EXPECT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Names(), (std::vector<std::string>{"A"}));
    testing::TempDir dir;
    testing::WriteBytes(dir.Path() / "broken.icl", std::span<const std::uint8_t>(bytes));
    EXPECT_FALSE(IsIconLibraryFile(dir.Path() / "broken.icl"));
  }
  {  // Groups without any icon-image record: fine while they list no image.
    NeFile file = IclFile({{"A", {}}, {"B", {}}});
    file.Types.pop_back();
    ReadResult result = Read(file.Build());
    EXPECT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Names(), (std::vector<std::string>{"tools 001", "tools 002"}));
    file = IclFile({{"A", {kImage16}}});
    file.Types.pop_back();
    result = Read(file.Build());
    EXPECT_TRUE(result.Ok) << result.Error;
    EXPECT_TRUE(result.Icons.empty());
  }
  {  // A group whose header is no icon header, or of length 0, gives an icon without images.
    NeFile file = IclFile({{"A", {kImage16}}, {"B", {kImage16}}});
    file.Types[0].Resources[0].Data[2] = 2;  // a cursor directory
    file.Types[0].Resources[1].LengthUnits = 0;
    const ReadResult result = Read(file.Build());
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(result.Icons[0].Icon->Images.Count(), 0);
    EXPECT_EQ(result.Icons[1].Icon->Images.Count(), 0);
  }
  {  // A later record of the same type replaces the earlier one.
    NeFile file = IclFile({{"A", {kImage16}}});
    file.Types.push_back(file.Types[0]);
    file.Types.back().Resources.clear();
    const ReadResult result = Read(file.Build());
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(result.Icons.empty());
  }
}

TEST(NeReaderTest, WalksStopAtTheEndOfTheFile) {
  NeLayout layout;
  const auto full = IclFile({{"Folder", {kImage32, kImage16}}}).Build(&layout);
  // Cut anywhere before the image data: every read fails, none reads past the end.
  for (std::size_t size = 0; size < layout.DataPos[1][0]; ++size) {
    EXPECT_FALSE(Read(std::vector<std::uint8_t>(full.begin(), full.begin() + size)).Ok)
        << "cut at " << size;
  }
  {  // No terminating 0 after the type records or after the names.
    NeFile file = IclFile({});
    file.Types.clear();
    file.Names.clear();
    file.EndTypes = false;
    file.EndNames = false;
    EXPECT_FALSE(Read(file.Build()).Ok);
  }
  {  // A record whose count reaches past the end of the file.
    NeFile file = IclFile({{"A", {kImage16}}});
    file.Types[1].Count = 0xFFFF;
    EXPECT_FALSE(Read(file.Build()).Ok);
    file.Types[1].TypeId = 0x8006;  // a skipped type
    EXPECT_FALSE(Read(file.Build()).Ok);
  }
}

TEST(NeReaderTest, RefusesAShiftOf16AndMore) {
  NeFile file = IclFile({{"A", {}}});
  file.AlignShift = 15;
  EXPECT_TRUE(Read(file.Build()).Ok);  // no group data to place
  auto bytes = file.Build();
  NeLayout layout;
  file.Build(&layout);
  bytes[layout.ResourceTablePos] = 16;
  EXPECT_FALSE(Read(bytes).Ok);
}

TEST(NeReaderTest, GroupBlocksMustHoldTheirDirectory) {
  {  // Shorter than its image count needs: refused, not filled from elsewhere.
    NeFile file = IclFile({{"A", {kImage16}}});
    auto& group = file.Types[0].Resources[0].Data;
    group[4] = 2;  // two images, one entry
    const ReadResult result = Read(file.Build());
    EXPECT_FALSE(result.Ok);
  }
  {  // A group block running past the end of the file.
    NeFile file = IclFile({{"A", {kImage16}}});
    file.Types[0].Resources[0].LengthUnits = 0x7000;
    EXPECT_FALSE(Read(file.Build()).Ok);
  }
}

TEST(NeReaderTest, ImageBlocksPastTheEndKeepWhatTheFileHolds) {
  NeLayout layout;
  auto bytes = IclFile({{"A", {kImage32, kImage16}}}).Build(&layout);
  {  // The last image cut short by 100 bytes: held bytes, then zeros up to BytesInRes.
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 100);
    const ReadResult result = Read(cut);
    ASSERT_TRUE(result.Ok) << result.Error;
    std::vector<std::uint8_t> expected = kImage16;
    std::fill(expected.end() - 100, expected.end(), 0);
    EXPECT_EQ(result.Image(0, 1).Bytes(), expected);
    EXPECT_EQ(result.Image(0, 1).BytesInRes, 296u);
  }
  {  // A BytesInRes larger than the whole file fails the read.
    testing::ByteWriter patch;
    patch.Data() = bytes;
    patch.U16At(layout.DataPos[0][0] + 6 + 14 + 10, 0x0001);  // 296 + 65536 bytes
    EXPECT_FALSE(Read(patch.Data()).Ok);
  }
}

TEST(NeReaderTest, LengthsStoredInBytesDoNotSwallowTheFollowingImages) {
  // Some tools store lengths in bytes; with a shift of 4 they count 16 times too much.
  NeFile file = IclFile({{"A", {kImage32, kImage16}}}, 4);
  file.Types[1].Resources[0].LengthUnits = 744;
  file.Types[1].Resources[1].LengthUnits = 296;
  const ReadResult result = Read(file.Build());
  ASSERT_TRUE(result.Ok) << result.Error;
  const auto& first = result.Image(0, 0).Bytes();
  ASSERT_EQ(first.size(), 752u);  // BytesInRes rounded up to a unit
  EXPECT_TRUE(std::equal(kImage32.begin(), kImage32.end(), first.begin()));
  const auto& second = result.Image(0, 1).Bytes();
  ASSERT_EQ(second.size(), 304u);
  EXPECT_TRUE(std::equal(kImage16.begin(), kImage16.end(), second.begin()));
}

TEST(NeReaderTest, SharedBlocksCannotMultiplyMemoryWithoutBound) {
  // One directory of 4000 entries, each naming the same whole-file image with a different
  // BytesInRes, and 16 groups sharing that directory: gigabytes if every image were copied.
  std::vector<testing::NeGroupEntry> entries;
  for (int i = 0; i < 4000; ++i) {
    testing::NeGroupEntry entry;
    entry.BytesInRes = 60000 + static_cast<std::uint32_t>(i);
    entry.Id = 1;
    entries.push_back(entry);
  }
  NeFile file;
  file.Names = {"ICL"};
  testing::NeTypeRecord groups{0x800E, {}, {}};
  for (int i = 0; i < 16; ++i) {
    groups.Resources.push_back(
        {static_cast<std::uint16_t>(0x8001 + i), testing::GroupDirectory(entries), {}, {}});
  }
  testing::NeTypeRecord images{
      0x8003, {{0x8001, std::vector<std::uint8_t>(100, 1), 0, 0xFFFF}}, {}};
  file.Types = {groups, images};
  const ReadResult result = Read(file.Build());
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Error, "Resources larger than the file can hold");
}

TEST(NeReaderTest, OpeningAMissingFileRaises) {
  EXPECT_THROW(NeReader("/nonexistent/dir/x.icl"), FOpenError);
}

}  // namespace
}  // namespace pictarix
