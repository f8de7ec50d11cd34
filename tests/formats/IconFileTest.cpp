#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "formats/ico/IconFileReader.h"
#include "formats/ico/IconFileWriter.h"
#include "imaging/GraphicIconFile.h"
#include "imaging/HiResIcon.h"
#include "model/AdvancedIcon.h"
#include "os/Errors.h"
#include "os/Stream.h"
#include "output/OutputFiles.h"
#include "support/FileBytes.h"
#include "support/IconFileBuilder.h"
#include "support/LittleEndian.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::BlankDibImage;
using testing::IconFileBuilder;
using testing::PngImageStub;
using testing::TempDir;

using Bytes = std::vector<std::uint8_t>;

Bytes Save(const AdvancedIcon& icon) {
  MemoryStream out;
  WriteIconFile(icon, out);
  return out.TakeBytes();
}

TEST(IconFileLoadTest, ReadsEachEntrysDataFromItsOwnOffset) {
  IconFileBuilder file;
  const Bytes small = BlankDibImage(16, 16, 4);
  const Bytes large = BlankDibImage(32, 32, 8);
  file.AddImage(small);
  file.AddImage(large);
  file.DataOrder({1, 0});  // data blocks in reverse order
  MemoryStream stream(file.Build());

  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  ASSERT_EQ(icon.Images.Count(), 2);
  EXPECT_EQ(icon.Images.Get(0)->Bytes(), small);
  EXPECT_EQ(icon.Images.Get(0)->Width, 16);
  EXPECT_EQ(icon.Images.Get(1)->Bytes(), large);
  EXPECT_EQ(icon.Images.Get(1)->ColorCount, 256);
  EXPECT_EQ(stream.Position(), 6u + 2 * 16);  // just after the directory
}

TEST(IconFileLoadTest, BitmapHeaderWinsOverTheDirectory) {
  IconFileBuilder file;
  auto& entry = file.AddImage(BlankDibImage(32, 32, 4));
  entry.Width = 48;
  entry.Height = 48;
  entry.BitCount = 8;
  entry.ColorCount = 0;
  entry.Planes = 2;
  MemoryStream stream(file.Build());
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  const IconImage& image = *icon.Images.Get(0);
  EXPECT_EQ(image.Width, 32);
  EXPECT_EQ(image.Height, 32);
  EXPECT_EQ(image.BitCount, 4);
  EXPECT_EQ(image.ColorCount, 16);
  EXPECT_EQ(image.Planes, 2);  // taken from the entry, never re-derived
}

TEST(IconFileLoadTest, HeaderDecidesWhetherItIsAnIcon) {
  IconFileBuilder cursor;
  cursor.Type(2).AddImage(BlankDibImage(16, 16, 1));
  IconFileBuilder reserved;
  reserved.Reserved(1).AddImage(BlankDibImage(16, 16, 1));
  for (const Bytes& bytes : {cursor.Build(), reserved.Build(), Bytes{0, 0, 1}, Bytes{}}) {
    MemoryStream stream(bytes);
    AdvancedIcon icon;
    EXPECT_FALSE(ReadIconFile(stream, icon));
    EXPECT_EQ(icon.Images.Count(), 0);
  }
  MemoryStream empty(IconFileBuilder().Build());
  AdvancedIcon icon;
  EXPECT_TRUE(ReadIconFile(empty, icon));  // count 0 is a valid, empty icon
  EXPECT_EQ(icon.Images.Count(), 0);
}

TEST(IconFileLoadTest, ReadHeaderSizesTheList) {
  MemoryStream stream(IconFileBuilder().Count(7).Build());
  AdvancedIcon icon;
  std::uint16_t count = 0;
  ASSERT_TRUE(ReadIconFileHeader(stream, icon, count));
  EXPECT_EQ(count, 7);
  EXPECT_EQ(icon.Images.Capacity(), 7);
  EXPECT_EQ(stream.Position(), 6u);
}

