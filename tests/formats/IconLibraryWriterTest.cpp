#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "formats/IconLibrary.h"
#include "formats/ne/IconLibraryWriter.h"
#include "formats/ne/NeReader.h"
#include "os/ByteSink.h"
#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/ReadBudget.h"
#include "output/OutputFiles.h"
#include "support/LittleEndian.h"
#include "support/NeBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::DibImage;
using testing::IconFromImages;

const Bytes kImage32 = DibImage(32, 4, 0x11);  // 744 bytes
const Bytes kImage16 = DibImage(16, 4, 0x22);  // 296 bytes

// Reads an assembled file back with the NE reader.
std::vector<IconEntry> ReadBack(const Bytes& bytes) {
  NeReader reader("lib/back.icl", std::make_unique<MemoryStream>(bytes));
  return reader.ReadIcons({});
}

TEST(IconLibraryWriterTest, WritesTheWorkedExampleByteForByte) {
  IconLibrary library;
  library.Icons.AddIcon("Folder", IconFromImages({kImage32, kImage16}));
  std::vector<std::pair<int, int>> progress;
  const auto record = [&progress](std::int32_t total, std::int32_t current) {
    progress.emplace_back(total, current);
  };

  testing::ByteWriter e;
  e.Text("MZ").PadTo(60).U32(128).PadTo(126).Text("IM").Text("NE").Zeros(32);
  e.U16(64).U16(64).U16(120).Zeros(14).U8(2).Zeros(8).U8(3);
  ASSERT_EQ(e.Size(), 192u);
  e.U16(0);                                             // shift
  e.U16(0x800E).U16(1).U32(0);                          // group record
  e.U16(260).U16(34).U16(0x1C30).U16(0x8001).U32(0);    // group 1
  e.U16(0x8003).U16(2).U32(0);                          // image record
  e.U16(294).U16(744).U16(0x1C30).U16(0x8001).U32(0);   // image 1
  e.U16(1038).U16(296).U16(0x1C30).U16(0x8002).U32(0);  // image 2
  e.U16(0);                                             // end of records
  e.U8(3).Text("ICL").U8(6).Text("Folder").U8(0);       // names
  ASSERT_EQ(e.Size(), 260u);
  e.U16(0).U16(1).U16(2);  // group directory
  e.U8(32).U8(32).U16(16).U16(1).U16(4).U32(744).U16(1);
  e.U8(16).U8(16).U16(16).U16(1).U16(4).U32(296).U16(2);
  e.Bytes(kImage32).Bytes(kImage16).U16(0);
  ASSERT_EQ(e.Size(), 1336u);

  testing::TempDir dir;
  SaveIconLibrary(library.Icons, dir.Path() / "out.icl", record);
  EXPECT_EQ(ReadWholeFile(dir.Path() / "out.icl"), e.Data());
  EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 1}}));
}

// Keeps each piece a writer hands over.
class PieceSink : public ByteSink {
 public:
  void Write(std::span<const std::uint8_t> bytes) override {
    Pieces.emplace_back(bytes.begin(), bytes.end());
  }
  std::vector<Bytes> Pieces;
};

TEST(IconLibraryWriterTest, StreamsTheAssembledBytesInPiecesAndNothingForARefusedLibrary) {
  IconLibrary library;
  Bytes large = kImage16;
  large.resize(3u << 20, 0x5A);  // beyond what is gathered: handed over as it is
  library.Icons.AddIcon("big", IconFromImages({kImage32, large, kImage16}));
  PieceSink sink;
  IconLibraryWriter(library.Icons).Write(sink);
  Bytes streamed;
  std::size_t largest = 0;
  for (const Bytes& piece : sink.Pieces) {
    streamed.insert(streamed.end(), piece.begin(), piece.end());
    largest = std::max(largest, piece.size());
  }
  EXPECT_EQ(streamed, IconLibraryWriter(library.Icons).Assemble());
  EXPECT_EQ(largest, large.size());
  EXPECT_GE(sink.Pieces.size(), 3u);

  auto wide = std::make_unique<AdvancedIcon>();
  for (int i = 0; i < 2; ++i) {
    auto image = std::make_unique<IconImage>();
    image->BytesInRes = 0x80000000u;  // stated, not held: no shift can place both
    wide->Images.Add(std::move(image));
  }
  IconLibrary refused;
  refused.Icons.AddIcon("", std::move(wide));
  PieceSink untouched;
  EXPECT_THROW(IconLibraryWriter(refused.Icons).Write(untouched), IconLibraryError);
  EXPECT_TRUE(untouched.Pieces.empty());
}

