#pragma once
// What a reader makes of one file: the icons it holds (each an entry to be) and what could not
// be read, in the order the harvest reports them. Nothing here touches the list or the host,
// so files are read on any thread and handed over whole.
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "model/AdvancedIcon.h"
#include "os/Files.h"

namespace pictarix {

// One finding: an icon to become an entry, or (Icon empty) a reason the file was not wholly read.
struct FileFinding {
  std::string Caption;  // the icon's name (UTF-8)
  std::unique_ptr<AdvancedIcon> Icon;
  int TileImage = -1;   // the image the tile shows (BestImageIndex), -1: none
  std::string Problem;  // when Icon is empty
  // The icon of an icon file: a tile the list refuses makes the file one that was not read.
  bool IconFile = false;
  // A cursor hotspot outside its image was moved to the nearest edge pixel.
  bool HotspotMoved = false;
};

// A file of the harvest, or a file or folder that could not be looked at (Counted false).
struct FileRead {
  std::string Path;
  // A file counted in the run ("Processing" shown); false for a folder or name that could not
  // be opened or listed, which carries one problem only.
  bool Counted = true;
  // Whether the run went through the file to its end (the counters are then shown again).
  bool Complete = true;
  int Beeps = 0;  // "#<number>" group names met, each sounding the platform's beep
  std::vector<FileFinding> Findings;
};

struct ReadOptions {
  // Also keep icons that have images but no 32x32 one (as entries without a tile).
  bool KeepIconsWithoutTile = false;
  // Also read cursors (Include cursors): cursor files of a tree and the cursors of modules.
  bool Cursors = false;
  // Read a ".cur" or ".ani" file also without Cursors (a file named explicitly).
  bool CursorFiles = false;
};

// Reads the icons of a file just opened (or records the error of its open), through
// ReadFileIcons: a module's icons, or an icon file's when the file is no module and its name ends
// in ".ico" (any case). Failures are kept per file and per icon; a stop ends the reading between
// icons.
FileRead ReadFile(const std::string& path, OpenedFile opened, const ReadOptions& options,
                  std::stop_token stop = {});

}  // namespace pictarix
