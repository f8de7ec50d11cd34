#pragma once
// The entries an output command acts on, picked by its caller (the command line, the window)
// from the list it holds. Each keeps its position in that list: batch and export file names
// carry it. The pointers are valid while that list is not changed.
#include <span>
#include <vector>

#include "harvest/ListEntry.h"

namespace pictarix {

struct SelectedEntry {
  int Position = 0;
  const ListEntry* Entry = nullptr;  // never null
};

using EntrySelection = std::vector<SelectedEntry>;

// The entries at `positions`, in the order given; a position outside the list is left out.
EntrySelection SelectEntries(const std::vector<ListEntry>& entries, std::span<const int> positions);
// Every entry, in list order.
EntrySelection SelectAllEntries(const std::vector<ListEntry>& entries);
// The positions of the selected entries, in the selection's order.
std::vector<int> PositionsOf(const EntrySelection& selection);

}  // namespace pictarix
