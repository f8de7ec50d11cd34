#include "output/EntryPictures.h"

#include "formats/png/PngEncoder.h"
#include "imaging/ComposeOverWhite.h"
#include "imaging/GifEncoder.h"
#include "imaging/JpegEncoder.h"
#include "imaging/RgbaPicture.h"

namespace pictarix {

RgbImage GraphicToBitmap(IconGraphic& graphic) {
  const int width = graphic.GetWidth();
  const int height = graphic.GetHeight();
  if (graphic.Empty()) return RgbImage(width, height);
  return ComposeOverWhite(*graphic.Handle(), width, height);
}

std::optional<RgbImage> TileToBitmap(const ListEntry& entry, const TileList& tiles) {
  if (entry.ImageIndex < 0 || entry.ImageIndex >= tiles.Count()) return std::nullopt;
  const IconHandle& tile = tiles.Get(entry.ImageIndex);
  if (!tile) return std::nullopt;
  return ComposeOverWhite(*tile, TileList::kTileSize, TileList::kTileSize);
}

std::vector<std::uint8_t> GraphicToGif(IconGraphic& graphic) {
  return EncodeGif(GraphicToBitmap(graphic));
}

std::optional<std::vector<std::uint8_t>> TileToJpeg(const ListEntry& entry, const TileList& tiles) {
  const std::optional<RgbImage> tile = TileToBitmap(entry, tiles);
  if (!tile) return std::nullopt;
  return EncodeJpeg(*tile);
}

std::optional<std::vector<std::uint8_t>> TileToPng(const ListEntry& entry, const TileList& tiles) {
  const std::optional<RgbImage> tile = TileToBitmap(entry, tiles);
  if (!tile) return std::nullopt;
  return EncodePng(*tile);
}

std::optional<std::vector<std::uint8_t>> LargestImagePng(const ListEntry& entry) {
  if (entry.Icon == nullptr) return std::nullopt;
  const int largest = LargestImageIndex(entry.Icon->Images);
  if (largest < 0) return std::nullopt;
  return ImagePngBytes(*entry.Icon->Images.Get(largest));
}

}  // namespace pictarix
