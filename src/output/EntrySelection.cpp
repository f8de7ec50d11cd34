#include "output/EntrySelection.h"

namespace pictarix {

EntrySelection SelectEntries(const std::vector<ListEntry>& entries,
                             std::span<const int> positions) {
  EntrySelection selection;
  selection.reserve(positions.size());
  for (const int position : positions) {
    if (position < 0 || static_cast<std::size_t>(position) >= entries.size()) continue;
    selection.push_back({position, &entries[static_cast<std::size_t>(position)]});
  }
  return selection;
}

EntrySelection SelectAllEntries(const std::vector<ListEntry>& entries) {
  EntrySelection selection;
  selection.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    selection.push_back({static_cast<int>(i), &entries[i]});
  return selection;
}

std::vector<int> PositionsOf(const EntrySelection& selection) {
  std::vector<int> positions;
  positions.reserve(selection.size());
  for (const SelectedEntry& selected : selection) positions.push_back(selected.Position);
  return positions;
}

}  // namespace pictarix
