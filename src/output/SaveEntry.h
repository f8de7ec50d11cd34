#pragma once
// "Save As" for one list entry: its icon as an icon file, or a picture of it.
#include <filesystem>

#include "output/EntryList.h"
#include "output/SaveFormat.h"

namespace pictarix {

// What saving one entry came to.
enum class SaveResult {
  Written,
  NothingToSave,  // no entry, no images, no image of at most 256 colours (GIF), no tile
  CannotDecode,   // the image the picture comes from cannot be decoded (or has no tile made)
};

// Writes the icon of the entry at `index` to `fileName` in `format`:
// - Icon: the entry's icon with all its images in their current order;
// - Gif: the image BestGifImageIndex(icon, 256) chooses, at its own size over white (the icon
//   is not changed);
// - Bitmap, Jpeg, Png: the entry's 32x32 tile over white (TileToBitmap).
// Nothing is written unless the result is Written. Files are replaced safely; failures raise
// (FCreateError "Cannot create file "%s". %s", PictureError).
SaveResult SaveEntryPicture(EntryList& list, const std::filesystem::path& fileName, int index,
                            SaveFormat format);

// The same, answering whether a file was written.
bool SaveEntryAs(EntryList& list, const std::filesystem::path& fileName, int index,
                 SaveFormat format);

}  // namespace pictarix
