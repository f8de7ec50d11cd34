#include "harvest/ListEntry.h"

#include "imaging/HiResIcon.h"
#include "imaging/ImagePicture.h"

namespace pictarix {

std::optional<ListEntry> MakeListEntry(std::string caption, std::unique_ptr<AdvancedIcon> icon,
                                       int tileImage, TileList* tiles, std::filesystem::path file) {
  ListEntry entry;
  if (tiles != nullptr && tileImage >= 0) {
    IconImage* image = icon->Images.Get(tileImage);
    if (image == nullptr) return std::nullopt;
    entry.ImageIndex = tiles->Add(*MakeGraphic(*image));
  }
  entry.Caption = std::move(caption);
  entry.Icon = std::move(icon);
  entry.TileImage = tileImage;
  entry.File = std::move(file);
  return entry;
}

}  // namespace pictarix
