// Hostile icon files: cut at every byte, counts at 0 and 0xFFFF, offsets at themselves and past
// the end, claims that multiply the file, and images whose headers or PNG streams lie. Each load
// ends in a clean refusal or in the images the file really holds, within the test's memory limit.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "formats/ico/IconFileReader.h"
#include "formats/ico/IconFileWriter.h"
#include "imaging/HiResIcon.h"
#include "imaging/IconDraw.h"
#include "imaging/ImagePicture.h"
#include "model/AdvancedIcon.h"
#include "os/Errors.h"
#include "os/ReadBudget.h"
#include "support/DibBuilder.h"
#include "support/IconFileBuilder.h"
#include "support/LittleEndian.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::BlankDibImage;
using testing::IconFileBuilder;
using testing::SetU32At;

// The place of field `offset` (within the 16 bytes) of directory entry `index`.
std::size_t EntryField(std::size_t index, std::size_t offset) {
  return 6 + 16 * index + offset;
}

// A 32-bit field of directory entry `index` as a cut file holds it (zeros past its end).
std::uint32_t FieldOf(const Bytes& bytes, std::size_t index, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t b = 0; b < 4; ++b) {
    const std::size_t at = EntryField(index, offset + b);
    if (at < bytes.size()) value |= std::uint32_t{bytes[at]} << (8 * b);
  }
  return value;
}

struct LoadResult {
  bool Loaded = false;
  bool Refused = false;  // FormatError
  AdvancedIcon Icon;
};

void Load(const Bytes& bytes, LoadResult& result) {
  MemoryStream stream(bytes);
  try {
    result.Loaded = ReadIconFile(stream, result.Icon);
  } catch (const FormatError&) {
    result.Refused = true;
  }
}

// Makes a handle and a graphic of every image, as the harvest and the window do.
int DecodableImages(AdvancedIcon& icon) {
  int decodable = 0;
  for (int i = 0; i < icon.Images.Count(); ++i) {
    if (DecodedPicture(*icon.Images.Get(i))) ++decodable;
    MakeGraphic(*icon.Images.Get(i));
  }
  return decodable;
}

Bytes TwoImageFile() {
  IconFileBuilder file;
  file.AddImage(testing::BuildDib({.Width = 16,
                                   .Height = 16,
                                   .BitCount = 32,
                                   .Pixels = std::vector<std::uint32_t>(256, 0x11223344)}));
  file.AddImage(testing::BuildPng(8, 8, std::vector<std::uint32_t>(64, 0x55667788)));
  return file.Build();
}

// Cut at every length: a header cut short is no icon; a cut directory reads as zeros; an image
// whose size is now larger than the file is refused with the images before it kept; every
// image kept holds exactly the bytes the cut file has, zero-filled.
TEST(IconFileHostileTest, CutAtEveryByte) {
  const Bytes whole = TwoImageFile();
  LoadResult full;
  Load(whole, full);
  ASSERT_TRUE(full.Loaded);
  ASSERT_EQ(DecodableImages(full.Icon), 2);

  for (std::size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
    LoadResult result;
    Load(cut, result);
    if (size < 6) {
      EXPECT_FALSE(result.Loaded);
      EXPECT_FALSE(result.Refused);
      EXPECT_EQ(result.Icon.Images.Count(), 0);
      continue;
    }
    // Sizes and offsets are read from the cut directory (zeros where it is cut), then checked.
    std::uint32_t sizes[2] = {FieldOf(cut, 0, 8), FieldOf(cut, 1, 8)};
    const int expected = sizes[0] > size ? 0 : (sizes[1] > size ? 1 : 2);
    EXPECT_EQ(result.Refused, expected < 2);
    EXPECT_EQ(result.Loaded, expected == 2);
    ASSERT_EQ(result.Icon.Images.Count(), expected);
    for (int i = 0; i < expected; ++i) {
      const std::uint32_t offset = FieldOf(cut, static_cast<std::size_t>(i), 12);
      Bytes held(sizes[i], 0);
      for (std::size_t b = 0; b < held.size() && offset + b < size; ++b) held[b] = cut[offset + b];
      EXPECT_EQ(result.Icon.Images.Get(i)->Bytes(), held) << "image " << i;
    }
    DecodableImages(result.Icon);
  }
}

