#pragma once
// Writing an image's data block, as icon files and icon libraries store it.
#include "model/IconImage.h"
#include "os/Stream.h"

namespace pictarix {

// Writes exactly BytesInRes bytes: the data held, zero-filled when it holds fewer; nothing when
// the image has no data.
void WriteImageData(const IconImage& image, ByteStream& stream);

}  // namespace pictarix
