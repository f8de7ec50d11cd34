#pragma once
// The pictures of the output commands: an entry's 32x32 tile or an icon graphic composed over
// white, and the picture files made from them.
#include <cstdint>
#include <optional>
#include <vector>

#include "harvest/ListEntry.h"
#include "harvest/TileList.h"
#include "imaging/HiResIcon.h"
#include "model/RgbImage.h"

namespace pictarix {

// The graphic over white at the size it reports (the platform measures the width for both
// sides); a graphic without a handle gives a white picture of that size.
RgbImage GraphicToBitmap(IconGraphic& graphic);

// The entry's tile from `tiles` (the list's LargeImgs) over white, 32x32 as the list shows it:
// the same picture for bitmap, JPEG and PNG files and for the clipboard. Nothing for an entry
// without a tile.
std::optional<RgbImage> TileToBitmap(const ListEntry& entry, const TileList& tiles);

// A GIF of GraphicToBitmap(graphic). A failed conversion raises PictureError, never giving an
// empty GIF.
std::vector<std::uint8_t> GraphicToGif(IconGraphic& graphic);

// JPEG (quality 100) and PNG (truecolour, no alpha, no tRNS) files of TileToBitmap; nothing
// where TileToBitmap gives nothing.
std::optional<std::vector<std::uint8_t>> TileToJpeg(const ListEntry& entry, const TileList& tiles);
std::optional<std::vector<std::uint8_t>> TileToPng(const ListEntry& entry, const TileList& tiles);

// The PNG of the largest image of the entry's icon (LargestImageIndex) at its own size with its
// alpha, as exporting it writes it (ImagePngBytes); nothing without images or when the image
// cannot be decoded.
std::optional<std::vector<std::uint8_t>> LargestImagePng(const ListEntry& entry);

}  // namespace pictarix
