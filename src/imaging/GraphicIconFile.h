#pragma once
// A graphic in its icon-file form, and an icon made from it.
#include "imaging/HiResIcon.h"
#include "model/AdvancedIcon.h"
#include "os/Stream.h"

namespace pictarix {

// Writes the graphic as an icon file of one 32 bpp image with its mask; nothing when empty.
void WriteGraphicIconFile(const IconGraphic& graphic, ByteStream& stream);
// Replaces the images of `icon` with those of the graphic written in its icon-file form.
void AssignGraphic(AdvancedIcon& icon, const IconGraphic& graphic);

}  // namespace pictarix
