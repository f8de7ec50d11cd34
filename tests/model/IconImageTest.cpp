#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "formats/ico/ImageDataWriter.h"
#include "imaging/HiResIcon.h"
#include "imaging/ImagePicture.h"
#include "model/IconImage.h"
#include "os/Stream.h"
#include "support/IconFileBuilder.h"
#include "support/LittleEndian.h"

namespace pictarix {
namespace {

using testing::BlankDibImage;
using testing::PngImageStub;

std::unique_ptr<IconImage> ImageWith(std::vector<std::uint8_t> data) {
  auto image = std::make_unique<IconImage>();
  image->BytesInRes = static_cast<std::uint32_t>(data.size());
  image->SetData(std::move(data));
  image->UpdateFromHeader();
  return image;
}

// A bitmap header of 16 bytes carrying only the fields UpdateFromHeader reads.
std::vector<std::uint8_t> HeaderBytes(std::int32_t width, std::uint32_t height,
                                      std::uint16_t bitCount) {
  std::vector<std::uint8_t> b(16, 0);
  testing::SetU32At(b, 4, static_cast<std::uint32_t>(width));
  testing::SetU32At(b, 8, height);
  testing::SetU16At(b, 14, bitCount);
  return b;
}

TEST(IconImageHeaderTest, DerivesSquareSizeAndColoursFromTheBitmapHeader) {
  auto image = ImageWith(BlankDibImage(32, 32, 4));
  EXPECT_EQ(image->Width, 32);
  EXPECT_EQ(image->Height, 32);
  EXPECT_EQ(image->BitCount, 4);
  EXPECT_EQ(image->ColorCount, 16);

  EXPECT_EQ(ImageWith(BlankDibImage(16, 16, 1))->ColorCount, 2);
  EXPECT_EQ(ImageWith(BlankDibImage(16, 16, 8))->ColorCount, 256);
  EXPECT_EQ(ImageWith(BlankDibImage(16, 16, 16))->ColorCount, 0);  // 65536 does not fit
  EXPECT_EQ(ImageWith(BlankDibImage(16, 16, 24))->ColorCount, 0);
  EXPECT_EQ(ImageWith(BlankDibImage(16, 16, 32))->ColorCount, 0);
}

TEST(IconImageHeaderTest, SmallerSideWinsAnd256BecomesZero) {
  EXPECT_EQ(ImageWith(BlankDibImage(256, 256, 32))->Width, 0);
  EXPECT_EQ(ImageWith(BlankDibImage(256, 256, 32))->Height, 0);
  // Wider than high: the half height wins.
  auto wide = ImageWith(HeaderBytes(48, 2 * 20, 8));
  EXPECT_EQ(wide->Width, 20);
  EXPECT_EQ(wide->Height, 20);
  // Odd stored height is halved as an unsigned value.
  EXPECT_EQ(ImageWith(HeaderBytes(100, 61, 8))->Width, 30);
}

TEST(IconImageHeaderTest, SignedWidthAndHugeHeightAreTakenAsStored) {
  // A negative width is smaller than any half height: its low 8 bits are kept.
  EXPECT_EQ(ImageWith(HeaderBytes(-2, 64, 8))->Width, 0xFE);
  // Height 0xFFFFFFFF halves to 0x7FFFFFFF, still compared as a signed value.
  EXPECT_EQ(ImageWith(HeaderBytes(300, 0xFFFFFFFFu, 8))->Width, 300 & 0xFF);
}

TEST(IconImageHeaderTest, LargeBitCountsGiveNoColourCount) {
  for (std::uint16_t bits : {16, 17, 23, 24, 31, 32, 33, 64, 255, 256, 4096, 65535}) {
    auto image = ImageWith(HeaderBytes(16, 32, bits));
    EXPECT_EQ(image->BitCount, bits);
    EXPECT_EQ(image->ColorCount, 0) << bits;
  }
  EXPECT_EQ(ImageWith(HeaderBytes(16, 32, 15))->ColorCount, 0x8000);
}

TEST(IconImageHeaderTest, PngDataReadsAsZeroSizeAndBitCount21060) {
  auto image = ImageWith(PngImageStub(256, 256));
  EXPECT_EQ(image->Width, 0);
  EXPECT_EQ(image->Height, 0);
  EXPECT_EQ(image->BitCount, 21060);
  EXPECT_EQ(image->ColorCount, 0);
}

TEST(IconImageHeaderTest, ShortDataCountsMissingBytesAsZero) {
  auto empty = ImageWith({});
  EXPECT_EQ(empty->Width, 0);
  EXPECT_EQ(empty->BitCount, 0);
  EXPECT_EQ(empty->ColorCount, 1);  // 2 to the power 0

  // Width and height held, bit count cut after its first byte.
  std::vector<std::uint8_t> cut = HeaderBytes(16, 32, 0x0104);
  cut.resize(15);
  auto partial = ImageWith(cut);
  EXPECT_EQ(partial->Width, 16);
  EXPECT_EQ(partial->BitCount, 4);
  EXPECT_EQ(partial->ColorCount, 16);

  IconImage noData;
  noData.Width = 7;
  noData.UpdateFromHeader();
  EXPECT_EQ(noData.Width, 0);
}

TEST(IconImageFieldsTest, EntryFieldsRoundTripLittleEndian) {
  IconImage image;
  const std::array<std::uint8_t, 12> fields{0x30, 0x31, 0x00, 0x01, 0x01, 0x00,
                                            0x08, 0x00, 0x28, 0x09, 0x00, 0x00};
  image.SetEntryFields(fields);
  EXPECT_EQ(image.Width, 0x30);
  EXPECT_EQ(image.Height, 0x31);
  EXPECT_EQ(image.ColorCount, 256);
  EXPECT_EQ(image.Planes, 1);
  EXPECT_EQ(image.BitCount, 8);
  EXPECT_EQ(image.BytesInRes, 0x928u);
  EXPECT_EQ(image.EntryFields(), fields);
}

TEST(IconImageWriteTest, WritesExactlyBytesInRes) {
  IconImage image;
  image.SetData({1, 2, 3, 4, 5});
  image.BytesInRes = 3;
  MemoryStream shorter;
  WriteImageData(image, shorter);
  EXPECT_EQ(shorter.Bytes(), (std::vector<std::uint8_t>{1, 2, 3}));

  image.BytesInRes = 8;
  MemoryStream zeroFilled;
  WriteImageData(image, zeroFilled);
  EXPECT_EQ(zeroFilled.Bytes(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 0, 0, 0}));

