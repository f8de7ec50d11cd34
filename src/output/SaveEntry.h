#pragma once
// "Save As" for one list entry: its icon as an icon file, or a picture of it.
#include <filesystem>

#include "output/EntryList.h"
#include "output/SaveFormat.h"

namespace pictarix {

// Writes the icon of the entry at `index` to `fileName` in `format` (TSaveFormat):
// - sfIcon: the entry's icon with all its images in their current order;
// - sfGif: the image BestImageIndex(icon, 0, 256) chooses (which sorts the icon's images, as
//   the harvest does) at its own size over white;
// - sfBitmap, sfJpeg, sfPng: the entry's 32x32 tile over white (TileToBitmap).
// Nothing is written for an index outside the list, a format outside 0..4, an icon without
// images, no image of at most 256 colours for GIF, an image that cannot be decoded, or an entry
// without a tile for bitmap, JPEG and PNG. Answers whether a file was written. Files are
// replaced safely; failures raise (EFCreateError "Cannot create file "%s". %s", EPictureError).
bool SaveEntryAs(const TEntryList& list, const std::filesystem::path& fileName, int index,
                 int format);

}  // namespace pictarix
