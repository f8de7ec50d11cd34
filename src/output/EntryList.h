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

class EntryList {
 public:
  // The window's and the command-line tool's harvester hold both.
  EntryList(Harvester& harvester)  // NOLINT(google-explicit-constructor): used as a view
      : entries_(&harvester.Entries), largeImgs_(&harvester.LargeImgs) {}
  EntryList(std::vector<ListEntry>& entries, const TileList& largeImgs)
      : entries_(&entries), largeImgs_(&largeImgs) {}

  // The entry at `index`, or nullptr outside the list.
  const ListEntry* Entry(int index) const { return At(index); }
  ListEntry* Entry(int index) { return At(index); }
  int Count() const { return static_cast<int>(entries_->size()); }
  const TileList& LargeImgs() const { return *largeImgs_; }

 private:
  ListEntry* At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_->size()) return nullptr;
    return &(*entries_)[static_cast<std::size_t>(index)];
  }

  std::vector<ListEntry>* entries_;
  const TileList* largeImgs_;
};

}  // namespace pictarix