TEST(IconFileHostileTest, CountsAtZeroAndAtTheMaximum) {
  LoadResult empty;
  Load(IconFileBuilder().Build(), empty);
  EXPECT_TRUE(empty.Loaded);
  EXPECT_EQ(empty.Icon.Images.Count(), 0);

  // 65535 entries announced, one present: the next ones are read from the image data, the rest
  // past the end of the file as zeros, and all of those (with no data) share one empty block.
  IconFileBuilder one;
  one.AddImage(BlankDibImage(16, 16, 4));
  one.Count(0xFFFF);
  const Bytes bytes = one.Build();
  LoadResult full;
  Load(bytes, full);
  ASSERT_TRUE(full.Loaded);
  ASSERT_EQ(full.Icon.Images.Count(), 0xFFFF);
  EXPECT_EQ(full.Icon.Images.Get(0)->Width, 16);
  const std::size_t firstPastTheEnd = (bytes.size() - 6 + 15) / 16;
  const IconImage& last = *full.Icon.Images.Get(0xFFFE);
  EXPECT_EQ(last.BytesInRes, 0u);
  EXPECT_TRUE(last.Bytes().empty());
  EXPECT_EQ(last.Data, full.Icon.Images.Get(static_cast<int>(firstPastTheEnd))->Data);

  full.Icon.Images.Sort();
  MemoryStream written;
  WriteIconFile(full.Icon, written);
  written.Seek(0);
  AdvancedIcon reread;
  ASSERT_TRUE(ReadIconFile(written, reread));
  EXPECT_EQ(reread.Images.Count(), 0xFFFF);
}