  IconImage noData;
  noData.BytesInRes = 10;
  MemoryStream nothing;
  WriteImageData(noData, nothing);
  EXPECT_EQ(nothing.Size(), 0u);
}

TEST(IconImageCopyTest, CopiesFieldsAndSharesDataWithoutDecoding) {
  auto source = ImageWith(BlankDibImage(32, 32, 8));
  source->Planes = 3;  // never re-derived: must travel with the copy
  auto copy = IconImage::CreateCopy(*source);
  EXPECT_EQ(copy->EntryFields(), source->EntryFields());
  EXPECT_EQ(copy->Data, source->Data);
  // A valid image, but nothing was drawn yet: neither side is decoded by copying.
  EXPECT_EQ(source->Handle, nullptr);
  EXPECT_EQ(copy->Handle, nullptr);
}

TEST(IconImageCopyTest, SharesAnExistingHandle) {
  auto source = ImageWith(BlankDibImage(16, 16, 4));
  source->Handle = std::make_shared<IconPicture>(IconPicture{16, 16, {}, {}, false, false});
  auto copy = IconImage::CreateCopy(*source);
  EXPECT_EQ(copy->Handle, source->Handle);
  EXPECT_EQ(DecodedPicture(*copy), source->Handle);
}

TEST(IconImageCopyTest, ReconcilesHeldDataWithBytesInRes) {
  // Held more than stated (resource larger than its group entry says): the copy keeps
  // BytesInRes bytes.
  auto longer = std::make_unique<IconImage>();
  std::vector<std::uint8_t> bytes = HeaderBytes(16, 32, 4);
  bytes.resize(40, 0xAB);
  longer->SetData(bytes);
  longer->BytesInRes = 20;
  auto trimmed = IconImage::CreateCopy(*longer);
  EXPECT_EQ(trimmed->Bytes(), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 20));
  EXPECT_EQ(trimmed->BytesInRes, 20u);
  EXPECT_EQ(trimmed->Width, 16);

  // Held fewer than stated: the copy keeps the held bytes instead of allocating the stated
  // size; writing still gives BytesInRes bytes.
  auto shorter = std::make_unique<IconImage>();
  shorter->SetData({9, 9, 9});
  shorter->BytesInRes = 0xFFFFFFF0u;
  auto kept = IconImage::CreateCopy(*shorter);
  EXPECT_EQ(kept->Bytes().size(), 3u);
  EXPECT_EQ(kept->BytesInRes, 0xFFFFFFF0u);

  IconImage empty;
  empty.BytesInRes = 12;
  EXPECT_FALSE(IconImage::CreateCopy(empty)->HasData());
}

TEST(IconImageHandleTest, NoDataGivesNoHandleAndAnEmptyGraphic) {
  IconImage image;
  EXPECT_EQ(DecodedPicture(image), nullptr);
  auto graphic = MakeGraphic(image);
  ASSERT_NE(graphic, nullptr);
  EXPECT_TRUE(graphic->Empty());
}

TEST(IconImageHandleTest, GraphicSharesTheImagesHandle) {
  auto image = ImageWith(BlankDibImage(16, 16, 4));
  image->Handle = std::make_shared<IconPicture>(IconPicture{16, 16, {}, {}, false, false});
  auto graphic = MakeGraphic(*image);
  EXPECT_EQ(graphic->Handle(), image->Handle);
  EXPECT_EQ(image->Handle.use_count(), 2);  // the image keeps its own
}

TEST(IconImageHandleTest, DecodesOnceOnRequestAndCopiesShareTheResult) {
  auto image = ImageWith(BlankDibImage(16, 16, 4));
  EXPECT_EQ(image->Handle, nullptr);
  const IconHandle handle = DecodedPicture(*image);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(handle->Width, 16);
  EXPECT_EQ(DecodedPicture(*image), handle);  // made once
  EXPECT_EQ(IconImage::CreateCopy(*image)->Handle, handle);
  EXPECT_EQ(MakeGraphic(*image)->GetWidth(), 16);
}

TEST(IconImageHandleTest, DecodesOnlyTheFirstBytesInResBytes) {
  // A resource holding a whole image under a group entry that states 20 bytes: the decoder sees
  // 20 bytes, which hold no image.
  auto image = ImageWith(BlankDibImage(16, 16, 4));
  image->BytesInRes = 20;
  EXPECT_EQ(DecodedPicture(*image), nullptr);
}

TEST(IconImageHandleTest, UnreadableDataLeavesTheHandleEmpty) {
  auto image = ImageWith({1, 2, 3});
  EXPECT_EQ(DecodedPicture(*image), nullptr);
  EXPECT_EQ(image->Handle, nullptr);
  EXPECT_EQ(DecodedPicture(*image), nullptr);  // tried again, still nothing
}

}  // namespace
}  // namespace pictarix
