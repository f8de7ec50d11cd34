#pragma once
// Writing a cursor as a cursor file: the icon file's layout with header type 2 and each image's
// hotspot in the words an icon file uses for planes and bit count.
#include "model/AdvancedIcon.h"
#include "os/Stream.h"

namespace pictarix {

// Writes every image of `cursor` (any kind; an image without a hotspot points at 0,0); nothing
// for one without images. FormatError, before anything is written, for one too large.
void WriteCursorFile(const AdvancedIcon& cursor, ByteStream& stream);

}  // namespace pictarix
