#pragma once
// Writing an icon as an icon file: the header, one directory entry per image, then the images'
// data blocks in list order.
#include <filesystem>

#include "model/AdvancedIcon.h"
#include "os/Stream.h"

namespace pictarix {

// Writes `icon` as an icon file (nothing for an icon without images). FormatError, before
// anything is written, when an image offset would not fit the entry's 32 bits.
void WriteIconFile(const AdvancedIcon& icon, ByteStream& stream);
// Writes the icon file through the safe replace; an icon without images creates nothing.
void SaveIconFile(const AdvancedIcon& icon, const std::filesystem::path& path);

}  // namespace pictarix
