#pragma once
// Bytes in, icons out: one call tells a file's container from its first bytes (a 32-bit PE
// module, a 16-bit NE module, or, by its name and content, an icon file or a cursor file) and
// reads its named icons (and, when asked, cursors).
#include <exception>
#include <filesystem>
#include <stop_token>
#include <string>
#include <vector>

#include "formats/IconList.h"
#include "formats/Progress.h"
#include "os/Stream.h"

namespace pictarix {

enum class Container { None, PeModule, NeModule, IconFile, CursorFile };

struct FileIconsOptions {
  // Called after each icon of a module (icons in all, icons done).
  ProgressCallback Progress;
  // A stop ends the read of a PE module between icons (the icons read so far are kept) and skips
  // the icon file.
  std::stop_token Stop;
  // Ends the read of a PE module after the first icon with images (a thumbnail needs no more).
  bool UntilFirstWithImages = false;
  // Reads a file that is no module as an icon file when its name ends in ".ico" (any case).
  bool IconFiles = true;
  // Reads cursors too: a module's group cursors, and a file that is no module and whose name
  // ends in ".cur", ".ani" or (with IconFiles) ".ico", by its content: cursor file or icon file.
  bool Cursors = false;
  // Reads a file that is no module and whose name ends in ".cur" or ".ani" by its content also
  // without Cursors (a file named explicitly); a module's cursors still need Cursors.
  bool CursorFiles = false;
  // An NE group naming an image the file lacks fails the whole read instead of being left out:
  // a file about to be rewritten must lose nothing.
  bool AllOrNothing = false;
};

struct FileIcons {
  Container Found = Container::None;
  // In file order, each owned; an icon file gives one icon named after the file.
  std::vector<IconEntry> Icons;
  // What a limit left out of the file, in plain words (the icons read are kept); empty when the
  // whole file was read.
  std::string LeftOut;
  // Resources that are there but could not be read, each "<kind> <name>: <reason>" (the rest of
  // the file is read).
  std::vector<std::string> Unreadable;
  // Group names "#<number>" met (each sounds the platform's default beep in the window).
  int NumberedGroups = 0;
  // An NE module whose resources are all icon images and group icons (at least one record).
  bool IconsOnly = false;
  // Why the icon or cursor file could not be read (it then gives no icon): a problem of the file
  // for the harvest, an error for the thumbnailer.
  std::exception_ptr IconFileError;
};

// The module `stream` holds by its signatures: "MZ" at 0, then "PE" or "NE" at the 16-bit offset
// held at 0x3C. Container::None for anything else, also for bytes too short for the three
// words. Read errors propagate.
Container DetectModule(ByteStream& stream);

// Reads the icons of the file open in `stream` (from any position); `name` names it (an NE
// module's icons without names and an icon file's icon take its base name). A module that
// cannot be read raises (IconLibraryError with the reason, or the error of reading); so does
// an error of reading its first bytes.
FileIcons ReadFileIcons(ByteStream& stream, const std::filesystem::path& name,
                        const FileIconsOptions& options = {});

}  // namespace pictarix