TEST(IconLibraryWriterTest, TheEstimatesShiftIsWrittenWhenEverythingFits) {
  // After the names (243 bytes for one icon "A"), 6 + 14 + BytesInRes: 65535 or 65536 in all.
  for (const std::uint32_t size : {65272u, 65273u}) {
    Bytes image = kImage16;
    image.resize(size, 0x33);
    IconLibrary library;
    library.Icons.AddIcon("A", IconFromImages({image}));
    const Bytes bytes = IconLibraryWriter(library.Icons).Assemble();
    const unsigned shift = size == 65272u ? 0 : 1;
    EXPECT_EQ(testing::U16At(bytes, 192), shift);
    // Group at 243 (rounded up to 244 with shift 1), the image right after its directory.
    EXPECT_EQ(testing::U16At(bytes, 202), shift == 0 ? 243 : 122);
    EXPECT_EQ(testing::U16At(bytes, 222) << shift, shift == 0 ? 263 : 264);
    EXPECT_EQ(testing::U16At(bytes, 224), shift == 0 ? 65272 : 32637);
    const auto icons = ReadBack(bytes);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].Name, "A");
    const auto& data = icons[0].Icon->Images.Get(0)->Bytes();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), data.begin()));
  }
}

TEST(IconLibraryWriterTest, PaddingTheEstimateLeavesOutRaisesTheShift) {
  // 100 icons of one odd-sized image each: at shift 1 every image gains a byte of padding, which
  // pushes the last image's offset past 65535 units although the estimate fits shift 1.
  constexpr int kIcons = 100;
  std::vector<Bytes> images(kIcons, Bytes(3, 0x44));
  images.back() = Bytes(1, 0x45);
  std::size_t namesEnd = 192 + 2 + 8 + 12 * kIcons + 8 + 12 * kIcons + 2 + 4 + 1;
  for (int i = 0; i < kIcons; ++i) namesEnd += 1 + std::to_string(i).size();
  const std::size_t estimateWithoutFirst = namesEnd + 20 * kIcons + 3 * (kIcons - 2) + 1;
  images.front() = Bytes(131070 - estimateWithoutFirst, 0x46);  // estimate exactly 131070

  IconLibrary library;
  for (int i = 0; i < kIcons; ++i) {
    library.Icons.AddIcon(std::to_string(i), IconFromImages({images[static_cast<std::size_t>(i)]}));
  }
  const Bytes bytes = IconLibraryWriter(library.Icons).Assemble();
  EXPECT_EQ(testing::U16At(bytes, 192), 2);  // the shift
  const auto icons = ReadBack(bytes);
  ASSERT_EQ(icons.size(), static_cast<std::size_t>(kIcons));
  for (int i = 0; i < kIcons; ++i) {
    const auto& data = icons[static_cast<std::size_t>(i)].Icon->Images.Get(0)->Bytes();
    const Bytes& image = images[static_cast<std::size_t>(i)];
    ASSERT_TRUE(std::equal(image.begin(), image.end(), data.begin())) << i;
    EXPECT_EQ(icons[static_cast<std::size_t>(i)].Name, std::to_string(i));
  }
}

