#include "output/SaveEntry.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "harvest/BestImageIndex.h"
#include "output/BmpEncoder.h"
#include "output/EntryPictures.h"

namespace pictarix {

namespace {

constexpr std::int32_t kGifMaxColors = 256;

std::optional<std::vector<std::uint8_t>> IconToGif(TAdvancedIcon& icon) {
  const int best = BestImageIndex(icon, 0, kGifMaxColors);
  TIconImage* image = best < 0 ? nullptr : icon.Images.Get(best);
  if (image == nullptr) return std::nullopt;
  const std::unique_ptr<THiResIcon> graphic = image->CreateGraphic();
  if (graphic->Empty()) return std::nullopt;
  return GraphicToGif(*graphic);
}

std::optional<std::vector<std::uint8_t>> TileToBmp(const TEntryList& list, int index) {
  const std::optional<RgbImage> tile = TileToBitmap(list, index);
  if (!tile) return std::nullopt;
  return EncodeBmp(*tile);
}

}  // namespace

bool SaveEntryAs(const TEntryList& list, const std::filesystem::path& fileName, int index,
                 int format) {
  TListEntry* entry = list.Entry(index);
  if (entry == nullptr || entry->Icon == nullptr) return false;
  std::optional<std::vector<std::uint8_t>> picture;
  switch (format) {
    case sfIcon:
      if (entry->Icon->Images.Count() == 0) return false;
      entry->Icon->SaveToFile(fileName);
      return true;
    case sfGif:
      picture = IconToGif(*entry->Icon);
      break;
    case sfBitmap:
      picture = TileToBmp(list, index);
      break;
    case sfJpeg:
      picture = TileToJpeg(list, index);
      break;
    case sfPng:
      picture = TileToPng(list, index);
      break;
    default:
      return false;
  }
  if (!picture) return false;
  SaveGraphicToFile(*picture, fileName);
  return true;
}

}  // namespace pictarix
