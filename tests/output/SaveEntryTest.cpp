#include "formats/ico/IconFileReader.h"
#include "output/SaveEntry.h"

#include <gtest/gtest.h>

#include <fstream>

#include "formats/dib/BmpEncoder.h"
#include "os/Errors.h"
#include "output/EntryListFixture.h"
#include "output/PictureDecoders.h"
#include "support/HarvestFixtures.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::MakeIcon;

// The picture of SquareImage(size, ...) over white: a red square, white where it is transparent.
RgbImage SquareOverWhite(int size) {
  RgbImage image(size, size);
  for (int y = size / 4; y < size - size / 4; ++y) {
    for (int x = size / 4; x < size - size / 4; ++x) {
      const std::size_t at = image.PixelOffset(x, y);
      image.Rgb[at + 1] = image.Rgb[at + 2] = 0;
    }
  }
  return image;
}

bool Has(const std::vector<std::string>& chunks, const std::string& type) {
  return std::find(chunks.begin(), chunks.end(), type) != chunks.end();
}

class SaveEntryTest : public ::testing::Test {
 protected:
  std::filesystem::path PathOf(const std::string& name) const { return dir.Path() / name; }
  testing::TempDir dir;
  testing::EntryListFixture fixture;
};

TEST_F(SaveEntryTest, GifIsTheDeepestImageOfAtMost256ColoursAtItsOwnSize) {
  // Stored unsorted: the choice sorts the entry's icon in place.
  const int entry = fixture.Add(MakeIcon({{48, 32}, {32, 4}, {16, 4}}));
  ASSERT_TRUE(
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, PathOf("a.gif"), SaveFormat::Gif));
  const auto gif = testing::DecodeGif(ReadWholeFile(PathOf("a.gif")));
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->ImageCount, 1);
  EXPECT_LE(gif->ColorTableSize, 256);
  EXPECT_EQ(gif->ExtensionBlocks, 0);                  // no transparent colour
  EXPECT_EQ(gif->Image.Rgb, SquareOverWhite(32).Rgb);  // few colours: every pixel exact

  const IconImageList& images = fixture.Entries[0].Icon->Images;
  EXPECT_EQ(images.Get(0)->Width, 16);
  EXPECT_EQ(images.Get(1)->Width, 32);
  EXPECT_EQ(images.Get(2)->Width, 48);

  // Not the tile: the widest 8-bit image, here larger than the 32-bit tile.
  const int wide = fixture.Add(MakeIcon({{32, 32}, {48, 8}, {16, 8}}));
  ASSERT_TRUE(
      SaveEntryAs(fixture.Entry(wide), fixture.LargeImgs, PathOf("b.gif"), SaveFormat::Gif));
  const auto large = testing::DecodeGif(ReadWholeFile(PathOf("b.gif")));
  ASSERT_TRUE(large);
  EXPECT_EQ(large->Image.Rgb, SquareOverWhite(48).Rgb);
}

TEST_F(SaveEntryTest, OnlyTrueColourImagesGiveNoGifButStillATile) {
  const int entry = fixture.Add(MakeIcon({{32, 32}, {48, 32}, {16, 24}}));
  EXPECT_FALSE(
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, PathOf("a.gif"), SaveFormat::Gif));
  EXPECT_FALSE(std::filesystem::exists(PathOf("a.gif")));

  ASSERT_TRUE(
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, PathOf("a.png"), SaveFormat::Png));
  const auto png = testing::DecodePng(ReadWholeFile(PathOf("a.png")));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->ColorType, 2);  // truecolour without alpha
  EXPECT_EQ(png->BitDepth, 8);
  EXPECT_FALSE(Has(png->Chunks, "tRNS"));
  EXPECT_EQ(png->Image.Rgb, SquareOverWhite(32).Rgb);  // alpha 0 around the square: white
}

TEST_F(SaveEntryTest, BitmapJpegAndPngShowThe32x32TileWhateverTheLargestImage) {
  const int entry = fixture.Add(MakeIcon({{48, 8}, {32, 8}, {64, 32}}));
  const RgbImage tile = SquareOverWhite(32);
  ASSERT_TRUE(
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, PathOf("a.bmp"), SaveFormat::Bitmap));
  EXPECT_EQ(ReadWholeFile(PathOf("a.bmp")), EncodeBmp(tile));  // 32x32, 24 bpp, exact pixels

  ASSERT_TRUE(
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, PathOf("a.png"), SaveFormat::Png));
  const auto png = testing::DecodePng(ReadWholeFile(PathOf("a.png")));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->Image.Rgb, tile.Rgb);

  ASSERT_TRUE(
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, PathOf("a.jpg"), SaveFormat::Jpeg));
  const auto jpeg = testing::DecodeJpeg(ReadWholeFile(PathOf("a.jpg")));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->Image.Width, 32);
  EXPECT_EQ(jpeg->Image.Height, 32);
  EXPECT_TRUE(jpeg->AllQuantValuesOne);
  EXPECT_LT(testing::MeanAbsoluteError(jpeg->Image, tile), 3.0);
}

