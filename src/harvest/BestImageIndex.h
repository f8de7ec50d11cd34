#pragma once
#include <cstdint>

#include "model/AdvancedIcon.h"

namespace pictarix {

// The image of `icon` that fits: in size mode (size > 8) the deepest image whose width and height
// bytes equal `size`; in colour mode (maxColors > 0) the deepest image with 1..maxColors colours.
// Reads the images in their order, which the harvest sets once when it makes an entry
// (IconImageList::Sort); the icon is not changed. Never raises: -1 when nothing fits.
int BestImageIndex(const AdvancedIcon& icon, std::int32_t size, std::int32_t maxColors);

// The image a GIF is made of (an index into icon.Images): BestImageIndex(icon, 0, maxColors)
// over the images as one more sort orders them (SortedOrder). That sort can swap equal images
// (two 16x16 8-bit images, say), and saving a GIF has always chosen among them in its order;
// the icon is not changed. -1 when nothing fits.
int BestGifImageIndex(const AdvancedIcon& icon, std::int32_t maxColors);

}  // namespace pictarix