TEST(IconFileLoadTest, CutOffDataAndEntriesAreZeroFilled) {
  IconFileBuilder file;
  const Bytes image = BlankDibImage(16, 16, 4);
  file.AddImage(image);
  Bytes bytes = file.Build();
  bytes.resize(bytes.size() - 10);  // the data block runs past the end
  MemoryStream stream(bytes);
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  const IconImage& loaded = *icon.Images.Get(0);
  ASSERT_EQ(loaded.Bytes().size(), image.size());
  EXPECT_TRUE(std::equal(image.begin(), image.end() - 10, loaded.Bytes().begin()));
  EXPECT_EQ(Bytes(loaded.Bytes().end() - 10, loaded.Bytes().end()), Bytes(10, 0));

  // Three entries announced, the file ends inside the second: the rest read as zeros.
  Bytes header = IconFileBuilder().Count(3).Build();
  header.insert(header.end(), {16, 16, 0, 0, 1, 0, 4, 0, 5, 0, 0, 0, 21, 0, 0, 0, 32, 32});
  MemoryStream cut(header);
  AdvancedIcon cutIcon;
  ASSERT_TRUE(ReadIconFile(cut, cutIcon));
  ASSERT_EQ(cutIcon.Images.Count(), 3);
  EXPECT_EQ(cutIcon.Images.Get(0)->Bytes(), (Bytes{0, 32, 32, 0, 0}));  // from offset 21
  EXPECT_EQ(cutIcon.Images.Get(1)->BytesInRes, 0u);
  EXPECT_EQ(cutIcon.Images.Get(2)->Planes, 0);
}

TEST(IconFileLoadTest, RefusesDataLargerThanTheWholeFile) {
  IconFileBuilder file;
  file.AddImage(BlankDibImage(16, 16, 4));
  file.AddImage(BlankDibImage(16, 16, 8)).BytesInRes = 0xFFFFFFF0u;
  file.AddImage(BlankDibImage(32, 32, 8));
  MemoryStream stream(file.Build());
  AdvancedIcon icon;
  EXPECT_THROW(ReadIconFile(stream, icon), FormatError);
  EXPECT_EQ(icon.Images.Count(), 1);          // images read before the failure stay
  EXPECT_EQ(stream.Position(), 6u + 2 * 16);  // back after the refused entry

  // Exactly the file's size is still read (zero-filled past the end).
  IconFileBuilder whole;
  whole.AddImage(BlankDibImage(16, 16, 4));
  Bytes bytes = whole.Build();
  const std::size_t fileSize = bytes.size();
  bytes[6 + 8] = static_cast<std::uint8_t>(fileSize);
  bytes[6 + 9] = static_cast<std::uint8_t>(fileSize >> 8);
  MemoryStream exact(bytes);
  AdvancedIcon exactIcon;
  ASSERT_TRUE(ReadIconFile(exact, exactIcon));
  EXPECT_EQ(exactIcon.Images.Get(0)->Bytes().size(), fileSize);
}

TEST(IconFileLoadTest, ReadingAStreamAppendsAndReadingAFileReplaces) {
  TempDir dir;
  IconFileBuilder file;
  file.AddImage(BlankDibImage(16, 16, 4));
  const Bytes bytes = file.Build();
  testing::WriteBytes(dir.Path() / "a.ico", bytes);

  AdvancedIcon icon;
  MemoryStream first(bytes);
  MemoryStream second(bytes);
  ASSERT_TRUE(ReadIconFile(first, icon));
  ASSERT_TRUE(ReadIconFile(second, icon));
  EXPECT_EQ(icon.Images.Count(), 2);

  ASSERT_TRUE(ReadIconFile(dir.Path() / "a.ico", icon));
  EXPECT_EQ(icon.Images.Count(), 1);

  IconFileBuilder cursor;
  cursor.Type(2).AddImage(BlankDibImage(32, 32, 1));
  testing::WriteBytes(dir.Path() / "b.cur", cursor.Build());
  EXPECT_FALSE(ReadIconFile(dir.Path() / "b.cur", icon));
  EXPECT_EQ(icon.Images.Count(), 0);

  EXPECT_THROW(ReadIconFile(dir.Path() / "missing.ico", icon), FOpenError);
}

