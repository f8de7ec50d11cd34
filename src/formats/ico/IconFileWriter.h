#pragma once
// Writing an icon as an icon file: the header, one directory entry per image, then the images'
// data blocks in list order.
#include "model/AdvancedIcon.h"
#include "os/Stream.h"

namespace pictarix {

// Writes `icon` as an icon file (nothing for an icon without images). FormatError, before
// anything is written, when an image offset would not fit the entry's 32 bits.
void WriteIconFile(const AdvancedIcon& icon, ByteStream& stream);

}  // namespace pictarix
