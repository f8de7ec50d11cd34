#pragma once
// Composing an icon picture over white, as the platform draws an icon into a fresh white bitmap:
// alpha-blended where the picture has alpha, AND mask then XOR colour elsewhere.
#include "imaging/IconHandle.h"
#include "model/RgbImage.h"

namespace pictarix {

// The picture at its own size over white.
RgbImage ComposeOverWhite(const IconPicture& picture);

// A white width x height picture with `picture` drawn at (0, 0), clipped (a tile larger than
// 32x32 shows its top-left corner).
RgbImage ComposeOverWhite(const IconPicture& picture, int width, int height);

}  // namespace pictarix
