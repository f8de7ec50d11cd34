#include "output/EntryPictures.h"

#include "formats/png/PngEncoder.h"
#include "imaging/ComposeOverWhite.h"
#include "imaging/GifEncoder.h"
#include "imaging/JpegEncoder.h"
#include "os/SafeFile.h"

namespace pictarix {

RgbImage GraphicToBitmap(IconGraphic& graphic) {
  const int width = graphic.GetWidth();
  const int height = graphic.GetHeight();
  if (graphic.Empty()) return RgbImage(width, height);
  return ComposeOverWhite(*graphic.Handle(), width, height);
}

std::optional<RgbImage> TileToBitmap(const EntryList& list, int index) {
  const ListEntry* entry = list.Entry(index);
  if (entry == nullptr) return std::nullopt;
  if (entry->ImageIndex < 0 || entry->ImageIndex >= list.LargeImgs().Count()) return std::nullopt;
  const IconHandle& tile = list.LargeImgs().Get(entry->ImageIndex);
  if (!tile) return std::nullopt;
  return ComposeOverWhite(*tile, TileList::kTileSize, TileList::kTileSize);
}

std::vector<std::uint8_t> GraphicToGif(IconGraphic& graphic) {
  return EncodeGif(GraphicToBitmap(graphic));
}

std::optional<std::vector<std::uint8_t>> TileToJpeg(const EntryList& list, int index) {
  const std::optional<RgbImage> tile = TileToBitmap(list, index);
  if (!tile) return std::nullopt;
  return EncodeJpeg(*tile);
}

std::optional<std::vector<std::uint8_t>> TileToPng(const EntryList& list, int index) {
  const std::optional<RgbImage> tile = TileToBitmap(list, index);
  if (!tile) return std::nullopt;
  return EncodePng(*tile);
}

void SaveGraphicToFile(std::span<const std::uint8_t> bytes, const std::filesystem::path& fileName) {
  ReplaceFileContents(fileName, bytes);
}

}  // namespace pictarix
