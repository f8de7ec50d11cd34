#include "output/SaveEntry.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/dib/BmpEncoder.h"
#include "harvest/BestImageIndex.h"
#include "imaging/ImagePicture.h"
#include "output/EntryPictures.h"
#include "output/OutputFiles.h"

namespace pictarix {

namespace {

constexpr std::int32_t kGifMaxColors = 256;

using Picture = std::optional<std::vector<std::uint8_t>>;

SaveResult IconToGif(const AdvancedIcon& icon, Picture& picture) {
  const int best = BestGifImageIndex(icon, kGifMaxColors);
  IconImage* image = best < 0 ? nullptr : icon.Images.Get(best);
  if (image == nullptr) return SaveResult::NothingToSave;
  const std::unique_ptr<IconGraphic> graphic = MakeGraphic(*image);
  if (graphic->Empty()) return SaveResult::CannotDecode;
  picture = GraphicToGif(*graphic);
  return SaveResult::Written;
}

SaveResult TilePicture(const ListEntry& entry, const TileList& tiles, SaveFormat format,
                       Picture& picture) {
  if (entry.TileImage < 0) return SaveResult::NothingToSave;
  if (format == SaveFormat::Bitmap) {
    if (const auto tile = TileToBitmap(entry, tiles)) picture = EncodeBmp(*tile);
  } else {
    picture = format == SaveFormat::Jpeg ? TileToJpeg(entry, tiles) : TileToPng(entry, tiles);
  }
  return picture ? SaveResult::Written : SaveResult::CannotDecode;
}

bool FitsKind(EntryKind kind, SaveFormat format) {
  if (format == SaveFormat::Cursor) return kind != EntryKind::Icon;
  if (format == SaveFormat::AnimatedCursor) return kind == EntryKind::Animated;
  return true;
}

}  // namespace

SaveResult SaveEntryPicture(const ListEntry& entry, const TileList& tiles,
                            const std::filesystem::path& fileName, SaveFormat format) {
  if (entry.Icon == nullptr || entry.Icon->Images.Count() == 0) return SaveResult::NothingToSave;
  if (!FitsKind(entry.Icon->Kind, format)) return SaveResult::WrongKind;
  Picture picture;
  SaveResult result = SaveResult::Written;
  switch (format) {
    case SaveFormat::Icon:
      SaveIconFile(*entry.Icon, fileName);
      return SaveResult::Written;
    case SaveFormat::Cursor:
      SaveCursorFile(*entry.Icon, fileName);
      return SaveResult::Written;
    case SaveFormat::AnimatedCursor:
      SaveAnimatedCursorFile(*entry.Icon, fileName);
      return SaveResult::Written;
    case SaveFormat::Gif:
      result = IconToGif(*entry.Icon, picture);
      break;
    case SaveFormat::Bitmap:
    case SaveFormat::Jpeg:
    case SaveFormat::Png:
      result = TilePicture(entry, tiles, format, picture);
      break;
  }
  if (result == SaveResult::Written) SavePictureFile(*picture, fileName);
  return result;
}

SaveResult SaveLargestImage(const ListEntry& entry, const std::filesystem::path& fileName) {
  const Picture picture = LargestImagePng(entry);
  if (!picture) {
    const bool images = entry.Icon != nullptr && entry.Icon->Images.Count() > 0;
    return images ? SaveResult::CannotDecode : SaveResult::NothingToSave;
  }
  SavePictureFile(*picture, fileName);
  return SaveResult::Written;
}

bool SaveEntryAs(const ListEntry& entry, const TileList& tiles,
                 const std::filesystem::path& fileName, SaveFormat format) {
  return SaveEntryPicture(entry, tiles, fileName, format) == SaveResult::Written;
}

}  // namespace pictarix
