#pragma once
// Reading an icon file into an icon: the 6-byte header, the directory of 16-byte entries, and
// the image block each entry points at.
#include <cstdint>
#include <filesystem>
#include <functional>

#include "model/AdvancedIcon.h"
#include "model/IconRecords.h"
#include "os/Stream.h"

namespace pictarix {

// Reads the 6-byte header at the stream's position; true only for reserved 0 and type 1, then
// sets `count` and sizes the icon's image list.
bool ReadIconFileHeader(ByteStream& stream, AdvancedIcon& icon, std::uint16_t& count);
// Sees each image of a file's directory with its entry before the image is added (a cursor file
// keeps its hotspots in the entries).
using EntryImageHook = std::function<void(IconImage& image, const IconFileEntry& entry)>;
// Appends to `icon` one image per entry of the directory of `count` 16-byte entries at the
// stream's position (a header already read; image offsets count from position 0), each passed to
// `hook` when set. Leaves the stream after the directory.
void ReadIconFileImages(ByteStream& stream, std::uint16_t count, AdvancedIcon& icon,
                        const EntryImageHook& hook = {});
// Appends to `icon` the images of an icon file whose header is at the stream's position (image
// offsets count from position 0); false when the header is no icon header. Leaves the stream
// after the directory. Images that claim more than the file can hold raise FormatError (see
// model/IconFileBlocks.h).
bool ReadIconFile(ByteStream& stream, AdvancedIcon& icon);
// Replaces the images of `icon` with those of the icon file `path`; open errors raise
// FOpenError.
bool ReadIconFile(const std::filesystem::path& path, AdvancedIcon& icon);

}  // namespace pictarix
