#pragma once
// "Save As" for one list entry: its icon as an icon file, or a picture of it.
#include <filesystem>

#include "harvest/ListEntry.h"
#include "harvest/TileList.h"
#include "output/SaveFormat.h"

namespace pictarix {

// What saving one entry came to.
enum class SaveResult {
  Written,
  NothingToSave,  // no images, no image of at most 256 colours (GIF), no tile
  CannotDecode,   // the image the picture comes from cannot be decoded (or has no tile made)
  WrongKind,      // a cursor format for an icon, or an animated cursor's for a still one
};

// Writes the entry's icon to `fileName` in `format`:
// - Icon: the entry's icon with all its images in their current order;
// - Gif: the image BestGifImageIndex(icon, 256) chooses, at its own size over white (the icon
//   is not changed);
// - Bitmap, Jpeg, Png: the entry's 32x32 tile from `tiles` over white (TileToBitmap);
// - Cursor: a cursor file of the entry's images with their hotspots (a cursor or an animated
//   cursor, whose images are those of its first step's frame);
// - AnimatedCursor: an animated cursor file of an animated entry.
// Nothing is written unless the result is Written. Files are replaced safely; failures raise
// (FCreateError "Cannot create file "%s". %s", PictureError).
SaveResult SaveEntryPicture(const ListEntry& entry, const TileList& tiles,
                            const std::filesystem::path& fileName, SaveFormat format);

// Writes the image of the entry's icon with the most pixels (LargestImageIndex) at its own size,
// with its transparency, as a PNG file: the bytes exporting that image writes (ImagePngBytes).
// NothingToSave for an entry without images, CannotDecode for an image that cannot be decoded.
SaveResult SaveLargestImage(const ListEntry& entry, const std::filesystem::path& fileName);

// The same, answering whether a file was written.
bool SaveEntryAs(const ListEntry& entry, const TileList& tiles,
                 const std::filesystem::path& fileName, SaveFormat format);

}  // namespace pictarix
