#pragma once
// The list as the output commands see it: the entries and the tiles their image indexes point to.
// Read through a const list; whatever changes an entry (saving a GIF sorts its icon's images)
// takes the list as mutable.
#include <cstddef>
#include <vector>

#include "harvest/Harvester.h"
#include "harvest/ListEntry.h"
#include "harvest/TileList.h"

namespace pictarix {

class TEntryList {
 public:
  // The window's and the command-line tool's harvester hold both.
  TEntryList(THarvester& harvester)  // NOLINT(google-explicit-constructor): used as a view
      : entries_(&harvester.Entries), largeImgs_(&harvester.LargeImgs) {}
  TEntryList(std::vector<TListEntry>& entries, const TTileList& largeImgs)
      : entries_(&entries), largeImgs_(&largeImgs) {}

  // The entry at `index`, or nullptr outside the list.
  const TListEntry* Entry(int index) const { return At(index); }
  TListEntry* Entry(int index) { return At(index); }
  int Count() const { return static_cast<int>(entries_->size()); }
  const TTileList& LargeImgs() const { return *largeImgs_; }

 private:
  TListEntry* At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_->size()) return nullptr;
    return &(*entries_)[static_cast<std::size_t>(index)];
  }

  std::vector<TListEntry>* entries_;
  const TTileList* largeImgs_;
};

}  // namespace pictarix
