#include "output/ExportImages.h"

#include <gtest/gtest.h>
#include <png.h>

#include "imaging/RgbaPicture.h"
#include "os/SafeFileName.h"
#include "output/EntryListFixture.h"
#include "support/DibBuilder.h"
#include "support/HarvestFixtures.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::BuildDib;
using testing::DibLayout;
using testing::IconOfImages;
using testing::MakeIcon;
using testing::Rgba;

// The PNG read back as straight RGBA with libpng itself.
RgbaPicture ReadRgbaPng(const std::vector<std::uint8_t>& bytes) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return {};
  png.format = PNG_FORMAT_RGBA;
  RgbaPicture picture{static_cast<int>(png.width), static_cast<int>(png.height), {}};
  picture.Rgba.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, picture.Rgba.data(), 0, nullptr)) return {};
  return picture;
}

// What the export must show: the decoder's colours, its alpha where the image has alpha of its
// own, otherwise opaque exactly where the AND mask is 0.
RgbaPicture Expected(const std::vector<std::uint8_t>& image) {
  const IconHandle decoded = CreateIconFromResource(image, 0, 0);
  EXPECT_TRUE(decoded);
  if (!decoded) return {};
  RgbaPicture picture{decoded->Width, decoded->Height, decoded->Rgba};
  if (!decoded->HasAlpha)
    for (std::size_t i = 0; i < decoded->Mask.size(); ++i)
      picture.Rgba[i * 4 + 3] = decoded->Mask[i] ? 0 : 255;
  return picture;
}

// A 6x3 image: a colour per pixel, mask 1 on the first row's left half.
DibLayout Layout(int bitCount) {
  DibLayout layout{.Width = 6, .Height = 3, .BitCount = bitCount};
  if (bitCount <= 8)
    layout.Palette = {Rgba(0, 0, 0), Rgba(255, 255, 255), Rgba(200, 10, 30), Rgba(5, 90, 250)};
  for (std::uint32_t i = 0; i < 18; ++i) {
    // Alpha 0 throughout: a 32-bit image without alpha in use.
    const std::uint32_t colour =
        Rgba(static_cast<std::uint8_t>(i * 13), 128, static_cast<std::uint8_t>(255 - i * 9), 0);
    layout.Pixels.push_back(bitCount == 1 ? i % 2 : bitCount <= 8 ? i % 4 : colour);
    layout.Mask.push_back(i < 3 ? 1 : 0);
  }
  return layout;
}

TEST(ExportImagesTest, BitmapImagesKeepTheDecodersPixelsWithMaskOrOwnAlpha) {
  std::vector<DibLayout> layouts;
  for (const int bits : {1, 4, 8, 16, 24, 32}) layouts.push_back(Layout(bits));
  DibLayout alpha = Layout(32);  // alpha in use: the mask no longer decides
  for (std::size_t i = 0; i < alpha.Pixels.size(); ++i)
    alpha.Pixels[i] |= static_cast<std::uint32_t>(i * 14 + 3);
  layouts.push_back(alpha);
  DibLayout core = Layout(8);  // the old header's 16-bit sides
  core.HeaderSize = 12;
  core.Palette.resize(256, Rgba(0, 0, 0));  // this header has no colour count
  layouts.push_back(core);

  for (const DibLayout& layout : layouts) {
    SCOPED_TRACE(::testing::Message() << layout.BitCount << " bpp, header " << layout.HeaderSize);
    const auto icon = IconOfImages({BuildDib(layout)});
    IconImage& image = *icon->Images.Get(0);
    EXPECT_EQ(RealImageSize(image).Width, 6);
    EXPECT_EQ(RealImageSize(image).Height, 3);
    const auto png = ImagePngBytes(image);
    ASSERT_TRUE(png);
    const RgbaPicture written = ReadRgbaPng(*png);
    const RgbaPicture expected = Expected(image.Bytes());
    EXPECT_EQ(written.Width, 6);
    EXPECT_EQ(written.Height, 3);
    EXPECT_EQ(written.Rgba, expected.Rgba);
    EXPECT_EQ(written.Rgba[3], layout.Pixels == alpha.Pixels ? alpha.Pixels[0] & 0xFF : 0);
  }
}

TEST(ExportImagesTest, PngImageIsWrittenAsStoredAndGarbageIsReported) {
  std::vector<std::uint32_t> pixels(20 * 10, Rgba(1, 2, 3, 77));
  const auto stored = testing::BuildPng(20, 10, pixels);
  std::vector<std::uint8_t> garbage = BuildDib(Layout(24));
  garbage.resize(60);  // colour bits cut short
  // Data after the image stream: not for the quick check, but it decodes, so it is written.
  auto chunks = testing::SplitPng(stored);
  chunks[1].Data.push_back(0);
  const auto bent = testing::JoinPng(chunks);
  // Half of the image stream, every CRC good: it does not decode.
  chunks[1].Data.resize(chunks[1].Data.size() / 2);
  const auto cut = testing::JoinPng(chunks);
  auto icon = IconOfImages({stored, garbage, bent, cut});

  testing::TempDir dir;
  const auto plan = PlanEntryExport(*icon, 7, dir.Path(), {});
  ASSERT_EQ(plan.size(), 4u);
  EXPECT_EQ(plan[0].Path, dir.Path() / "7-20x10-32.png");
  const auto failures = WriteEntryExport(*icon, plan);
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].Image, 1);
  EXPECT_EQ(failures[1].Image, 3);
  EXPECT_EQ(ReadWholeFile(plan[0].Path), stored);
  EXPECT_FALSE(std::filesystem::exists(plan[1].Path));
  EXPECT_EQ(ReadWholeFile(plan[2].Path), bent);
  EXPECT_FALSE(std::filesystem::exists(plan[3].Path));
}

