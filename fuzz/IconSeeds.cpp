// Writes the seed corpus of IconFileFuzzer: small icon files made by the test fixture builder.
//   pictarix_icon_seeds <folder>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "SeedFolder.h"
#include "support/DibBuilder.h"
#include "support/FileBytes.h"
#include "support/IconFileBuilder.h"

using pictarix::testing::BlankDibImage;
using pictarix::testing::IconFileBuilder;
using pictarix::testing::PngImageStub;
using pictarix::testing::WriteBytes;

int main(int argc, char** argv) {
  const std::optional<std::filesystem::path> seeds = SeedFolder(argc, argv);
  if (!seeds) return 2;
  const std::filesystem::path& folder = *seeds;

  IconFileBuilder classic;
  classic.AddImage(BlankDibImage(16, 16, 4));
  classic.AddImage(BlankDibImage(32, 32, 8));
  classic.AddImage(BlankDibImage(16, 16, 1));
  WriteBytes(folder / "classic.ico", classic.Build());

  IconFileBuilder modern;
  modern.AddImage(BlankDibImage(24, 24, 32));
  modern.AddImage(PngImageStub(256, 256));
  WriteBytes(folder / "png.ico", modern.Build());

  // Whole PNG images of several kinds, for the quick check of stored PNG images.
  IconFileBuilder pictures;
  std::vector<std::uint32_t> pixels;
  for (std::uint32_t i = 0; i < 9 * 7; ++i) pixels.push_back(i % 3 == 0 ? 0 : 0x2080C0FF + i * 8);
  using pictarix::testing::PngColour;
  pictures.AddImage(pictarix::testing::BuildPng(9, 7, pixels));
  pictures.AddImage(pictarix::testing::BuildPng({.Width = 9,
                                                 .Height = 7,
                                                 .Pixels = pixels,
                                                 .Colour = PngColour::Palette,
                                                 .Interlaced = true}));
  pictures.AddImage(pictarix::testing::BuildPng(
      {.Width = 9, .Height = 7, .Pixels = pixels, .Colour = PngColour::Grey, .BitDepth = 16}));
  WriteBytes(folder / "png-images.ico", pictures.Build());

  IconFileBuilder reversed;
  reversed.AddImage(BlankDibImage(8, 8, 24));
  reversed.AddImage(BlankDibImage(4, 4, 16));
  reversed.DataOrder({1, 0});
  WriteBytes(folder / "reversed.ico", reversed.Build());

  IconFileBuilder cutOff;
  cutOff.AddImage(BlankDibImage(16, 16, 4)).Offset = 60;
  std::vector<std::uint8_t> cut = cutOff.Build();
  cut.resize(cut.size() - 40);
  WriteBytes(folder / "cut-off.ico", cut);

  IconFileBuilder cursor;
  cursor.Type(2).AddImage(BlankDibImage(2, 2, 1));
  WriteBytes(folder / "cursor.cur", cursor.Build());

  WriteBytes(folder / "empty.ico", IconFileBuilder().Build());
  return 0;
}
