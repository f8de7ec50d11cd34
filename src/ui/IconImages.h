#pragma once
// Icon pictures of the core as Qt images.
#include <QImage>

#include "output/RgbaPicture.h"
#include "platform/IconHandle.h"

namespace pictarix {

// The whole picture (straight alpha); a null image for an empty picture.
QImage ToQImage(const IconPicture& picture);
// At most `side` x `side` pixels from the picture's top-left corner, as the list shows a tile.
QImage ToQImage(const IconPicture& picture, int side);
// An image at its own size with its transparency; a null image for an empty picture.
QImage ToQImage(const RgbaPicture& picture);

}  // namespace pictarix
