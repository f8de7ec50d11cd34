#include "output/SaveEntry.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/dib/BmpEncoder.h"
#include "formats/ico/IconFileWriter.h"
#include "harvest/BestImageIndex.h"
#include "imaging/ImagePicture.h"
#include "output/EntryPictures.h"

namespace pictarix {

namespace {

constexpr std::int32_t kGifMaxColors = 256;

using Picture = std::optional<std::vector<std::uint8_t>>;

TSaveResult IconToGif(const TAdvancedIcon& icon, Picture& picture) {
  const int best = BestGifImageIndex(icon, kGifMaxColors);
  TIconImage* image = best < 0 ? nullptr : icon.Images.Get(best);
  if (image == nullptr) return TSaveResult::NothingToSave;
  const std::unique_ptr<THiResIcon> graphic = MakeGraphic(*image);
  if (graphic->Empty()) return TSaveResult::CannotDecode;
  picture = GraphicToGif(*graphic);
  return TSaveResult::Written;
}

TSaveResult TilePicture(const TEntryList& list, int index, TSaveFormat format, Picture& picture) {
  const TListEntry& entry = *list.Entry(index);
  if (entry.TileImage < 0) return TSaveResult::NothingToSave;
  if (format == TSaveFormat::Bitmap) {
    if (const auto tile = TileToBitmap(list, index)) picture = EncodeBmp(*tile);
  } else {
    picture = format == TSaveFormat::Jpeg ? TileToJpeg(list, index) : TileToPng(list, index);
  }
  return picture ? TSaveResult::Written : TSaveResult::CannotDecode;
}

}  // namespace

TSaveResult SaveEntryPicture(TEntryList& list, const std::filesystem::path& fileName, int index,
                             TSaveFormat format) {
  TListEntry* entry = list.Entry(index);
  if (entry == nullptr || entry->Icon == nullptr || entry->Icon->Images.Count() == 0)
    return TSaveResult::NothingToSave;
  Picture picture;
  TSaveResult result = TSaveResult::Written;
  switch (format) {
    case TSaveFormat::Icon:
      SaveIconFile(*entry->Icon, fileName);
      return TSaveResult::Written;
    case TSaveFormat::Gif:
      result = IconToGif(*entry->Icon, picture);
      break;
    case TSaveFormat::Bitmap:
    case TSaveFormat::Jpeg:
    case TSaveFormat::Png:
      result = TilePicture(list, index, format, picture);
      break;
  }
  if (result == TSaveResult::Written) SaveGraphicToFile(*picture, fileName);
  return result;
}

bool SaveEntryAs(TEntryList& list, const std::filesystem::path& fileName, int index,
                 TSaveFormat format) {
  return SaveEntryPicture(list, fileName, index, format) == TSaveResult::Written;
}

}  // namespace pictarix
