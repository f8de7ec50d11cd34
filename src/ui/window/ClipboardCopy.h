#pragma once
// "Copy to Clipboard": a picture of the core handed to the system clipboard.
#include <cstdint>
#include <vector>

#include <QImage>

#include "model/RgbImage.h"

class QClipboard;

namespace pictarix {

// The picture as an opaque 32-bit image (no alpha: the clipboard gets what the list shows over
// white); a null image for an empty picture.
QImage ToQImage(const RgbImage& picture);

// Replaces the clipboard's content by `picture`. Raises PictarixError "Cannot open clipboard"
// when there is no clipboard (nothing is changed then).
void PutImageOnClipboard(QClipboard* clipboard, const QImage& picture);

// Replaces the clipboard's content by a PNG file's bytes, as "image/png" and as an image with
// its alpha for programs that take images only. Raises as PutImageOnClipboard.
void PutPngOnClipboard(QClipboard* clipboard, const std::vector<std::uint8_t>& png);

}  // namespace pictarix