TEST(IconFileHostileTest, OffsetsAtThemselvesAndPastTheEnd) {
  IconFileBuilder file;
  file.AddImage(BlankDibImage(16, 16, 4)).Offset = static_cast<std::uint32_t>(EntryField(0, 0));
  file.AddImage(BlankDibImage(16, 16, 8)).Offset = 0;  // the header itself
  file.AddImage(BlankDibImage(32, 32, 4)).Offset = 0xFFFFFFF0u;
  const Bytes bytes = file.Build();
  LoadResult result;
  Load(bytes, result);
  ASSERT_TRUE(result.Loaded);
  ASSERT_EQ(result.Icon.Images.Count(), 3);
  const auto& own = result.Icon.Images.Get(0)->Bytes();
  EXPECT_TRUE(std::equal(own.begin(), own.begin() + 16, bytes.begin() + EntryField(0, 0)));
  EXPECT_TRUE(std::equal(result.Icon.Images.Get(1)->Bytes().begin(),
                         result.Icon.Images.Get(1)->Bytes().begin() + 6, bytes.begin()));
  const auto& past = result.Icon.Images.Get(2)->Bytes();
  EXPECT_EQ(past.size(), result.Icon.Images.Get(2)->BytesInRes);
  EXPECT_TRUE(std::all_of(past.begin(), past.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(DecodableImages(result.Icon), 0);
}

// A directory of 65535 entries that repeat one claim: within the budget one block serves every
// image; each claim still counts, so 65535 claims on the whole file (64 GiB for whatever is
// made of the icon later) are refused.
TEST(IconFileHostileTest, RepeatedClaimsShareOneBlockAndEachCounts) {
  Bytes bytes = IconFileBuilder().Count(0xFFFF).Build();
  bytes.resize(6 + 16 * 0xFFFF, 0);
  for (std::size_t i = 0; i < 0xFFFF; ++i) SetU32At(bytes, EntryField(i, 8), 512);
  LoadResult small;
  Load(bytes, small);
  ASSERT_TRUE(small.Loaded);
  ASSERT_EQ(small.Icon.Images.Count(), 0xFFFF);
  std::set<const void*> blocks;
  for (int i = 0; i < small.Icon.Images.Count(); ++i) {
    blocks.insert(small.Icon.Images.Get(i)->Data.get());
  }
  EXPECT_EQ(blocks.size(), 1u);
  EXPECT_EQ(small.Icon.Images.Get(7)->Bytes(), Bytes(bytes.begin(), bytes.begin() + 512));

  const auto size = static_cast<std::uint32_t>(bytes.size());
  for (std::size_t i = 0; i < 0xFFFF; ++i) SetU32At(bytes, EntryField(i, 8), size);
  LoadResult whole;
  Load(bytes, whole);
  EXPECT_TRUE(whole.Refused);
  EXPECT_EQ(static_cast<std::uint64_t>(whole.Icon.Images.Count()),
            ReadBudget(size).Left() / (size + ReadBudget::kImageOverhead));
}

// Distinct claims that overlap (entry i claims the whole file from byte i) cannot share a block:
// the load stops once the claims exceed the file's read budget, keeping the images before.
TEST(IconFileHostileTest, OverlappingClaimsBeyondTheBudgetAreRefused) {
  Bytes bytes = IconFileBuilder().Count(0xFFFF).Build();
  bytes.resize(6 + 16 * 0xFFFF, 0);
  const auto size = static_cast<std::uint32_t>(bytes.size());
  for (std::size_t i = 0; i < 0xFFFF; ++i) {
    SetU32At(bytes, EntryField(i, 8), size);
    SetU32At(bytes, EntryField(i, 12), static_cast<std::uint32_t>(i));
  }
  LoadResult result;
  Load(bytes, result);
  EXPECT_TRUE(result.Refused);
  const std::uint64_t budget = ReadBudget(size).Left();
  const int kept = result.Icon.Images.Count();
  EXPECT_GT(kept, 0);
  EXPECT_LE(static_cast<std::uint64_t>(kept) * (size + ReadBudget::kImageOverhead), budget);
  EXPECT_GT(static_cast<std::uint64_t>(kept + 1) * (size + ReadBudget::kImageOverhead), budget);
}

// Bitmap headers with absurd fields load as stored bytes (the model never decodes) and give no
// handle, no picture and no crash when drawn.
TEST(IconFileHostileTest, AbsurdBitmapHeadersGiveNoPicture) {
  struct Case {
    const char* What;
    std::size_t Offset;
    std::uint32_t Value;
    int FieldBytes = 4;
  } cases[] = {
      {"header size 2^32-1", 0, 0xFFFFFFFF},
      {"width 2^31-1", 4, 0x7FFFFFFF},
      {"width -2^31", 4, 0x80000000},
      {"width 4097", 4, 4097},
      {"height 2^31-2", 8, 0x7FFFFFFE},
      {"height -2", 8, 0xFFFFFFFE},
      {"bit count 0", 14, 0, 2},
      {"bit count 3", 14, 3, 2},
      {"bit count 0xFFFF", 14, 0xFFFF, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Bytes image = BlankDibImage(16, 16, 8);
    for (int i = 0; i < c.FieldBytes; ++i) {
      image[c.Offset + i] = static_cast<std::uint8_t>(c.Value >> (8 * i));
    }
    IconFileBuilder file;
    file.AddImage(image);
    LoadResult result;
    Load(file.Build(), result);
    ASSERT_TRUE(result.Loaded);
    ASSERT_EQ(result.Icon.Images.Count(), 1);
    EXPECT_EQ(result.Icon.Images.Get(0)->Bytes(), image);
    EXPECT_EQ(DecodableImages(result.Icon), 0);
    RgbaCanvas canvas(32, 32);
    MakeGraphic(*result.Icon.Images.Get(0))->Draw(canvas, IconRect{0, 0, 32, 32});
  }
}

// A PNG image cut at every length, both by its entry (BytesInRes) and by the end of the file:
// never a crash, and a picture only from the whole stream.
TEST(IconFileHostileTest, PngStreamsCutShort) {
  const Bytes png = testing::BuildPng(8, 8, std::vector<std::uint32_t>(64, 0x10203040));
  for (std::size_t size = 0; size < png.size(); ++size) {
    SCOPED_TRACE(size);
    IconFileBuilder byEntry;
    byEntry.AddImage(Bytes(png.begin(), png.begin() + static_cast<long>(size)));
    LoadResult shortEntry;
    Load(byEntry.Build(), shortEntry);
    ASSERT_TRUE(shortEntry.Loaded);
    if (size + 12 < png.size()) {
      EXPECT_EQ(DecodableImages(shortEntry.Icon), 0);
    }

    IconFileBuilder whole;
    whole.AddImage(png);
    Bytes cutFile = whole.Build();
    cutFile.resize(6 + 16 + size);
    LoadResult cut;
    Load(cutFile, cut);
    if (cut.Refused) continue;  // the image is larger than the cut file
    ASSERT_TRUE(cut.Loaded);
    // Cut before the end chunk, the image data itself is incomplete.
    if (size + 12 < png.size()) {
      EXPECT_EQ(DecodableImages(cut.Icon), 0);
    }
  }
}

}  // namespace
}  // namespace pictarix
