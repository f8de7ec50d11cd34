#pragma once
// The harvest: turns files and directory trees into list entries with 32x32 tiles. The files of
// a tree are read on the engine's threads; entries are made here, on the caller's thread, in walk
// order.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "harvest/FileRead.h"
#include "harvest/HarvestEngine.h"
#include "harvest/HarvestHost.h"
#include "harvest/ListEntry.h"
#include "harvest/TileList.h"
#include "os/Files.h"

namespace pictarix {

class Harvester {
 public:
  explicit Harvester(HarvestHost& host);
  ~Harvester();
  Harvester(const Harvester&) = delete;
  Harvester& operator=(const Harvester&) = delete;

  // Adds the icons of one file. Skips what is not a regular file (after following a link)
  // without counting it; swallows every failure per file and per icon. A file that cannot be
  // opened, whose module or icon file cannot be read, or of which a read limit left part out
  // (the icons read are kept) is reported to the host.
  void HarvestFile(const std::filesystem::path& fileName);
  // Walks a tree depth first, the names of each folder in byte order, handing every regular
  // file to the file harvest. Works relative to open folders, so no path length limits the
  // depth. Links inside the tree (to files or directories) are not followed, counted or
  // reported; a directory already visited (device and inode) is not entered again; folders
  // that cannot be opened or listed are reported to the host. The walk and the reading run on
  // the engine's threads; the host hears of every file here, in walk order.
  void HarvestDirectory(const std::filesystem::path& directory);
  // Starts a run over `roots` on the engine's threads, after stopping any run still going; the
  // caller then takes its results with TakeReady, when it likes, and is never called back.
  // With `readHere`, the caller's thread also reads (it waits in Next, never a window).
  void Begin(std::vector<HarvestRoot> roots, bool readHere = false);
  // Takes the results ready now, in walk order, for about `budget` at most (at least one when
  // ready). False once the run has ended: every result taken, or stopped.
  bool TakeReady(std::chrono::milliseconds budget);
  // Takes the next result, in walk order, waiting for it at most `wait` (the caller reads it
  // when the run was begun with `readHere`). False once the run has ended: every result taken,
  // or stopped.
  bool TakeNext(std::chrono::milliseconds wait);
  // Sets StopRequested and stops the run's threads: no result is taken after this.
  void RequestStop();
  // Takes one file's result into the list: counts it, makes its entries and reports its problems
  // (what a run does with each result, in walk order).
  void TakeFile(FileRead read);
  // Removes every entry and tile; FileCount := 0; panels 1 and 2 show "0 files" and "0 icons".
  void ClearList();
  // Removes the entries whose flag is set (tiles stay until ClearList) and hands them over, in
  // list order.
  std::vector<ListEntry> RemoveEntries(const std::vector<bool>& selected);

  bool StopRequested = false;
  std::int32_t FileCount = 0;
  // Also keep icons that have images but no 32x32 one (as entries without a tile).
  bool KeepIconsWithoutTile = false;
  // Include cursors: cursor files in trees and the cursors of modules. A ".cur" or ".ani" file
  // given to HarvestFile is read either way.
  bool IncludeCursors = false;

  std::vector<ListEntry> Entries;
  TileList LargeImgs;
  // When set, every entry goes here as it is made (numbered from 0) instead of into Entries: a
  // listing writes entries as they come and keeps none, so its memory stays flat.
  std::function<void(int index, ListEntry& entry)> EntrySink;
  // Sounded for a module's group named "#<number>" (the platform's default beep).
  std::function<void()> OnNumberedGroup;
  // How trees are read (readers, and the seams tests use); Read is set from KeepIconsWithoutTile
  // and IncludeCursors.
  EngineOptions Engine;

 private:
  void AddEntry(FileFinding& finding, const std::filesystem::path& file);
  // Lets go of the run; a stopped one finishes on a thread of its own, so no caller waits for a
  // reader inside a slow read.
  void EndRun();

  std::unique_ptr<HarvestEngine> run_;

  HarvestHost& host_;
  int sentEntries_ = 0;  // entries handed to EntrySink
};

}  // namespace pictarix
