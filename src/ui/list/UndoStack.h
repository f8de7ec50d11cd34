#pragma once
// Undo for the changes that throw entries away: Remove, Clear, and the new list that opening
// files starts. Each step keeps what it took by moving it (entries own their icons, tiles are
// handles), never copying, so a cleared list of 90,000 entries is held as its two vectors. The
// last kDepth steps are kept. Steps are undone last first, and only entries the harvest appends
// come between them, so a step always finds the list it left (with those entries at its end).
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "harvest/ListEntry.h"
#include "model/IconPicture.h"

namespace pictarix {

class Harvester;

class UndoStack {
 public:
  static constexpr std::size_t kDepth = 10;

  explicit UndoStack(Harvester& harvester) : harvester_(harvester) {}

  // Removes the entries whose flag is set (one flag per entry), keeping them with their places.
  void Remove(const std::vector<bool>& flags);
  // Empties the list (Harvester::ClearList), keeping its entries, tiles and file count. With
  // `replaced`, a new list takes its place (files opened): Undo then brings this one back
  // instead of that one; otherwise Undo puts it back ahead of the entries added since.
  void Clear(bool replaced);
  // Undoes the last step kept; nothing without one.
  void Undo();

  bool CanUndo() const { return !steps_.empty(); }
  std::size_t Count() const { return steps_.size(); }

 private:
  enum class Kind { Remove, Clear, Replace };
  struct Step {
    Kind What = Kind::Remove;
    std::vector<ListEntry> Entries;
    std::vector<std::size_t> Places;  // Remove: where each entry stood, ascending
    std::vector<IconHandle> Tiles;    // Clear, Replace
    std::int32_t FileCount = 0;
  };

  void Keep(Step step);
  void PutBackRemoved(Step& step);
  void PutBackList(Step& step);

  Harvester& harvester_;
  std::deque<Step> steps_;
};

}  // namespace pictarix