TEST(IconLibraryWriterTest, RoundTripsNamesImagesAndEmptyIcons) {
  IconLibrary library;
  std::string every8Bit;
  for (int b = 0x80; b <= 0xFF; ++b) every8Bit += static_cast<char>(b);
  const std::vector<std::string> names = {Windows1252ToUtf8(every8Bit), "Folder", "Folder",
                                          "Caf\u00E9", "empty"};
  library.Icons.AddIcon(names[0], IconFromImages({kImage32, kImage16}));
  library.Icons.AddIcon(names[1], IconFromImages({kImage16}));
  library.Icons.AddIcon(names[2], IconFromImages({kImage32}));
  library.Icons.AddIcon(names[3], IconFromImages({DibImage(48, 8), DibImage(24, 1)}));
  library.Icons.AddIcon(names[4], IconFromImages({}));
  for (int i = 0; i < 300; ++i) {
    library.Icons.AddIcon("", IconFromImages(std::vector<Bytes>(static_cast<std::size_t>(i % 3),
                                                                DibImage(16, 8, 0x30 + i % 7))));
  }
  const Bytes bytes = IconLibraryWriter(library.Icons).Assemble();
  // The 8-bit name is stored byte for byte.
  const std::string stored(bytes.begin() + testing::U16At(bytes, 166) + 128 + 5,
                           bytes.begin() + testing::U16At(bytes, 166) + 128 + 5 + 128);
  EXPECT_EQ(stored, every8Bit);

  const auto icons = ReadBack(bytes);
  ASSERT_EQ(icons.size(), static_cast<std::size_t>(library.Icons.Count()));
  for (std::int32_t i = 0; i < library.Icons.Count(); ++i) {
    const auto& original = library.Icons.Icon(i).Images;
    const auto& back = icons[static_cast<std::size_t>(i)].Icon->Images;
    EXPECT_EQ(icons[static_cast<std::size_t>(i)].Name, library.Icons.Name(i));
    ASSERT_EQ(back.Count(), original.Count()) << i;
    for (int j = 0; j < original.Count(); ++j) {
      EXPECT_EQ(back.Get(j)->EntryFields(), original.Get(j)->EntryFields());
      EXPECT_EQ(back.Get(j)->Bytes(), original.Get(j)->Bytes());
    }
  }
  // The empty icon's directory: reserved 0, type 1, count 0, six bytes (and padding).
  const unsigned shift = testing::U16At(bytes, 192);
  ASSERT_GT(shift, 0u);
  const std::size_t emptyEntry = 202 + 12 * 4;
  EXPECT_EQ(testing::U16At(bytes, emptyEntry + 2), 1);
  const std::size_t emptyAt = std::size_t{testing::U16At(bytes, emptyEntry)} << shift;
  EXPECT_EQ(Bytes(bytes.begin() + emptyAt, bytes.begin() + emptyAt + 6), (Bytes{0, 0, 1, 0, 0, 0}));
}

TEST(IconLibraryWriterTest, NamesAreShortenedAndEncodedForTheFile) {
  IconLibrary library;
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += "\u00E9";  // 2 bytes in UTF-8, 1 in the file
  library.Icons.AddIcon(longName, IconFromImages({kImage16}));
  library.Icons.AddIcon("\u65E5\u672C", IconFromImages({kImage16}));
  auto icons = ReadBack(IconLibraryWriter(library.Icons).Assemble());
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].Name, longName.substr(0, 2 * 255));
  EXPECT_EQ(icons[1].Name, "??");

  // A first icon named ICL is taken for the module name: every icon gets a file-based name.
  IconLibrary icl;
  icl.Icons.AddIcon("ICL", IconFromImages({kImage16}));
  icl.Icons.AddIcon("Disk", IconFromImages({kImage16}));
  icons = ReadBack(IconLibraryWriter(icl.Icons).Assemble());
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].Name, "back 001");
  EXPECT_EQ(icons[1].Name, "back 002");
}

