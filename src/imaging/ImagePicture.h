#pragma once
// The picture of an icon image: decoded from its stored bytes on first request and kept with the
// image, so copies that share it never decode again.
#include <memory>

#include "imaging/HiResIcon.h"
#include "model/IconImage.h"

namespace pictarix {

// The image's picture at its stated size, made on first request; nullptr when it cannot be made
// (tried again on the next request).
IconHandle DecodedPicture(IconImage& image);
// A new graphic showing the image (without a picture when none can be made).
std::unique_ptr<IconGraphic> MakeGraphic(IconImage& image);

}  // namespace pictarix