TEST(IconFileSaveTest, LaysOutHeaderDirectoryAndContiguousData) {
  IconFileBuilder file;
  const Bytes a = BlankDibImage(16, 16, 4);
  const Bytes b = BlankDibImage(32, 32, 8);
  const Bytes c = BlankDibImage(48, 48, 32);
  file.AddImage(a);
  file.AddImage(b);
  file.AddImage(c);
  file.DataOrder({2, 0, 1});
  MemoryStream stream(file.Build());
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));

  const Bytes out = Save(icon);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 6), (Bytes{0, 0, 1, 0, 3, 0}));
  EXPECT_EQ(testing::U32At(out, 6 + 12), 54u);
  EXPECT_EQ(testing::U32At(out, 22 + 12), 54u + a.size());
  EXPECT_EQ(testing::U32At(out, 38 + 12), 54u + a.size() + b.size());
  EXPECT_EQ(out.size(), 54u + a.size() + b.size() + c.size());
  EXPECT_TRUE(std::equal(b.begin(), b.end(), out.begin() + 54 + static_cast<long>(a.size())));
  // Colour count and reserved byte: 4 bits 10 00, 8 bits 00 01, 32 bits 00 00.
  EXPECT_EQ(Bytes(out.begin() + 8, out.begin() + 10), (Bytes{0x10, 0x00}));
  EXPECT_EQ(Bytes(out.begin() + 24, out.begin() + 26), (Bytes{0x00, 0x01}));
  EXPECT_EQ(Bytes(out.begin() + 40, out.begin() + 42), (Bytes{0x00, 0x00}));
}

TEST(IconFileSaveTest, ColourBytesOfSixteenAndTwentyFourBits) {
  for (std::uint16_t bits : {16, 24}) {
    IconFileBuilder file;
    file.AddImage(BlankDibImage(16, 16, bits)).ColorCount = 0xFFFF;
    MemoryStream stream(file.Build());
    AdvancedIcon icon;
    ASSERT_TRUE(ReadIconFile(stream, icon));
    const Bytes out = Save(icon);
    EXPECT_EQ(Bytes(out.begin() + 8, out.begin() + 10), (Bytes{0, 0})) << bits;
  }
}

TEST(IconFileSaveTest, PngImageWrittenBackByteForByte) {
  IconFileBuilder file;
  const Bytes png = PngImageStub(256, 256);
  file.AddImage(png);
  MemoryStream stream(file.Build());
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  const Bytes out = Save(icon);
  ASSERT_EQ(out.size(), 22 + png.size());
  EXPECT_EQ(Bytes(out.begin() + 22, out.end()), png);
  EXPECT_EQ(out[6], 0);                        // width
  EXPECT_EQ(out[7], 0);                        // height
  EXPECT_EQ(out[12] | (out[13] << 8), 21060);  // bit count
}

TEST(IconFileSaveTest, WriteLoadWriteGivesTheSameBytes) {
  IconFileBuilder file;
  file.AddImage(BlankDibImage(256, 256, 32)).Width = 7;
  file.AddImage(BlankDibImage(16, 16, 1)).Planes = 0;
  file.AddImage(PngImageStub(64, 64)).Planes = 4;
  file.DataOrder({2, 1, 0});
  MemoryStream stream(file.Build());
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  icon.Images.Sort();
  const Bytes once = Save(icon);

  MemoryStream again(once);
  AdvancedIcon reloaded;
  ASSERT_TRUE(ReadIconFile(again, reloaded));
  EXPECT_EQ(Save(reloaded), once);
  EXPECT_EQ(reloaded.Images.Get(0)->BitCount, 1);
  EXPECT_EQ(reloaded.Images.Get(1)->Width, 0);  // 256 wide, 32 bits
  EXPECT_EQ(reloaded.Images.Get(2)->BitCount, 21060);
}

