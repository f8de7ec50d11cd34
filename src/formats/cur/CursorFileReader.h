#pragma once
// Reading a cursor file: an icon file whose header type is 2 and whose directory entries keep
// the hotspot's x and y where an icon file keeps planes and bit count.
#include "model/AdvancedIcon.h"
#include "os/Stream.h"

namespace pictarix {

// Makes `cursor` a cursor holding the images of the cursor file at the stream's position (image
// offsets count from position 0); false (and `cursor` unchanged) when the header is no cursor
// header. Images that claim more than the file can hold raise FormatError, as for icon files.
bool ReadCursorFile(ByteStream& stream, AdvancedIcon& cursor);

}  // namespace pictarix
