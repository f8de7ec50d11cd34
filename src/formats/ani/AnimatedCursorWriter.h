#pragma once
// Writing an animated cursor: its source bytes when it came whole from a file or resource,
// otherwise a RIFF form "ACON" built from its frames and steps.
#include "model/AdvancedIcon.h"
#include "os/Stream.h"

namespace pictarix {

// Writes the animated cursor `cursor` (one whose Frames are set; nothing otherwise). A built
// form holds "anih" (frames are files, in the order "seq " gives), "rate", "seq ", a "LIST"
// "fram" of one "icon" chunk per frame with images (each a cursor file) and, when there is a
// title or author, a "LIST" "INFO". FormatError, before anything is written, for a form larger
// than RIFF sizes can say.
void WriteAnimatedCursor(const AdvancedIcon& cursor, ByteStream& stream);

}  // namespace pictarix
