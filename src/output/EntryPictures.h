#pragma once
// The pictures of the output commands: an entry's 32x32 tile or an icon graphic composed over
// white, and the picture files made from them.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "imaging/HiResIcon.h"
#include "model/RgbImage.h"
#include "output/EntryList.h"

namespace pictarix {

// The graphic over white at the size it reports (the platform measures the width for both
// sides); a graphic without a handle gives a white picture of that size.
RgbImage GraphicToBitmap(IconGraphic& graphic);

// The entry's tile from LargeImgs over white, 32x32 as the list shows it: the same picture for
// bitmap, JPEG and PNG files and for the clipboard. Nothing for an index outside the list or an
// entry without a tile.
std::optional<RgbImage> TileToBitmap(const EntryList& list, int index);

// A GIF of GraphicToBitmap(graphic). A failed conversion raises PictureError, never giving an
// empty GIF.
std::vector<std::uint8_t> GraphicToGif(IconGraphic& graphic);

// JPEG (quality 100) and PNG (truecolour, no alpha, no tRNS) files of TileToBitmap(index);
// nothing where TileToBitmap gives nothing.
std::optional<std::vector<std::uint8_t>> TileToJpeg(const EntryList& list, int index);
std::optional<std::vector<std::uint8_t>> TileToPng(const EntryList& list, int index);

// Writes a picture file's bytes, replacing the file safely; raises FCreateError with
// "Cannot create file "%s". %s" when it cannot be written.
void SaveGraphicToFile(std::span<const std::uint8_t> bytes, const std::filesystem::path& fileName);

}  // namespace pictarix
