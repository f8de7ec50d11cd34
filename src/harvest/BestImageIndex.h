#pragma once
#include <cstdint>

#include "model/AdvancedIcon.h"

namespace pictarix {

// The image of `icon` that fits: in size mode (size > 8) the deepest image whose width and height
// bytes equal `size`; in colour mode (maxColors > 0) the deepest image with 1..maxColors colours.
// Reads the images in their order, which the harvest sets once when it makes an entry
// (TIconImageList::Sort); the icon is not changed. Never raises: -1 when nothing fits.
int BestImageIndex(const TAdvancedIcon& icon, std::int32_t size, std::int32_t maxColors);

}  // namespace pictarix
