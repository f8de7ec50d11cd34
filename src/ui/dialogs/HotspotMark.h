#pragma once
// The crosshair the Details dialog draws over a cursor's image at its hotspot.
#include <QPixmap>
#include <QRect>

#include "model/IconImage.h"

namespace pictarix {

// `board` with a crosshair through the hotspot of an image of `imageSize` pixels shown scaled in
// `shown` (a part of the board): lines one device pixel wide, light and dark in turn, so they
// show over any colour. A hotspot outside the image is drawn at the nearest edge pixel.
QPixmap WithHotspot(const QPixmap& board, const QRect& shown, QSize imageSize,
                    CursorHotspot hotspot);

}  // namespace pictarix
