#pragma once
// The one place that writes output files: formats and encoders make the bytes (or stream them
// into a sink), and these replace the target safely (os/SafeFile) with them.
#include <cstdint>
#include <filesystem>
#include <span>

#include "formats/IconList.h"
#include "formats/Progress.h"
#include "model/AdvancedIcon.h"

namespace pictarix {

// Writes a picture file's bytes; raises FCreateError with "Cannot create file "%s". %s" when it
// cannot be written.
void SavePictureFile(std::span<const std::uint8_t> bytes, const std::filesystem::path& fileName);

// Writes `icon` as an icon file; an icon without images creates nothing (an existing file stays).
// FormatError, before anything is written, for an icon too large for the format.
void SaveIconFile(const AdvancedIcon& icon, const std::filesystem::path& fileName);

// Writes `cursor` as a cursor file (every image, hotspots in the directory); one without images
// creates nothing. FormatError, before anything is written, for one too large for the format.
void SaveCursorFile(const AdvancedIcon& cursor, const std::filesystem::path& fileName);

// Writes the animated cursor `cursor` as an animated cursor file (formats/ani); nothing for an
// entry without frames.
void SaveAnimatedCursorFile(const AdvancedIcon& cursor, const std::filesystem::path& fileName);

// Writes the whole list as an icon library, streamed into the new file, reporting progress
// (icons, icons written). IconLibraryError, with the file untouched, for an empty list, more
// than kMaxLibraryIcons icons, or a library beyond what the format's header fields or the
// reader's budget can hold (IconLibraryWriter); write errors raise FCreateError.
void SaveIconLibrary(const IconList& icons, const std::filesystem::path& fileName,
                     ProgressCallback progress = {});

}  // namespace pictarix
