#pragma once
// The list as the output commands see it: the entries and the tiles their image indexes point to.
#include <vector>

#include "harvest/Harvester.h"
#include "harvest/ListEntry.h"
#include "harvest/TileList.h"

namespace pictarix {

struct TEntryList {
  // The window's and the command-line tool's harvester hold both.
  TEntryList(THarvester& harvester)  // NOLINT(google-explicit-constructor): used as a view
      : Entries(harvester.Entries), LargeImgs(harvester.LargeImgs) {}
  TEntryList(std::vector<TListEntry>& entries, const TTileList& largeImgs)
      : Entries(entries), LargeImgs(largeImgs) {}

  // The entry at `index`, or nullptr outside the list.
  TListEntry* Entry(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= Entries.size()) return nullptr;
    return &Entries[static_cast<std::size_t>(index)];
  }

  std::vector<TListEntry>& Entries;
  const TTileList& LargeImgs;
};

}  // namespace pictarix