TEST(IconLibraryWriterTest, ImagesWithoutDataStillFillTheirBytesInRes) {
  auto icon = std::make_unique<AdvancedIcon>();
  auto image = std::make_unique<IconImage>();
  image->BytesInRes = 40;
  icon->Images.Add(std::move(image));
  IconLibrary library;
  library.Icons.AddIcon("x", std::move(icon));
  const auto icons = ReadBack(IconLibraryWriter(library.Icons).Assemble());
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].Icon->Images.Get(0)->Bytes(), Bytes(40, 0));
}

TEST(IconLibraryWriterTest, EveryHeaderFieldHoldsItsTrueValueOrNothingIsWritten) {
  const auto library = [](int images) {
    auto lib = std::make_unique<IconLibrary>();
    for (int half = 0; half < 2; ++half) {
      auto icon = std::make_unique<AdvancedIcon>();
      for (int i = 0; i < images / 2 + half * (images % 2); ++i) {
        auto image = std::make_unique<IconImage>();
        image->SetData(Bytes(4, static_cast<std::uint8_t>(i)));
        image->BytesInRes = 4;
        icon->Images.Add(std::move(image));
      }
      lib->Icons.AddIcon("", std::move(icon));
    }
    return lib;
  };
  testing::TempDir dir;
  const auto target = dir.Path() / "big.icl";
  auto tooMany = library(32768);
  EXPECT_THROW(SaveIconLibrary(tooMany->Icons, target), IconLibraryError);
  EXPECT_FALSE(std::filesystem::exists(target));

  // Two icons and their images: the names table then starts 84 + 12 x 5454 = 65532 bytes into
  // the NE header, the last position its 16-bit field holds.
  const int most = static_cast<int>(IconLibraryWriter::kMaxResources) - 2;
  SaveIconLibrary(library(most)->Icons, target);
  const Bytes written = ReadWholeFile(target);
  EXPECT_EQ(testing::U16At(written, 166), 65532);
  IconLibrary back;
  ASSERT_EQ(back.LoadFromFile(target), LoadOutcome::Loaded);
  ASSERT_EQ(back.Icons.Count(), 2);
  EXPECT_EQ(back.Icons.Icon(0).Images.Count() + back.Icons.Icon(1).Images.Count(), most);
  const auto& last = back.Icons.Icon(1).Images.Get(most / 2 - 1)->Bytes();
  EXPECT_EQ(Bytes(last.begin(), last.begin() + 4), Bytes(4, (most / 2 - 1) & 0xFF));

  // One more would wrap the field: refused with the limit named, the library left as it was.
  try {
    SaveIconLibrary(library(most + 1)->Icons, target);
    ADD_FAILURE() << "no refusal";
  } catch (const IconLibraryError& e) {
    EXPECT_NE(std::string(e.what()).find("at most 5454 icons and images"), std::string::npos);
  }
  EXPECT_EQ(ReadWholeFile(target), written);
}

// The reader takes at most 1 GiB of blocks from any file (ReadBudget): images that need more
// are refused before a byte is written, images that need less pass the limits.
TEST(IconLibraryWriterTest, WritesOnlyWhatTheReadersBudgetAccepts) {
  const auto library = [](int images) {
    auto lib = std::make_unique<IconLibrary>();
    for (int i = 0; i < images; ++i) {
      auto icon = std::make_unique<AdvancedIcon>();
      auto image = std::make_unique<IconImage>();
      image->BytesInRes = static_cast<std::uint32_t>(ReadBudget::kMaxClaim);  // 32 MiB
      icon->Images.Add(std::move(image));
      lib->Icons.AddIcon("", std::move(icon));
    }
    return lib;
  };
  testing::TempDir dir;
  // A folder that does not exist: a library within the limits fails only at its creation.
  const auto target = dir.Path() / "missing" / "big.icl";
  EXPECT_THROW(SaveIconLibrary(library(31)->Icons, target), FCreateError);
  try {
    SaveIconLibrary(library(32)->Icons, target);
    ADD_FAILURE() << "no refusal";
  } catch (const IconLibraryError& e) {
    EXPECT_NE(std::string(e.what()).find("at most 1024 MiB"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace pictarix
