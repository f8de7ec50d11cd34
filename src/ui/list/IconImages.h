#pragma once
// Icon pictures of the core as Qt images.
#include <QImage>

#include <cstdint>
#include <vector>

#include "imaging/IconHandle.h"
#include "imaging/RgbaPicture.h"

namespace pictarix {

// The whole picture (straight alpha); a null image for an empty picture.
QImage ToQImage(const IconPicture& picture);
// At most `side` x `side` pixels from the picture's top-left corner, as the list shows a tile.
QImage ToQImage(const IconPicture& picture, int side);
// An image at its own size with its transparency; a null image for an empty picture.
QImage ToQImage(const RgbaPicture& picture);
// Rows of `channels` bytes a pixel, top row first and unpadded, copied into a QImage of
// `format`; a null image when the sizes and the bytes do not agree.
QImage PackedPixelsToQImage(int width, int height, const std::vector<std::uint8_t>& bytes,
                            int channels, QImage::Format format);

}  // namespace pictarix
