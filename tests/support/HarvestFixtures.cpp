#include "support/HarvestFixtures.h"
#include "formats/ico/IconFileReader.h"

#include "formats/IconLibrary.h"
#include "harvest/BestImageIndex.h"
#include "os/SafeFile.h"
#include "os/Stream.h"
#include "output/OutputFiles.h"
#include "support/DibBuilder.h"
#include "support/IconFileBuilder.h"

namespace pictarix::testing {

std::vector<std::uint8_t> SquareImage(int size, int bitCount) {
  DibLayout layout;
  layout.Width = size;
  layout.Height = size;
  layout.BitCount = bitCount;
  const bool paletted = bitCount <= 8;
  if (paletted) {
    layout.Palette.assign(std::size_t{1} << bitCount, Rgba(0, 0, 0));  // a full table
    layout.Palette[1] = Rgba(255, 0, 0);
  }
  const std::uint32_t red =
      paletted ? 1 : (bitCount == 32 ? Rgba(255, 0, 0, 255) : Rgba(255, 0, 0));
  layout.Pixels.assign(static_cast<std::size_t>(size * size), 0);
  layout.Mask.assign(static_cast<std::size_t>(size * size), 1);
  for (int y = size / 4; y < size - size / 4; ++y) {
    for (int x = size / 4; x < size - size / 4; ++x) {
      layout.Pixels[static_cast<std::size_t>(y * size + x)] = red;
      layout.Mask[static_cast<std::size_t>(y * size + x)] = 0;
    }
  }
  return BuildDib(layout);
}

namespace {

std::vector<std::uint8_t> IconFileBytes(const std::vector<std::pair<int, int>>& sizesAndBits) {
  IconFileBuilder builder;
  for (const auto& [size, bits] : sizesAndBits) builder.AddImage(SquareImage(size, bits));
  return builder.Build();
}

}  // namespace

std::unique_ptr<AdvancedIcon> MakeIcon(const std::vector<std::pair<int, int>>& sizesAndBits) {
  auto icon = std::make_unique<AdvancedIcon>();
  MemoryStream stream(IconFileBytes(sizesAndBits));
  ReadIconFile(stream, *icon);
  return icon;
}

void WriteIconFile(const std::filesystem::path& path,
                   const std::vector<std::pair<int, int>>& sizesAndBits) {
  ReplaceFileContents(path, IconFileBytes(sizesAndBits));
}

void WriteIconLibrary(
    const std::filesystem::path& path,
    const std::vector<std::pair<std::string, std::vector<std::pair<int, int>>>>& icons) {
  IconLibrary library;
  for (const auto& [name, images] : icons) library.Icons.AddIcon(name, MakeIcon(images));
  SaveIconLibrary(library.Icons, path);
}

int AppendEntry(std::vector<ListEntry>& entries, const std::string& caption,
                std::unique_ptr<AdvancedIcon> icon, int imageIndex, int tileImage) {
  ListEntry entry;
  entry.Caption = caption;
  entry.Icon = std::move(icon);
  entry.ImageIndex = imageIndex;
  entry.TileImage = tileImage;
  entries.push_back(std::move(entry));
  return static_cast<int>(entries.size()) - 1;
}

int AppendHarvestedEntry(std::vector<ListEntry>& entries, TileList& tiles,
                         const std::string& caption, std::unique_ptr<AdvancedIcon> icon,
                         bool withTile) {
  icon->Images.Sort();  // as the harvest orders an entry's images
  const int tileImage = BestImageIndex(*icon, 32, 0);
  entries.push_back(
      *MakeListEntry(caption, std::move(icon), tileImage, withTile ? &tiles : nullptr));
  return static_cast<int>(entries.size()) - 1;
}

}  // namespace pictarix::testing
