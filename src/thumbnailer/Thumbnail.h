#pragma once
// The picture of an icon at a thumbnail size: the image that best fits, never enlarged.
#include <optional>

#include "imaging/RgbaPicture.h"
#include "model/AdvancedIcon.h"

namespace pictarix::thumbnailer {

// The largest size within `size` x `size` with the aspect ratio of width x height (each side
// at least 1); the size itself when it fits already.
struct FittedSize {
  int Width = 0;
  int Height = 0;
};
FittedSize FitWithin(int width, int height, int size);

// The smallest image whose longer side reaches `size` (else the largest), at its own size when
// that fits and otherwise reduced by area averaging to fit `size`, with its transparency.
// Nothing when the icon has no images or the image cannot be decoded.
std::optional<RgbaPicture> MakeThumbnail(AdvancedIcon& icon, int size);

// The 8-bit RGBA PNG of that picture. An image stored as such a PNG that needs no reduction is
// written as stored, as exporting it does (encoding costs most of a thumbnail's time).
std::optional<std::vector<std::uint8_t>> ThumbnailPng(AdvancedIcon& icon, int size);

}  // namespace pictarix::thumbnailer