TEST_F(SaveEntryTest, IconFileKeepsEveryImageInTheEntrysOrder) {
  const int entry = fixture.Add(MakeIcon({{48, 32}, {16, 4}, {32, 8}, {32, 4}}));
  ASSERT_TRUE(
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, PathOf("a.ico"), SaveFormat::Icon));
  AdvancedIcon readBack;
  ASSERT_TRUE(ReadIconFile(PathOf("a.ico"), readBack));
  const IconImageList& saved = fixture.Entries[0].Icon->Images;
  ASSERT_EQ(readBack.Images.Count(), saved.Count());
  for (int i = 0; i < saved.Count(); ++i) {
    EXPECT_EQ(readBack.Images.Get(i)->EntryFields(), saved.Get(i)->EntryFields()) << i;
    EXPECT_EQ(readBack.Images.Get(i)->Bytes(), saved.Get(i)->Bytes()) << i;
  }
}

TEST_F(SaveEntryTest, NothingIsWrittenOutsideTheListOrTheFormats) {
  fixture.Add(MakeIcon({{32, 4}}));
  fixture.Add(MakeIcon({{32, 8}}), /*withTile=*/false);
  fixture.Add(std::make_unique<AdvancedIcon>());  // no images
  const auto target = PathOf("x");
  // Positions outside the list pick nothing.
  const EntrySelection picked = fixture.Select({-1, 3, 2, 0});
  ASSERT_EQ(PositionsOf(picked), (std::vector<int>{2, 0}));
  EXPECT_EQ(picked.front().Entry, &fixture.Entries[2]);
  for (const auto format : {SaveFormat::Icon, SaveFormat::Gif, SaveFormat::Png}) {
    EXPECT_EQ(SaveEntryPicture(fixture.Entry(2), fixture.LargeImgs, target, format),
              SaveResult::NothingToSave)
        << ExtFromFormat(format);
  }
  // A tile that could not be made is a picture that failed, not one with nothing to come from.
  for (const auto format : {SaveFormat::Bitmap, SaveFormat::Jpeg, SaveFormat::Png})
    EXPECT_EQ(SaveEntryPicture(fixture.Entry(1), fixture.LargeImgs, target, format),
              SaveResult::CannotDecode);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  // An entry without a tile still has its icon and its GIF.
  EXPECT_TRUE(SaveEntryAs(fixture.Entry(1), fixture.LargeImgs, PathOf("1.ico"), SaveFormat::Icon));
  EXPECT_TRUE(SaveEntryAs(fixture.Entry(1), fixture.LargeImgs, PathOf("1.gif"), SaveFormat::Gif));
}

TEST_F(SaveEntryTest, AFailedWriteReportsThePathAndReasonAndLeavesNoFile) {
  const int entry = fixture.Add(MakeIcon({{32, 4}}));
  { std::ofstream(PathOf("plain")) << "keep"; }
  const auto inside = PathOf("plain") / "a.png";
  for (const auto format :
       {SaveFormat::Icon, SaveFormat::Gif, SaveFormat::Bitmap, SaveFormat::Jpeg, SaveFormat::Png}) {
    try {
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, inside, format);
      ADD_FAILURE() << "no error for format " << ExtFromFormat(format);
    } catch (const FCreateError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot create file \"" + inside.string() + "\". " + SystemErrorText(ENOTDIR));
    }
  }
  EXPECT_EQ(ReadWholeFile(PathOf("plain")).size(), 4u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

  // A folder in the target's place is left as it was.
  std::filesystem::create_directory(PathOf("a.bmp"));
  EXPECT_THROW(
      SaveEntryAs(fixture.Entry(entry), fixture.LargeImgs, PathOf("a.bmp"), SaveFormat::Bitmap),
      FCreateError);
  EXPECT_TRUE(std::filesystem::is_directory(PathOf("a.bmp")));
  EXPECT_TRUE(std::filesystem::is_empty(PathOf("a.bmp")));
}

}  // namespace
}  // namespace pictarix
