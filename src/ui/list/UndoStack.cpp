#include "ui/list/UndoStack.h"

#include <iterator>
#include <utility>

#include "harvest/Harvester.h"

namespace pictarix {

void UndoStack::Remove(const std::vector<bool>& flags) {
  Step step;
  for (std::size_t i = 0; i < flags.size() && i < harvester_.Entries.size(); ++i) {
    if (flags[i]) step.Places.push_back(i);
  }
  step.Entries = harvester_.RemoveEntries(flags);
  if (!step.Entries.empty()) Keep(std::move(step));
}

void UndoStack::Clear(bool replaced) {
  Step step;
  step.What = replaced ? Kind::Replace : Kind::Clear;
  step.Entries = std::exchange(harvester_.Entries, {});
  step.Tiles = harvester_.LargeImgs.Take();
  step.FileCount = harvester_.FileCount;
  harvester_.ClearList();
  // An empty list is nothing to bring back.
  if (!step.Entries.empty()) Keep(std::move(step));
}

void UndoStack::Undo() {
  if (steps_.empty()) return;
  Step step = std::move(steps_.back());
  steps_.pop_back();
  if (step.What == Kind::Remove) {
    PutBackRemoved(step);
  } else {
    PutBackList(step);
  }
}

void UndoStack::Keep(Step step) {
  steps_.push_back(std::move(step));
  while (steps_.size() > kDepth) steps_.pop_front();
}

void UndoStack::PutBackRemoved(Step& step) {
  std::vector<ListEntry> now = std::exchange(harvester_.Entries, {});
  std::vector<ListEntry>& merged = harvester_.Entries;
  merged.reserve(now.size() + step.Entries.size());
  std::size_t taken = 0;
  std::size_t kept = 0;
  while (taken < step.Entries.size() || kept < now.size()) {
    const bool due =
        taken < step.Entries.size() && (step.Places[taken] <= merged.size() || kept == now.size());
    merged.push_back(std::move(due ? step.Entries[taken++] : now[kept++]));
  }
  // A tile that is gone (never the case while steps are undone in order) is not shown.
  for (ListEntry& entry : merged) {
    if (entry.ImageIndex >= harvester_.LargeImgs.Count()) entry.ImageIndex = -1;
  }
}

void UndoStack::PutBackList(Step& step) {
  std::vector<ListEntry> added = std::exchange(harvester_.Entries, {});
  std::vector<IconHandle> addedTiles = harvester_.LargeImgs.Take();
  harvester_.Entries = std::move(step.Entries);
  if (step.What == Kind::Clear) {
    // Entries added since the Clear follow the list it took, their tiles after its tiles.
    const int shift = static_cast<int>(step.Tiles.size());
    for (ListEntry& entry : added) {
      if (entry.ImageIndex >= 0) entry.ImageIndex += shift;
    }
    harvester_.Entries.insert(harvester_.Entries.end(), std::make_move_iterator(added.begin()),
                              std::make_move_iterator(added.end()));
    step.Tiles.insert(step.Tiles.end(), std::make_move_iterator(addedTiles.begin()),
                      std::make_move_iterator(addedTiles.end()));
    step.FileCount += harvester_.FileCount;
  }
  harvester_.LargeImgs.Restore(std::move(step.Tiles));
  harvester_.FileCount = step.FileCount;
}

}  // namespace pictarix