// More files than go to the disk at once: every entry is told, in order, once its files are
// written.
TEST(ExportImagesTest, ManyEntriesAreToldInOrderWhenTheirFilesAreWritten) {
  testing::TempDir dir;
  const auto icon = MakeIcon({{16, 4}, {32, 8}, {48, 32}});
  std::vector<PlannedExport> exports;
  for (int entry = 0; entry < 90; ++entry)
    exports.push_back({icon.get(), entry == 5 ? std::vector<ExportItem>{}
                                              : PlanEntryExport(*icon, entry, dir.Path(), {})});
  std::vector<std::size_t> told;
  WriteEntryExports(exports, 2, [&](std::size_t entry, std::vector<ExportFailure> failures) {
    EXPECT_TRUE(failures.empty());
    for (const ExportItem& item : exports[entry].Plan)
      EXPECT_TRUE(std::filesystem::exists(item.Path)) << item.Path;
    told.push_back(entry);
  });
  ASSERT_EQ(told.size(), exports.size());
  for (std::size_t i = 0; i < told.size(); ++i) EXPECT_EQ(told[i], i);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 89 * 3);
}

TEST(ExportImagesTest, NamesRepeatsAndSelection) {
  const auto icon = MakeIcon({{16, 4}, {48, 8}, {16, 4}, {48, 32}, {32, 32}, {16, 4}});
  const auto names = [&](ExportSelection selection) {
    std::vector<std::string> result;
    for (const auto& item : PlanEntryExport(*icon, 3, "out", selection))
      result.push_back(item.Path.filename().string() + "@" + std::to_string(item.Image));
    return result;
  };
  using Mode = ExportSelection::Mode;
  const auto only = [](Mode which, int size = 0) {
    ExportSelection selection;
    selection.Which = which;
    selection.Size = size;
    return selection;
  };
  EXPECT_EQ(names({}), (std::vector<std::string>{"3-16x16-4.png@0", "3-48x48-8.png@1",
                                                 "3-16x16-4-2.png@2", "3-48x48-32.png@3",
                                                 "3-32x32-32.png@4", "3-16x16-4-3.png@5"}));
  EXPECT_EQ(names(only(Mode::Largest)), std::vector<std::string>{"3-48x48-32.png@3"});
  EXPECT_EQ(names(only(Mode::Size, 20)), std::vector<std::string>{"3-32x32-32.png@4"});
  EXPECT_EQ(names(only(Mode::Size, 16)),
            std::vector<std::string>{"3-16x16-4-3.png@5"});  // later tie
  EXPECT_EQ(names(only(Mode::Size, 300)), std::vector<std::string>{"3-48x48-32.png@3"});

  // PNG images are named by their real depth, so images told apart by it need no repeat.
  const auto png = [](testing::PngColour colour, int depth) {
    return testing::BuildPng({.Width = 256,
                              .Height = 256,
                              .Pixels = std::vector<std::uint32_t>(256 * 256),
                              .Colour = colour,
                              .BitDepth = depth});
  };
  std::vector<std::string> pngNames;
  const auto pngs =
      IconOfImages({png(testing::PngColour::Palette, 4), png(testing::PngColour::Palette, 8),
                    png(testing::PngColour::Rgba, 8), png(testing::PngColour::GreyAlpha, 8)});
  for (const auto& item : PlanEntryExport(*pngs, 0, "out", {}))
    pngNames.push_back(item.Path.filename().string());
  EXPECT_EQ(pngNames, (std::vector<std::string>{"0-256x256-4.png", "0-256x256-8.png",
                                                "0-256x256-32.png", "0-256x256-16.png"}));

  ExportSelection picked;
  picked.Entries = {2};
  picked.Names = {"app"};
  EXPECT_TRUE(picked.SelectsEntry(2, "x"));
  EXPECT_TRUE(picked.SelectsEntry(5, "app"));
  EXPECT_FALSE(picked.SelectsEntry(5, "App"));
  EXPECT_TRUE(ExportSelection{}.SelectsEntry(9, ""));
}

// Named after captions: entries sharing a caption (in any case) do not overwrite each other, and
// a caption is made a harmless name, as a tile dragged out is.
TEST(ExportImagesTest, CaptionNamesRepeatAcrossEntriesAndAreSafe) {
  const auto icon = MakeIcon({{16, 4}, {32, 8}, {32, 32}});
  UniqueFileNames names(UniqueFileNames::Repeat::Dashed);
  std::vector<std::string> got;
  for (const std::string caption : {"Folder", "FOLDER", "../a:b*?\\x\n "})
    for (const auto& item : PlanCaptionExport(*icon, caption, "out", {}, names))
      got.push_back(item.Path.filename().string());
  EXPECT_EQ(got, (std::vector<std::string>{
                     "Folder-16x16.png", "Folder-32x32.png", "Folder-32x32-2.png",
                     "FOLDER-16x16-2.png", "FOLDER-32x32-3.png", "FOLDER-32x32-4.png",
                     "_a_b___x_-16x16.png", "_a_b___x_-32x32.png", "_a_b___x_-32x32-2.png"}));
  for (const std::string& name : got) EXPECT_EQ(name, SafeFileName(name, ""));
}

}  // namespace
}  // namespace pictarix
