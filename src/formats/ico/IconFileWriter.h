#pragma once
// Writing an icon as an icon file: the header, one directory entry per image, then the images'
// data blocks in list order.
#include <cstdint>

#include "model/AdvancedIcon.h"
#include "model/IconRecords.h"
#include "os/Stream.h"

namespace pictarix {

// Writes `icon` as an icon file (nothing for an icon without images). FormatError, before
// anything is written, when an image offset would not fit the entry's 32 bits.
void WriteIconFile(const AdvancedIcon& icon, ByteStream& stream);

// The same layout with header type `type`, each directory entry's first 12 bytes as `fields`
// gives them for its image (cursor files keep their hotspot there).
using EntryFieldsOf = IconEntryFields (*)(const IconImage& image);
void WriteIconDirectoryFile(const AdvancedIcon& icon, std::uint16_t type, EntryFieldsOf fields,
                            ByteStream& stream);

}  // namespace pictarix