TEST(IconFileSaveTest, EmptyIconWritesNothingAndLeavesAnExistingFile) {
  AdvancedIcon icon;
  EXPECT_TRUE(Save(icon).empty());

  TempDir dir;
  const auto path = dir.Path() / "keep.ico";
  testing::WriteBytes(path, Bytes{1, 2, 3});
  SaveIconFile(icon, path);
  EXPECT_EQ(ReadWholeFile(path), (Bytes{1, 2, 3}));
  SaveIconFile(icon, dir.Path() / "none.ico");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "none.ico"));
}

TEST(IconFileSaveTest, SavingReplacesTheFile) {
  IconFileBuilder file;
  file.AddImage(BlankDibImage(16, 16, 4));
  MemoryStream stream(file.Build());
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  TempDir dir;
  const auto path = dir.Path() / "out.ico";
  testing::WriteBytes(path, Bytes(5000, 0xEE));
  SaveIconFile(icon, path);
  EXPECT_EQ(ReadWholeFile(path), Save(icon));
}

TEST(IconFileSaveTest, StatedSizeIsWrittenWhateverIsHeld) {
  AdvancedIcon icon;
  auto image = std::make_unique<IconImage>();
  image->SetData({1, 2, 3});
  image->BytesInRes = 6;
  icon.Images.Add(std::move(image));
  const Bytes out = Save(icon);
  ASSERT_EQ(out.size(), 22u + 6);
  EXPECT_EQ(Bytes(out.begin() + 22, out.end()), (Bytes{1, 2, 3, 0, 0, 0}));
}

TEST(IconFileSaveTest, RefusesALayoutBeyondThirtyTwoBitOffsets) {
  AdvancedIcon icon;
  for (int i = 0; i < 2; ++i) {
    auto image = std::make_unique<IconImage>();  // no data: the sizes alone decide the layout
    image->BytesInRes = 0xFFFFFFF0u;
    icon.Images.Add(std::move(image));
  }
  MemoryStream out;
  EXPECT_THROW(WriteIconFile(icon, out), FormatError);
  EXPECT_EQ(out.Size(), 0u);  // refused before anything was written
}

TEST(IconCopyTest, AssignMakesADeepCopyOfPlainImages) {
  IconFileBuilder file;
  file.AddImage(BlankDibImage(16, 16, 4));
  file.AddImage(PngImageStub(32, 32)).Planes = 9;
  MemoryStream stream(file.Build());
  AdvancedIcon source;
  ASSERT_TRUE(ReadIconFile(stream, source));

  AdvancedIcon copy;
  copy.Images.Add(std::make_unique<IconImage>());  // replaced, not appended to
  copy.Assign(source);
  ASSERT_EQ(copy.Images.Count(), 2);
  EXPECT_EQ(typeid(*copy.Images.Get(0)), typeid(IconImage));
  EXPECT_EQ(Save(copy), Save(source));
  source.Images.Clear();  // the copy owns its images
  EXPECT_EQ(copy.Images.Get(1)->Planes, 9);

  copy.Assign(copy);
  EXPECT_EQ(copy.Images.Count(), 2);
}

TEST(IconCopyTest, AssignGraphicReplacesTheImages) {
  IconFileBuilder file;
  file.AddImage(BlankDibImage(16, 16, 4));
  MemoryStream stream(file.Build());
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  const IconGraphic emptyGraphic;
  AssignGraphic(icon, emptyGraphic);  // an empty graphic writes no icon file
  EXPECT_EQ(icon.Images.Count(), 0);
}

TEST(IconCopyTest, AssignGraphicLoadsTheGraphicsIconFile) {
  AdvancedIcon icon;
  icon.Images.Add(std::make_unique<IconImage>());
  auto picture = std::make_shared<IconPicture>();
  picture->Width = 2;
  picture->Height = 2;
  picture->Rgba.assign(2 * 2 * 4, 0x80);
  picture->Mask.assign(2 * 2, 0);
  picture->HasAlpha = true;
  IconGraphic graphic;
  graphic.SetHandle(picture);
  AssignGraphic(icon, graphic);
  ASSERT_EQ(icon.Images.Count(), 1);
  EXPECT_EQ(icon.Images.Get(0)->Width, 2);
  EXPECT_EQ(icon.Images.Get(0)->BitCount, 32);
}

}  // namespace
}  // namespace pictarix
