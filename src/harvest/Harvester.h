#pragma once
// The harvest: turns files and directory trees into list entries with 32x32 tiles.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "formats/IconLibrary.h"
#include "harvest/HarvestHost.h"
#include "harvest/ListEntry.h"
#include "harvest/TileList.h"
#include "os/Files.h"

namespace pictarix {

class THarvester {
 public:
  explicit THarvester(THarvestHost& host);

  // Adds the icons of one file. Skips what is not a regular file (after following a link)
  // without counting it; swallows every failure per file and per icon. A file that cannot be
  // opened, whose module or icon file cannot be read, or of which a read limit left part out
  // (the icons read are kept) is reported to the host.
  void HarvestFile(const std::filesystem::path& fileName);
  // Walks a tree depth first, the names of each folder in byte order, handing every regular
  // file to the file harvest. Works relative to open folders, so no path length limits the
  // depth. Links inside the tree (to files or directories) are not followed, counted or
  // reported; a directory already visited (device and inode) is not entered again; folders
  // that cannot be opened or listed are reported to the host.
  void HarvestDirectory(const std::filesystem::path& directory);
  // Removes every entry and tile; FileCount := 0; panels 1 and 2 show "0 files" and "0 icons".
  void ClearList();
  // Removes the entries whose flag is set (tiles stay until ClearList).
  void RemoveEntries(const std::vector<bool>& selected);

  TIconLibrary IconLibrary;
  bool StopRequested = false;
  std::int32_t FileCount = 0;
  // Also keep icons that have images but no 32x32 one (as entries without a tile).
  bool KeepIconsWithoutTile = false;

  std::vector<TListEntry> Entries;
  TTileList LargeImgs;
  // When set, every entry goes here as it is made (numbered from 0) instead of into Entries: a
  // listing writes entries as they come and keeps none, so its memory stays flat.
  std::function<void(int index, TListEntry& entry)> EntrySink;

 private:
  class Walk;

  bool AddEntry(const std::string& name, std::unique_ptr<TAdvancedIcon> icon, int tileImage,
                const std::filesystem::path& file);
  // Harvests a file just opened, or counts and reports the error of its open (anything opened
  // that is no regular file is left uncounted).
  void HarvestOpened(const std::string& path, OpenedFile opened);
  // Adds entries for the icons the library has just read from `fileName`.
  void AddLibraryIcons(const std::filesystem::path& fileName);
  void HarvestIconFile(const std::filesystem::path& fileName, TStream& stream);

  THarvestHost& host_;
  int sentEntries_ = 0;  // entries handed to EntrySink
};

}  // namespace pictarix
